// The preview's tools: open and save of built reports, find with F3, printing through
// the print dialog's choices, the PDF file entry, and page setup building the report again.
#include "gui/CountingBeeper.hpp"
#include "gui/OwnSettingsStore.hpp"
#include "gui/PdfText.hpp"
#include "gui/RecordingDialogs.hpp"
#include "gui/RecordingPrinters.hpp"
#include "gui/RecordingReportWindows.hpp"
#include "platform/Gbk.hpp"
#include "report/BuiltReportFile.hpp"
#include "report/TReport.hpp"
#include "report/TUserDataset.hpp"
#include "report/TemplateReader.hpp"
#include "ui/preview/ReportPreview.hpp"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using skorvin::gbk::fromUtf8;
using skorvin::report::BuiltReport;
using skorvin::report::PageParity;
using skorvin::test::CountingBeeper;
using skorvin::test::RecordingDialogs;
using skorvin::test::RecordingPrinters;
using skorvin::test::RecordingReportWindows;
using skorvin::ui::FindChoice;
using skorvin::ui::PrintChoice;
using skorvin::ui::ReportPreview;

Q_DECLARE_METATYPE(skorvin::ui::PrintChoice)

namespace {

// A4 sheets; each holds the texts given for it, one below the other.
BuiltReport sheets(const std::vector<std::vector<QString>>& texts)
{
    BuiltReport pages;
    pages.addStyle({});
    for (const auto& sheet : texts) {
        pages.beginPage(21000, 29700);
        int y = 2000;
        for (const QString& text : sheet) {
            pages.addPiece({2000, y, 17000, 1000}, fromUtf8(text.toStdString()), 0);
            y += 1200;
        }
    }
    return pages;
}

BuiltReport numberedSheets(int count)
{
    std::vector<std::vector<QString>> texts;
    for (int i = 1; i <= count; ++i)
        texts.push_back({QStringLiteral("第%1页").arg(i)});
    return sheets(texts);
}

QToolButton* button(const ReportPreview& preview, const char* name)
{
    auto* found = preview.findChild<QToolButton*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no button %s", name);
    return found;
}

QString statusOf(const ReportPreview& preview)
{
    return preview.findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
}

PrintChoice pagesChoice(const QString& pages, const QString& copies = QStringLiteral("1"), bool collate = true,
                        PageParity parity = PageParity::All)
{
    PrintChoice choice;
    choice.range = PrintChoice::Range::Pages;
    choice.pages = pages;
    choice.copies = copies;
    choice.collate = collate;
    choice.parity = parity;
    return choice;
}

// A one-band sheet over a dataset of three names, as the score window's report is fed.
const char* const kTemplate = R"(<report version="1">
  <page width="210" height="297" margin-left="20" margin-top="20" margin-right="20" margin-bottom="20">
    <band kind="master-data" height="10" dataset="Names">
      <text name="Name" x="0" y="0" width="100" height="10"><line>[NAME]</line></text>
    </band>
  </page>
</report>)";

} // namespace

class ReportPreviewToolsTest : public QObject {
    Q_OBJECT

private:
    skorvin::test::OwnSettingsStore home_;

private slots:
    void initTestCase() { QVERIFY(home_.isValid()); }

    void savedPagesOpenAgainInPlaceOfTheShownOnes()
    {
        RecordingDialogs dialogs;
        RecordingPrinters printers;
        ReportPreview preview(numberedSheets(3));
        QTest::keyClick(preview.view(), Qt::Key_End, Qt::ControlModifier);

        // Whatever extension was typed, the file is a .rpages one.
        const QString typed = home_.folder().filePath(QStringLiteral("三页.txt"));
        dialogs.queueSaveFileName(typed);
        QTest::keyClick(preview.view(), Qt::Key_S, Qt::ControlModifier);
        const QString saved = home_.folder().filePath(QStringLiteral("三页.rpages"));
        QVERIFY(QFile::exists(saved));
        QVERIFY(!QFile::exists(typed));
        QCOMPARE(dialogs.saveRequests().back().filter, QStringLiteral("报表文件 (*.rpages)"));

        ReportPreview other(numberedSheets(5));
        QTest::keyClick(other.view(), Qt::Key_End, Qt::ControlModifier);
        dialogs.queueOpenFileName(saved);
        button(other, "btnOpen")->click();
        QCOMPARE(other.pages(), numberedSheets(3));
        QCOMPARE(other.view()->currentPage(), 1);
        QCOMPARE(statusOf(other), QStringLiteral("页 1/3"));
        QCOMPARE(dialogs.openRequests(), QStringList{QStringLiteral("报表文件 (*.rpages)")});

        // Cancelled dialogs change nothing; a file that is not a built report is refused in the error box.
        button(other, "btnOpen")->click();
        QCOMPARE(other.pages().pageCount(), 3);
        QFile junk(home_.folder().filePath(QStringLiteral("junk.rpages")));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not pages") > 0);
        junk.close();
        dialogs.queueOpenFileName(junk.fileName());
        QTest::keyClick(other.view(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(other.pages().pageCount(), 3);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("不是报表文件.")});
    }

