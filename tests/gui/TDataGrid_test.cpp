#include "gui/GridOnList.hpp"
#include "gui/RecordingDialogs.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"
#include "ui/grid/DataGridHeaders.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <QtTest>

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QHeaderView>
#include <QSignalSpy>

#include <set>
#include <string>
#include <vector>

using skorvin::test::GridOnList;
using skorvin::test::RecordingDialogs;
using skorvin::ui::DataGridTitles;
using skorvin::ui::TDataGrid;

namespace {

QString describe(const std::set<int>& rows)
{
    QStringList parts;
    for (int row : rows)
        parts << QString::number(row);
    return QLatin1Char('{') + parts.join(QLatin1Char(',')) + QLatin1Char('}');
}

} // namespace

class TDataGridTest : public QObject {
    Q_OBJECT
private slots:
    void gesturesMarkRows();
    void clickMovesListAtThePress();
    void gridFollowsListUntilControlsDisabled();
    void workflowMarksSurviveMovesButNotReopen();
    void modelReadsRowsOnDemand();
    void modelPassesTheItemModelChecks();
    void ctrlDeleteRemovesRowsFromListOnly();
    void nameTitleIsAButtonThatDoesNotSort();
    void columnsKeepWidthAndOrderAcrossRefresh();
    void clipboardAndInsertKeysDoNothing();
};

void TDataGridTest::gesturesMarkRows()
{
    enum Kind { Click, Indicator, Corner, Key, Drag };
    struct Step {
        Kind kind;
        int row = 0;
        Qt::KeyboardModifiers modifiers = {};
        int key = 0;
        int toRow = 0;
    };
    const auto click = [](int row, Qt::KeyboardModifiers m = {}) { return Step{Click, row, m}; };
    const auto indicator = [](int row, Qt::KeyboardModifiers m = {}) { return Step{Indicator, row, m}; };
    const auto key = [](int k, Qt::KeyboardModifiers m = {}) { return Step{Key, 0, m, k}; };
    const Step corner{Corner};
    const auto drag = [](int from, int to) { return Step{Drag, from, {}, 0, to}; };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers shift = Qt::ShiftModifier;

    struct Case {
        const char* name;
        std::vector<Step> steps;
        std::set<int> marked;
        int current;
    };
    // 12 rows, all on screen; every case starts on row 0 with nothing marked.
    const std::vector<Case> cases = {
        {"plain click marks the clicked row", {click(3)}, {3}, 3},
        {"plain click clears the other marks", {click(1), click(2, ctrl), click(4)}, {4}, 4},
        {"ctrl+click toggles and keeps the others",
         {click(1), click(3, ctrl), click(5, ctrl), click(3, ctrl)},
         {1, 5},
         3},
        {"ctrl+click on the only mark leaves none", {click(2), click(2, ctrl)}, {}, 2},
        {"drag down marks the rows passed", {drag(2, 5)}, {2, 3, 4, 5}, 5},
        {"drag up marks the rows passed", {drag(7, 4)}, {4, 5, 6, 7}, 4},
        {"shift+click on the indicator marks from the current row",
         {click(2), indicator(6, shift)},
         {2, 3, 4, 5, 6},
         6},
        {"shift+click on the indicator upwards",
         {key(Qt::Key_Down), key(Qt::Key_Down), indicator(0, shift)},
         {0, 1, 2},
         0},
        {"plain click on the indicator marks that row alone", {click(1), indicator(4)}, {4}, 4},
        {"corner marks every row", {corner}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 0},
        {"corner with marks clears them", {click(2), click(5, ctrl), corner}, {}, 5},
        {"corner twice leaves none", {corner, corner}, {}, 0},
        {"arrow without shift moves and clears", {click(2), click(4, ctrl), key(Qt::Key_Down)}, {}, 5},
        {"shift+arrows extend", {click(2), key(Qt::Key_Down, shift), key(Qt::Key_Down, shift)}, {2, 3, 4}, 4},
        {"shift+up extends upwards", {click(5), key(Qt::Key_Up, shift)}, {4, 5}, 4},
        {"shift+page down extends to the row reached", {click(9), key(Qt::Key_PageDown, shift)}, {9, 10, 11}, 11},
        {"ctrl+shift+home extends to the first row", {click(2), key(Qt::Key_Home, ctrl | shift)}, {0, 1, 2}, 0},
        {"ctrl+end without shift clears", {click(2), key(Qt::Key_End, ctrl)}, {}, 11},
        {"page up without shift clears", {click(6), click(8, ctrl), key(Qt::Key_PageUp)}, {}, 0},
        {"escape clears and stays", {click(1), click(2, ctrl), key(Qt::Key_Escape)}, {}, 2},
        {"ctrl+a marks nothing", {click(1), key(Qt::Key_A, ctrl)}, {1}, 1},
    };

    GridOnList fixture(12);
    for (const Case& c : cases) {
        fixture.grid.clearMarks();
        fixture.list.first();
        fixture.grid.setFocus();
        for (const Step& step : c.steps) {
            switch (step.kind) {
            case Click:
                fixture.click(step.row, step.modifiers);
                break;
            case Indicator:
                fixture.clickIndicator(step.row, step.modifiers);
                break;
            case Corner:
                fixture.clickCorner();
                break;
            case Key:
                QTest::keyClick(&fixture.grid, static_cast<Qt::Key>(step.key), step.modifiers);
                break;
            case Drag:
                fixture.drag(step.row, step.toRow);
                break;
            }
        }
        const std::set<int> marked = fixture.markedRows();
        QVERIFY2(marked == c.marked, qPrintable(QStringLiteral("%1: marked %2, expected %3")
                                                    .arg(QLatin1String(c.name), describe(marked), describe(c.marked))));
        QVERIFY2(fixture.list.currentViewRow() == c.current,
                 qPrintable(QStringLiteral("%1: list on row %2, expected %3")
                                .arg(QLatin1String(c.name))
                                .arg(fixture.list.currentViewRow())
                                .arg(c.current)));
        QCOMPARE(fixture.grid.currentIndex().row(), c.current);
    }
}

