// A grid shown over a small candidate list in a scratch database, with the operator's gestures.
#pragma once

#include "plain/ScratchDb.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <QtTest>

#include <QAbstractButton>
#include <QHeaderView>

#include <set>
#include <string>
#include <vector>

namespace skorvin::test {

// The score window's three columns over a candidate list.
inline std::vector<ui::TDataGrid::Column> listColumns()
{
    return {{"zkzh", QStringLiteral("准考证号"), 120, false, false, {}},
            {"xm", QStringLiteral("姓名"), 100, true, true, {}},
            {"tttt", QStringLiteral("主观题分数"), 100, false, false, QColor(Qt::yellow)}};
}

// A candidate list of `rows` rows (admission numbers 400000000001 upwards, every
// second one scored) shown in a grid tall enough for all rows of a small list.
struct GridOnList {
    explicit GridOnList(int rows)
    {
        db.run({"create table cand (zkzh varchar(12), tttt varchar(10), xm varchar(20))",
                "with recursive n(i) as (select 1 union all select i + 1 from n where i < " + std::to_string(rows) +
                    ") insert into cand select printf('4%011d', i), case when i % 2 = 0 then '' || (i % 50) "
                    "else null end, '考生' || i from n"});
        list.setConnection(&db.connection());
        list.setCommandText("select zkzh, tttt, xm from cand order by zkzh");
        list.open();
        grid.setColumns(listColumns());
        grid.setDataSet(&list);
        grid.resize(420, 360);
        grid.show();
        if (!QTest::qWaitForWindowExposed(&grid))
            qFatal("grid not shown");
    }

    QPoint cell(int row, int column = 0) const { return grid.visualRect(grid.model()->index(row, column)).center(); }
    QPoint indicator(int row) const
    {
        const QHeaderView* header = grid.verticalHeader();
        return {header->width() / 2, header->sectionViewportPosition(row) + header->sectionSize(row) / 2};
    }
    void click(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, cell(row));
    }
    void clickIndicator(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(grid.verticalHeader()->viewport(), Qt::LeftButton, modifiers, indicator(row));
    }
    void clickCorner()
    {
        auto* corner = grid.findChild<QAbstractButton*>();
        QVERIFY(corner);
        QTest::mouseClick(corner, Qt::LeftButton);
    }
    // Left button pressed on one row, moved over the rows to another, released there.
    void drag(int fromRow, int toRow)
    {
        QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, cell(fromRow));
        const int step = fromRow < toRow ? 1 : -1;
        for (int row = fromRow + step; row != toRow + step; row += step)
            moveHeld(grid.viewport(), cell(row));
        QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, cell(toRow));
    }
    static void moveHeld(QWidget* widget, QPoint pos)
    {
        QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    // The view rows the grid holds as marked.
    std::set<int> markedRows() const
    {
        std::set<int> rows;
        for (int row = 0; row < list.recordCount(); ++row)
            if (grid.isMarked(list.bookmarkAt(row)))
                rows.insert(row);
        return rows;
    }
    std::string zkzhAt(int viewRow) const { return *list.viewValue(viewRow, list.fieldIndex("zkzh")); }
    long countInDatabase()
    {
        ado::TADOQuery query;
        query.setConnection(&db.connection());
        query.setSql("select count(*) as n from cand");
        query.open();
        return std::stol(query.fieldText("n"));
    }

    ScratchDb db;
    ado::TADODataSet list{"Main_AdoSet"};
    ui::TDataGrid grid;
};

} // namespace skorvin::test
