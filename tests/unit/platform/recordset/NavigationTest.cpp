#include "RecordsetFixture.hpp"

#include <vector>

using namespace skorvin;
using namespace skorvin::test;

namespace {

struct Step {
    const char* action;
    std::function<void(ado::TCustomADODataSet&)> run;
    int recNo;
    bool bof, eof;
    const char* zkzh;
    int scrolled; // afterScroll runs caused by the step
};

TEST_F(RecordsetTest, MovesFollowTheDataSetWrapperFlags)
{
    const std::vector<Step> steps = {
        {"open", [](auto& d) { d.open(); }, 1, true, false, "4001", 1},
        {"next", [](auto& d) { d.next(); }, 2, false, false, "4002", 1},
        {"last", [](auto& d) { d.last(); }, 5, false, true, "4005", 1},
        {"next at the end stays", [](auto& d) { d.next(); }, 5, false, true, "4005", 0},
        {"prior", [](auto& d) { d.prior(); }, 4, false, false, "4004", 1},
        {"first", [](auto& d) { d.first(); }, 1, true, false, "4001", 1},
        {"prior at the start stays", [](auto& d) { d.prior(); }, 1, true, false, "4001", 0},
        {"moveBy 3", [](auto& d) { d.moveBy(3); }, 4, false, false, "4004", 1},
        {"moveBy past the end", [](auto& d) { d.moveBy(10); }, 5, false, true, "4005", 1},
        {"moveBy 0", [](auto& d) { d.moveBy(0); }, 5, false, true, "4005", 0},
        {"moveBy back past the start", [](auto& d) { d.moveBy(-10); }, 1, true, false, "4001", 1},
        {"next from the start", [](auto& d) { d.next(); }, 2, false, false, "4002", 1},
        {"last row reached by next", [](auto& d) { d.moveBy(3); }, 5, false, false, "4005", 1},
        {"next from the last row", [](auto& d) { d.next(); }, 5, false, true, "4005", 1},
    };
    for (const auto& step : steps) {
        const int before = scrolls;
        step.run(list);
        EXPECT_EQ(list.recNo(), step.recNo) << step.action;
        EXPECT_EQ(list.bof(), step.bof) << step.action;
        EXPECT_EQ(list.eof(), step.eof) << step.action;
        EXPECT_EQ(current(), step.zkzh) << step.action;
        EXPECT_EQ(scrolls - before, step.scrolled) << step.action;
        EXPECT_EQ(list.recordCount(), 5) << step.action;
    }
}

TEST_F(RecordsetTest, EmptyResultHasNoRowAndBothFlags)
{
    list.setCommandText("select zkzh, tttt, xm from t_omr where zkzh like '9%'");
    list.open();
    EXPECT_TRUE(list.active());
    EXPECT_TRUE(list.isEmpty());
    EXPECT_TRUE(list.bof());
    EXPECT_TRUE(list.eof());
    EXPECT_EQ(list.recNo(), -1);
    EXPECT_EQ(list.recordCount(), 0);
    EXPECT_EQ(list.currentViewRow(), -1);
    EXPECT_EQ(scrolls, 0) << "opening an empty result is no scroll";
    list.next();
    list.prior();
    EXPECT_EQ(list.recNo(), -1);
    EXPECT_EQ(errorOf([&] { list.fieldValue("zkzh"); }),
              "Main_AdoSet: Either BOF or EOF is True, or the current record has been deleted. Requested operation "
              "requires a current record");
    EXPECT_EQ(list.fieldNames(), (std::vector<std::string>{"zkzh", "tttt", "xm"}));
}

TEST_F(RecordsetTest, ClosedDataSetRefusesWithItsName)
{
    const std::string closed = "Main_AdoSet: Cannot perform this operation on a closed dataset";
    const std::pair<const char*, std::function<void()>> refused[] = {
        {"recNo", [&] { list.recNo(); }},
        {"recordCount", [&] { list.recordCount(); }},
        {"first", [&] { list.first(); }},
        {"next", [&] { list.next(); }},
        {"fieldValue", [&] { list.fieldValue("zkzh"); }},
        {"viewValue", [&] { list.viewValue(0, 0); }},
        {"bookmark", [&] { list.bookmark(); }},
        {"clone", [&] { list.cloneReadOnly(); }},
        {"sort", [&] { list.setSort("zkzh"); }},
        {"findEqual", [&] { list.findEqual("zkzh", "4001"); }},
        {"edit", [&] { list.edit(); }},
    };
    for (const auto& [what, action] : refused)
        EXPECT_EQ(errorOf(action), closed) << what;
    // Asking whether it is at an end or empty is no error.
    EXPECT_TRUE(list.bof() && list.eof() && list.isEmpty());

    list.open();
    list.close();
    EXPECT_EQ(errorOf([&] { list.recordCount(); }), closed);

    ado::TADODataSet unnamed;
    EXPECT_EQ(errorOf([&] { unnamed.recNo(); }), "Cannot perform this operation on a closed dataset");
}

TEST_F(RecordsetTest, OpenFailuresLeaveTheDataSetClosed)
{
    list.setCommandText("select zkzh from t_nosuch");
    EXPECT_EQ(errorOf([&] { list.open(); }), "no such table: t_nosuch") << "provider errors carry no name";
    EXPECT_FALSE(list.active());

    ado::TADODataSet unbound("Main_AdoSet");
    unbound.setCommandText("select 1");
    EXPECT_EQ(errorOf([&] { unbound.open(); }), "Main_AdoSet: Missing Connection or ConnectionString");
}

TEST_F(RecordsetTest, FieldsReadByNameOrIndexKeepNullApartFromEmpty)
{
    list.open();
    EXPECT_EQ(list.fieldIndex("TTTT"), 1);
    EXPECT_EQ(list.fieldIndex("nope"), -1);
    EXPECT_EQ(list.fieldValue("tttt"), std::nullopt);
    EXPECT_EQ(list.fieldText("tttt"), "");
    list.next();
    EXPECT_EQ(list.fieldValue(1), std::string());
    EXPECT_EQ(list.viewValue(2, 1), "35");
    EXPECT_EQ(list.viewValue(4, 2), "E");
    EXPECT_EQ(errorOf([&] { list.fieldValue("nope"); }), "Main_AdoSet: Field 'nope' not found");
    EXPECT_EQ(errorOf([&] { list.viewValue(5, 0); }), "Main_AdoSet: Row 5 out of range");
}

TEST_F(RecordsetTest, BookmarksReturnToTheirRow)
{
    list.open();
    list.moveBy(3);
    const auto mark = list.bookmark();
    EXPECT_EQ(list.bookmarkAt(3), mark);
    list.first();
    const int before = scrolls;
    list.gotoBookmark(mark);
    EXPECT_EQ(current(), "4004");
    EXPECT_FALSE(list.bof() || list.eof());
    EXPECT_EQ(scrolls - before, 1);

    // Landing on the first or last row by bookmark is not being at an end.
    list.gotoBookmark(list.bookmarkAt(0));
    EXPECT_FALSE(list.bof());
    list.gotoBookmark(list.bookmarkAt(4));
    EXPECT_FALSE(list.eof());

    EXPECT_EQ(errorOf([&] { list.gotoBookmark(99); }), "Main_AdoSet: Bookmark not found");
    EXPECT_EQ(current(), "4005");
}

TEST_F(RecordsetTest, QueryExecutesWithItsParametersAndReportsRowsAffected)
{
    ado::TADOQuery save("Save_ADOQ");
    save.setConnection(&db.connection());
    save.clearSql();
    save.setSql("update t_omr set tttt='1''2' where zkzh like :p");
    save.setParameter(0, std::string("400%"));
    EXPECT_EQ(save.execSql(), 5);

    list.open();
    EXPECT_EQ(list.fieldText("tttt"), "1'2");

    ado::TADOQuery unbound("Save_ADOQ");
    unbound.setSql("update t_omr set tttt='1'");
    EXPECT_EQ(errorOf([&] { unbound.execSql(); }), "Save_ADOQ: Missing Connection or ConnectionString");
}

} // namespace
