#include "RecordsetFixture.hpp"

#include <vector>

using namespace skorvin;
using namespace skorvin::test;

namespace {

TEST_F(RecordsetTest, ListFilterTextsSplitTheSnapshotWithoutRunningTheStatementAgain)
{
    int statements = 0;
    db.connection().setStatementListener([&](const std::string&) { ++statements; });
    list.open();
    list.moveBy(2);

    list.setFilter(kUnscored);
    list.setFiltered(true);
    EXPECT_EQ(viewNumbers(), "4001 4002 4004") << "NULL and empty text both count as not entered";
    EXPECT_EQ(list.recNo(), 1);
    EXPECT_TRUE(list.bof());

    list.last();
    list.setFilter(kScored);
    EXPECT_EQ(viewNumbers(), "4003 4005");
    EXPECT_EQ(current(), "4003") << "a new filter text rewinds to the first row";

    list.setFiltered(false);
    EXPECT_EQ(viewNumbers(), "4001 4002 4003 4004 4005");
    EXPECT_EQ(list.filter(), kScored) << "switching off keeps the text for next time";
    list.setFiltered(true);
    EXPECT_EQ(viewNumbers(), "4003 4005");
    EXPECT_EQ(statements, 1);
}

TEST_F(RecordsetTest, FilterThatAdmitsNothingLeavesAnEmptyOpenView)
{
    list.open();
    list.setFilter("zkzh = '9999'");
    list.setFiltered(true);
    EXPECT_EQ(list.recNo(), -1);
    EXPECT_EQ(list.recordCount(), 0);
    EXPECT_TRUE(list.bof() && list.eof() && list.isEmpty());
}

TEST_F(RecordsetTest, UnreadableFilterFailsAndTheFilterInForceStays)
{
    list.open();
    list.setFilter(kUnscored);
    list.setFiltered(true);
    list.next();

    EXPECT_EQ(errorOf([&] {
                  list.setFilter("tttt = = '1'");
              }).rfind("Main_AdoSet: Cannot use the filter \"tttt = = '1'\": ", 0),
              0u);
    EXPECT_EQ(errorOf([&] {
                  list.setFilter("(tttt = '1' or tttt = '2') and zkzh = '4001'");
              }).rfind("Main_AdoSet: Cannot use the filter ", 0),
              0u);
    EXPECT_EQ(errorOf([&] { list.setFilter("score = '1'"); }),
              "Main_AdoSet: Cannot use the filter \"score = '1'\": Field 'score' not found");
    EXPECT_EQ(list.filter(), kUnscored);
    EXPECT_EQ(viewNumbers(), "4001 4002 4004");
    EXPECT_EQ(current(), "4002") << "a refused filter does not move the list";
}

TEST_F(RecordsetTest, FilterSetWhileClosedAppliesWhenOpened)
{
    list.setFilter(kScored);
    list.setFiltered(true);
    list.open();
    EXPECT_EQ(viewNumbers(), "4003 4005");
    EXPECT_EQ(scrolls, 1);

    // A name the statement does not deliver is only known to be wrong once rows arrive.
    list.close();
    list.setFilter("score = '1'");
    EXPECT_EQ(errorOf([&] { list.open(); }),
              "Main_AdoSet: Cannot use the filter \"score = '1'\": Field 'score' not found");
    EXPECT_FALSE(list.active());
}

// A filter held while closed is bound to the fields of each opening, also when filtering is
// switched on only later (it used to test every row with no field at all).
TEST_F(RecordsetTest, FilterHeldWhileClosedWorksWhenSwitchedOnLater)
{
    list.setFilter(kScored);
    for (const char* sql : {"select zkzh, tttt, xm from t_omr order by zkzh", "select xm, zkzh, tttt from t_omr"}) {
        SCOPED_TRACE(sql);
        list.close();
        list.setFiltered(false);
        list.setCommandText(sql);
        list.open();
        EXPECT_EQ(list.recordCount(), 5);
        list.setFiltered(true);
        EXPECT_EQ(list.recordCount(), 2);
        EXPECT_EQ(current(), "4003");
        list.next();
        EXPECT_EQ(current(), "4005");
    }
}

TEST_F(RecordsetTest, PostedRowLeavesTheFilterAndTheNextRowBecomesCurrent)
{
    list.open();
    list.setFilter(kUnscored);
    list.setFiltered(true);

    list.next(); // 4002, the middle row of 4001 4002 4004
    list.edit();
    list.setFieldValue("tttt", std::string("30"));
    EXPECT_EQ(list.fieldText("tttt"), "30");
    int before = scrolls;
    list.post();
    EXPECT_EQ(viewNumbers(), "4001 4004");
    EXPECT_EQ(current(), "4004");
    EXPECT_EQ(list.recNo(), 2);
    EXPECT_FALSE(list.bof() || list.eof());
    EXPECT_EQ(scrolls - before, 1);

    // The last row leaving makes the previous one current.
    list.edit();
    list.setFieldValue("tttt", std::string("12"));
    list.post();
    EXPECT_EQ(current(), "4001");
    EXPECT_EQ(list.recNo(), 1);

    // The only row leaving empties the view.
    list.edit();
    list.setFieldValue("tttt", std::string("40"));
    list.post();
    EXPECT_EQ(list.recNo(), -1);
    EXPECT_EQ(list.recordCount(), 0);
    EXPECT_TRUE(list.bof() && list.eof());

    // The snapshot holds the posts; the database does not.
    list.setFilter(kScored);
    EXPECT_EQ(viewNumbers(), "4001 4002 4003 4004 4005");
    list.close();
    list.open();
    EXPECT_EQ(viewNumbers(), "4003 4005");
}

TEST_F(RecordsetTest, PendingEditIsPostedByAMoveOrAFilterChangeAndDroppedByCancel)
{
    list.open();
    list.edit();
    list.setFieldValue("xm", std::string("changed"));
    EXPECT_EQ(list.state(), ado::TCustomADODataSet::State::Edit);
    list.next();
    EXPECT_EQ(list.state(), ado::TCustomADODataSet::State::Browse);
    EXPECT_EQ(list.viewValue(0, 2), "changed");

    list.edit();
    list.setFieldValue("tttt", std::string("20"));
    list.setFilter(kScored);
    list.setFiltered(true);
    EXPECT_EQ(viewNumbers(), "4002 4003 4005") << "the pending score was posted before filtering";

    list.last();
    list.edit();
    list.setFieldValue("tttt", std::nullopt);
    list.cancel();
    EXPECT_EQ(list.fieldText("tttt"), "27.5");
    EXPECT_EQ(viewNumbers(), "4002 4003 4005");
    EXPECT_EQ(errorOf([&] { list.setFieldValue("tttt", std::string("1")); }),
              "Main_AdoSet: Dataset not in edit or insert mode");
}

TEST_F(RecordsetTest, DeleteRemovesTheRowFromTheSnapshotOnly)
{
    list.open();
    list.next();
    list.deleteRecord(); // 4002
    EXPECT_EQ(viewNumbers(), "4001 4003 4004 4005");
    EXPECT_EQ(current(), "4003");
    list.last();
    list.deleteRecord();
    EXPECT_EQ(current(), "4004");
    EXPECT_EQ(list.recordCount(), 3);

    const auto deleted = list.bookmarkAt(0);
    list.first();
    list.deleteRecord();
    list.last();
    EXPECT_EQ(errorOf([&] { list.gotoBookmark(deleted); }), "Main_AdoSet: The record has been deleted");
    EXPECT_EQ(current(), "4004");

    // Deleted rows stay out when the filter is switched, and clones never see them.
    list.setFilter(kUnscored);
    list.setFiltered(true);
    EXPECT_EQ(viewNumbers(), "4004");
    EXPECT_EQ(list.cloneReadOnly()->recordCount(), 2);

    list.deleteRecord();
    EXPECT_TRUE(list.bof() && list.eof());
    EXPECT_EQ(errorOf([&] { list.deleteRecord(); }), "Main_AdoSet: Cannot perform this operation on an empty dataset");

    list.close();
    list.open();
    EXPECT_EQ(viewNumbers(), "4001 4002 4004");
}

TEST_F(RecordsetTest, DeletingSeveralRowsEndsWhereDeletingEachInTurnEnds)
{
    const struct {
        const char* what;
        std::vector<int> viewRows; // rows to delete, as positions in the view
        const char* left;
        const char* current;
    } cases[] = {
        {"inner rows", {1, 3}, "4001 4003 4005", "4005"},
        {"the last rows", {3, 4}, "4001 4002 4003", "4003"},
        {"the first row twice", {0, 0}, "4002 4003 4004 4005", "4002"},
        {"every row", {0, 1, 2, 3, 4}, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        list.close();
        list.open();
        std::vector<ado::TCustomADODataSet::Bookmark> marks;
        for (const int row : c.viewRows)
            marks.push_back(list.bookmarkAt(row));
        scrolls = 0;
        list.deleteRecords(marks);
        EXPECT_EQ(viewNumbers(), c.left);
        EXPECT_EQ(list.recordCount() > 0 ? current() : "", c.current);
        EXPECT_EQ(list.bof() && list.eof(), list.recordCount() == 0);
        EXPECT_EQ(scrolls, 1);
        EXPECT_EQ(list.cloneReadOnly()->recordCount(), list.recordCount());
    }
}

TEST_F(RecordsetTest, DeletingSeveralRowsRemovesNoneWhenOneCannotGo)
{
    list.open();
    const auto first = list.bookmarkAt(0);
    const auto second = list.bookmarkAt(1);
    const auto scored = list.bookmarkAt(2); // 4003, hidden by the unscored filter
    list.deleteRecords({first});
    list.setFilter(kUnscored);
    list.setFiltered(true);
    list.last();
    const struct {
        const char* what;
        std::vector<ado::TCustomADODataSet::Bookmark> marks;
        const char* error;
    } cases[] = {
        {"a deleted row", {second, first}, "Main_AdoSet: The record has been deleted"},
        {"a hidden row", {second, scored}, "Main_AdoSet: The record is hidden by the filter"},
        {"an unknown bookmark", {second, 99}, "Main_AdoSet: Bookmark not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(errorOf([&] { list.deleteRecords(c.marks); }), c.error);
        EXPECT_EQ(viewNumbers(), "4002 4004");
        EXPECT_EQ(current(), "4004");
    }
    EXPECT_EQ(errorOf([&] { list.cloneReadOnly()->deleteRecords({second}); }),
              "Main_AdoSet: Cannot modify a read-only dataset");
}

} // namespace
