#include "platform/ini/FileStore.hpp"

#include "platform/NativePath.hpp"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/WindowsApi.hpp"
#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#endif

namespace skorvin::ini {

namespace fs = std::filesystem;

namespace {

std::atomic<unsigned> temporaryCounter{0};

// Two seconds in 100 ns ticks: the coarsest modification time a settings file may get (FAT's)
// and more than a clock tick of any other file system.
constexpr std::int64_t kSettledTicks = 20'000'000;

// A link is followed, so that the link stays and its target gets the new content.
fs::path resolveLink(const fs::path& path)
{
    std::error_code error;
    if (!fs::is_symlink(path, error))
        return path;
    const fs::path target = fs::weakly_canonical(path, error);
    return error ? path : target;
}

fs::path temporaryBeside(const fs::path& target, unsigned long processId)
{
    fs::path name = target;
    name += ".tmp" + std::to_string(processId) + "-" + std::to_string(temporaryCounter++);
    return name;
}

// "<pid>-<n>", the end of a temporary file's name: the writer's process id.
std::optional<unsigned long> writerOf(std::string_view suffix)
{
    const auto dash = suffix.find('-');
    const auto digits = [](std::string_view s) {
        return !s.empty() && s.size() <= 10 &&
               std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dash == std::string_view::npos || !digits(suffix.substr(0, dash)) || !digits(suffix.substr(dash + 1)))
        return std::nullopt;
    // Ten digits may not fit a 32-bit unsigned long (Windows): such a name is no writer's.
    unsigned long processId = 0;
    const auto [end, error] = std::from_chars(suffix.data(), suffix.data() + dash, processId);
    if (error != std::errc())
        return std::nullopt;
    return processId;
}

bool processAlive(unsigned long processId);

// A writer killed midway leaves its temporary file beside the target; the next write
// removes those whose process is gone. A live writer's file is left alone.
void removeLeftovers(const fs::path& target)
{
    const std::string prefix = target.filename().string() + ".tmp";
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix))
            continue;
        const auto writer = writerOf(std::string_view(name).substr(prefix.size()));
        std::error_code ignored;
        if (writer && !processAlive(*writer) && it->symlink_status(ignored).type() == fs::file_type::regular)
            fs::remove(it->path(), ignored);
    }
}

#ifdef _WIN32

bool processAlive(unsigned long processId)
{
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId));
    if (process == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

std::optional<std::string> readRegularFile(const fs::path& path)
{
    std::error_code error;
    const auto status = fs::status(path, error);
    if (error || !fs::is_regular_file(status))
        return std::nullopt;
    const auto size = fs::file_size(path, error);
    if (error || size > kMaxFileBytes)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    // One byte more than the size tells that the file grew meanwhile; then read on up to the limit.
    std::string bytes(static_cast<std::size_t>(size) + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    auto got = static_cast<std::size_t>(in.gcount());
    if (got == bytes.size()) {
        bytes.resize(static_cast<std::size_t>(kMaxFileBytes) + 1);
        in.read(bytes.data() + got, static_cast<std::streamsize>(bytes.size() - got));
        got += static_cast<std::size_t>(in.gcount());
    }
    if (in.bad() || got > kMaxFileBytes)
        return std::nullopt;
    bytes.resize(got);
    bytes.shrink_to_fit();
    return bytes;
}

// Creates a temporary file of our own beside target: a name left over by another
// process is never opened nor removed, the next number is tried instead.
HANDLE createTemporary(const fs::path& target, fs::path& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryBeside(target, GetCurrentProcessId());
        const HANDLE file =
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

bool writeAndClose(HANDLE file, std::string_view bytes)
{
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) != 0 && written > 0;
        done += written;
    }
    ok = ok && FlushFileBuffers(file) != 0;
    return CloseHandle(file) != 0 && ok;
}

bool replaceFile(const fs::path& target, std::string_view bytes)
{
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    fs::path temporary;
    const HANDLE file = createTemporary(target, temporary);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    if (!writeAndClose(file, bytes)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    // ReplaceFile keeps the old file's attributes and security; a new file is simply moved.
    bool moved = exists && ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                        nullptr, nullptr);
    if (!moved)
        moved = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!moved)
        DeleteFileW(temporary.c_str());
    return moved;
}

