// The journal from the score window: Ctrl+Z takes back the last saves with the question box
// (a score someone else changed in between asks again), and the journal window opened with
// Ctrl+J filters as the operator types, counts what it shows and exports it as CSV.
#include "exam/ScoreJournal.hpp"
#include "exam/ScoreSettings.hpp"
#include "gui/OwnSettingsStore.hpp"
#include "gui/ScoreWindow.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "platform/journal/JournalFile.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/journal/JournalWindow.hpp"

#include <QtTest>

#include <QAbstractItemModel>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <optional>

using skorvin::test::ScoreWindow;
using skorvin::ui::toQString;
namespace fs = std::filesystem;
namespace journal = skorvin::journal;

namespace {

fs::path utf8Path(const std::string& gbk)
{
    return fs::path(skorvin::gbk::toUtf8(gbk));
}

std::string journalPath()
{
    return skorvin::test::windowFiles().journal;
}

// No journal in the program's window folder and the settings Xs = 1, Up = 40, from before the window is made until
// after it is gone. Blocked, a folder stands where the journal's file would be: the window cannot open it.
struct FreshJournal {
    explicit FreshJournal(bool blocked)
    {
        remove();
        if (blocked)
            fs::create_directory(utf8Path(journalPath()));
        std::ofstream(utf8Path(skorvin::test::windowFiles().settings), std::ios::binary)
            << "[ScoreSet]\r\nXs=1\r\nUp=40\r\n";
    }
    ~FreshJournal()
    {
        remove();
        std::error_code ignored;
        fs::remove(utf8Path(skorvin::test::windowFiles().settings), ignored);
    }
    static void remove()
    {
        for (const char* suffix : {"", "-wal", "-shm"}) {
            std::error_code ignored;
            fs::remove(utf8Path(journalPath()).string() + suffix, ignored);
        }
    }
};

// The score window on the demo database (未登分 shown) with a fresh journal beside the program.
struct JournalledWindow : FreshJournal, ScoreWindow {
    explicit JournalledWindow(bool journalBlocked = false) : FreshJournal(journalBlocked) { show(); }
    ~JournalledWindow() { window.reset(); }
    std::optional<std::string> storedScore(const std::string& number)
    {
        skorvin::ado::TADOQuery read;
        read.setConnection(&connection);
        read.setSql("select tttt from t_omr where zkzh = '" + number + "'");
        read.open();
        return read.fieldValue("tttt");
    }
    void otherOperatorStores(const std::string& number, const std::string& score)
    {
        skorvin::ado::TADOConnection other(db.connectionString());
        other.open();
        other.execute("update t_omr set tttt = '" + score + "' where zkzh = '" + number + "'");
    }
    // Enter takes the number shown, the score and Enter save it.
    void scoreShownCandidate(const QString& score)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), score);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    void pressCtrl(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier); }
    std::vector<journal::JournalRecord> entries() const { return journal::JournalFile(journalPath()).query({}); }
};

journal::JournalRecord entry(const char* time, const std::string& organisation, const std::string& number,
                             const char* action = "save")
{
    return {0, time, "pc1", "clerk", organisation, number, std::nullopt, std::string("23"), action, "saved", ""};
}

// Another program with the journal open: it adds rows, drops the table, holds the write lock.
class OtherProgram {
public:
    explicit OtherProgram(const std::string& gbkPath) { sqlite3_open(skorvin::gbk::toUtf8(gbkPath).c_str(), &db_); }
    ~OtherProgram() { sqlite3_close(db_); }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    void run(const char* sql) { QCOMPARE(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK); }

private:
    sqlite3* db_ = nullptr;
};

QStringList rowTexts(const QAbstractItemModel& model, int row)
{
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column)
        texts << model.index(row, column).data().toString();
    return texts;
}

} // namespace

class JournalTest : public QObject {
    Q_OBJECT

private:
    skorvin::test::OwnSettingsStore settingsHome_;

private slots:
    void initTestCase() { QVERIFY(settingsHome_.isValid()); }

