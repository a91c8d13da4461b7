#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace skorvin::test {

// A file's bytes as they are on disk; nothing when it cannot be read.
std::optional<std::string> fileBytes(const std::filesystem::path& path);

// Writes bytes to a file as they are, replacing what it held.
void putFile(const std::filesystem::path& path, const std::string& bytes);

} // namespace skorvin::test
