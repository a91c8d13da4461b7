#pragma once

#include <optional>
#include <string>
#include <string_view>

// Whole-file access for the settings files, with names given as GBK text.
namespace skorvin::ini {

// The bytes of the file, or nothing when it is missing or cannot be read.
std::optional<std::string> readFileBytes(const std::string& gbkName);

// True when something exists under that name (a link is followed).
bool fileExists(const std::string& gbkName);

// Replaces the file's bytes (creating it when missing) so that readers see either the
// old or the new content, never a part: the bytes go to a temporary file beside it,
// which then takes the file's place. A read-only file is left alone. False when the
// file could not be written; no temporary file is left behind either way.
bool replaceFileBytes(const std::string& gbkName, std::string_view bytes);

} // namespace skorvin::ini
