// TFileStream: a file opened for writing, create-always and locked, whose failed writes are reported.
#pragma once

#include "platform/OutputStream.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace skorvin {

// A file made for writing with create-always semantics: a new file, or an existing one
// emptied. Nobody else may open it while it is written (Windows: no sharing; Linux: an
// exclusive flock lock and an fcntl lock over the whole file, advisory locks that only
// programs that ask for locks respect). The name is the file system's own, so a name
// GBK cannot hold is kept. Bytes are buffered and reach the file in large pieces; every
// failed or short write is reported.
class TFileStream final : public OutputStream {
public:
    // Throws EFCreateError "Cannot create file "<full path>". <system reason>" when the
    // file cannot be made or is locked by someone else; an existing file is then untouched.
    explicit TFileStream(const std::filesystem::path& name);
    // Closes the file with what was handed over; a failure here goes unreported, so call
    // close() to learn of it.
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    // Throws EWriteError "Cannot write file "<full path>". <system reason>" (the full path
    // in GBK, "?" for what it cannot hold).
    void write(std::string_view bytes) override;
    // Writes what is buffered and closes the file; throws EWriteError as write() does.
    void close();

private:
    void flush();
    [[noreturn]] void failWrite(const std::string& reason);

    std::string fullName_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace skorvin