void TDataGridTest::clickMovesListAtThePress()
{
    GridOnList fixture(12);
    QSignalSpy clicks(&fixture.grid, &TDataGrid::cellClicked);
    int recNoInAfterScroll = 0;
    fixture.list.afterScroll = [&] { recNoInAfterScroll = fixture.list.recNo(); };

    QTest::mousePress(fixture.grid.viewport(), Qt::LeftButton, {}, fixture.cell(6, 2));
    QCOMPARE(fixture.list.recNo(), 7);
    QCOMPARE(recNoInAfterScroll, 7);
    QCOMPARE(clicks.count(), 0);
    QTest::mouseRelease(fixture.grid.viewport(), Qt::LeftButton, {}, fixture.cell(6, 2));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(fixture.grid.currentIndex(), fixture.grid.model()->index(6, 2));

    // Below the last row there is no cell: nothing moves, no click is reported.
    fixture.grid.resize(420, 600);
    QTest::mouseClick(fixture.grid.viewport(), Qt::LeftButton, {}, QPoint(20, fixture.grid.viewport()->height() - 3));
    QCOMPARE(fixture.list.recNo(), 7);
    QCOMPARE(clicks.count(), 1);

    // Tab walks the cells of the row, then on to the next row, and the list follows.
    QTest::keyClick(&fixture.grid, Qt::Key_Tab);
    QCOMPARE(fixture.list.recNo(), 8);
    QCOMPARE(fixture.grid.currentIndex().column(), 0);
}

void TDataGridTest::gridFollowsListUntilControlsDisabled()
{
    GridOnList fixture(30);
    auto* model = fixture.grid.model();
    fixture.list.moveBy(5);
    QCOMPARE(fixture.grid.currentIndex().row(), 5);
    fixture.list.last();
    QCOMPARE(fixture.grid.currentIndex().row(), 29);
    QVERIFY(fixture.grid.viewport()->rect().intersects(fixture.grid.visualRect(model->index(29, 0))));

    fixture.list.first();
    fixture.list.disableControls();
    fixture.list.moveBy(3);
    QCOMPARE(fixture.grid.currentIndex().row(), 0);
    QVERIFY(!model->data(model->index(0, 0)).isValid());
    fixture.list.enableControls();
    QCOMPARE(fixture.grid.currentIndex().row(), 3);
    QCOMPARE(model->data(model->index(0, 0)).toString(), QStringLiteral("400000000001"));

    // A re-filtered list is re-read: the grid shows the view's rows and its current row.
    fixture.list.setFilter("tttt <> null");
    fixture.list.setFiltered(true);
    QCOMPARE(model->rowCount(), 15);
    QCOMPARE(model->data(model->index(0, 0)).toString(), QStringLiteral("400000000002"));
    QCOMPARE(fixture.grid.currentIndex().row(), 0);

    // A post shows at once.
    fixture.list.moveBy(2);
    fixture.list.edit();
    fixture.list.setFieldValue("tttt", std::string("77"));
    fixture.list.post();
    QCOMPARE(model->data(model->index(2, 2)).toString(), QStringLiteral("77"));
}

