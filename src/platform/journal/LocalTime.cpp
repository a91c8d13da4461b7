#include "platform/journal/LocalTime.hpp"

#include <cstdio>
#include <cstdlib>

namespace skorvin::journal {

namespace {

// Minutes east of UTC, from the local and the UTC calendar of the same moment; strftime's %z
// names the zone instead on some C libraries.
int offsetMinutes(const std::tm& local, const std::tm& utc)
{
    int days = local.tm_yday - utc.tm_yday;
    if (local.tm_year != utc.tm_year)
        days = local.tm_year > utc.tm_year ? 1 : -1;
    return days * 24 * 60 + (local.tm_hour - utc.tm_hour) * 60 + (local.tm_min - utc.tm_min);
}

} // namespace

std::string localTimeWithZone(std::time_t moment)
{
    std::tm local{};
    std::tm utc{};
#ifdef _WIN32
    localtime_s(&local, &moment);
    gmtime_s(&utc, &moment);
#else
    localtime_r(&moment, &local);
    gmtime_r(&moment, &utc);
#endif
    const int offset = offsetMinutes(local, utc);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %c%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+',
                  std::abs(offset) / 60, std::abs(offset) % 60);
    return text;
}

} // namespace skorvin::journal
