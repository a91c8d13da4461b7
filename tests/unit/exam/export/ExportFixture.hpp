#pragma once

#include "exam/ExportGrid.hpp"
#include "plain/ScratchDb.hpp"
#include "platform/Gbk.hpp"
#include "platform/OutputStream.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace skorvin::test {

// A grid as plain as it gets over a real list: the score window's three columns, a
// window of rows on screen starting at topRow, footers that name their cell.
class PlainGrid : public exam::ExportGrid {
public:
    struct Column {
        std::string field;
        std::string caption; // GBK
    };

    explicit PlainGrid(ado::TCustomADODataSet& list) : list_(list) {}

    std::vector<Column> columns{
        {"zkzh", gbk::fromUtf8("准考证号")}, {"xm", gbk::fromUtf8("姓名")}, {"tttt", gbk::fromUtf8("主观题分数")}};
    std::vector<int> shown{0, 1, 2};
    bool titles = true;
    int footers = 0;
    int topRow = 0;
    int windowRows = 10;

    bool titlesShown() const override { return titles; }
    std::vector<int> VisibleColumnList() const override { return shown; }
    int FooterRowCount() const override { return footers; }
    ado::TCustomADODataSet& boundDataSet() const override { return list_; }
    std::string titleCaption(int column) const override { return columns.at(column).caption; }
    std::string cellText(int column) const override { return list_.fieldText(columns.at(column).field); }
    std::string footerText(int column, int footerIndex) const override
    {
        return "F" + std::to_string(footerIndex) + columns.at(column).field;
    }
    std::string fieldName(int column) const override { return columns.at(column).field; }

protected:
    int windowRecordCount() const override { return std::min(windowRows, list_.recordCount() - topRow); }
    int currentWindowIndex() const override { return list_.currentViewRow() - topRow; }

private:
    ado::TCustomADODataSet& list_;
};

class StringStream final : public OutputStream {
public:
    void write(std::string_view piece) override { bytes.append(piece); }
    std::string bytes;
};

// The candidates of a list as the window reads them (number, score, name), in number order.
class ExportTest : public ::testing::Test {
protected:
    ExportTest()
    {
        db.run({"create table t (zkzh text, tttt text, xm text)"});
        list.setConnection(&db.connection());
        list.setCommandText("select zkzh, tttt, xm from t order by zkzh");
        list.afterScroll = [this] { ++scrolls; };
    }

    // Rows of "number, score or NULL, name" in UTF-8 SQL literals.
    void addRows(const std::vector<std::string>& values)
    {
        for (const std::string& row : values)
            db.run({"insert into t values (" + row + ")"});
    }

    // n numbered candidates, every other one scored.
    void addNumbered(int n)
    {
        for (int i = 1; i <= n; ++i)
            addRows({"'" + std::to_string(4000 + i) + "', " + (i % 2 ? "'" + std::to_string(i) + "'" : "NULL") +
                     ", 'N" + std::to_string(i) + "'"});
    }

    std::string current() const { return list.fieldText("zkzh"); }

    ScratchDb db;
    ado::TADODataSet list{"Main_AdoSet"};
    PlainGrid grid{list};
    int scrolls = 0;
};

} // namespace skorvin::test
