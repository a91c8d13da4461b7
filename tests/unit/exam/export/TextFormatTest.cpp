#include "ExportFixture.hpp"
#include "exam/CandidateList.hpp"
#include "exam/ExportFileName.hpp"
#include "exam/TDataGridExport.hpp"
#include "platform/Exception.hpp"

#include <functional>

using namespace skorvin;
using namespace skorvin::exam;
using skorvin::test::ExportTest;
using skorvin::test::PlainGrid;
using skorvin::test::StringStream;

namespace {

std::string exportText(PlainGrid& grid)
{
    TDataGridExportAsText exporter;
    exporter.Grid = &grid;
    StringStream out;
    exporter.SendToStream(out, true);
    return out.bytes;
}

struct FormatCase {
    const char* what;
    std::vector<std::string> rows;
    std::function<void(PlainGrid&)> arrange;
    const char* expected; // UTF-8; the file holds its GBK bytes
};

TEST_F(ExportTest, TextFormatCases)
{
    const std::vector<FormatCase> cases = {
        {"a TAB, a line break and quotes in values are written unchanged",
         {"'4001', '1', 'A' || char(9) || 'B'", "'4002', '\"2\"', 'C' || char(13) || char(10) || 'D'"},
         [](PlainGrid&) {},
         "准考证号\t姓名\t主观题分数\r\n4001\tA\tB\t1\r\n4002\tC\r\nD\t\"2\""},
        {"columns in the order shown; a hidden column is left out",
         {"'4001', '1', 'A'", "'4002', NULL, 'B'"},
         [](PlainGrid& g) {
             g.shown = {2, 0};
         },
         "主观题分数\t准考证号\r\n1\t4001\r\n\t4002"},
        {"one column: no TAB anywhere",
         {"'4001', '1', 'A'", "'4002', NULL, ''"},
         [](PlainGrid& g) { g.shown = {1}; },
         "姓名\r\nA\r\n"},
        {"no title row: the first record is the first line",
         {"'4001', '1', 'A'"},
         [](PlainGrid& g) { g.titles = false; },
         "4001\tA\t1"},
        {"footer rows follow the records, a line each",
         {"'4001', '1', 'A'"},
         [](PlainGrid& g) { g.footers = 2; },
         "准考证号\t姓名\t主观题分数\r\n4001\tA\t1\r\nF0zkzh\tF0xm\tF0tttt\r\nF1zkzh\tF1xm\tF1tttt"},
        {"a list without records: the title line alone, no line end",
         {},
         [](PlainGrid&) {},
         "准考证号\t姓名\t主观题分数"},
        {"a title holding a TAB is written unchanged",
         {"'4001', '1', 'A'"},
         [](PlainGrid& g) { g.columns[0].caption = "No\t1"; },
         "No\t1\t姓名\t主观题分数\r\n4001\tA\t1"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.what);
        db.run({"delete from t"});
        addRows(c.rows);
        list.close();
        list.open();
        PlainGrid shaped(list);
        c.arrange(shaped);
        EXPECT_EQ(exportText(shaped), gbk::fromUtf8(c.expected));
    }
}

// The export follows the list as filtered by the display choice, in the list's order.
TEST_F(ExportTest, OnlyTheRecordsTheListShows)
{
    addRows({"'4003', '35', 'C'", "'4001', NULL, 'A'", "'4002', '', 'B'", "'4004', '27.5', 'D'"});
    list.open();
    const std::vector<std::pair<int, const char*>> choices = {
        {0, "准考证号\t姓名\t主观题分数\r\n4001\tA\t\r\n4002\tB\t"},
        {1, "准考证号\t姓名\t主观题分数\r\n4003\tC\t35\r\n4004\tD\t27.5"},
        {2, "准考证号\t姓名\t主观题分数\r\n4001\tA\t\r\n4002\tB\t\r\n4003\tC\t35\r\n4004\tD\t27.5"},
    };
    for (const auto& [choice, expected] : choices) {
        SCOPED_TRACE(choice);
        ApplyStatusFilter(list, choice);
        EXPECT_EQ(exportText(grid), gbk::fromUtf8(expected));
    }
}

TEST_F(ExportTest, OnlyTheWholeGridIsExported)
{
    addNumbered(3);
    list.open();
    TDataGridExportAsText exporter;
    exporter.Grid = &grid;
    StringStream out;
    EXPECT_THROW(exporter.SendToStream(out, false), Exception);
    EXPECT_EQ(out.bytes, "");
    EXPECT_FALSE(list.controlsDisabled());
}

TEST(ProposedExportName, NodeTextDateAndNoCharacterAFileNameCannotHold)
{
    struct Case {
        const char* node;
        const char* date;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"05-北京", "2025-4-5", "05-北京四级登分(2025-4-5)"},
        {"05-北京", "2025/4/5", "05-北京四级登分(2025-4-5)"},
        {"1-a\\b:c*d?e\"f<g>h|i", "5.4.2025", "1-a-b-c-d-e-f-g-h-i四级登分(5.4.2025)"},
        // The second byte of 癨 and of 皘 is "\" and "|": a character is never cut in two.
        {"11-癨皘", "2025/4/5", "11-癨皘四级登分(2025-4-5)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(ProposedExportName(gbk::fromUtf8(c.node), gbk::fromUtf8(c.date)), gbk::fromUtf8(c.expected));
    }
}

} // namespace