    // A name found on its page, F3 moving on across pages, then nothing more, said in the status.
    void findAndF3WalkTheMatches()
    {
        CountingBeeper beeps;
        RecordingReportWindows windows;
        RecordingPrinters printers;
        const QString wang = QStringLiteral("王小明");
        ReportPreview preview(sheets({{QStringLiteral("李华"), wang},
                                      {QStringLiteral("张伟")},
                                      {QStringLiteral("陈静"), QStringLiteral("王小明A")},
                                      {QStringLiteral("张伟")}}));
        preview.resize(800, 600);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QWidget* view = preview.view();

        // F3 before any search does nothing.
        QTest::keyClick(view, Qt::Key_F3);
        QVERIFY(preview.view()->highlightedArea().isEmpty());

        windows.queueFind({wang, false, true});
        QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(windows.findRequests().size(), std::size_t{1});
        QCOMPARE(windows.findRequests()[0], (FindChoice{QString(), false, true}));
        QCOMPARE(preview.view()->currentPage(), 1);
        const QRect first = preview.view()->highlightedArea();
        QVERIFY(!first.isEmpty());
        QVERIFY(preview.view()->viewport()->rect().contains(first));

        QTest::keyClick(view, Qt::Key_F3);
        QCOMPARE(preview.view()->currentPage(), 3);
        QCOMPARE(statusOf(preview), QStringLiteral("页 3/4"));
        const QRect second = preview.view()->highlightedArea();
        QVERIFY(preview.view()->viewport()->rect().contains(second));
        // Shown inverted: the area's paper is dark.
        const QImage shot = preview.view()->viewport()->grab().toImage();
        QCOMPARE(QColor(shot.pixel(second.left() + 1, second.top() + 1)), QColor(Qt::black));

        // Nothing after the last one: the view stays where it is, the old match is no longer
        // shown inverted, and the status says so with a beep.
        const int scrolled = preview.view()->verticalScrollBar()->value();
        QCOMPARE(beeps.count(), 0);
        QTest::keyClick(view, Qt::Key_F3);
        QCOMPARE(preview.view()->currentPage(), 3);
        QCOMPARE(preview.view()->verticalScrollBar()->value(), scrolled);
        QVERIFY(preview.view()->highlightedArea().isEmpty());
        QCOMPARE(statusOf(preview), QStringLiteral("未找到“王小明”"));
        QCOMPARE(beeps.count(), 1);
        const QImage after = preview.view()->viewport()->grab().toImage();
        QCOMPARE(QColor(after.pixel(second.left() + 1, second.top() + 1)), QColor(Qt::white));

        // A match on the page shown gives the page status back.
        windows.queueFind({QStringLiteral("陈静"), false, true});
        QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(preview.view()->currentPage(), 3);
        QVERIFY(!preview.view()->highlightedArea().isEmpty());
        QCOMPARE(statusOf(preview), QStringLiteral("页 3/4"));

        // The dialog opens on the last search; 当前页 from page 2 finds page 3's, case ignored.
        windows.queueFind({QStringLiteral("王小明a"), false, false});
        QTest::keyClick(view, Qt::Key_PageUp, Qt::ControlModifier);
        button(preview, "btnFind")->click();
        QCOMPARE(windows.findRequests().back(), (FindChoice{QStringLiteral("陈静"), false, true}));
        QCOMPARE(preview.view()->currentPage(), 3);
        QCOMPARE(beeps.count(), 1);
        // With the case to match, nothing: the page stays, the highlight goes.
        windows.queueFind({QStringLiteral("王小明a"), true, true});
        QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(preview.view()->currentPage(), 3);
        QVERIFY(preview.view()->highlightedArea().isEmpty());
        QCOMPARE(statusOf(preview), QStringLiteral("未找到“王小明a”"));
        QCOMPARE(beeps.count(), 2);
    }

