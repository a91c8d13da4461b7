#pragma once

#include <string>

// Who keyed a score in: the computer and the operating-system account, as GBK text.
namespace skorvin::journal {

// The computer's name; "?" when the system does not tell it.
std::string computerName();
// The operating-system user running the host; "?" when the system does not tell it.
std::string osUserName();

} // namespace skorvin::journal