    // Every value whole: the time to the second with its zone, the full admission number and
    // organisation text, each column as wide as what it shows. A column the operator widens
    // keeps its width, and the window its size, in the next journal window.
    void showsWholeValuesAndKeepsItsSizes()
    {
        skorvin::test::TempDir dir;
        const std::string path = skorvin::gbk::fromUtf8((dir / "journal.sqlite").string());
        const std::string organisation = skorvin::gbk::fromUtf8("110101-北京市海淀区第一百零一中学计算机等级考试考点");
        {
            journal::JournalFile file(path);
            file.append(entry("2026-12-10 14:03:05 +0800", organisation, "4110010100123456789"));
        }
        const auto cutCells = [](const QTableView& grid) {
            QStringList cut;
            for (int column = 0; column < grid.model()->columnCount(); ++column) {
                const QModelIndex cell = grid.model()->index(0, column);
                if (grid.visualRect(cell).width() < grid.sizeHintForIndex(cell).width())
                    cut << cell.data().toString();
            }
            return cut;
        };
        int widened = 0;
        {
            skorvin::ui::JournalWindow window(path);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            auto* grid = window.findChild<QTableView*>(QStringLiteral("gridJournal"));
            QCOMPARE(
                rowTexts(*grid->model(), 0).mid(0, 5),
                (QStringList{QStringLiteral("2026-12-10 14:03:05 +0800"), QStringLiteral("pc1"),
                             QStringLiteral("clerk"), toQString(organisation), QStringLiteral("4110010100123456789")}));
            QCOMPARE(cutCells(*grid), QStringList());

            // The operator drags the right edge of 用户 by 80 pixels and makes the window larger.
            QHeaderView* header = grid->horizontalHeader();
            const int right = header->sectionViewportPosition(2) + header->sectionSize(2) - 1;
            const QPoint grip(right, header->height() / 2);
            const QPoint to = grip + QPoint(80, 0);
            widened = header->sectionSize(2) + 80;
            QTest::mousePress(header->viewport(), Qt::LeftButton, {}, grip);
            QMouseEvent drag(QEvent::MouseMove, to, header->viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(header->viewport(), &drag);
            QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, to);
            QCOMPARE(header->sectionSize(2), widened);
            window.resize(1000, 420);
            QCOMPARE(window.size(), QSize(1000, 420));
            QTest::keyClick(window.focusWidget(), Qt::Key_Escape);
        }
        skorvin::ui::JournalWindow again(path);
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.size(), QSize(1000, 420));
        auto* grid = again.findChild<QTableView*>(QStringLiteral("gridJournal"));
        QCOMPARE(grid->horizontalHeader()->sectionSize(2), widened);
        QCOMPARE(cutCells(*grid), QStringList());
        // Typing a filter lists the rows anew; the widths stay whole and the operator's.
        QTest::keyClicks(again.findChild<QLineEdit*>(QStringLiteral("edtNumber")), QStringLiteral("4110"));
        QCOMPARE(again.shownCount(), 1);
        QCOMPARE(grid->horizontalHeader()->sectionSize(2), widened);
        QCOMPARE(cutCells(*grid), QStringList());
        again.reject();

