// A list whose rows fill several blocks of the snapshot's arena, rows meeting a block's end
// and one row longer than a block: every field reads back as stored, also after a post and
// through the number index.
#include "plain/ScratchDb.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace skorvin;

namespace {

constexpr int kRows = 3000;
constexpr int kLongRow = 1700;

std::string number(int i)
{
    char text[8];
    std::snprintf(text, sizeof text, "4%05d", i);
    return text;
}

// What the statement below stores as the name of row i: up to 1,999 bytes, or 1.5 MiB.
std::string name(int i)
{
    return std::string(i == kLongRow ? 1536 * 1024 : i % 2000, static_cast<char>('a' + i % 26));
}

} // namespace

TEST(LargeSnapshot, EveryFieldReadsBackAsStored)
{
    test::ScratchDb db;
    db.run({"create table t_omr (zkzh text, tttt text, xm text)",
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < " + std::to_string(kRows) +
                "), m(i, len) as (select i, case when i = " + std::to_string(kLongRow) +
                " then 1536 * 1024 else i % 2000 end from n) "
                "insert into t_omr select printf('4%05d', i), case when i % 7 = 0 then null else i % 100 end, "
                "substr(printf('%.*c', len, char(97 + i % 26)), 1, len) from m"});
    ado::TADODataSet list("Main_AdoSet");
    list.setConnection(&db.connection());
    list.setCommandText("select zkzh, tttt, xm from t_omr order by zkzh");
    list.open();
    ASSERT_EQ(list.recordCount(), kRows);
    for (int row = 0; row < kRows; ++row) {
        const int i = row + 1;
        ASSERT_EQ(list.viewValue(row, 0), number(i)) << i;
        ASSERT_EQ(list.viewValue(row, 1), i % 7 == 0 ? ado::FieldValue() : ado::FieldValue(std::to_string(i % 100)))
            << i;
        ASSERT_EQ(list.viewValue(row, 2), name(i)) << i;
    }

    // A posted row moves to the side store; its neighbours in the arena stay as they were.
    list.moveBy(kLongRow - 1);
    list.edit();
    list.setFieldValue("tttt", ado::FieldValue("88"));
    list.post();
    EXPECT_EQ(list.viewValue(kLongRow - 1, 1), ado::FieldValue("88"));
    EXPECT_EQ(list.viewValue(kLongRow - 1, 2), name(kLongRow));
    EXPECT_EQ(list.viewValue(kLongRow, 2), name(kLongRow + 1));
    for (const int i : {1, kLongRow, kLongRow + 1, kRows}) {
        const auto mark = list.seekEqual("zkzh", number(i));
        ASSERT_TRUE(mark) << i;
        list.gotoBookmark(*mark);
        EXPECT_EQ(list.fieldText("xm"), name(i)) << i;
    }
}
