// The built-report reader: any bytes either give pages that write back to the same bytes
// or are refused with the file error. The checksum is made right first, so that the
// fuzzer reaches the checks behind it.
#include "report/BuiltReportFile.hpp"
#include "report/ReportError.hpp"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace skorvin::report;
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (bytes.size() >= 4) {
        bytes.chop(4);
        const std::uint32_t sum = builtReportChecksum(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        for (int i = 0; i < 4; ++i)
            bytes.append(static_cast<char>((sum >> (8 * i)) & 0xFF));
    }
    try {
        const BuiltReport report = readBuiltReport(bytes);
        for (int page = 0; page < report.pageCount(); ++page) {
            for (const Piece& piece : report.pieces(page))
                (void)report.text(piece);
        }
        if (writeBuiltReport(report) != bytes)
            std::abort();
    } catch (const BuiltReportFileError&) {
    }
    return 0;
}