void TDataGridTest::workflowMarksSurviveMovesButNotReopen()
{
    GridOnList fixture(12);
    fixture.list.moveBy(4);
    fixture.grid.markCurrentRow();
    const auto fourth = fixture.list.bookmark();
    fixture.list.next();
    fixture.grid.markCurrentRow();
    QCOMPARE(fixture.markedRows(), (std::set<int>{4, 5}));
    fixture.grid.unmarkCurrentRow();
    QVERIFY(fixture.grid.isMarked(fourth));
    QCOMPARE(fixture.markedRows(), std::set<int>{4});

    // Marks hold bookmarks, so re-filtering keeps them on the same candidate.
    fixture.list.setFilter("tttt = null");
    fixture.list.setFiltered(true);
    fixture.list.setFiltered(false);
    QVERIFY(fixture.grid.isMarked(fourth));

    // A re-run list has other rows behind the same bookmarks.
    fixture.list.close();
    fixture.list.open();
    QCOMPARE(fixture.markedRows(), std::set<int>{});
}

void TDataGridTest::modelReadsRowsOnDemand()
{
    GridOnList small(10);
    const auto objectsForSmallList = small.grid.findChildren<QObject*>().size();

    GridOnList large(200000);
    QCOMPARE(large.grid.model()->rowCount(), 200000);
    QCOMPARE(large.grid.model()->rowCount(), large.list.recordCount());
    // No item or widget is made per row.
    QCOMPARE(large.grid.findChildren<QObject*>().size(), objectsForSmallList);

    QTest::keyClick(&large.grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(large.list.recNo(), 200000);
    const QModelIndex last = large.grid.model()->index(199999, 0);
    QVERIFY(large.grid.viewport()->rect().intersects(large.grid.visualRect(last)));
    QCOMPARE(last.data().toString(), QStringLiteral("400000200000"));
}

void TDataGridTest::modelPassesTheItemModelChecks()
{
    GridOnList fixture(40);
    QAbstractItemModelTester tester(fixture.grid.model(), QAbstractItemModelTester::FailureReportingMode::QtTest);

    fixture.list.setFilter("tttt = null");
    fixture.list.setFiltered(true);
    fixture.list.moveBy(3);
    fixture.list.edit();
    fixture.list.setFieldValue("xm", std::string("x"));
    fixture.list.post();
    fixture.list.deleteRecord();
    fixture.list.setFiltered(false);
    fixture.list.close();
    QCOMPARE(fixture.grid.model()->rowCount(), 0);
    fixture.list.open();
    QCOMPARE(fixture.grid.model()->rowCount(), 40);
    QCOMPARE(fixture.grid.model()->data(fixture.grid.model()->index(0, 1)).toString(), QStringLiteral("考生1"));
}

void TDataGridTest::ctrlDeleteRemovesRowsFromListOnly()
{
    GridOnList fixture(12);
    RecordingDialogs dialogs;

    // Cancel: nothing goes.
    fixture.click(3);
    dialogs.queueConfirm(false);
    QTest::keyClick(&fixture.grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Delete record?")});
    QCOMPARE(fixture.list.recordCount(), 12);

    // One marked row: the current row goes, from the list only.
    dialogs.clear();
    dialogs.queueConfirm(true);
    QTest::keyClick(&fixture.grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Delete record?")});
    QCOMPARE(fixture.list.recordCount(), 11);
    QCOMPARE(fixture.zkzhAt(3), std::string("400000000005"));
    QCOMPARE(fixture.grid.model()->rowCount(), 11);

    // Several marked rows: all of them go.
    dialogs.clear();
    fixture.click(0);
    fixture.click(5, Qt::ControlModifier);
    fixture.click(7, Qt::ControlModifier);
    dialogs.queueConfirm(true);
    QTest::keyClick(&fixture.grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Delete all selected records?")});
    QCOMPARE(fixture.list.recordCount(), 8);
    std::vector<std::string> left;
    for (int row = 0; row < fixture.list.recordCount(); ++row)
        left.push_back(fixture.zkzhAt(row).substr(10));
    QCOMPARE(left, (std::vector<std::string>{"02", "03", "05", "06", "08", "10", "11", "12"}));
    QCOMPARE(fixture.markedRows(), std::set<int>{});
    QCOMPARE(fixture.countInDatabase(), 12L);

    // Marks hidden by the filter are not counted and not deleted.
    dialogs.clear();
    fixture.click(0);                      // 02, scored
    fixture.click(2, Qt::ControlModifier); // 05, not scored
    fixture.list.setFilter("tttt <> null");
    fixture.list.setFiltered(true); // 02 06 12 ... current 02
    dialogs.queueConfirm(true);
    QTest::keyClick(&fixture.grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Delete record?")});
    fixture.list.setFiltered(false);
    QCOMPARE(fixture.list.recordCount(), 7);
    QCOMPARE(fixture.zkzhAt(0), std::string("400000000003"));

    // An empty list asks nothing.
    dialogs.clear();
    fixture.list.setFilter("zkzh = 'none'");
    fixture.list.setFiltered(true);
    QTest::keyClick(&fixture.grid, Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(dialogs.boxes().empty());
}

void TDataGridTest::nameTitleIsAButtonThatDoesNotSort()
{
    GridOnList fixture(12);
    fixture.list.moveBy(4);
    auto* titles = qobject_cast<DataGridTitles*>(fixture.grid.horizontalHeader());
    QVERIFY(titles);
    QSignalSpy buttonClicks(&fixture.grid, &TDataGrid::titleButtonClicked);
    const auto titleCentre = [&](int column) {
        return QPoint(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2, titles->height() / 2);
    };

    // Press and release on the name title: drawn pressed while held, one click, the list unchanged.
    QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, titleCentre(1));
    QCOMPARE(titles->pressedButton(), 1);
    QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, titleCentre(1));
    QCOMPARE(titles->pressedButton(), -1);
    QCOMPARE(buttonClicks.count(), 1);
    QCOMPARE(buttonClicks.first().first().toInt(), 1);
    QCOMPARE(fixture.zkzhAt(0), std::string("400000000001"));
    QCOMPARE(fixture.zkzhAt(11), std::string("400000000012"));
    QCOMPARE(fixture.list.recNo(), 5);

    // Other titles are no buttons.
    QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, titleCentre(0));
    QCOMPARE(titles->pressedButton(), -1);
    QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, titleCentre(0));
    QCOMPARE(buttonClicks.count(), 1);

    // A small wobble stays a press; more than 3 px sideways turns it into a column drag.
    QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, titleCentre(1));
    GridOnList::moveHeld(titles->viewport(), titleCentre(1) + QPoint(3, 1));
    QCOMPARE(titles->pressedButton(), 1);
    GridOnList::moveHeld(titles->viewport(), titleCentre(1) + QPoint(4, 0));
    QCOMPARE(titles->pressedButton(), -1);
    QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, titleCentre(1) + QPoint(4, 0));
    QCOMPARE(buttonClicks.count(), 1);
    QCOMPARE(fixture.grid.visibleColumnOrder(), (std::vector<int>{0, 1, 2}));

    // Dragging the name title past the score column moves it there.
    const QPoint start = titleCentre(1);
    QTest::mousePress(titles->viewport(), Qt::LeftButton, {}, start);
    for (int dx = 10; dx <= 110; dx += 10)
        GridOnList::moveHeld(titles->viewport(), start + QPoint(dx, 0));
    QTest::mouseRelease(titles->viewport(), Qt::LeftButton, {}, start + QPoint(110, 0));
    QCOMPARE(buttonClicks.count(), 1);
    QCOMPARE(fixture.grid.visibleColumnOrder(), (std::vector<int>{0, 2, 1}));
    QCOMPARE(fixture.list.recNo(), 5);
}

