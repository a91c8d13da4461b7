// The report template reader: any bytes either give a template or are refused with the
// engine's format error; a template read is then looked up and built without a crash.
#include "report/ReportError.hpp"
#include "report/TReport.hpp"
#include "report/TUserDataset.hpp"
#include "report/TemplateReader.hpp"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace skorvin::report;
    ReportTemplate layout;
    try {
        layout = readTemplate(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    } catch (const TemplateFormatError&) {
        return 0;
    }
    TReport report("Report1");
    report.setTemplate(std::move(layout));
    report.setDate("2024-09-21");
    if (TextObject* memo = report.FindObject("memo1"))
        memo->setText("[ZKZH]");
    TUserDataset dataSet("UserDataset1");
    dataSet.setRecordCount(3);
    report.addDataSet(&dataSet);
    report.OnGetValue = [](const std::string& name) -> std::optional<std::string> {
        if (name == "ZKZH" || name == "XM" || name == "FS")
            return name;
        return std::nullopt;
    };
    try {
        // A few pages are enough to walk every band; a tiny band on a tall sheet must not run long.
        report.PrepareReport([](int page) { return page < 4; });
    } catch (const BuildError&) {
    }
    return 0;
}
