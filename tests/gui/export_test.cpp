// The list export from the score window: the 导出 button, the save dialog's proposal,
// the file read back, and what the list and the boxes look like afterwards.
#include "gui/ScoreWindow.hpp"
#include "plain/Files.hpp"
#include "plain/TempDir.hpp"
#include "plain/WorkbookReader.hpp"
#include "platform/Gbk.hpp"
#include "platform/RegionalDate.hpp"
#include "platform/Text.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/widgets/TRadioGroup.hpp"

#include <QtTest>

#include <QAbstractButton>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <filesystem>
#include <set>

using skorvin::test::fileBytes;
using skorvin::test::ScoreWindow;
using skorvin::test::TempDir;
using skorvin::ui::Dialogs;
using skorvin::ui::toQString;
namespace fs = std::filesystem;

namespace {

struct ExportWindow : ScoreWindow {
    using ScoreWindow::ScoreWindow;

    void clickChoice(int index) const
    {
        QAbstractButton* button = child<skorvin::ui::TRadioGroup>("RadioGroup1")->button(index);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        const QModelIndex cell = grid->model()->index(row, 0);
        grid->scrollTo(cell);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, grid->visualRect(cell).center());
    }

    // Answers the save dialog with this name and clicks 导出.
    void exportAs(const QString& name)
    {
        recorder.queueSaveFileName(name);
        QTest::mouseClick(child<QPushButton>("btnExport"), Qt::LeftButton);
    }
    void exportAs(const fs::path& name) { exportAs(QString::fromStdString(name.string())); }
    // The same with the workbook type chosen in the dialog.
    void exportWorkbookAs(const fs::path& name)
    {
        recorder.queueSaveFileName(QString::fromStdString(name.string()), QStringLiteral("Excel 工作簿 (*.xlsx)"));
        QTest::mouseClick(child<QPushButton>("btnExport"), Qt::LeftButton);
    }

    // The file the list should give: the titles and cells in the order the grid shows them.
    std::string expectedFile() const
    {
        const std::vector<int> order = grid->visibleColumnOrder();
        std::string bytes;
        for (std::size_t i = 0; i < order.size(); ++i)
            bytes += (i ? "\t" : "") + skorvin::ui::toGbk(grid->columns()[static_cast<std::size_t>(order[i])].title);
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            bytes += "\r\n";
            for (std::size_t i = 0; i < order.size(); ++i)
                bytes += (i ? "\t" : "") +
                         listed(row, grid->columns()[static_cast<std::size_t>(order[i])].fieldName.c_str());
        }
        return bytes;
    }
};

} // namespace