void TDataGridTest::columnsKeepWidthAndOrderAcrossRefresh()
{
    GridOnList fixture(12);
    QHeaderView* titles = fixture.grid.horizontalHeader();
    QCOMPARE(titles->sectionSize(0), 120);
    QCOMPARE(titles->sectionSize(1), 100);
    titles->moveSection(2, 0);
    titles->resizeSection(1, 150);
    QCOMPARE(fixture.grid.visibleColumnOrder(), (std::vector<int>{2, 0, 1}));

    fixture.list.close();
    fixture.list.open();
    fixture.list.setFilter("tttt = null");
    fixture.list.setFiltered(true);
    QCOMPARE(fixture.grid.visibleColumnOrder(), (std::vector<int>{2, 0, 1}));
    QCOMPARE(titles->sectionSize(1), 150);
    QCOMPARE(titles->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("姓名"));
    QCOMPARE(fixture.grid.columnFieldIndex(1), fixture.list.fieldIndex("xm"));
}

void TDataGridTest::clipboardAndInsertKeysDoNothing()
{
    GridOnList fixture(12);
    fixture.click(2);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    for (const QKeySequence::StandardKey key : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste}) {
        const QKeySequence sequence(key);
        QTest::keySequence(&fixture.grid, sequence);
    }
    QTest::keyClick(&fixture.grid, Qt::Key_Insert);
    QTest::keyClicks(&fixture.grid, QStringLiteral("40"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    QCOMPARE(fixture.list.recordCount(), 12);
    QCOMPARE(fixture.list.recNo(), 3);
    QCOMPARE(fixture.markedRows(), std::set<int>{2});
}

QTEST_MAIN(TDataGridTest)
#include "TDataGrid_test.moc"
