#include "RecordsetFixture.hpp"

#include <vector>

using namespace skorvin;
using namespace skorvin::test;

namespace {

// The search the window makes for a typed admission number: a read-only clone, sorted on
// zkzh and without the list's filter, then the list moved to the row found.
TEST_F(RecordsetTest, SortedCloneFindsRowsTheListsFilterHides)
{
    list.open();
    list.setFilter(kUnscored);
    list.setFiltered(true);
    list.next();

    auto clone = list.cloneReadOnly();
    EXPECT_EQ(clone->recordCount(), 5) << "a clone carries no filter";
    EXPECT_EQ(clone->recNo(), 1);
    clone->setSort("zkzh");

    ASSERT_TRUE(clone->findEqual("zkzh", "4004"));
    list.gotoBookmark(clone->bookmark());
    EXPECT_EQ(current(), "4004");
    EXPECT_EQ(list.recNo(), 3);

    ASSERT_TRUE(clone->findEqual("zkzh", "4003"));
    EXPECT_EQ(errorOf([&] { list.gotoBookmark(clone->bookmark()); }),
              "Main_AdoSet: The record is hidden by the filter");
    EXPECT_EQ(current(), "4004");

    EXPECT_FALSE(clone->findEqual("zkzh", "400"));
    EXPECT_FALSE(clone->findEqual("zkzh", "40030"));
    EXPECT_EQ(clone->fieldText("zkzh"), "4003") << "a miss leaves the clone where it was";

    EXPECT_EQ(errorOf([&] { clone->edit(); }), "Main_AdoSet: Cannot modify a read-only dataset");
    EXPECT_EQ(errorOf([&] { clone->deleteRecord(); }), "Main_AdoSet: Cannot modify a read-only dataset");

    // Posts through the list are seen by the clone; the clone outlives the list's rows.
    list.edit();
    list.setFieldValue("xm", std::string("new"));
    list.post();
    ASSERT_TRUE(clone->findEqual("zkzh", "4004"));
    EXPECT_EQ(clone->fieldText("xm"), "new");
    list.close();
    EXPECT_EQ(clone->fieldText("xm"), "new");
}

TEST_F(RecordsetTest, SortOrdersNullFirstAndBytesAfterAndFindsTheFirstEqualRow)
{
    db.run({"create table s (k text, v text)",
            "insert into s values ('b', '1'), (null, '2'), ('a', '3'), ('张', '4'), ('a', '5'), ('B', '6')"});
    ado::TADODataSet set("S");
    set.setConnection(&db.connection());
    set.setCommandText("select k, v from s");
    set.open();
    auto values = [&] {
        std::string out;
        for (int r = 0; r < set.recordCount(); ++r)
            out += set.viewValue(r, 1).value_or("?");
        return out;
    };

    set.moveBy(2); // v = 3
    set.setSort("k");
    EXPECT_EQ(values(), "263514");
    EXPECT_EQ(set.fieldText("v"), "3") << "sorting keeps the current row";
    ASSERT_TRUE(set.findEqual("k", "a"));
    EXPECT_EQ(set.fieldText("v"), "3");
    ASSERT_TRUE(set.findEqual("k", "\xD5\xC5")); // "张" in GBK, after every ASCII byte
    EXPECT_EQ(set.fieldText("v"), "4");
    EXPECT_FALSE(set.findEqual("k", ""));

    set.setSort("[K] DESC");
    EXPECT_EQ(values(), "415362");
    ASSERT_TRUE(set.findEqual("k", "a"));
    EXPECT_EQ(set.recNo(), 3);

    set.setSort("");
    EXPECT_EQ(values(), "123456");
    ASSERT_TRUE(set.findEqual("v", "5")) << "an unsorted field is searched too";
    EXPECT_EQ(set.recNo(), 5);

    EXPECT_EQ(errorOf([&] { set.setSort("nope"); }), "S: Field 'nope' not found");
    EXPECT_EQ(errorOf([&] { set.setSort("k, v"); }), "S: Field 'k,' not found");
    EXPECT_EQ(errorOf([&] { set.setSort("k sideways"); }),
              "S: Cannot sort on \"k sideways\": one field name, then ASC or DESC");

    // A posted change of the sorted field reaches the next sort.
    set.first();
    set.edit();
    set.setFieldValue("k", std::string("0"));
    set.post();
    set.setSort("k");
    EXPECT_EQ(values(), "216354");
}

struct CountingObserver final : ado::DataSetObserver {
    int changed = 0, records = 0, scrolls = 0;
    int lastRecord = -1;
    void dataSetChanged() override { ++changed; }
    void recordChanged(int viewRow) override { ++records, lastRecord = viewRow; }
    void scrolled() override { ++scrolls; }
};

TEST_F(RecordsetTest, ObserversHearNothingWhileControlsAreDisabledAndOneChangeAfter)
{
    CountingObserver seen;
    list.addObserver(&seen);
    list.open();
    EXPECT_EQ(seen.changed, 1);
    list.next();
    EXPECT_EQ(seen.scrolls, 1);
    list.edit();
    list.setFieldValue("xm", std::string("x"));
    list.post();
    EXPECT_EQ(seen.lastRecord, 1);

    seen = {};
    scrolls = 0;
    list.disableControls();
    list.disableControls();
    EXPECT_TRUE(list.controlsDisabled());
    list.last();
    list.setFilter(kUnscored);
    list.setFiltered(true);
    list.enableControls();
    EXPECT_TRUE(list.controlsDisabled());
    EXPECT_EQ(seen.changed + seen.records + seen.scrolls, 0);
    // last, the new filter text's rewind, the switch's rewind: the after-scroll handler is no control.
    EXPECT_EQ(scrolls, 3);
    list.enableControls();
    EXPECT_FALSE(list.controlsDisabled());
    EXPECT_EQ(seen.changed, 1);
    EXPECT_EQ(seen.records + seen.scrolls, 0);

    // One enable too many does not leave the count below zero.
    list.enableControls();
    list.disableControls();
    EXPECT_TRUE(list.controlsDisabled());
    list.enableControls();

    list.removeObserver(&seen);
    list.next();
    EXPECT_EQ(seen.scrolls, 0);
}

} // namespace
