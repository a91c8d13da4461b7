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

// The window's search without the copy: for every text, whether listed, hidden by the
// filter, deleted, doubled or missing, seekEqual finds the row the sorted clone finds.
TEST_F(RecordsetTest, SeekFindsWhatTheSortedCloneFinds)
{
    db.run({"insert into t_omr values ('4003', '1', 'C2'), ('4000', null, 'Z'), (null, null, 'N'), "
            "('4002', null, 'B2'), ('4006', '', 'F')"});
    list.setCommandText("select zkzh, tttt, xm from t_omr");
    list.open();
    list.setFilter(kUnscored);
    list.setFiltered(true);
    // The first 4002 read goes; its double stays. 4006 goes, and is alone.
    ASSERT_TRUE(list.findEqual("zkzh", "4002"));
    list.deleteRecord();
    ASSERT_TRUE(list.findEqual("zkzh", "4006"));
    list.deleteRecord();
    // A posted name leaves the number index as it was.
    list.first();
    list.edit();
    list.setFieldValue("xm", std::string("renamed"));
    list.post();

    auto sorted = list.cloneReadOnly();
    sorted->setSort("zkzh");
    for (const std::string number : {"4000", "4001", "4002", "4003", "4004", "4005", "4006", "", "400", "40010"}) {
        SCOPED_TRACE("number " + number);
        const bool inClone = sorted->findEqual("zkzh", number);
        const auto found = list.seekEqual("zkzh", number);
        ASSERT_EQ(found.has_value(), inClone);
        if (inClone) {
            EXPECT_EQ(*found, sorted->bookmark());
        }
    }
    EXPECT_EQ(*list.seekEqual("zkzh", "4003"), list.seekEqual("ZKZH", "4003").value()) << "names in any case";
    EXPECT_EQ(errorOf([&] { list.seekEqual("nope", "1"); }), "Main_AdoSet: Field 'nope' not found");

    // A changed number is found under its new text only.
    ASSERT_TRUE(list.findEqual("zkzh", "4004"));
    list.edit();
    list.setFieldValue("zkzh", std::string("4104"));
    list.post();
    EXPECT_FALSE(list.seekEqual("zkzh", "4004"));
    ASSERT_TRUE(list.seekEqual("zkzh", "4104"));
    list.gotoBookmark(*list.seekEqual("zkzh", "4104"));
    EXPECT_EQ(current(), "4104");

    list.close();
    EXPECT_EQ(errorOf([&] { list.seekEqual("zkzh", "4001"); }),
              "Main_AdoSet: Cannot perform this operation on a closed dataset");
}

struct CountingObserver final : ado::DataSetObserver {
    int changed = 0, records = 0, scrolls = 0;
    int lastRecord = -1;
    std::vector<std::string> leaves; // "leaving <row> of <count>", "left <count>", as heard
    const ado::TCustomADODataSet* set = nullptr;
    void dataSetChanged() override { ++changed; }
    void recordLeaving(int viewRow) override
    {
        leaves.push_back("leaving " + std::to_string(viewRow) + " of " + std::to_string(set->recordCount()));
    }
    void recordLeft() override { leaves.push_back("left " + std::to_string(set->recordCount())); }
    void recordChanged(int viewRow) override { ++records, lastRecord = viewRow; }
    void scrolled() override { ++scrolls; }
};

// A row posted out of the filter or deleted is announced as that one row leaving: first while
// the view still holds it, then once it has gone and the next row is current. Nothing asks the
// controls to read the whole view again; deleting several rows still does.
TEST_F(RecordsetTest, OneRowLeavingIsAnnouncedAsThatRow)
{
    CountingObserver seen;
    seen.set = &list;
    list.addObserver(&seen);
    list.open();
    list.setFilter(kUnscored);
    list.setFiltered(true); // 4001 4002 4004
    list.next();
    seen = {};
    seen.set = &list;

    list.edit();
    list.setFieldValue("tttt", std::string("30"));
    list.post();
    EXPECT_EQ(seen.leaves, (std::vector<std::string>{"leaving 1 of 3", "left 2"}));
    EXPECT_EQ(current(), "4004");

    list.deleteRecord();
    EXPECT_EQ(seen.leaves, (std::vector<std::string>{"leaving 1 of 3", "left 2", "leaving 1 of 2", "left 1"}));
    EXPECT_EQ(current(), "4001");
    EXPECT_EQ(seen.changed, 0);

    list.setFiltered(false);
    seen.changed = 0;
    list.deleteRecords({list.bookmarkAt(0), list.bookmarkAt(1)});
    EXPECT_EQ(seen.changed, 1);
    EXPECT_EQ(seen.leaves.size(), 4u);

    // With the controls detached nothing is heard, and enabling them re-reads everything.
    list.disableControls();
    list.edit();
    list.setFieldValue("tttt", std::string("1"));
    list.post();
    list.deleteRecord();
    EXPECT_EQ(seen.leaves.size(), 4u);
    list.enableControls();
    EXPECT_EQ(seen.changed, 2);
    list.removeObserver(&seen);
}

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
