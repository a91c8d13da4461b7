#pragma once

#include <ctime>
#include <string>

namespace skorvin::journal {

// The moment as local time with the zone's offset from UTC: "2026-12-10 14:03:05 +0800".
std::string localTimeWithZone(std::time_t moment);

} // namespace skorvin::journal
