#include "report/SealedReportFile.hpp"

#include "report/BuiltReportFile.hpp"

#include <cstddef>
#include <cstdint>

namespace skorvin::test {

QByteArray sealed(QByteArray bytes)
{
    if (bytes.size() < 4)
        return bytes;
    bytes.chop(4);
    const std::uint32_t sum = report::builtReportChecksum(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    for (int i = 0; i < 4; ++i)
        bytes.append(static_cast<char>((sum >> (8 * i)) & 0xFF));
    return bytes;
}

} // namespace skorvin::test
