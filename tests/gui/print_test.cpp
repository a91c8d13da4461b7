// The print action of the score window: the template beside the host, the sheet filled
// from the list (read back from the previewed pages), the boxes of its failures, and the
// list and grid afterwards.
#include "exam/StandardInfo.hpp"
#include "gui/RecordingReportWindows.hpp"
#include "gui/ScoreWindow.hpp"
#include "plain/Files.hpp"
#include "platform/Gbk.hpp"
#include "platform/Text.hpp"
#include "report/TReport.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/widgets/TRadioGroup.hpp"

#include <QtTest>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeView>

#include <filesystem>

using skorvin::report::BuiltReport;
using skorvin::report::Length;
using skorvin::report::millimetres;
using skorvin::test::DemoDb;
using skorvin::test::RecordingReportWindows;
using skorvin::test::ScoreWindow;
using skorvin::ui::Dialogs;
namespace fs = std::filesystem;

namespace {

const fs::path kShipped = fs::path(__FILE__).parent_path() / "../../resources/四级考生主观题分数报表.rtpl";

fs::path templatePath()
{
    return fs::path(skorvin::gbk::toUtf8(skorvin::test::windowFiles().reportTemplate));
}

// The shipped template with one text replaced, for the variants a case needs.
void installTemplate(const std::string& from = {}, const std::string& to = {})
{
    std::string bytes = skorvin::test::fileBytes(kShipped).value();
    if (!from.empty())
        bytes.replace(bytes.find(from), from.size(), to);
    skorvin::test::putFile(templatePath(), bytes);
}

// The texts of one data column of the shipped sheet, in page and drawing order: the
// pieces at the column's left edge that are as tall as a data row (the titles are taller).
std::vector<std::string> column(const BuiltReport& pages, double leftMm)
{
    std::vector<std::string> texts;
    for (int page = 0; page < pages.pageCount(); ++page) {
        for (const auto& piece : pages.pieces(page)) {
            if (piece.rect.x == millimetres(20 + leftMm) && piece.rect.height == millimetres(7.5))
                texts.emplace_back(pages.text(piece));
        }
    }
    return texts;
}

// memo1 and memo2: the full-width pieces of the first sheet's top.
std::vector<std::string> headings(const BuiltReport& pages)
{
    std::vector<std::string> texts;
    for (const auto& piece : pages.pieces(0)) {
        if (piece.rect.width == millimetres(175) && piece.rect.y < millimetres(40))
            texts.emplace_back(pages.text(piece));
    }
    return texts;
}

struct PrintWindow : ScoreWindow {
    PrintWindow() { show(); }

    void clickChoice(int index) const
    {
        QAbstractButton* button = child<skorvin::ui::TRadioGroup>("RadioGroup1")->button(index);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
    }

    void print() const { QTest::mouseClick(child<QToolButton>("SpeedButton2"), Qt::LeftButton); }

    const skorvin::ado::TCustomADODataSet& list() const { return *grid->dataSet(); }

    std::vector<std::string> listedTrimmed(const char* field) const
    {
        std::vector<std::string> values;
        for (int row = 0; row < list().recordCount(); ++row)
            values.push_back(skorvin::text::trim(listed(row, field)));
        return values;
    }

    RecordingReportWindows reports;
};

} // namespace

class PrintTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        fs::create_directories(templatePath().parent_path());
        installTemplate();
    }

    // Every listed candidate once, in the list's order, trimmed; the title and heading filled.
    void printsTheListAsShown()
    {
        PrintWindow w;
        w.clickChoice(2);
        QVERIFY(w.list().recordCount() > 27); // more than one sheet
        w.print();
        QCOMPARE(w.recorder.texts(), QStringList());
        QCOMPARE(w.reports.previews().size(), std::size_t{1});
        const BuiltReport& pages = w.reports.previews().front().pages;
        QCOMPARE(w.reports.previews().front().owner, static_cast<QWidget*>(w.window.get()));
        QCOMPARE(column(pages, 18), w.listedTrimmed("zkzh"));
        QCOMPARE(column(pages, 80), w.listedTrimmed("xm"));
        QCOMPARE(column(pages, 130), w.listedTrimmed("tttt"));
        const std::string province = skorvin::text::mid(
            skorvin::ui::toGbk(w.panel(0)), skorvin::text::pos("-", skorvin::ui::toGbk(w.panel(0))) + 1, 100);
        QCOMPARE(headings(pages), (std::vector<std::string>{skorvin::exam::ComposeReportTitle(
                                                                DemoDb::smallOptions().settings.date.value_or("")),
                                                            province + skorvin::gbk::fromUtf8("四级主观题登分表")}));
        // The heading is also the report's title: the print job's, the PDF's and the file's proposed.
        QCOMPARE(w.reports.previews().front().source->title(), province + skorvin::gbk::fromUtf8("四级主观题登分表"));
        QVERIFY(w.reports.progressPages().front() == 1);
        QCOMPARE(w.reports.progressWindowsOpen(), 0);
    }

    // 未登分: only the candidates without a score, with empty score cells.
    void unscoredListGivesEmptyScores()
    {
        PrintWindow w;
        w.clickChoice(0);
        QVERIFY(w.list().recordCount() > 0);
        w.print();
        const BuiltReport& pages = w.reports.previews().at(0).pages;
        QCOMPARE(column(pages, 18), w.listedTrimmed("zkzh"));
        for (const std::string& score : column(pages, 130))
            QVERIFY2(score.empty(), score.c_str());
    }

    void theRootsHeading()
    {
        PrintWindow w;
        const QModelIndex root = w.tree->model()->index(0, 0);
        w.tree->selectionModel()->setCurrentIndex(root, QItemSelectionModel::ClearAndSelect);
        const std::string text = skorvin::ui::toGbk(skorvin::test::nodeText(root));
        QVERIFY(text.rfind("00-", 0) == 0);
        w.print();
        QCOMPARE(headings(w.reports.previews().at(0).pages).at(1),
                 text.substr(3) + skorvin::gbk::fromUtf8("四级主观题登分表"));
    }

    // After the preview the grid follows the list again, on the row it was on with the same
    // rows around it, the boxes still show that candidate, and the focus is in 准考证号: the
    // next Enter looks up the candidate shown, not the last one printed.
    void theListReturnsToItsRow_data()
    {
        QTest::addColumn<bool>("ctrlP");
        QTest::newRow("打印 clicked") << false;
        QTest::newRow("Ctrl+P in 分数") << true;
    }

    void theListReturnsToItsRow()
    {
        QFETCH(bool, ctrlP);
        PrintWindow w;
        w.clickChoice(2);
        const int row = 40;
        QVERIFY(w.list().recordCount() > row + 10);
        const QModelIndex cell = w.grid->model()->index(row, 0);
        w.grid->scrollTo(cell);
        QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, w.grid->visualRect(cell).center());
        const QString number = w.edtZKZ->text();
        const int top = w.grid->topRow();
        const QString status = w.panel(1);
        if (ctrlP) {
            QTest::keyClick(w.edtZKZ, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
            QTest::keyClick(w.edtFS, Qt::Key_P, Qt::ControlModifier);
        } else {
            w.print();
        }
        QCOMPARE(w.reports.previews().size(), std::size_t{1});
        QCOMPARE(column(w.reports.previews().front().pages, 18), w.listedTrimmed("zkzh"));
        QVERIFY(!w.list().controlsDisabled());
        QCOMPARE(w.list().recNo(), row + 1);
        QCOMPARE(w.grid->currentIndex().row(), row);
        QCOMPARE(w.grid->topRow(), top);
        QCOMPARE(w.panel(1), status);
        QCOMPARE(w.edtZKZ->text(), number);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtZKZ));
        QCOMPARE(w.edtZKZ->selectedText(), number);
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QCOMPARE(w.list().recNo(), row + 1);
        QCOMPARE(w.reports.previews().size(), std::size_t{1});
        QCOMPARE(w.recorder.texts(), QStringList());
    }

    // The template may write the three names in any letter case.
    void valueNamesInAnyCase()
    {
        installTemplate("<line>[ZKZH]</line>", "<line>[zkzh]</line>");
        PrintWindow w;
        w.clickChoice(2);
        w.print();
        QCOMPARE(column(w.reports.previews().at(0).pages, 18), w.listedTrimmed("zkzh"));
    }

    void cancellingPreviewsThePagesBuiltSoFar()
    {
        PrintWindow w;
        w.clickChoice(2);
        w.reports.cancelAtPage(2);
        w.print();
        const BuiltReport& pages = w.reports.previews().at(0).pages;
        QCOMPARE(pages.pageCount(), 1);
        QCOMPARE(column(pages, 18).size(), std::size_t{26}); // the rows of the shipped first sheet
        QVERIFY(!w.list().controlsDisabled());
    }

    // Failures: one box each, no preview, the list unfrozen and still open.
    void failuresShowTheirBoxAndNoPreview_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("box");
        QTest::newRow("missing") << QStringLiteral("missing") << QStringLiteral("报表模板文件不存在：");
        QTest::newRow("damaged") << QStringLiteral("damaged") << QStringLiteral("不支持的报表模板格式");
        QTest::newRow("newer") << QStringLiteral("newer") << QStringLiteral("不支持的报表模板格式");
        QTest::newRow("unknown name") << QStringLiteral("unknown name") << QStringLiteral("计算时发生错误");
    }

    void failuresShowTheirBoxAndNoPreview()
    {
        QFETCH(QString, change);
        QFETCH(QString, box);
        if (change == QStringLiteral("missing"))
            fs::remove(templatePath());
        else if (change == QStringLiteral("damaged"))
            skorvin::test::putFile(templatePath(), skorvin::test::fileBytes(kShipped)->substr(0, 900));
        else if (change == QStringLiteral("newer"))
            installTemplate("<report version=\"1\">", "<report version=\"2\">");
        else
            installTemplate("<line>[FS]</line>", "<line>[FSS]</line>");
        PrintWindow w;
        w.print();
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        const auto& shown = w.recorder.boxes().front();
        QCOMPARE(shown.caption, QStringLiteral("错误"));
        QCOMPARE(shown.icon, Dialogs::Icon::Error);
        QVERIFY2(shown.text.startsWith(box), qPrintable(shown.text));
        if (change == QStringLiteral("missing"))
            QCOMPARE(shown.text, box + QString::fromStdString(templatePath().string()));
        if (change == QStringLiteral("unknown name"))
            QVERIFY2(shown.text.contains(QStringLiteral("Report1.CellFS")), qPrintable(shown.text));
        QVERIFY(w.reports.previews().empty());
        QCOMPARE(w.reports.progressWindowsOpen(), 0);
        QVERIFY(!w.list().controlsDisabled());
        QVERIFY(w.list().active());
    }
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
