// The built-report reader: any bytes either give pages that write back to the same bytes
// or are refused with the file error. The checksum is made right first, so that the
// fuzzer reaches the checks behind it.
#include "report/BuiltReportFile.hpp"
#include "report/ReportError.hpp"
#include "report/SealedReportFile.hpp"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace skorvin::report;
    const QByteArray bytes =
        skorvin::test::sealed(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
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
