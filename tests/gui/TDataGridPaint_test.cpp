// How the grid paints: marked rows highlighted, a row's new look repainting that row alone, a walk
// with the controls detached, a posted row leaving or changing in place.
#include "gui/GridOnList.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"
#include "ui/grid/DataGridHeaders.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <QtTest>

#include <QAbstractItemModelTester>
#include <QBackingStore>
#include <QSignalSpy>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <utility>

using skorvin::test::GridOnList;
using skorvin::ui::TDataGrid;

namespace {

// The union of the regions a widget was asked to paint since the last take().
class PaintedRegion : public QObject {
public:
    explicit PaintedRegion(QWidget* widget) { widget->installEventFilter(this); }
    QRegion take() { return std::exchange(region_, QRegion()); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            region_ += static_cast<QPaintEvent*>(event)->region();
        return false;
    }

private:
    QRegion region_;
};

} // namespace

class TDataGridPaintTest : public QObject {
    Q_OBJECT

private slots:
    void markedRowsAreDrawnHighlighted();
    void aRowsNewLookRepaintsThatRowAlone();
    void walkWithControlsDisabledKeepsTheRowsInView();
    void postedRowLeavesOrChangesInPlace_data();
    void postedRowLeavesOrChangesInPlace();
};

void TDataGridPaintTest::markedRowsAreDrawnHighlighted()
{
    GridOnList fixture(12);
    const QPalette palette = fixture.grid.palette();
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor base = palette.color(QPalette::Active, QPalette::Base);
    // The colour near the right edge of a cell, clear of its text.
    const auto colourAt = [&](int row, int column) {
        const QImage picture = fixture.grid.viewport()->grab().toImage();
        const QRect cell = fixture.grid.visualRect(fixture.grid.model()->index(row, column));
        const qreal ratio = picture.devicePixelRatio();
        return picture.pixelColor(QPoint(cell.right() - 4, cell.center().y()) * ratio);
    };

    // Nothing marked: the current row stands out as a whole; the score column keeps its own background.
    fixture.list.moveBy(2);
    QCOMPARE(colourAt(2, 1), highlight);
    QCOMPARE(colourAt(2, 2), highlight);
    QCOMPARE(colourAt(3, 1), base);
    QCOMPARE(colourAt(3, 2), QColor(Qt::yellow));

    // With marks, only the marked rows stand out, wherever the current row is.
    fixture.grid.markCurrentRow();
    fixture.list.moveBy(3);
    QCOMPARE(colourAt(2, 1), highlight);
    QCOMPARE(colourAt(2, 2), highlight);
    QCOMPARE(colourAt(5, 1), base);
    QCOMPARE(colourAt(5, 2), QColor(Qt::yellow));
}

// The operator's Enter moves the list and marks a row: only the rows whose look changes are
// painted again, and the grid on screen is then what a whole paint of it shows.
void TDataGridPaintTest::aRowsNewLookRepaintsThatRowAlone()
{
    GridOnList fixture(12);
    QWidget* viewport = fixture.grid.viewport();
    PaintedRegion painted(viewport);
    const auto rowsArea = [&](std::initializer_list<int> rows) {
        QRegion area;
        for (const int row : rows)
            area += QRect(0, fixture.grid.rowViewportPosition(row), viewport->width(), fixture.grid.rowHeight(row));
        return area;
    };
    // What the window's picture holds where the viewport is, against the viewport painted whole.
    const auto onScreen = [&] {
        const auto* image = dynamic_cast<const QImage*>(fixture.grid.backingStore()->paintDevice());
        if (!image)
            return QImage();
        const qreal ratio = image->devicePixelRatio();
        const QRect area(viewport->mapTo(&fixture.grid, QPoint(0, 0)) * ratio, viewport->size() * ratio);
        return image->copy(area).convertToFormat(QImage::Format_RGB32);
    };
    const auto paintedWhole = [&] { return viewport->grab().toImage().convertToFormat(QImage::Format_RGB32); };

    const struct {
        const char* what;
        std::function<void()> step;
        std::initializer_list<int> rows; // the rows whose look may change
    } steps[] = {
        {"the list moves, nothing marked", [&] { fixture.list.moveBy(3); }, {0, 3}},
        {"the current row marked", [&] { fixture.grid.markCurrentRow(); }, {3}},
        {"the list moves past the mark", [&] { fixture.list.moveBy(2); }, {3, 5}},
        {"a second row marked", [&] { fixture.grid.markCurrentRow(); }, {5}},
        {"that row unmarked", [&] { fixture.grid.unmarkCurrentRow(); }, {5}},
        {"the list moves back to the mark", [&] { fixture.list.moveBy(-2); }, {3, 5}},
        {"the last mark taken off", [&] { fixture.grid.unmarkCurrentRow(); }, {3}},
    };
    QCoreApplication::processEvents();
    painted.take();
    for (const auto& step : steps) {
        step.step();
        QCoreApplication::processEvents();
        const QRegion region = painted.take();
        QVERIFY2(!region.isEmpty(), step.what);
        QVERIFY2(region.subtracted(rowsArea(step.rows)).isEmpty(), step.what);
        const QImage screen = onScreen();
        QVERIFY2(!screen.isNull(), "the offscreen window keeps its picture in an image");
        QVERIFY2(screen == paintedWhole(), step.what);
        painted.take(); // the whole paint just made for the comparison
    }
}

