#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Whole-file access for the settings files, with names given as GBK text.
namespace skorvin::ini {

// A settings file is a few kilobytes; one past this size is not read (a host's file that
// large is broken, and reading it on every key typed would stall the window).
inline constexpr std::uintmax_t kMaxFileBytes = 4u << 20;

// The bytes of the file, read in one pass, or nothing when it is missing or cannot be
// read. Only a regular file (a link is followed) of at most kMaxFileBytes is read: a
// folder, a pipe or a device reads as missing, and opening one never waits.
std::optional<std::string> readFileBytes(const std::string& gbkName);

// What tells one version of a file from another without reading it: its modification time,
// its size and the file's identity (a file replaced by a rename is another file).
struct FileStamp {
    std::int64_t modified = 0;
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t id = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of a regular file (a link is followed) last modified at least two seconds ago;
// nothing for anything else. A file written within the last two seconds may be written
// again within its file system's time resolution with the same size: it has no stamp to
// trust, and is read again.
std::optional<FileStamp> settledStamp(const std::string& gbkName);

// True when something exists under that name (a link is followed).
bool fileExists(const std::string& gbkName);

// Replaces the file's bytes (creating it when missing) so that readers see either the
// old or the new content, never a part: the bytes go to a temporary file beside it,
// which then takes the file's place. A read-only file, or anything but a regular file, is
// left alone. False when the file could not be written; no temporary file is left behind
// either way, and those that writers killed midway left beside it are removed.
bool replaceFileBytes(const std::string& gbkName, std::string_view bytes);

} // namespace skorvin::ini
