// The score window's start-up and list navigation on a demo database: the node it
// opens on, the status line, the display choice, grid clicks and failing queries.
#include "gui/RecordingReportWindows.hpp"
#include "gui/ScoreWindow.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/widgets/TRadioGroup.hpp"

#include <QtTest>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeView>

using skorvin::test::DemoDb;
using skorvin::test::RecordingReportWindows;
using skorvin::test::ScoreWindow;
using skorvin::ui::Dialogs;
using skorvin::ui::toQString;

namespace {

skorvin::demodb::Options withSettings(const char* jb, const char* dm)
{
    auto options = DemoDb::smallOptions();
    options.settings.jb = jb;
    options.settings.dm = dm;
    return options;
}

// The score window with the tree and the display choice driven by the mouse.
struct StartedWindow : ScoreWindow {
    using ScoreWindow::ScoreWindow;

    // The tree's node whose text begins with prefix, under parent (the whole tree when invalid).
    QModelIndex node(const QString& prefix, const QModelIndex& parent = {}) const
    {
        const QAbstractItemModel* model = tree->model();
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex index = model->index(row, 0, parent);
            if (index.data().toString().startsWith(prefix))
                return index;
            const QModelIndex below = node(prefix, index);
            if (below.isValid())
                return below;
        }
        return {};
    }

