// The organisation tree's counts on the demo database: each node's text followed by the entered
// and total candidates of its whole subtree, a node with nothing left to enter in the palette's
// placeholder colour, the counts following a save, its undo and a conflict answer keyed in, and
// F5 reading another computer's save on the same organisation and candidate.
#include "gui/EntryWindow.hpp"
#include "platform/Text.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <QtTest>

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QTreeView>

#include <string>
#include <utility>

using skorvin::test::EntryWindow;
using skorvin::test::nodeText;
using skorvin::test::ScoreWindow;
using skorvin::test::Server;
using skorvin::ui::toQString;

namespace {

// The exam site node of a number (six characters from its fifth).
QModelIndex siteOf(const QTreeView* tree, const std::string& number)
{
    const QAbstractItemModel* nodes = tree->model();
    const QModelIndexList found =
        nodes->match(nodes->index(0, 0), Qt::DisplayRole, toQString(skorvin::text::mid(number, 5, 6)) + "-", 1,
                     Qt::MatchStartsWith | Qt::MatchRecursive);
    return found.isEmpty() ? QModelIndex() : found.front();
}

// The node and every node above it, the exam site first.
QModelIndexList withAncestors(QModelIndex node)
{
    QModelIndexList nodes;
    for (; node.isValid(); node = node.parent())
        nodes.append(node);
    return nodes;
}

// The texts the tree shows for these nodes.
QStringList texts(const QModelIndexList& nodes)
{
    QStringList shown;
    for (const QModelIndex& node : nodes)
        shown.append(node.data().toString());
    return shown;
}

// The entered and total count at the end of a node's text.
std::pair<int, int> countOf(const QString& shown)
{
    static const QRegularExpression count(QStringLiteral(" \\((\\d+)/(\\d+)\\)$"));
    const QRegularExpressionMatch match = count.match(shown);
    return {match.captured(1).toInt(), match.captured(2).toInt()};
}

// The texts with each node's entered count moved by change.
QStringList movedBy(const QModelIndexList& nodes, const QStringList& before, int change)
{
    QStringList moved;
    for (int i = 0; i < nodes.size(); ++i) {
        const auto [done, total] = countOf(before[i]);
        moved.append(QStringLiteral("%1 (%2/%3)").arg(nodeText(nodes[i])).arg(done + change).arg(total));
    }
    return moved;
}

} // namespace

class TreeProgressTest : public QObject {
    Q_OBJECT

private slots:
    // One site's every candidate scored before the window opens: it, its city, its province and
    // the root show the demo's counts with that site's rest added, and only the site is quieter.
    void eachNodeShowsItsCountAndAFinishedOneIsQuieter()
    {
        ScoreWindow w;
        const auto& summary = w.db.summary();
        const auto site = summary.sites.begin();
        QVERIFY(site->second.unscored() > 0);
        w.connection.execute("update t_omr set tttt = '10' where SubString(zkzh,5,6) = ? and zkzh like '4%' "
                             "and (tttt is null or tttt = '')",
                             {site->first});
        w.show();

        const QModelIndexList nodes = withAncestors(siteOf(w.tree, "4000" + site->first));
        QCOMPARE(nodes.size(), 4);
        const std::string codes[] = {site->first, site->first.substr(0, 4), site->first.substr(0, 2), "00"};
        for (int level = 3; level >= 0; --level) {
            const QModelIndex node = nodes[3 - level];
            const auto counts = summary.counts(level, codes[3 - level]);
            QCOMPARE(node.data().toString(), QStringLiteral("%1 (%2/%3)")
                                                 .arg(nodeText(node))
                                                 .arg(counts.scored + site->second.unscored())
                                                 .arg(counts.listed));
        }
        const QColor quiet = w.tree->palette().color(QPalette::PlaceholderText);
        QVERIFY(quiet != w.tree->palette().color(QPalette::Text));
        QCOMPARE(nodes[0].data(Qt::ForegroundRole).value<QColor>(), quiet);
        for (const QModelIndex& unfinished : nodes.mid(1))
            QVERIFY2(!unfinished.data(Qt::ForegroundRole).isValid(), qPrintable(unfinished.data().toString()));
    }

    void countsFollowTheWindowsOwnChanges_data()
    {
        QTest::addColumn<int>("server");
        QTest::newRow("SQLite") << int(Server::Sqlite);
        QTest::newRow("PostgreSQL") << int(Server::Postgres);
    }

