#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace skorvin::test {

// A file's bytes as they are on disk; nothing when it cannot be read.
std::optional<std::string> fileBytes(const std::filesystem::path& path);

// Writes bytes to a file as they are, replacing what it held.
void putFile(const std::filesystem::path& path, const std::string& bytes);

// The names of the entries of a folder (a set: the order a folder lists them in is the system's).
std::set<std::string> namesIn(const std::filesystem::path& folder);

} // namespace skorvin::test
