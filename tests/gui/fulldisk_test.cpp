// The preview's 保存 and 打印到 PDF 文件 on a full disk: an error box says so, and an older
// file of that name stays whole, whether the disk fills at the last buffer or midway.
#include "gui/OwnSettingsStore.hpp"
#include "gui/RecordingDialogs.hpp"
#include "gui/RecordingPrinters.hpp"
#include "gui/RecordingReportWindows.hpp"
#include "plain/Files.hpp"
#include "plain/SmallDisk.hpp"
#include "report/BuiltReport.hpp"
#include "ui/preview/ReportPreview.hpp"

#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <set>
#include <string>

using skorvin::report::BuiltReport;
using skorvin::test::RecordingDialogs;
using skorvin::test::RecordingPrinters;
using skorvin::test::RecordingReportWindows;
using skorvin::test::SmallDisk;
using skorvin::ui::PrintChoice;
using skorvin::ui::ReportPreview;

namespace {

// A4 sheets of thirty numbered lines each.
BuiltReport sheets(int count)
{
    BuiltReport pages;
    pages.addStyle({});
    for (int i = 0; i < count; ++i) {
        pages.beginPage(21000, 29700);
        for (int line = 0; line < 30; ++line)
            pages.addPiece({2000, 2000 + line * 800, 17000, 700}, "400111050" + std::to_string(i * 30 + line), 0);
    }
    return pages;
}

void click(const ReportPreview& preview, const char* name)
{
    preview.findChild<QToolButton*>(QString::fromLatin1(name))->click();
}

} // namespace

class FullDiskTest : public QObject {
    Q_OBJECT

private:
    skorvin::test::OwnSettingsStore home_;

    // Fills a fresh disk with an older file of that name on it, leaving `spare` bytes free.
    static bool prepare(SmallDisk& disk, const char* name, std::size_t spare)
    {
        if (!disk.mounted())
            return false;
        skorvin::test::putFile(disk / name, "older file");
        disk.fill(spare);
        return true;
    }

    static void checkRefused(const RecordingDialogs& dialogs, const SmallDisk& disk, const char* name)
    {
        // The operator was asked before the older file is replaced, and said Yes.
        QCOMPARE(dialogs.boxes().size(), std::size_t{2});
        QCOMPARE(dialogs.boxes()[0].caption, QStringLiteral("确认"));
        QVERIFY2(dialogs.boxes()[1].text.contains(QStringLiteral("No space left on device")),
                 qPrintable(dialogs.boxes()[1].text));
        QCOMPARE(skorvin::test::fileBytes(disk / name), std::optional<std::string>("older file"));
        QCOMPARE(skorvin::test::namesIn(disk.path()), (std::set<std::string>{"filler", name}));
    }

private slots:
    void initTestCase() { QVERIFY(home_.isValid()); }

    void printingToAPdfFile_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("spare");
        // A short PDF stays in the file's buffer until its last flush, which fails.
        QTest::newRow("one page, no byte free") << 1 << 0;
        QTest::newRow("forty pages, 8 KiB free") << 40 << 8 * 1024;
    }

    void printingToAPdfFile()
    {
        QFETCH(int, pages);
        QFETCH(int, spare);
        SmallDisk disk;
        if (!prepare(disk, "scores.pdf", static_cast<std::size_t>(spare)))
            QSKIP(disk.whyNot().c_str());
        RecordingDialogs dialogs;
        RecordingReportWindows windows;
        RecordingPrinters printers(QStringList{}, true);
        ReportPreview preview(sheets(pages));
        dialogs.queueSaveFileName(QString::fromStdString((disk / "scores.pdf").string()));
        dialogs.queueAnswer(true);
        PrintChoice choice;
        windows.queuePrint(choice);
        click(preview, "btnPrint");
        checkRefused(dialogs, disk, "scores.pdf");
    }

    void savingTheReport_data()
    {
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("spare");
        QTest::newRow("one page, no byte free") << 1 << 0;
        QTest::newRow("forty pages, 8 KiB free") << 40 << 8 * 1024;
    }

    void savingTheReport()
    {
        QFETCH(int, pages);
        QFETCH(int, spare);
        SmallDisk disk;
        if (!prepare(disk, "scores.rpages", static_cast<std::size_t>(spare)))
            QSKIP(disk.whyNot().c_str());
        RecordingDialogs dialogs;
        RecordingReportWindows windows;
        RecordingPrinters printers;
        ReportPreview preview(sheets(pages));
        dialogs.queueSaveFileName(QString::fromStdString((disk / "scores.rpages").string()));
        dialogs.queueAnswer(true);
        click(preview, "btnSave");
        checkRefused(dialogs, disk, "scores.rpages");
    }
};

QTEST_MAIN(FullDiskTest)
#include "fulldisk_test.moc"
