// Saving a built report on a full disk: the save is refused and an older file stays whole,
// whether the disk fills at the last buffer or in the middle of the bytes.
#include "plain/Files.hpp"
#include "plain/SmallDisk.hpp"
#include "platform/Exception.hpp"
#include "report/BuiltReportFile.hpp"
#include "report/ReportPainter.hpp"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace skorvin;
using namespace skorvin::report;

namespace {

BuiltReport report(int pages)
{
    BuiltReport built;
    built.addStyle({});
    for (int i = 0; i < pages; ++i) {
        built.beginPage(21000, 29700);
        for (int line = 0; line < 30; ++line)
            built.addPiece({2000, 2000 + line * 800, 17000, 700}, "400111050" + std::to_string(i * 30 + line), 0);
    }
    return built;
}

TEST(RpagesFullDisk, ASaveThatFailsLeavesTheOlderFileWhole)
{
    const struct {
        const char* what;
        int pages;
        std::size_t spare;
    } cases[] = {
        // Under Qt's 16 KiB buffer: every byte waits for the last flush, which fails.
        {"a small report, no byte free", 1, 0},
        // Some 40 KiB written at once, of which the first 8 KiB fit.
        {"a larger report, 8 KiB free", 30, 8 * 1024},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::SmallDisk disk;
        if (!disk.mounted())
            GTEST_SKIP() << disk.whyNot();
        const QString name = QString::fromStdString((disk / "scores.rpages").string());
        test::putFile(disk / "scores.rpages", "older report");
        disk.fill(c.spare);
        try {
            saveBuiltReport(report(c.pages), name);
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.message(), "Cannot create file \"" + name.toStdString() + "\". No space left on device");
        }
        EXPECT_EQ(test::fileBytes(disk / "scores.rpages"), "older report");
        EXPECT_EQ(test::namesIn(disk.path()), (std::set<std::string>{"filler", "scores.rpages"}));
    }
}

// A PDF that does not fit is refused the same way.
TEST(RpagesFullDisk, APdfThatFailsLeavesTheOlderFileWhole)
{
    static int argc = 1;
    static char name[] = "unit_report_fulldisk";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(argc, argv); // the painter's fonts
    test::SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << disk.whyNot();
    const QString pdf = QString::fromStdString((disk / "scores.pdf").string());
    test::putFile(disk / "scores.pdf", "older sheet");
    disk.fill(0);
    try {
        exportPdf(report(5), pdf);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), "Cannot create file \"" + pdf.toStdString() + "\". No space left on device");
    }
    EXPECT_EQ(test::fileBytes(disk / "scores.pdf"), "older sheet");
    EXPECT_EQ(test::namesIn(disk.path()), (std::set<std::string>{"filler", "scores.pdf"}));
}

} // namespace