    void clickNode(const QModelIndex& index) const
    {
        tree->scrollTo(index);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, tree->visualRect(index).center());
    }

    void clickChoice(int index) const
    {
        QAbstractButton* button = child<skorvin::ui::TRadioGroup>("RadioGroup1")->button(index);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
    }
};

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    // The window opens on the installation's province with its unscored candidates.
    void opensOnTheInstallationsProvince()
    {
        StartedWindow w;
        w.show();
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
        const QModelIndex current = w.tree->currentIndex();
        QVERIFY(current.data().toString().startsWith(QStringLiteral("11-")));
        QVERIFY(w.tree->selectionModel()->isSelected(current));

        const auto counts = w.db.summary().counts(1, "11");
        QCOMPARE(w.grid->model()->rowCount(), static_cast<int>(counts.unscored()));
        for (int row = 0; row < w.grid->model()->rowCount(); ++row)
            QCOMPARE(w.listed(row, "tttt"), std::string());
        QCOMPARE(w.panel(0), skorvin::test::nodeText(current));
        QCOMPARE(w.panel(1), QStringLiteral("考生数：1/%1").arg(counts.unscored()));
        QCOMPARE(w.edtZKZ->text(), toQString(w.listed(0, "zkzh")));
    }

    // The selected node stays selected under Ctrl+click, Ctrl+Space and a click on empty
    // space, and nothing is re-listed.
    void selectedNodeIsNeverCleared()
    {
        StartedWindow w;
        w.show();
        const QModelIndex selected = w.tree->currentIndex();
        const QString panel0 = w.panel(0);
        int statements = 0;
        w.connection.setStatementListener([&statements](const std::string&) { ++statements; });

        w.tree->scrollTo(selected);
        QTest::mouseClick(w.tree->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          w.tree->visualRect(selected).center());
        QTest::keyClick(w.tree, Qt::Key_Space, Qt::ControlModifier);
        const QPoint belowTheNodes(w.tree->viewport()->width() / 2, w.tree->viewport()->height() - 2);
        QVERIFY(!w.tree->indexAt(belowTheNodes).isValid());
        QTest::mouseClick(w.tree->viewport(), Qt::LeftButton, Qt::NoModifier, belowTheNodes);
        QTest::mouseClick(w.tree->viewport(), Qt::LeftButton, Qt::ControlModifier, belowTheNodes);
        QVERIFY(w.tree->selectionModel()->isSelected(selected));
        QCOMPARE(statements, 0);
        QCOMPARE(w.panel(0), panel0);

        // Ctrl+click on another node selects it as a plain click does.
        const QModelIndex other = w.node(QStringLiteral("13-"));
        w.tree->scrollTo(other);
        QTest::mouseClick(w.tree->viewport(), Qt::LeftButton, Qt::ControlModifier, w.tree->visualRect(other).center());
        QCOMPARE(w.tree->selectionModel()->selectedRows(), QModelIndexList{other});
        QCOMPARE(w.panel(0), skorvin::test::nodeText(other));
    }

    // A city setting picks the city under the right province, though another
    // province comes first with a city of the same two digits (1101 and 1301).
    void citySettingPicksTheRightProvince()
    {
        StartedWindow w(withSettings("2", "1301"));
        w.show();
        const QModelIndex current = w.tree->currentIndex();
        QVERIFY(current.data().toString().startsWith(QStringLiteral("01-")));
        QVERIFY(current.parent().data().toString().startsWith(QStringLiteral("13-")));
        QCOMPARE(w.grid->model()->rowCount(), static_cast<int>(w.db.summary().counts(2, "1301").unscored()));
        QCOMPARE(w.panel(0), skorvin::test::nodeText(current));
    }

    // 所有 shows every candidate of the node from the list already read.
    void allChoiceRunsNoStatement()
    {
        StartedWindow w;
        w.show();
        int statements = 0;
        w.connection.setStatementListener([&statements](const std::string&) { ++statements; });
        w.clickChoice(2);
        QCOMPARE(statements, 0);
        QCOMPARE(w.grid->model()->rowCount(), static_cast<int>(w.db.summary().counts(1, "11").listed));
        w.clickChoice(1);
        QCOMPARE(statements, 0);
        QCOMPARE(w.grid->model()->rowCount(), static_cast<int>(w.db.summary().counts(1, "11").scored));
    }

    // With 已登分 chosen, another node lists only its own scored candidates.
    void scoredChoiceSurvivesANodeChange()
    {
        StartedWindow w;
        w.show();
        w.clickChoice(1);
        // The list is read under the wait cursor, and the cursor is back afterwards.
        QList<int> cursors; // the cursor's shape as each statement runs, -1 for none
        w.connection.setStatementListener([&cursors](const std::string&) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            cursors.append(cursor ? cursor->shape() : -1);
        });
        w.clickNode(w.node(QStringLiteral("13-")));
        QCOMPARE(cursors, QList<int>{Qt::WaitCursor});
        QVERIFY(!QGuiApplication::overrideCursor());
        QVERIFY(w.tree->currentIndex().data().toString().startsWith(QStringLiteral("13-")));
        const int scored = static_cast<int>(w.db.summary().counts(1, "13").scored);
        QVERIFY(scored > 0);
        QCOMPARE(w.grid->model()->rowCount(), scored);
        for (int row = 0; row < scored; ++row) {
            QVERIFY(!w.listed(row, "tttt").empty());
            QCOMPARE(w.listed(row, "zkzh").substr(4, 2), std::string("13"));
        }
        QCOMPARE(w.panel(0), skorvin::test::nodeText(w.tree->currentIndex()));
        QCOMPARE(w.rowCountText(), QStringLiteral("考生数：1/%1").arg(scored));
    }

    // A click on a cell takes that row into the boxes, ready for typing over the number.
    void gridClickLoadsTheRow()
    {
        StartedWindow w;
        w.show();
        w.clickChoice(2);
        const int row = 2;
        const QRect cell = w.grid->visualRect(w.grid->model()->index(row, 0));
        QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());

        QCOMPARE(w.edtZKZ->text(), toQString(w.listed(row, "zkzh")));
        QCOMPARE(w.edtFS->text(), toQString(w.listed(row, "tttt")));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtZKZ));
        QCOMPARE(w.edtZKZ->selectedText(), w.edtZKZ->text());
        QCOMPARE(w.rowCountText(), QStringLiteral("考生数：%1/%2").arg(row + 1).arg(w.grid->model()->rowCount()));
    }

    // Ctrl+Delete takes the row off the list only.
    void deletingFromTheListKeepsTheDatabase()
    {
        StartedWindow w;
        w.show();
        const std::string first = w.listed(0, "zkzh");
        const int rows = w.grid->model()->rowCount();
        w.recorder.queueConfirm(true);
        w.grid->setFocus();
        QTest::keyClick(w.grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(w.grid->model()->rowCount(), rows - 1);
        QVERIFY(w.listed(0, "zkzh") != first);

        // Listing the node again brings the row back from the database.
        w.clickNode(w.node(QStringLiteral("13-")));
        w.clickNode(w.node(QStringLiteral("11-")));
        QCOMPARE(w.grid->model()->rowCount(), rows);
        QCOMPARE(w.listed(0, "zkzh"), first);
    }

    // No node for the installation: a quiet window that asks for an organisation.
    void noMatchingNode()
    {
        StartedWindow w(withSettings("1", "99"));
        w.show();
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
        QVERIFY(w.tree->selectionModel()->selectedIndexes().isEmpty());
        // Nor a node made current behind the operator's back (the tree listing it quietly).
        QVERIFY2(!w.tree->currentIndex().isValid(), qPrintable(w.tree->currentIndex().data().toString()));
        QVERIFY(!w.grid->dataSet()->active());
        QCOMPARE(w.grid->model()->rowCount(), 0);
        QCOMPARE(w.panel(0), QStringLiteral("请在机构列表中选择机构"));
        QCOMPARE(w.panel(1), QStringLiteral("考生数：0/0"));

        // Tabbing into the tree makes its first node current but lists nothing.
        int statements = 0;
        w.connection.setStatementListener([&statements](const std::string&) { ++statements; });
        w.tree->setFocus(Qt::TabFocusReason);
        QCOMPARE(statements, 0);
        QVERIFY(w.tree->hasFocus());
        QVERIFY(!w.grid->dataSet()->active());
        QCOMPARE(w.panel(0), QStringLiteral("请在机构列表中选择机构"));

        w.edtZKZ->setFocus();
        QTest::keyClicks(w.edtZKZ, QStringLiteral("4123"));
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QCOMPARE(w.recorder.texts(), QStringList{QStringLiteral("您输入的考生准考证号码不存在！请确认后重新输入！")});
        QCOMPARE(w.recorder.boxes().front().icon, Dialogs::Icon::Information);

        w.clickNode(w.node(QStringLiteral("44-")));
        QCOMPARE(w.grid->model()->rowCount(), static_cast<int>(w.db.summary().counts(1, "44").unscored()));
        QCOMPARE(w.panel(0), skorvin::test::nodeText(w.tree->currentIndex()));
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
    }

    // 打印 and 导出 before an organisation is chosen ask for one, in the status line's words,
    // and do nothing else: no save dialog, no preview, the list still closed.
    void printAndExportAskForAnOrganisation_data()
    {
        QTest::addColumn<QByteArray>("button");
        QTest::newRow("打印") << QByteArray("SpeedButton2");
        QTest::newRow("导出") << QByteArray("btnExport");
    }

    void printAndExportAskForAnOrganisation()
    {
        QFETCH(QByteArray, button);
        StartedWindow w(withSettings("1", "99"));
        RecordingReportWindows reports;
        w.show();
        w.recorder.queueSaveFileName(QStringLiteral("/nonexistent/list"));
        QTest::mouseClick(w.child<QAbstractButton>(button.constData()), Qt::LeftButton);

        QCOMPARE(w.recorder.texts(), QStringList{QStringLiteral("请在机构列表中选择机构")});
        QCOMPARE(w.recorder.boxes().front().caption, QStringLiteral("信息"));
        QCOMPARE(w.recorder.boxes().front().icon, Dialogs::Icon::Information);
        QCOMPARE(w.recorder.boxes().front().owner, static_cast<QWidget*>(w.window.get()));
        QVERIFY(w.recorder.saveRequests().empty());
        QVERIFY(reports.previews().empty());
        QVERIFY(!w.grid->dataSet()->active());
        QVERIFY(!w.grid->dataSet()->controlsDisabled());
        QCOMPARE(w.panel(0), QStringLiteral("请在机构列表中选择机构"));
        QCOMPARE(w.panel(1), QStringLiteral("考生数：0/0"));
    }

    // An open list without a row has no current row: 0 of 0, never -1, at start-up and
    // after a change to another node that lists nobody either.
    void emptyListCountsNoRow()
    {
        StartedWindow w;
        w.connection.execute("update t_omr set tttt = '30'");
        w.show();
        QVERIFY(w.grid->dataSet()->active());
        QCOMPARE(w.grid->model()->rowCount(), 0);
        QCOMPARE(w.panel(1), QStringLiteral("考生数：0/0"));
        w.clickNode(w.node(QStringLiteral("13-")));
        QCOMPARE(w.grid->model()->rowCount(), 0);
        QCOMPARE(w.panel(1), QStringLiteral("考生数：0/0"));
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
    }

    // A tree query failing half-way keeps the nodes read so far and still opens the window.
    void treeQueryFailingHalfWay()
    {
        StartedWindow w;
        w.connection.execute("drop view v_kdjg");
        w.show();
        QVERIFY(w.window->isVisible());
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        QCOMPARE(w.recorder.boxes().front().icon, Dialogs::Icon::Stop);
        QVERIFY2(w.recorder.boxes().front().text.contains(QStringLiteral("v_kdjg")),
                 qPrintable(w.recorder.boxes().front().text));
        QVERIFY(w.tree->model()->rowCount() > 0);
        QVERIFY(w.node(QStringLiteral("11-")).isValid());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // A list query failing on a node change: list closed, grid empty, status as it was.
    void listQueryFailingOnNodeChange()
    {
        StartedWindow w;
        w.show();
        const QString panel0 = w.panel(0);
        const QString panel1 = w.panel(1);
        w.connection.execute("drop table t_bm");
        w.clickNode(w.node(QStringLiteral("13-")));

        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        QCOMPARE(w.recorder.boxes().front().icon, Dialogs::Icon::Stop);
        QVERIFY(!w.grid->dataSet()->active());
        QCOMPARE(w.grid->model()->rowCount(), 0);
        QCOMPARE(w.panel(0), panel0);
        QCOMPARE(w.panel(1), panel1);
        QVERIFY(w.window->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