        // Only the operator's widths are kept: a longer value written since is shown whole.
        journal::JournalFile(path).append(
            entry("2026-12-11 08:00:00 +0800", organisation + organisation, "4110010100123456790"));
        skorvin::ui::JournalWindow later(path);
        later.show();
        QVERIFY(QTest::qWaitForWindowExposed(&later));
        QCOMPARE(cutCells(*later.findChild<QTableView*>(QStringLiteral("gridJournal"))), QStringList());
    }

    // Enter, score, Enter, Ctrl+Z, Yes: the database holds NULL again, the candidate is back in
    // the 未登分 list, and the journal holds the save and its undo.
    void undoTakesBackTheLastSave()
    {
        JournalledWindow w;
        const std::string number = w.listed(0, "zkzh");
        w.scoreShownCandidate(QStringLiteral("23"));
        QCOMPARE(w.storedScore(number), std::optional<std::string>("23"));
        QCOMPARE(w.viewRowOf(number), -1);

        w.pressCtrl(Qt::Key_Z);
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        const auto& box = w.recorder.boxes().front();
        QCOMPARE(box.caption, QStringLiteral("确认"));
        QVERIFY(box.defaultYes);
        QVERIFY2(box.text.contains(toQString(number)) && box.text.contains(QStringLiteral("23")), qPrintable(box.text));
        QCOMPARE(w.storedScore(number), std::nullopt);
        QVERIFY(w.viewRowOf(number) >= 0);
        QCOMPARE(w.edtZKZ->text(), toQString(number));
        QCOMPARE(w.edtFS->text(), QString());

        const auto records = w.entries();
        QCOMPARE(records.size(), std::size_t{2});
        QCOMPARE(records[0].action, std::string("undo"));
        QCOMPARE(records[0].outcome, std::string("saved"));
        QCOMPARE(records[0].after, std::nullopt);
        QCOMPARE(records[1].action, std::string("save"));
        QCOMPARE(records[1].after, std::optional<std::string>("23"));
        QCOMPARE(records[1].number, number);

        // Nothing left to undo: no box, one beep.
        QCOMPARE(w.beeps.count(), 0);
        w.pressCtrl(Qt::Key_Z);
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        QCOMPARE(w.beeps.count(), 1);
    }

    // Two saves; another operator changes the later one. Ctrl+Z asks again, No keeps their score;
    // the next Ctrl+Z takes back the earlier save. No to the first question changes nothing.
    void undoAsksBeforeTakingBackAnotherOperatorsScore()
    {
        JournalledWindow w;
        const std::string first = w.listed(0, "zkzh");
        w.scoreShownCandidate(QStringLiteral("23"));
        const std::string second = w.listed(0, "zkzh");
        w.scoreShownCandidate(QStringLiteral("24"));
        w.otherOperatorStores(second, "11");

        w.recorder.queueAnswer(false);
        w.pressCtrl(Qt::Key_Z);
        QCOMPARE(w.storedScore(second), std::optional<std::string>("11"));

        w.recorder.queueAnswer(true);
        w.recorder.queueAnswer(false);
        w.pressCtrl(Qt::Key_Z);
        const auto& boxes = w.recorder.boxes();
        QCOMPARE(boxes.size(), std::size_t{3});
        QVERIFY(!boxes[2].defaultYes);
        QVERIFY2(boxes[2].text.contains(QStringLiteral("11")), qPrintable(boxes[2].text));
        QCOMPARE(w.storedScore(second), std::optional<std::string>("11"));

        w.pressCtrl(Qt::Key_Z);
        QCOMPARE(w.recorder.boxes().size(), std::size_t{4});
        QVERIFY(w.recorder.boxes()[3].text.contains(toQString(first)));
        QCOMPARE(w.storedScore(first), std::nullopt);
        QCOMPARE(w.storedScore(second), std::optional<std::string>("11"));
    }

    // Scoring goes on without a journal; the operator is told once, with the reason.
    void aJournalThatCannotBeOpenedIsReportedOnce()
    {
        JournalledWindow w(true);
        const std::string first = w.listed(0, "zkzh");
        w.scoreShownCandidate(QStringLiteral("23"));
        const std::string second = w.listed(0, "zkzh");
        w.scoreShownCandidate(QStringLiteral("24"));

        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        QCOMPARE(w.recorder.boxes()[0].caption, QStringLiteral("信息"));
        QVERIFY2(w.recorder.boxes()[0].text.startsWith(QStringLiteral("登分日志已停用，登分照常进行。原因：")) &&
                     w.recorder.boxes()[0].text.size() > 20,
                 qPrintable(w.recorder.boxes()[0].text));
        QCOMPARE(w.storedScore(first), std::optional<std::string>("23"));
        QCOMPARE(w.storedScore(second), std::optional<std::string>("24"));
    }

    // A journal that fails mid-session, on a save's write (another program holds the file's
    // write lock longer than a save waits) or on the journal window's read (another program
    // dropped the table under it): the score is saved, the operator is told once (信息, as the
    // window's other notices), and the journal stays off for the session.
    void aJournalFailingMidSessionTurnsOffWithOneNotice_data()
    {
        QTest::addColumn<bool>("onRead");
        QTest::newRow("write") << false;
        QTest::newRow("read") << true;
    }
    void aJournalFailingMidSessionTurnsOffWithOneNotice()
    {
        QFETCH(bool, onRead);
        JournalledWindow w;
        const std::string first = w.listed(0, "zkzh");
        w.scoreShownCandidate(QStringLiteral("23"));
        QCOMPARE(w.entries().size(), std::size_t{1});
        auto other = std::make_unique<OtherProgram>(journalPath());
        if (onRead) {
            w.pressCtrl(Qt::Key_J);
            auto* journalWindow = w.window->findChild<skorvin::ui::JournalWindow*>();
            other->run("drop table journal");
            QTest::keyClick(journalWindow->findChild<QLineEdit*>(QStringLiteral("edtNumber")), Qt::Key_4);
            QVERIFY(journalWindow->findChild<QLabel*>(QStringLiteral("lblCount"))
                        ->text()
                        .startsWith(QStringLiteral("登分日志无法读取：")));
            QCOMPARE(journalWindow->shownCount(), 0);
            QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
            journalWindow->close();
        } else {
            other->run("begin immediate");
        }
        const std::string second = w.listed(0, "zkzh");
        w.scoreShownCandidate(QStringLiteral("24"));
        other.reset();
        const std::string third = w.listed(0, "zkzh");
        w.scoreShownCandidate(QStringLiteral("25"));

        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        const auto& box = w.recorder.boxes()[0];
        QCOMPARE(box.caption, QStringLiteral("信息"));
        const QString reason = onRead ? QStringLiteral("读取登分日志失败：") : QStringLiteral("写入登分日志失败：");
        QVERIFY2(box.text.startsWith(QStringLiteral("登分日志已停用，登分照常进行。原因：") + reason),
                 qPrintable(box.text));
        QCOMPARE(w.storedScore(second), std::optional<std::string>("24"));
        QCOMPARE(w.storedScore(third), std::optional<std::string>("25"));
        if (!onRead) {
            // The file is free again, and still nothing more is written to it this session.
            const auto records = w.entries();
            QCOMPARE(records.size(), std::size_t{1});
            QCOMPARE(records[0].number, first);
        }
    }

    // Ctrl+J opens the journal window over the score window, newest first; Esc closes it.
    void ctrlJOpensTheJournal()
    {
        JournalledWindow w;
        const std::string number = w.listed(0, "zkzh");
        w.scoreShownCandidate(QStringLiteral("23"));
        w.pressCtrl(Qt::Key_J);
        auto* journalWindow = w.window->findChild<skorvin::ui::JournalWindow*>();
        QVERIFY(journalWindow);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(journalWindow));
        QCOMPARE(journalWindow->shownCount(), 1);
        QCOMPARE(journalWindow->shownEntry(0).number, number);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("edtNumber"));
        QPointer<skorvin::ui::JournalWindow> alive(journalWindow);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(alive.isNull());
    }

    // The window on a journal of its own: typing filters, the date and organisation filters,
    // the count, and the CSV export of exactly what is shown.
    void filtersCountsAndExports()
    {
        skorvin::test::TempDir dir;
        const std::string path = skorvin::gbk::fromUtf8((dir / "journal.sqlite").string());
        const std::string beijing = skorvin::gbk::fromUtf8("11-北京市");
        const std::string tianjin = skorvin::gbk::fromUtf8("12-天津市");
        const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
        {
            journal::JournalFile file(path);
            file.append(entry("2020-01-02 08:00:00 +0800", beijing, "400100000001"));
            const std::string now = (today + QStringLiteral(" 09:00:00 +0800")).toStdString();
            file.append(entry(now.c_str(), beijing, "400100000002"));
            file.append(entry(now.c_str(), tianjin, "400200000003", "adopt"));
        }
        skorvin::test::RecordingDialogs recorder;
        skorvin::ui::JournalWindow window(path);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto* count = window.findChild<QLabel*>(QStringLiteral("lblCount"));
        auto* grid = window.findChild<QTableView*>(QStringLiteral("gridJournal"));
        QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(count->text(), QStringLiteral("共 3 条"));
        QCOMPARE(grid->model()->rowCount(), 3);
        QCOMPARE(grid->model()->index(0, 4).data().toString(), QStringLiteral("400200000003"));

        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("4001"));
        QCOMPARE(count->text(), QStringLiteral("共 2 条"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QCOMPARE(count->text(), QStringLiteral("共 3 条"));

        window.findChild<QCheckBox*>(QStringLiteral("chkDate"))->setChecked(true);
        // The date boxes show the whole date beside their calendar arrows (the text keeps a
        // margin of 2 pixels each side).
        for (QDateEdit* box : window.findChildren<QDateEdit*>()) {
            const QLineEdit* text = box->findChild<QLineEdit*>();
            QVERIFY2(text->width() - 4 > text->fontMetrics().horizontalAdvance(text->text()),
                     qPrintable(box->objectName()));
        }
        QCOMPARE(count->text(), QStringLiteral("共 2 条"));
        auto* organisation = window.findChild<QComboBox*>(QStringLiteral("cbOrganisation"));
        QCOMPARE(organisation->count(), 3);
        organisation->setCurrentIndex(organisation->findText(toQString(tianjin)));
        QCOMPARE(count->text(), QStringLiteral("共 1 条"));
        auto* kind = window.findChild<QComboBox*>(QStringLiteral("cbKind"));
        QCOMPARE(kind->count(), 5);
        kind->setCurrentIndex(kind->findText(QStringLiteral("登分")));
        QCOMPARE(count->text(), QStringLiteral("共 0 条"));
        kind->setCurrentIndex(kind->findText(QStringLiteral("裁定")));
        QCOMPARE(count->text(), QStringLiteral("共 1 条"));

        const fs::path csv = dir / "shown.csv";
        recorder.queueSaveFileName(QString::fromStdString(csv.string()));
        auto* exportButton = window.findChild<QPushButton*>(QStringLiteral("btnExport"));
        exportButton->setFocus();
        QTest::keyClick(exportButton, Qt::Key_Space);
        std::ifstream in(csv, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QCOMPARE(bytes.substr(0, 3), std::string("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromStdString(bytes.substr(3)).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3); // heading, one entry, the empty text after the last line end
        QVERIFY(lines[0].startsWith(QStringLiteral("时间,")));
        QVERIFY2(lines[1].contains(QStringLiteral(",12-天津市,400200000003,")), qPrintable(lines[1]));
        QVERIFY2(lines[1].contains(QStringLiteral(",裁定,采用本次,")), qPrintable(lines[1]));
    }

    // A row another program wrote with values this program never writes is listed as damaged
    // and counted; drawing it, or a row whose read fails while it is drawn, never throws. A read
    // that fails is reported once, after the paint, and the window says why.
    void damagedRowsAreShownAndCounted()
    {
        skorvin::test::TempDir dir;
        const std::string path = skorvin::gbk::fromUtf8((dir / "journal.sqlite").string());
        {
            journal::JournalFile file(path);
            file.append(entry("2026-12-10 08:00:00 +0800", "11", "400100000001"));
        }
        OtherProgram other(path);
        other.run("insert into journal (time, host, os_user, organisation, zkzh, score_after, action, outcome, "
                  "detail) values ('t', 'h', 'u', '11', '400100000002', '1', 'erase', 'saved', '')");
        {
            journal::JournalFile file(path);
            file.append(entry("2026-12-10 09:00:00 +0800", "11", "400100000003"));
        }
        skorvin::test::RecordingDialogs recorder;
        QStringList failures;
        skorvin::ui::JournalWindow window(path, [&](const std::string& why) { failures << toQString(why); });
        auto* count = window.findChild<QLabel*>(QStringLiteral("lblCount"));
        auto* grid = window.findChild<QTableView*>(QStringLiteral("gridJournal"));
        QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(count->text(), QStringLiteral("共 3 条，其中 1 条已损坏，无法读取"));
        grid->grab();
        QCOMPARE(rowTexts(*grid->model(), 0)[4], QStringLiteral("400100000003"));
        const QStringList damaged = rowTexts(*grid->model(), 1);
        QCOMPARE(damaged.front(), QStringLiteral("（已损坏）"));
        QVERIFY2(damaged.back().startsWith(QStringLiteral("无法读取第 2 条：")), qPrintable(damaged.back()));

        // The CSV holds the damaged row as the window shows it.
        const fs::path csv = dir / "shown.csv";
        recorder.queueSaveFileName(QString::fromStdString(csv.string()));
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnExport")), Qt::LeftButton);
        std::ifstream in(csv, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        QVERIFY2(QString::fromStdString(bytes).contains(QStringLiteral("\r\n（已损坏）,")), bytes.c_str());

        // A second window on the file: its rows are first read when drawn, after another program
        // dropped the table.
        skorvin::ui::JournalWindow later(path, [&](const std::string& why) { failures << toQString(why); });
        auto* laterGrid = later.findChild<QTableView*>(QStringLiteral("gridJournal"));
        other.run("drop table journal");
        laterGrid->grab();
        QCOMPARE(rowTexts(*laterGrid->model(), 0).front(), QStringLiteral("（已损坏）"));
        QVERIFY(failures.isEmpty());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(failures.size(), 1);
        QVERIFY2(failures[0].startsWith(QStringLiteral("读取登分日志失败：")), qPrintable(failures[0]));
        QCOMPARE(later.findChild<QLabel*>(QStringLiteral("lblCount"))->text(),
                 QStringLiteral("登分日志无法读取：") + failures[0]);
        QCOMPARE(later.shownCount(), 0);
        QVERIFY(recorder.boxes().empty());
    }
};

QTEST_MAIN(JournalTest)
#include "journal_test.moc"