class ExportTest : public QObject {
    Q_OBJECT

private slots:
    // 导出 on a scrolled list with a moved column and marked rows: the proposal, the file
    // holding every listed row in the order shown, and the list as it was.
    void exportsTheListAsShown()
    {
        ExportWindow w;
        w.show();
        w.clickChoice(2);
        const int rows = w.grid->model()->rowCount();
        QVERIFY(rows > 40);
        w.clickRow(30);
        w.clickRow(33, Qt::ControlModifier);
        // The score column dragged in front of the number.
        w.grid->horizontalHeader()->moveSection(2, 0);
        const int top = w.grid->topRow();
        QVERIFY(top > 0);
        const QString number = w.edtZKZ->text();
        const QString score = w.edtFS->text();
        const QString status = w.panel(1);
        const std::size_t marks = w.grid->markCount();
        const TempDir dir;

        const QString before = toQString(skorvin::shortDateToday());
        w.exportAs(dir / "名单");
        const QString after = toQString(skorvin::shortDateToday());

        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(QStringLiteral(" | "))));
        QCOMPARE(w.recorder.saveRequests().size(), std::size_t{1});
        const auto& request = w.recorder.saveRequests().front();
        QCOMPARE(request.filter, QStringLiteral("*.txt;;Excel 工作簿 (*.xlsx)"));
        const QString proposed = request.proposedName;
        const auto proposal = [&w](const QString& date) {
            return w.panel(0) + QStringLiteral("四级登分(%1)").arg(date).replace(QLatin1Char('/'), QLatin1Char('-'));
        };
        QVERIFY2(proposed == proposal(before) || proposed == proposal(after), qPrintable(proposed));
        QVERIFY(!proposed.contains(QLatin1Char('/')));

        const std::string file = fileBytes(dir / "名单.txt").value_or("(no file)");
        QCOMPARE(file, w.expectedFile());
        QVERIFY(file.rfind(skorvin::gbk::fromUtf8("主观题分数\t准考证号\t姓名\r\n"), 0) == 0);
        QCOMPARE(static_cast<int>(std::count(file.begin(), file.end(), '\n')), rows);

        QCOMPARE(w.edtZKZ->text(), number);
        QCOMPARE(w.edtFS->text(), score);
        QCOMPARE(toQString(w.grid->dataSet()->fieldText("zkzh")), number);
        QCOMPARE(w.panel(1), status);
        QCOMPARE(w.grid->topRow(), top);
        QCOMPARE(w.grid->markCount(), marks);
        QVERIFY(!w.grid->dataSet()->controlsDisabled());
    }

    // The workbook type: one sheet named after the organisation, the grid's columns in the
    // order shown and the organisation's code and name, numbers as text, scores as numbers;
    // ".xlsx" is added once; the list stays as it was.
    void exportsAWorkbook()
    {
        if (const std::optional<std::string> why = skorvin::test::workbookReaderMissing())
            QSKIP(why->c_str());
        ExportWindow w;
        w.show();
        w.clickChoice(2);
        w.clickRow(5);
        w.grid->horizontalHeader()->moveSection(2, 0);
        const QString number = w.edtZKZ->text();
        const TempDir dir;
        w.exportWorkbookAs(dir / "名单");
        w.exportWorkbookAs(dir / "list.XLSX");
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(QStringLiteral(" | "))));
        QCOMPARE(skorvin::test::namesIn(dir.path()), (std::set<std::string>{"list.XLSX", "名单.xlsx"}));

        std::string why;
        const std::optional<skorvin::test::WorkbookContent> book = skorvin::test::readWorkbook(dir / "名单.xlsx", why);
        QVERIFY2(book, why.c_str());
        const QString node = w.panel(0);
        const QString code = node.section(QLatin1Char('-'), 0, 0);
        const QString name = node.section(QLatin1Char('-'), 1);
        QCOMPARE(book->sheets, std::vector<std::string>{name.toStdString()});
        QCOMPARE(book->frozenAt, std::string("A2"));
        const auto cell = [&book](const std::string& at) {
            const auto found = book->cells.find(at);
            return found == book->cells.end() ? skorvin::test::WorkbookContent::Cell{} : found->second;
        };
        const std::vector<std::string> titles = {"主观题分数", "准考证号", "姓名", "机构代码", "机构名称"};
        for (std::size_t column = 0; column < titles.size(); ++column)
            QCOMPARE(cell(std::string(1, static_cast<char>('A' + column)) + "1"),
                     (skorvin::test::WorkbookContent::Cell{'s', true, titles[column]}));
        const int rows = w.grid->model()->rowCount();
        for (int row = 0; row < rows; ++row) {
            const std::string at = std::to_string(row + 2);
            const std::string score = skorvin::text::trim(w.listed(row, "tttt"));
            QCOMPARE(cell("A" + at).type, score.empty() ? char('s') : char('n'));
            QCOMPARE(cell("B" + at),
                     (skorvin::test::WorkbookContent::Cell{'s', false, skorvin::gbk::toUtf8(w.listed(row, "zkzh"))}));
            QCOMPARE(cell("C" + at).value, skorvin::gbk::toUtf8(w.listed(row, "xm")));
            QCOMPARE(cell("D" + at).value, code.toStdString());
            QCOMPARE(cell("E" + at).value, name.toStdString());
        }
        QVERIFY(book->cells.find("A" + std::to_string(rows + 2)) == book->cells.end());
        QCOMPARE(w.edtZKZ->text(), number);
        QVERIFY(!w.grid->dataSet()->controlsDisabled());

        w.exportWorkbookAs(dir / "missing" / "list");
        QCOMPARE(w.recorder.texts(),
                 QStringList{QStringLiteral("Cannot create file \"%1\". No such file or directory.")
                                 .arg(QString::fromStdString((dir / "missing" / "list.xlsx").string()))});
    }

    // Only the candidates the display choice lists: none scored under 未登分, all under 已登分.
    void followsTheDisplayChoice()
    {
        ExportWindow w;
        w.show();
        const TempDir dir;
        for (int choice : {0, 1}) {
            w.clickChoice(choice);
            const fs::path name = dir / std::to_string(choice);
            w.exportAs(name);
            const std::string file = fileBytes(name.string() + ".txt").value_or("(no file)");
            QCOMPARE(file, w.expectedFile());
            const int rows = w.grid->model()->rowCount();
            QVERIFY(rows > 0);
            for (int row = 0; row < rows; ++row)
                QCOMPARE(w.listed(row, "tttt").empty(), choice == 0);
        }
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(QStringLiteral(" | "))));
    }

    // The name typed is given ".txt" whatever it ends in; a cancelled dialog writes nothing.
    void theNameAlwaysGetsTxt()
    {
        ExportWindow w;
        w.show();
        const TempDir dir;
        w.exportAs(dir / "list.txt");
        QVERIFY(fs::exists(dir / "list.txt.txt"));
        QVERIFY(!fs::exists(dir / "list.txt"));

        QTest::mouseClick(w.child<QPushButton>("btnExport"), Qt::LeftButton);
        QCOMPARE(w.recorder.saveRequests().size(), std::size_t{2});
        QCOMPARE(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
        QVERIFY(w.recorder.boxes().empty());
    }

    // The file has the very name typed, also where GBK lacks a character: two names GBK would
    // both spell 成绩?? make two files, each with the list's GBK bytes. A name the file system
    // cannot spell (a lone surrogate) is refused with the error box, and no file is written.
    void theNameIsKeptAsTyped()
    {
        ExportWindow w;
        w.show();
        const TempDir dir;
        const QString folder = QString::fromStdString(dir.path().string()) + QLatin1Char('/');
        const QString names[] = {QStringLiteral("成绩한국"), QStringLiteral("成绩조선"), QStringLiteral("名单😀"),
                                 QStringLiteral("名\u00A0单")};
        std::set<std::string> files;
        for (const QString& name : names) {
            w.exportAs(folder + name);
            files.insert((name + QStringLiteral(".txt")).toStdString());
        }
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(QStringLiteral(" | "))));
        QCOMPARE(skorvin::test::namesIn(dir.path()), files);
        for (const std::string& file : files)
            QCOMPARE(fileBytes(dir / file).value_or("(no file)"), w.expectedFile());

        w.exportAs(folder + QStringLiteral("成绩") + QChar(0xD800));
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        const QString text = w.recorder.boxes().front().text;
        QVERIFY2(text.startsWith(QStringLiteral("Cannot create file \"")) &&
                     text.endsWith(QStringLiteral("\". Invalid or incomplete multibyte or wide character.")),
                 qPrintable(text));
        QCOMPARE(skorvin::test::namesIn(dir.path()), files);
    }

    // An open list without a row: no dialog, no file, no message. (With no organisation
    // chosen, the list closed, 导出 asks for one: see the start-up tests.)
    void anEmptyListDoesNothing()
    {
        ExportWindow w;
        w.connection.execute("update t_omr set tttt = '30'");
        w.show();
        QVERIFY(w.grid->dataSet()->active());
        QCOMPARE(w.grid->model()->rowCount(), 0);
        QTest::mouseClick(w.child<QPushButton>("btnExport"), Qt::LeftButton);
        QVERIFY(w.recorder.saveRequests().empty());
        QVERIFY(w.recorder.boxes().empty());
    }

    // A file that cannot be made, or a write that fails, ends in the error box naming the
    // file and the reason; the list and the boxes stay as they were.
    void failuresAreReported()
    {
        ExportWindow w;
        w.show();
        w.clickRow(3);
        const QString number = w.edtZKZ->text();
        const QString status = w.panel(1);
        const TempDir dir;
        fs::create_symlink("/dev/full", dir / "full.txt");
        struct Case {
            fs::path name;
            QString text;
        };
        const QString missing = QString::fromStdString((dir / "missing" / "list.txt").string());
        const QString full = QString::fromStdString((dir / "full.txt").string());
        const std::vector<Case> cases = {
            {dir / "missing" / "list",
             QStringLiteral("Cannot create file \"%1\". No such file or directory.").arg(missing)},
            {dir / "full", QStringLiteral("Cannot write file \"%1\". No space left on device.").arg(full)},
        };
        for (const Case& c : cases) {
            w.recorder.clear();
            w.exportAs(c.name);
            QCOMPARE(w.recorder.texts(), QStringList{c.text});
            QCOMPARE(w.recorder.boxes().front().icon, Dialogs::Icon::Stop);
            QCOMPARE(w.edtZKZ->text(), number);
            QCOMPARE(w.panel(1), status);
            QVERIFY(!w.grid->dataSet()->controlsDisabled());
        }
        QVERIFY(!fs::exists(dir / "missing"));
    }
};

QTEST_MAIN(ExportTest)
#include "export_test.moc"
