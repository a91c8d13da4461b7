// TIniFile: one key of one section of an initialisation file, read and written as the profile functions do.
#pragma once

#include <string>
#include <string_view>

namespace skorvin::ini {

// One initialisation file, read and written one key at a time. No content is kept:
// every call opens the file afresh, so other programs' changes are always seen.
// Names and values are GBK text.
class TIniFile {
public:
    explicit TIniFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    // The value of ident in section, or defaultValue without its trailing spaces when the
    // file, the section or the key is missing. A value longer than 2047 bytes is cut there
    // (never inside a character). Anything but a regular file of at most kMaxFileBytes
    // (FileStore.hpp) reads as a missing file.
    std::string ReadString(std::string_view section, std::string_view ident, std::string_view defaultValue) const;

    // Sets ident in section to value, creating the file, the section or the key as
    // needed and leaving every other byte as it was. Throws EIniFileException
    // "Unable to write to <file name>" when the file cannot be written, is not a regular
    // file or is larger than kMaxFileBytes.
    void WriteString(std::string_view section, std::string_view ident, std::string_view value);

private:
    std::string fileName_;
};

} // namespace skorvin::ini
