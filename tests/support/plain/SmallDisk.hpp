#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace skorvin::test {

// A disk of 64 KiB of its own (a tmpfs mounted over a fresh temporary folder, unmounted
// with everything on it at the end), which a test fills so that writes fail as they do on
// a full disk: at once, or after part of the bytes (a short write). Mounting one needs root,
// or a user and mount namespace of one's own: ./test run by another user runs the programs
// named *fulldisk* again in one. Where neither is there, mounted() is false and whyNot()
// says why: the test then skips and says so.
class SmallDisk {
public:
    SmallDisk();
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    const std::string& whyNot() const { return whyNot_; }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

    // Fills the disk with a file named "filler" until only `spare` bytes are free (whole
    // pages of 4 KiB: what the disk hands out).
    void fill(std::size_t spare = 0);

private:
    std::filesystem::path path_;
    bool mounted_ = false;
    std::string whyNot_;
};

} // namespace skorvin::test
