// TFileStream: a file opened for writing, create-always and locked, whose failed writes are reported.
#include "platform/TFileStream.hpp"

#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/NativePath.hpp"

#include <algorithm>
#include <cstring>

#include "platform/WindowsApi.hpp"
#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace skorvin {

namespace {

// Large enough that a million lines take a few hundred writes, small enough to keep
// the export's memory flat.
constexpr std::size_t kBufferSize = 64 * 1024;

std::string fileMessage(const char* what, const std::string& fullName, const std::string& reason)
{
    return std::string(what) + " \"" + fullName + "\". " + reason;
}

#ifdef _WIN32

std::string systemReason(DWORD error)
{
    char* text = nullptr;
    const DWORD size =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason(text ? text : "", size);
    LocalFree(text);
    while (!reason.empty() && static_cast<unsigned char>(reason.back()) <= ' ')
        reason.pop_back();
    return reason;
}

#else

std::string systemReason(int error)
{
    return gbk::fromUtf8(std::strerror(error));
}

// Programs that lock with fcntl or lockf never see a flock lock on Linux, nor it theirs:
// a lock of that kind is taken as well. It belongs to this open file, so closing another
// descriptor of the file elsewhere in the process cannot drop it (a plain fcntl lock would go).
bool lockRecords(int fd)
{
#ifdef F_OFD_SETLK
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    return ::fcntl(fd, F_OFD_SETLK, &whole) == 0;
#else
    (void)fd;
    return true;
#endif
}

#endif

} // namespace

#ifdef _WIN32

TFileStream::TFileStream(const std::filesystem::path& name) : fullName_(fullPathName(name)), buffer_(kBufferSize)
{
    // No sharing: nobody else opens the file until it is closed.
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw EFCreateError(fileMessage("Cannot create file", fullName_, systemReason(GetLastError())));
    handle_ = file;
}

TFileStream::~TFileStream()
{
    if (!handle_)
        return;
    try {
        flush();
    } catch (const Exception&) {
    }
    CloseHandle(handle_);
}

void TFileStream::flush()
{
    std::size_t done = 0;
    while (done < used_) {
        DWORD written = 0;
        if (!WriteFile(handle_, buffer_.data() + done, static_cast<DWORD>(used_ - done), &written, nullptr)) {
            used_ = 0;
            failWrite(systemReason(GetLastError()));
        }
        // A write that takes nothing would otherwise be tried for ever.
        if (written == 0) {
            used_ = 0;
            failWrite(systemReason(ERROR_WRITE_FAULT));
        }
        done += written;
    }
    used_ = 0;
}

void TFileStream::close()
{
    if (!handle_)
        return;
    // The last buffer goes out through the handle before it is given up.
    const HANDLE file = handle_;
    try {
        flush();
    } catch (const Exception&) {
        handle_ = nullptr;
        CloseHandle(file);
        throw;
    }
    handle_ = nullptr;
    if (!CloseHandle(file))
        failWrite(systemReason(GetLastError()));
}

#else

TFileStream::TFileStream(const std::filesystem::path& name) : fullName_(fullPathName(name)), buffer_(kBufferSize)
{
    // Not truncated at the open: a file someone else holds locked must keep its content.
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        throw EFCreateError(fileMessage("Cannot create file", fullName_, systemReason(errno)));
    struct stat info {};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !lockRecords(fd) || ::fstat(fd, &info) != 0 ||
        (S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0)) {
        const int error = errno;
        ::close(fd);
        throw EFCreateError(fileMessage("Cannot create file", fullName_, systemReason(error)));
    }
    fd_ = fd;
}

TFileStream::~TFileStream()
{
    if (fd_ < 0)
        return;
    try {
        flush();
    } catch (const Exception&) {
    }
    ::close(fd_);
}

void TFileStream::flush()
{
    std::size_t done = 0;
    while (done < used_) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, used_ - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            used_ = 0;
            failWrite(systemReason(errno));
        }
        // A write that takes nothing would otherwise be tried for ever.
        if (n == 0) {
            used_ = 0;
            failWrite(systemReason(EIO));
        }
        done += static_cast<std::size_t>(n);
    }
    used_ = 0;
}

void TFileStream::close()
{
    if (fd_ < 0)
        return;
    const int fd = fd_;
    try {
        flush();
    } catch (const Exception&) {
        fd_ = -1;
        ::close(fd);
        throw;
    }
    fd_ = -1;
    if (::close(fd) != 0)
        failWrite(systemReason(errno));
}

#endif

void TFileStream::write(std::string_view bytes)
{
    while (!bytes.empty()) {
        if (used_ == buffer_.size())
            flush();
        const std::size_t piece = std::min(bytes.size(), buffer_.size() - used_);
        std::memcpy(buffer_.data() + used_, bytes.data(), piece);
        used_ += piece;
        bytes.remove_prefix(piece);
    }
}

void TFileStream::failWrite(const std::string& reason)
{
    throw EWriteError(fileMessage("Cannot write file", fullName_, reason));
}

} // namespace skorvin