    // A save adds one all the way up, Ctrl+Z takes it back, and a score another computer stored
    // that the operator keeps (No) counts as entered.
    void countsFollowTheWindowsOwnChanges()
    {
        QFETCH(int, server);
        if (Server(server) == Server::Postgres && !skorvin::test::postgresServer())
            QSKIP(skorvin::test::kNoPostgres);
        EntryWindow w{Server(server)};
        const std::string first = w.listedNumber(0);
        const std::string second = w.listedNumber(1);
        const QModelIndexList nodes = withAncestors(siteOf(w.tree, first));
        QCOMPARE(nodes.size(), 4);
        const QStringList before = texts(nodes);

        w.keyIn(first, QStringLiteral("20"));
        QCOMPARE(texts(nodes), movedBy(nodes, before, 1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.storedScore(first), std::optional<std::string>());
        QCOMPARE(texts(nodes), before);

        skorvin::ado::TADOConnection other(w.connection.connectionString());
        other.open();
        other.execute("update t_omr set tttt = '30' where zkzh = ?", {second});
        const QModelIndexList secondNodes = withAncestors(siteOf(w.tree, second));
        const QStringList secondBefore = texts(secondNodes);
        w.keyIn(second, QStringLiteral("20"));
        QCOMPARE(w.recorder.boxes().back().caption, QStringLiteral("确认"));
        QCOMPARE(w.storedScore(second), std::optional<std::string>("30"));
        QCOMPARE(texts(secondNodes), movedBy(secondNodes, secondBefore, 1));
    }

    void f5ReadsAnotherComputersSave_data()
    {
        QTest::addColumn<bool>("currentLeaves");
        QTest::newRow("the current candidate stays") << false;
        QTest::newRow("the current candidate is marked absent") << true;
    }

    // Another computer stores a score (and may mark the current candidate absent): F5 shows
    // the score in the list and in the counts, on the same organisation, and on the same
    // candidate while the list still has that candidate (else on its first row).
    void f5ReadsAnotherComputersSave()
    {
        QFETCH(bool, currentLeaves);
        EntryWindow w;
        w.showAll();
        const int row = 2;
        w.clickRow(row);
        const std::string current = w.listedNumber(row);
        const bool currentScored = !w.listed(row, "tttt").empty();
        std::string scored;
        for (int r = 0; r < w.grid->model()->rowCount() && scored.empty(); ++r)
            if (r != row && w.listed(r, "tttt").empty())
                scored = w.listedNumber(r);
        QVERIFY(!scored.empty());
        const QString organisation = w.panel(0);
        const QModelIndex province = w.tree->currentIndex();
        const QModelIndexList nodes = withAncestors(siteOf(w.tree, scored));
        const QStringList before = texts(nodes);

        skorvin::ado::TADOConnection other(w.connection.connectionString());
        other.open();
        other.execute("update t_omr set tttt = '33' where zkzh = ?", {scored});
        if (currentLeaves)
            other.execute("update t_omr set qk = 'Q' where zkzh = ?", {current});
        QTest::keyClick(w.edtZKZ, Qt::Key_F5);

        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
        QCOMPARE(w.listed(w.viewRowOf(scored), "tttt"), std::string("33"));
        QCOMPARE(w.panel(0), organisation);
        QCOMPARE(w.tree->currentIndex(), province);
        const std::string expected = currentLeaves ? w.listedNumber(0) : current;
        QCOMPARE(w.viewRowOf(current) >= 0, !currentLeaves);
        QCOMPARE(w.edtZKZ->text(), toQString(expected));
        QCOMPARE(w.grid->dataSet()->fieldText("zkzh"), expected);
        QCOMPARE(w.rowCountText(),
                 QStringLiteral("考生数：%1/%2").arg(w.grid->dataSet()->recNo()).arg(w.grid->model()->rowCount()));
        if (!currentLeaves) {
            QCOMPARE(texts(nodes), movedBy(nodes, before, 1));
            return;
        }
        // The absent candidate leaves the root's total, and its entered count when scored.
        const QModelIndex root = nodes.back();
        const auto [done, total] = countOf(before.back());
        QCOMPARE(countOf(root.data().toString()), std::make_pair(done + 1 - (currentScored ? 1 : 0), total - 1));
    }
};

QTEST_MAIN(TreeProgressTest)
#include "treeprogress_test.moc"
