// The files the preview writes, a .rpages file and a PDF: the save dialog proposes the report's
// title in the folder last used, an existing file is replaced only after Yes, and the PDF's
// title is the report's.
#include "gui/OwnSettingsStore.hpp"
#include "gui/PdfText.hpp"
#include "gui/RecordingDialogs.hpp"
#include "gui/RecordingPrinters.hpp"
#include "gui/RecordingReportWindows.hpp"
#include "platform/Gbk.hpp"
#include "report/BuiltReportFile.hpp"
#include "report/TReport.hpp"
#include "ui/preview/ReportPreview.hpp"

#include <QDir>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using skorvin::report::BuiltReport;
using skorvin::test::RecordingDialogs;
using skorvin::test::RecordingPrinters;
using skorvin::test::RecordingReportWindows;
using skorvin::ui::PrintChoice;
using skorvin::ui::ReportPreview;

namespace {

const QString kTitle = QStringLiteral("第一考点四级主观题登分表");

BuiltReport sheets(int count)
{
    BuiltReport pages;
    pages.addStyle({});
    for (int i = 1; i <= count; ++i) {
        pages.beginPage(21000, 29700);
        pages.addPiece({2000, 2000, 17000, 1000}, skorvin::gbk::fromUtf8("第" + std::to_string(i) + "页"), 0);
    }
    return pages;
}

} // namespace

class ReportFilesTest : public QObject {
    Q_OBJECT

private:
    skorvin::test::OwnSettingsStore home_;

private slots:
    void initTestCase() { QVERIFY(home_.isValid()); }

    // Ctrl+S proposes the title in the folder last used; an existing file asks first, No opens
    // the dialog again and writes nothing, Yes replaces it.
    void savingPagesProposesTheTitleAndAsksBeforeReplacing()
    {
        RecordingDialogs dialogs;
        RecordingPrinters printers;
        QTemporaryDir folder;
        skorvin::report::TReport source("Report1");
        source.setTitle(skorvin::gbk::fromUtf8(kTitle.toStdString()));
        ReportPreview preview(sheets(3), &source);
        QWidget* view = preview.view();

        const QString first = folder.filePath(QStringLiteral("登分表"));
        dialogs.queueSaveFileName(first);
        QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
        const QString saved = first + QStringLiteral(".rpages");
        QCOMPARE(skorvin::report::loadBuiltReport(saved), sheets(3));

        dialogs.clear();
        QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dialogs.saveRequests().size(), std::size_t{1});
        QCOMPARE(dialogs.saveRequests()[0].proposedName, folder.filePath(kTitle + QStringLiteral(".rpages")));

        ReportPreview other(sheets(1), &source);
        dialogs.clear();
        dialogs.queueSaveFileName(first);
        dialogs.queueAnswer(false);
        QTest::keyClick(other.view(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dialogs.boxes().size(), std::size_t{1});
        QCOMPARE(dialogs.boxes()[0].caption, QStringLiteral("确认"));
        QCOMPARE(dialogs.boxes()[0].text, QStringLiteral("登分表.rpages 已存在。\n要替换它吗？"));
        QVERIFY(!dialogs.boxes()[0].defaultYes);
        // No: the dialog again, on that name; cancelled there, the file is as it was.
        QCOMPARE(dialogs.saveRequests().size(), std::size_t{2});
        QCOMPARE(dialogs.saveRequests()[1].proposedName, saved);
        QCOMPARE(skorvin::report::loadBuiltReport(saved), sheets(3));

        dialogs.clear();
        dialogs.queueSaveFileName(first);
        dialogs.queueAnswer(true);
        QTest::keyClick(other.view(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dialogs.boxes().size(), std::size_t{1});
        QCOMPARE(skorvin::report::loadBuiltReport(saved), sheets(1));
    }

    // 打印到 PDF 文件 proposes the title too, in the folder last used (here one a .rpages file
    // went to), writes the title into the PDF, and asks before it replaces a PDF.
    void printingToPdfProposesTheTitleAndAsksBeforeReplacing()
    {
        RecordingDialogs dialogs;
        RecordingReportWindows windows;
        RecordingPrinters printers(QStringList{}, true);
        QTemporaryDir folder;
        skorvin::report::TReport source("Report1");
        source.setTitle(skorvin::gbk::fromUtf8(kTitle.toStdString()));
        ReportPreview preview(sheets(2), &source);
        QToolButton* print = preview.findChild<QToolButton*>(QStringLiteral("btnPrint"));

        dialogs.queueSaveFileName(folder.filePath(QStringLiteral("页")));
        QTest::keyClick(preview.view(), Qt::Key_S, Qt::ControlModifier);
        dialogs.clear();
        const QString pdf = folder.filePath(kTitle + QStringLiteral(".pdf"));
        dialogs.queueSaveFileName(pdf);
        windows.queuePrint(PrintChoice{});
        print->click();
        QCOMPARE(dialogs.saveRequests().size(), std::size_t{1});
        QCOMPARE(dialogs.saveRequests()[0].proposedName, pdf);
        QVERIFY2(dialogs.boxes().empty(), qPrintable(dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(skorvin::test::pdfPages(pdf).size(), 2);
        QCOMPARE(skorvin::test::pdfTitle(pdf), kTitle);

        // Again to the same file: No changes nothing, Yes writes it anew.
        const QFileInfo before(pdf);
        const qint64 size = before.size();
        for (bool replace : {false, true}) {
            dialogs.clear();
            dialogs.queueSaveFileName(pdf);
            dialogs.queueAnswer(replace);
            PrintChoice one;
            one.range = PrintChoice::Range::Pages;
            one.pages = QStringLiteral("1");
            windows.queuePrint(one);
            print->click();
            QCOMPARE(dialogs.texts(), QStringList{kTitle + QStringLiteral(".pdf 已存在。\n要替换它吗？")});
            QCOMPARE(skorvin::test::pdfPages(pdf).size(), replace ? 1 : 2);
        }
        QVERIFY(QFileInfo(pdf).size() != size);
    }
};

QTEST_MAIN(ReportFilesTest)
#include "ReportFiles_test.moc"
