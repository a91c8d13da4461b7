// A number that is not in the list shown, keyed in with real keys on SQLite and on PostgreSQL:
// the box tells the candidate hidden by 显示, the candidate of another organisation and the
// number that exists nowhere apart, with one statement; a number found runs none.
#include "gui/EntryWindow.hpp"
#include "platform/Text.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <QtTest>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTreeView>

using skorvin::test::EntryWindow;
using skorvin::test::Server;
using skorvin::ui::Dialogs;
using skorvin::ui::toQString;

namespace {

enum class Which {
    Scored,         // a scored candidate of the province, while 未登分 is chosen
    Unscored,       // an unscored candidate of the province, while 已登分 is chosen
    OtherProvince,  // a candidate of another province
    AddedAfterList, // a candidate of the province written after the list was read
    Absent,         // a candidate marked absent, whom no list shows
    OtherLevel,     // a number of another level
    Unknown,        // a number nobody has
};

// The first listed (level-4, present) candidate whose number is not in province 11.
std::string otherProvinceNumber(const EntryWindow& w)
{
    return skorvin::test::firstValue(w.db.connectionString(),
                                     "select min(zkzh) from t_omr where zkzh like '4%' and qk Is Null "
                                     "and SubString(zkzh,5,2) <> '11'")
        .value();
}

// The tree's text of the exam site whose code the number carries (generation 2: six characters).
QString siteText(const EntryWindow& w, const std::string& number)
{
    const QAbstractItemModel* nodes = w.tree->model();
    const QModelIndexList found =
        nodes->match(nodes->index(0, 0), Qt::DisplayRole, toQString(skorvin::text::mid(number, 5, 6)) + "-", 1,
                     Qt::MatchStartsWith | Qt::MatchRecursive);
    return found.isEmpty() ? QString() : skorvin::test::nodeText(found.front());
}

} // namespace

class EntryNotFoundTest : public QObject {
    Q_OBJECT

private slots:
    void explainsWhyTheNumberIsNotListed_data()
    {
        QTest::addColumn<int>("server");
        QTest::addColumn<int>("choice");
        QTest::addColumn<int>("which");
        for (const auto& [server, name] : {std::pair{Server::Sqlite, "SQLite"}, {Server::Postgres, "PostgreSQL"}}) {
            const auto row = [&, server = server, name = name](const char* label, int choice, Which which) {
                QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(name), QString::fromUtf8(label))))
                    << int(server) << choice << int(which);
            };
            row("scored, hidden by 未登分", 0, Which::Scored);
            row("unscored, hidden by 已登分", 1, Which::Unscored);
            row("another organisation", 0, Which::OtherProvince);
            row("written after the list was read", 2, Which::AddedAfterList);
            row("absent", 2, Which::Absent);
            row("another level", 2, Which::OtherLevel);
            row("nowhere", 0, Which::Unknown);
        }
    }

    void explainsWhyTheNumberIsNotListed()
    {
        QFETCH(int, server);
        QFETCH(int, choice);
        QFETCH(int, which);
        if (Server(server) == Server::Postgres && !skorvin::test::postgresServer())
            QSKIP(skorvin::test::kNoPostgres);
        EntryWindow w(static_cast<Server>(server));
        w.child<QWidget>("RadioGroup1")->findChildren<QAbstractButton*>().at(choice)->click();
        const auto& samples = w.db.summary().samples;
        // Whoever no list shows, nor any organisation holds, exists nowhere for the operator.
        QString expected = QStringLiteral("您输入的考生准考证号码不存在！请确认后重新输入！");
        std::string number;
        switch (Which(which)) {
        case Which::Scored:
        case Which::Unscored: {
            const bool scored = Which(which) == Which::Scored;
            number = scored ? samples.scored.zkzh : samples.unscored.zkzh;
            expected =
                (scored ? QStringLiteral("准考证号 %1 的考生已登分，分数为 35。“显示”选“未登分”时不列出已登分的考生，"
                                         "请在“显示”中选“已登分”或“所有”。")
                        : QStringLiteral("准考证号 %1 的考生尚未登分。“显示”选“已登分”时不列出未登分的考生，"
                                         "请在“显示”中选“未登分”或“所有”。"))
                    .arg(toQString(number));
            break;
        }
        case Which::OtherProvince:
        case Which::AddedAfterList:
            if (Which(which) == Which::OtherProvince) {
                number = otherProvinceNumber(w);
            } else {
                // Another operator's import: the list in the window was read before it.
                number = samples.unscored.zkzh + "9";
                skorvin::ado::TADOConnection other(w.connection.connectionString());
                other.open();
                other.execute("insert into t_omr (zkzh) values (?)", {number});
            }
            QVERIFY(!siteText(w, number).isEmpty());
            expected = QStringLiteral("准考证号 %1 的考生属于“%2”，不在当前列表中。请在机构列表中选择该机构。")
                           .arg(toQString(number), siteText(w, number));
            break;
        case Which::Absent:
            number = samples.absentUpper.zkzh;
            break;
        case Which::OtherLevel:
            number = samples.otherLevel.zkzh;
            break;
        case Which::Unknown:
            number = "49999999";
            break;
        }
        QVERIFY(w.viewRowOf(number) < 0);
        const int rowBefore = w.grid->dataSet()->recNo();
        int statements = 0;
        w.connection.setStatementListener([&statements](const std::string&) { ++statements; });

        w.edtZKZ->setFocus();
        w.edtZKZ->selectAll();
        QTest::keyClicks(w.edtZKZ, toQString(number));
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);

        QCOMPARE(w.recorder.texts(), QStringList{expected});
        QCOMPARE(w.recorder.boxes().front().caption, QStringLiteral("信息"));
        QCOMPARE(w.recorder.boxes().front().icon, Dialogs::Icon::Information);
        QCOMPARE(statements, 1);
        // The list stays where it was; the number is selected for the next one.
        QCOMPARE(w.grid->dataSet()->recNo(), rowBefore);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtZKZ));
        QCOMPARE(w.edtZKZ->selectedText(), toQString(number));
        QCOMPARE(w.beeps.count(), 0);
    }

    // The ordinary case reads nothing from the database: the explanation is only for a number
    // the list does not show.
    void aNumberFoundRunsNoStatement()
    {
        EntryWindow w;
        w.showAll();
        int statements = 0;
        w.connection.setStatementListener([&statements](const std::string&) { ++statements; });
        for (const int row : {0, 5, 2}) {
            w.edtZKZ->setFocus();
            w.edtZKZ->selectAll();
            QTest::keyClicks(w.edtZKZ, toQString(w.listedNumber(row)));
            QTest::keyClick(w.edtZKZ, Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
            QCOMPARE(w.grid->dataSet()->recNo(), row + 1);
        }
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
        QCOMPARE(statements, 0);
    }

    // A failing statement is reported as such, never as a number that does not exist, and the
    // focus is back in 准考证号.
    void aFailingLookupShowsTheDatabaseError()
    {
        EntryWindow w;
        skorvin::ado::TADOConnection other(w.connection.connectionString());
        other.open();
        other.execute("alter table t_omr rename to t_omr_gone");
        QTest::keyClicks(w.edtZKZ, QStringLiteral("49999999"));
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        QCOMPARE(w.recorder.boxes().front().icon, Dialogs::Icon::Stop);
        QVERIFY2(w.recorder.boxes().front().text.contains(QStringLiteral("t_omr")),
                 qPrintable(w.recorder.boxes().front().text));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtZKZ));
    }
};

QTEST_MAIN(EntryNotFoundTest)
#include "entry_notfound_test.moc"
