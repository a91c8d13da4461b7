#include "plain/SmallDisk.hpp"

#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>
#include <vector>

#ifdef __linux__
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

namespace skorvin::test {

namespace fs = std::filesystem;

SmallDisk::SmallDisk()
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    do
        path_ = fs::temp_directory_path() / ("skorvin-disk-" + std::to_string(random()));
    while (!fs::create_directory(path_));
#ifdef __linux__
    mounted_ = ::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0755") == 0;
    if (!mounted_)
        whyNot_ = std::string("cannot mount a small tmpfs to fill (") + std::strerror(errno) +
                  "): run as root, or through ./test, which gives these tests a mount namespace of their own";
#else
    whyNot_ = "no small disk to fill on this system";
#endif
}

SmallDisk::~SmallDisk()
{
#ifdef __linux__
    if (mounted_)
        ::umount2(path_.c_str(), MNT_DETACH);
#endif
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void SmallDisk::fill(std::size_t spare)
{
#ifdef __linux__
    const int fd = ::open((path_ / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::system_error(errno, std::generic_category(), "filler");
    const std::vector<char> block(4096, 'f');
    off_t size = 0;
    for (ssize_t n; (n = ::write(fd, block.data(), block.size())) > 0;)
        size += n;
    const bool freed = ::ftruncate(fd, size > static_cast<off_t>(spare) ? size - static_cast<off_t>(spare) : 0) == 0;
    ::close(fd);
    if (!freed)
        throw std::system_error(errno, std::generic_category(), "filler");
#else
    (void)spare;
#endif
}

} // namespace skorvin::test
