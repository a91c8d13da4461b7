#pragma once

#include <string_view>

namespace skorvin {

// Where a writer sends its bytes, piece by piece, as they are produced.
class OutputStream {
public:
    virtual ~OutputStream() = default;
    // Hands the bytes over; a failure is raised as an exception with its message.
    virtual void write(std::string_view bytes) = 0;
};

} // namespace skorvin
