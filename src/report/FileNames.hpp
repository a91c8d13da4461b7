// File names chosen in Qt's dialogs, on their way to the file system.
#pragma once

#include <QString>

#include <filesystem>
#include <string>

namespace skorvin::report {

// Whether the file system can spell the name exactly: always on Windows (UTF-16 names);
// on Linux when Qt's file-name encoding holds every character of it (under a UTF-8 locale
// all but a lone surrogate). A name it cannot spell would make a file of another name.
bool representableFileName(const QString& name);

// Why a name is refused: the system's reason, as a message ends with it (GBK).
std::string unrepresentableNameReason();

// The name as the file system spells it, for the writers below Qt (the list export, the
// journal's CSV), which then make exactly this file. Throws EFCreateError "Cannot create
// file "<name>". <reason>" when it cannot be spelt: nothing may be written under another name.
std::filesystem::path fileSystemName(const QString& name);

} // namespace skorvin::report