void TDataGridPaintTest::walkWithControlsDisabledKeepsTheRowsInView()
{
    GridOnList fixture(100);
    fixture.list.moveBy(50);
    fixture.list.moveBy(-4);
    const int top = fixture.grid.topRow();
    const int shown = fixture.grid.visibleRowCount();
    QVERIFY(top > 0 && top <= 46 && top + shown > 46);
    const auto mark = fixture.list.bookmark();

    // What an export does: every row visited with the grid detached, then back to the row it left.
    fixture.list.disableControls();
    for (fixture.list.first(); !fixture.list.eof(); fixture.list.next())
        fixture.list.fieldText("zkzh");
    fixture.list.gotoBookmark(mark);
    fixture.list.enableControls();

    QCOMPARE(fixture.grid.topRow(), top);
    QCOMPARE(fixture.grid.visibleRowCount(), shown);
    QCOMPARE(fixture.grid.currentIndex().row(), 46);
}

void TDataGridPaintTest::postedRowLeavesOrChangesInPlace_data()
{
    QTest::addColumn<bool>("filtered");
    QTest::addColumn<int>("row");    // -1: the last row of the view
    QTest::addColumn<bool>("atTop"); // the grid scrolled so that the row is its top row
    QTest::newRow("leaves the filter, mid-screen") << true << 50 << false;
    QTest::newRow("leaves the filter, top of the screen") << true << 50 << true;
    QTest::newRow("leaves the filter, last row") << true << -1 << false;
    QTest::newRow("leaves the filter, first row") << true << 0 << false;
    QTest::newRow("changes in place, mid-screen") << false << 50 << false;
    QTest::newRow("changes in place, top of the screen") << false << 50 << true;
    QTest::newRow("changes in place, last row") << false << -1 << false;
}

// A save posts the row: it leaves the list when the filter no longer admits it, or shows its
// new value in place. Either way the grid stays where it was: the rows in view, the marks and
// the current row (the next one when the row left) are what the operator had, and the rows
// the model reports are only the one that left or changed, never a reset of all of them.
void TDataGridPaintTest::postedRowLeavesOrChangesInPlace()
{
    QFETCH(bool, filtered);
    QFETCH(int, row);
    QFETCH(bool, atTop);
    GridOnList fixture(300);
    auto* model = fixture.grid.model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    if (filtered) {
        fixture.list.setFilter("tttt = null");
        fixture.list.setFiltered(true);
    }
    const int rows = model->rowCount();
    if (row < 0)
        row = rows - 1;
    // The row above marked too; then down past the row and back up to it, which puts it inside
    // the screen, not at its edge.
    if (row > 0) {
        fixture.list.moveBy(row - 1);
        fixture.grid.markCurrentRow();
    }
    fixture.list.moveBy(std::min(row + 5, rows - 1) - fixture.list.currentViewRow());
    fixture.list.moveBy(row - fixture.list.currentViewRow());
    fixture.grid.markCurrentRow();
    if (atTop)
        fixture.grid.scrollTo(model->index(row, 0), QAbstractItemView::PositionAtTop);
    QCoreApplication::processEvents();
    const auto saved = fixture.list.bookmark();
    const std::string next = row + 1 < rows ? fixture.zkzhAt(row + 1) : "";
    const std::string previous = row > 0 ? fixture.zkzhAt(row - 1) : "";
    const int top = fixture.grid.topRow();
    QVERIFY(row == 0 || top > 0);
    if (atTop)
        QCOMPARE(top, row);
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);

    fixture.list.edit();
    fixture.list.setFieldValue("tttt", std::string("12"));
    fixture.list.post();
    QCoreApplication::processEvents();

    QCOMPARE(resets.count(), 0);
    const int current = fixture.list.currentViewRow();
    if (filtered) {
        QCOMPARE(model->rowCount(), rows - 1);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), row);
        QCOMPARE(removed.at(0).at(2).toInt(), row);
        // The next candidate takes the row's place; after the last one, the one before it.
        QCOMPARE(fixture.list.fieldText("zkzh"), next.empty() ? previous : next);
        QCOMPARE(current, next.empty() ? row - 1 : row);
    } else {
        QCOMPARE(model->rowCount(), rows);
        QCOMPARE(removed.count(), 0);
        QVERIFY(!changed.isEmpty());
        QCOMPARE(changed.last().at(0).toModelIndex().row(), row);
        QCOMPARE(changed.last().at(1).toModelIndex().row(), row);
        QCOMPARE(model->data(model->index(row, 2)).toString(), QStringLiteral("12"));
        QCOMPARE(current, row);
    }
    QCOMPARE(fixture.grid.currentIndex().row(), current);
    QCOMPARE(static_cast<skorvin::ui::DataGridIndicator*>(fixture.grid.verticalHeader())->currentRow(), current);
    QVERIFY(fixture.grid.viewport()->rect().intersects(fixture.grid.visualRect(model->index(current, 0))));
    // At the end of the list the grid scrolls back by the row that left, as far as it can.
    const int expectedTop = filtered && next.empty() ? std::max(0, top - 1) : top;
    QCOMPARE(fixture.grid.topRow(), expectedTop);
    QVERIFY(fixture.grid.isMarked(saved));
    std::set<int> marked = fixture.markedRows();
    if (row > 0)
        QVERIFY(marked.count(row - 1) == 1);
    QCOMPARE(marked.size(), std::size_t(filtered ? (row > 0 ? 1 : 0) : (row > 0 ? 2 : 1)));
}

QTEST_MAIN(TDataGridPaintTest)
#include "TDataGridPaint_test.moc"