std::optional<FileStamp> settledStampOf(const fs::path& path)
{
    // Opened for its attributes alone and shared every way, so that no writer is kept out; the
    // handle also gives the file's identity, which tells a file replaced by a rename.
    const HANDLE file =
        CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION data{};
    const bool known = GetFileInformationByHandle(file, &data) != 0;
    CloseHandle(file);
    if (!known || (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return std::nullopt;
    const auto ticks = [](const FILETIME& time) {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime);
    };
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    // FILETIME counts 100 ns ticks.
    const std::int64_t modified = ticks(data.ftLastWriteTime);
    if (ticks(now) - modified < kSettledTicks)
        return std::nullopt;
    return FileStamp{modified, static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow,
                     data.dwVolumeSerialNumber,
                     static_cast<std::uint64_t>(data.nFileIndexHigh) << 32 | data.nFileIndexLow};
}

#else

bool processAlive(unsigned long processId)
{
    if (processId == 0 || processId > static_cast<unsigned long>(std::numeric_limits<pid_t>::max()))
        return false;
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

std::optional<std::string> readRegularFile(const fs::path& path)
{
    // Non-blocking, so that opening a pipe no writer holds returns at once (and is refused below).
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    std::optional<std::string> result;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uintmax_t>(info.st_size) <= kMaxFileBytes) {
        // Room for one byte more than the size, which tells that the file grew meanwhile.
        std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
        std::size_t got = 0;
        bool ok = true;
        while (ok && got <= kMaxFileBytes) {
            if (got == bytes.size())
                bytes.resize(std::min<std::size_t>(bytes.size() * 2, kMaxFileBytes + 1));
            const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
            if (n == 0)
                break;
            if (n < 0)
                ok = errno == EINTR;
            else
                got += static_cast<std::size_t>(n);
        }
        if (ok && got <= kMaxFileBytes) {
            bytes.resize(got);
            result = std::move(bytes);
        }
    }
    ::close(fd);
    return result;
}

// Creates a temporary file of our own beside target: a name left over by another
// process is never opened nor removed, the next number is tried instead.
int createTemporary(const fs::path& target, fs::path& temporary)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = temporaryBeside(target, static_cast<unsigned long>(::getpid()));
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool replaceFile(const fs::path& target, std::string_view bytes)
{
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        // A file without any write permission counts as read-only even for root, who
        // could otherwise write it (and rename would replace it regardless).
        if (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            return false;
    }
    fs::path temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes);
    if (ok && exists) {
        // The new file takes the old one's owner (possible for root only) and permissions.
        [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable; the new content is in place whatever this returns.
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

std::optional<FileStamp> settledStampOf(const fs::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto nanoseconds = [](const timespec& time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    const std::int64_t modified = nanoseconds(info.st_mtim);
    if (nanoseconds(now) - modified < kSettledTicks * 100)
        return std::nullopt;
    return FileStamp{modified, static_cast<std::uint64_t>(info.st_size), static_cast<std::uint64_t>(info.st_dev),
                     static_cast<std::uint64_t>(info.st_ino)};
}

#endif

} // namespace

std::optional<std::string> readFileBytes(const std::string& gbkName)
{
    return readRegularFile(nativePath(gbkName));
}

std::optional<FileStamp> settledStamp(const std::string& gbkName)
{
    return settledStampOf(nativePath(gbkName));
}

bool fileExists(const std::string& gbkName)
{
    std::error_code error;
    return fs::exists(nativePath(gbkName), error);
}

bool replaceFileBytes(const std::string& gbkName, std::string_view bytes)
{
    const fs::path target = resolveLink(nativePath(gbkName));
    removeLeftovers(target);
    return replaceFile(target, bytes);
}

} // namespace skorvin::ini