    void pageTextsAndCopiesReachThePrinter_data()
    {
        QTest::addColumn<PrintChoice>("choice");
        QTest::addColumn<QList<int>>("pages");
        QTest::addColumn<int>("printerCopies");
        QTest::addColumn<QString>("error");
        const QList<int> all{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        QTest::newRow("list and range") << pagesChoice(QStringLiteral("1,3,5-7")) << QList<int>{1, 3, 5, 6, 7} << 1
                                        << QString();
        QTest::newRow("order") << pagesChoice(QStringLiteral("7,1")) << QList<int>{1, 7} << 1 << QString();
        QTest::newRow("open range") << pagesChoice(QStringLiteral("8-")) << QList<int>{8, 9, 10} << 1 << QString();
        QTest::newRow("backward range") << pagesChoice(QStringLiteral("5-3")) << all << 1 << QString();
        QTest::newRow("two dashes") << pagesChoice(QStringLiteral("1-3-5")) << QList<int>{3, 4, 5} << 1 << QString();
        QTest::newRow("spaces") << pagesChoice(QStringLiteral(" 2 , 4 ")) << QList<int>{2, 4} << 1 << QString();
        QTest::newRow("empty") << pagesChoice(QString()) << all << 1 << QString();
        QTest::newRow("odd") << pagesChoice(QStringLiteral("1-5"), QStringLiteral("1"), true, PageParity::Odd)
                             << QList<int>{1, 3, 5} << 1 << QString();
        QTest::newRow("even") << pagesChoice(QStringLiteral("1-5"), QStringLiteral("1"), true, PageParity::Even)
                              << QList<int>{2, 4} << 1 << QString();
        QTest::newRow("collated") << pagesChoice(QStringLiteral("1-3"), QStringLiteral("2"), true)
                                  << QList<int>{1, 2, 3, 1, 2, 3} << 1 << QString();
        QTest::newRow("not collated") << pagesChoice(QStringLiteral("1-3"), QStringLiteral("2"), false)
                                      << QList<int>{1, 2, 3} << 2 << QString();
        QTest::newRow("copies 0") << pagesChoice(QStringLiteral("2"), QStringLiteral("0"), false) << QList<int>{2} << 1
                                  << QString();
        PrintChoice current;
        current.range = PrintChoice::Range::CurrentPage;
        QTest::newRow("current page") << current << QList<int>{4} << 1 << QString();
        PrintChoice everything;
        everything.pages = QStringLiteral("1"); // typed, but 全部 chosen
        QTest::newRow("all") << everything << all << 1 << QString();
        QTest::newRow("not a number") << pagesChoice(QStringLiteral("a")) << QList<int>{} << 0
                                      << QStringLiteral("'a' is not a valid integer value.");
        QTest::newRow("copies x") << pagesChoice(QStringLiteral("1"), QStringLiteral("x")) << QList<int>{} << 0
                                  << QStringLiteral("'x' is not a valid integer value.");
    }

    void pageTextsAndCopiesReachThePrinter()
    {
        QFETCH(PrintChoice, choice);
        QFETCH(QList<int>, pages);
        QFETCH(int, printerCopies);
        QFETCH(QString, error);
        RecordingDialogs dialogs;
        RecordingReportWindows windows;
        RecordingPrinters printers({QStringLiteral("Printer A"), QStringLiteral("Printer B")}, false, 1);
        ReportPreview preview(numberedSheets(10));
        preview.view()->goToPage(4);
        choice.printer = 1;
        windows.queuePrint(choice);
        QTest::keyClick(preview.view(), Qt::Key_P, Qt::ControlModifier);

        QCOMPARE(windows.printRequests().size(), std::size_t{1});
        QCOMPARE(windows.printRequests()[0].printers,
                 (QStringList{QStringLiteral("Printer A"), QStringLiteral("Printer B")}));
        QCOMPARE(windows.printRequests()[0].current, 1);
        if (!error.isEmpty()) {
            QCOMPARE(dialogs.texts(), QStringList{error});
            QVERIFY(printers.jobs().empty());
            return;
        }
        QVERIFY2(dialogs.boxes().empty(), qPrintable(dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(printers.jobs().size(), std::size_t{1});
        const RecordingPrinters::Job& job = printers.jobs()[0];
        QCOMPARE(job.printer, QStringLiteral("Printer B"));
        QCOMPARE(job.title, QStringLiteral("Untitled"));
        QCOMPARE(QList<int>(job.pages.begin(), job.pages.end()), pages);
        QCOMPARE(job.copies, printerCopies);
        QVERIFY(job.finished && !job.aborted);
        QCOMPARE(QList<int>(windows.printProgressPages().begin(), windows.printProgressPages().end()), pages);
    }

    void cancellingTheProgressAbortsTheJob()
    {
        RecordingReportWindows windows;
        RecordingPrinters printers;
        ReportPreview preview(numberedSheets(5));
        windows.cancelAtPage(3);
        windows.queuePrint(PrintChoice{});
        button(preview, "btnPrint")->click();
        QCOMPARE(printers.jobs().size(), std::size_t{1});
        QCOMPARE(printers.jobs()[0].pages, (std::vector<int>{1, 2}));
        QVERIFY(printers.jobs()[0].aborted && !printers.jobs()[0].finished);
    }

    // Without printers the preview works, but nothing prints and the paper cannot be set up.
    void noPrinterDisablesPrintingAndPageSetup()
    {
        RecordingReportWindows windows;
        RecordingPrinters printers(QStringList{});
        ReportPreview preview(numberedSheets(3));
        QVERIFY(!button(preview, "btnPrint")->isEnabled());
        QVERIFY(!button(preview, "btnPageSetup")->isEnabled());
        windows.queuePrint(PrintChoice{});
        QTest::keyClick(preview.view(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(windows.printRequests().empty());
        QTest::keyClick(preview.view(), Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(preview.view()->currentPage(), 2);
    }

    // A saved report, opened again and printed to a PDF file, holds the same pages.
    void aReopenedReportPrintsToPdf()
    {
        RecordingDialogs dialogs;
        RecordingReportWindows windows;
        RecordingPrinters printers({QStringLiteral("Printer A")}, true);
        const BuiltReport original = sheets({{QStringLiteral("第一页"), QStringLiteral("王小明 87.5")},
                                             {QStringLiteral("第二页")},
                                             {QStringLiteral("第三页"), QStringLiteral("李华")}});
        const QString saved = home_.folder().filePath(QStringLiteral("report.rpages"));
        skorvin::report::saveBuiltReport(original, saved);

        ReportPreview preview(numberedSheets(1));
        dialogs.queueOpenFileName(saved);
        button(preview, "btnOpen")->click();
        QCOMPARE(preview.pages(), original);

        const QString pdf = home_.folder().filePath(QStringLiteral("打印"));
        dialogs.queueSaveFileName(pdf);
        PrintChoice choice = pagesChoice(QStringLiteral("3,1"));
        choice.printer = 1;
        windows.queuePrint(choice);
        button(preview, "btnPrint")->click();
        QVERIFY2(dialogs.boxes().empty(), qPrintable(dialogs.texts().join(QLatin1Char('|'))));
        QCOMPARE(windows.printRequests()[0].printers,
                 (QStringList{QStringLiteral("Printer A"), QStringLiteral("打印到 PDF 文件")}));
        QCOMPARE(QFileInfo(dialogs.saveRequests().back().proposedName).fileName(), QStringLiteral("Untitled.pdf"));

        const QStringList pages = skorvin::test::pdfPages(pdf + QStringLiteral(".pdf"));
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0].contains(QStringLiteral("第一页")) && pages[0].contains(QStringLiteral("王小明 87.5")));
        QVERIFY(pages[1].contains(QStringLiteral("第三页")) && pages[1].contains(QStringLiteral("李华")));

        // Uncollated copies: each page as many times as the copies, one after another.
        const QString twice = home_.folder().filePath(QStringLiteral("twice.pdf"));
        dialogs.queueSaveFileName(twice);
        choice.copies = QStringLiteral("2");
        choice.collate = false;
        windows.queuePrint(choice);
        button(preview, "btnPrint")->click();
        const QStringList copies = skorvin::test::pdfPages(twice);
        QCOMPARE(copies.size(), 4);
        QVERIFY(copies[1].contains(QStringLiteral("第一页")) && copies[2].contains(QStringLiteral("第三页")));

        // No file named: no file written, nothing printed.
        windows.queuePrint(choice);
        button(preview, "btnPrint")->click();
        QVERIFY(printers.jobs().empty());
    }

    // 保存 and 打印到 PDF 文件 make files of the very names typed, also where GBK lacks a
    // character; a name the file system cannot spell is refused with a box and writes nothing.
    void namesGbkCannotHoldAreKept()
    {
        RecordingDialogs dialogs;
        RecordingReportWindows windows;
        RecordingPrinters printers(QStringList{}, true);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        ReportPreview preview(numberedSheets(2));

        dialogs.queueSaveFileName(folder.filePath(QStringLiteral("成绩한국")));
        button(preview, "btnSave")->click();
        dialogs.queueOpenFileName(folder.filePath(QStringLiteral("成绩한국.rpages")));
        button(preview, "btnOpen")->click();
        QCOMPARE(preview.pages(), numberedSheets(2));

        dialogs.queueSaveFileName(folder.filePath(QStringLiteral("名单😀")));
        windows.queuePrint(PrintChoice{});
        button(preview, "btnPrint")->click();
        QCOMPARE(skorvin::test::pdfPages(folder.filePath(QStringLiteral("名单😀.pdf"))).size(), 2);
        QVERIFY2(dialogs.boxes().empty(), qPrintable(dialogs.texts().join(QLatin1Char('|'))));

        const QString lone = folder.filePath(QStringLiteral("成绩") + QChar(0xD800));
        dialogs.queueSaveFileName(lone);
        button(preview, "btnSave")->click();
        dialogs.queueSaveFileName(lone);
        windows.queuePrint(PrintChoice{});
        button(preview, "btnPrint")->click();
        QCOMPARE(dialogs.boxes().size(), std::size_t{2});
        for (const auto& box : dialogs.boxes())
            QVERIFY2(box.text.endsWith(QStringLiteral("Invalid or incomplete multibyte or wide character.")),
                     qPrintable(box.text));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files),
                 (QStringList{QStringLiteral("名单😀.pdf"), QStringLiteral("成绩한국.rpages")}));
    }

    void pageSetupBuildsTheReportAgain()
    {
        RecordingDialogs dialogs;
        RecordingReportWindows windows;
        RecordingPrinters printers;
        skorvin::report::TReport report("Report1");
        report.setTemplate(skorvin::report::readTemplate(QByteArray(kTemplate)));
        skorvin::report::TUserDataset names("Names");
        names.setRecordCount(3);
        int row = 0;
        int firstCalls = 0;
        int values = 0;
        names.OnFirst = [&] {
            row = 0;
            ++firstCalls;
        };
        names.OnNext = [&] { ++row; };
        report.addDataSet(&names);
        report.OnGetValue = [&](const std::string& name) -> std::optional<std::string> {
            ++values;
            if (name == "NAME")
                return "name " + std::to_string(row);
            return std::nullopt;
        };
        ReportPreview preview(report.PrepareReport().pages, &report);
        QCOMPARE(firstCalls, 1);
        QVERIFY(button(preview, "btnPageSetup")->isEnabled());

        // Cancelled: nothing is built.
        button(preview, "btnPageSetup")->click();
        QCOMPARE(firstCalls, 1);
        skorvin::report::PaperSetup offered = printers.papersOffered().at(0);
        QCOMPARE(offered.width, skorvin::report::millimetres(210));
        QCOMPARE(offered.marginLeft, skorvin::report::millimetres(20));

        skorvin::report::PaperSetup landscape{29700, 21000, skorvin::report::Orientation::Landscape, 3000, 1000,
                                              1000,  1000};
        printers.queuePaper(landscape);
        button(preview, "btnPageSetup")->click();
        QCOMPARE(firstCalls, 2);
        QCOMPARE(values, 6);
        QCOMPARE(windows.progressPages(), std::vector<int>{1});
        const BuiltReport& rebuilt = preview.pages();
        QCOMPARE(rebuilt.pageCount(), 1);
        QCOMPARE(rebuilt.page(0).width, 29700);
        QCOMPARE(rebuilt.page(0).height, 21000);
        QCOMPARE(rebuilt.pieces(0)[0].rect.x, 3000);
        QCOMPARE(rebuilt.pieces(0)[0].rect.y, 1000);
        QCOMPARE(rebuilt.text(rebuilt.pieces(0)[2]), std::string_view("name 2"));
        QCOMPARE(preview.view()->currentPage(), 1);

        // Pages opened from a file have no report behind them to build again.
        const QString saved = home_.folder().filePath(QStringLiteral("setup.rpages"));
        skorvin::report::saveBuiltReport(rebuilt, saved);
        dialogs.queueOpenFileName(saved);
        button(preview, "btnOpen")->click();
        QVERIFY(!button(preview, "btnPageSetup")->isEnabled());
    }
};

QTEST_MAIN(ReportPreviewToolsTest)
#include "ReportPreviewTools_test.moc"
