#include "ExportFixture.hpp"
#include "exam/TDataGridExport.hpp"
#include "platform/recordset/DataSetObserver.hpp"

using namespace skorvin;
using namespace skorvin::exam;
using skorvin::test::ExportTest;
using skorvin::test::StringStream;

namespace {

class CountingControl final : public ado::DataSetObserver {
public:
    void dataSetChanged() override { ++changed; }
    void recordLeaving(int) override { ++records; }
    void recordLeft() override {}
    void recordChanged(int) override { ++records; }
    void scrolled() override { ++scrolls; }
    int changed = 0;
    int records = 0;
    int scrolls = 0;
};

void exportToString(ExportGrid& grid)
{
    TDataGridExportAsText exporter;
    exporter.Grid = &grid;
    StringStream out;
    exporter.SendToStream(out, true);
}

// The grid's window of rows and the current record in it, before the export. Afterwards
// the same record is current, and the mark saved is that of the window's middle row.
TEST_F(ExportTest, TheSameRecordIsCurrentAfterwards)
{
    addNumbered(30);
    list.open();
    struct Case {
        const char* what;
        int topRow;
        int windowRows;
        int currentRow;
        int middleRow; // the row whose bookmark is kept
    };
    const std::vector<Case> cases = {
        {"even window, current at its top", 5, 10, 5, 9},
        {"odd window, current at its bottom", 5, 9, 13, 9},
        {"a window of one row", 12, 1, 12, 12},
        {"first record of the list", 0, 10, 0, 4},
        {"last record, window at the end", 20, 10, 29, 24},
        {"the list scrolled away from its current record", 20, 10, 2, 24},
        {"a window cut short by the end of the list", 25, 10, 27, 27},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        grid.topRow = c.topRow;
        grid.windowRows = c.windowRows;
        list.first();
        list.moveBy(c.currentRow);
        const std::string before = current();
        exportToString(grid);
        EXPECT_EQ(current(), before);
        EXPECT_EQ(grid.SavedPositionMark, list.bookmarkAt(c.middleRow));
        EXPECT_FALSE(list.bof() || list.eof());
    }
}

// Attached controls hear nothing while the records are walked and are told once, at the
// end, to read the list again; controls detached by someone else stay detached.
TEST_F(ExportTest, ControlsAreDetachedDuringTheWalk)
{
    addNumbered(8);
    list.open();
    CountingControl control;
    list.addObserver(&control);
    list.moveBy(3);
    control = {};
    scrolls = 0;

    exportToString(grid);
    EXPECT_EQ(control.scrolls, 0);
    EXPECT_EQ(control.changed, 1);
    EXPECT_FALSE(list.controlsDisabled());
    // The list's own after-scroll handler still runs for every move, the last one on the restored record.
    EXPECT_GT(scrolls, 8);

    control = {};
    list.disableControls();
    exportToString(grid);
    EXPECT_TRUE(list.controlsDisabled());
    EXPECT_EQ(control.changed, 0);
    list.enableControls();
    EXPECT_EQ(control.changed, 1);
    EXPECT_EQ(current(), "4004");
    list.removeObserver(&control);
}

} // namespace
