#pragma once

#include <exception>
#include <string>

namespace skorvin {

// Every error of the system is an exception carrying its message as GBK text.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& message() const noexcept { return message_; }

private:
    std::string message_;
};

// Ends the current operator action at once without any message.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

class EConvertError : public Exception {
public:
    using Exception::Exception;
};

class EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

class EFCreateError : public Exception {
public:
    using Exception::Exception;
};

class EWriteError : public Exception {
public:
    using Exception::Exception;
};

// Throws the silent abort.
[[noreturn]] inline void Abort()
{
    throw EAbort();
}

} // namespace skorvin
