// The list export as a workbook, read back as a spreadsheet program reads it.
#include "ExportFixture.hpp"
#include "exam/TDataGridExportAsWorkbook.hpp"
#include "plain/Files.hpp"
#include "plain/TempDir.hpp"
#include "plain/WorkbookReader.hpp"
#include "platform/Exception.hpp"
#include "platform/NativePath.hpp"

#include <filesystem>

using namespace skorvin;
using namespace skorvin::exam;
using skorvin::test::TempDir;
using skorvin::test::WorkbookContent;
using Cell = WorkbookContent::Cell;
namespace fs = std::filesystem;

namespace {

class WorkbookExport : public test::ExportTest {
protected:
    // Writes the list as the score window does, for the organisation "110101-第一考点".
    void exportTo(const fs::path& file, const std::string& sheetName = gbk::fromUtf8("第一考点"))
    {
        TDataGridExportAsWorkbook exporter;
        exporter.Grid = &grid;
        exporter.SheetName = sheetName;
        exporter.NumberFields = {"TTTT"}; // fields match without regard to case
        exporter.ExtraColumns = {{gbk::fromUtf8("机构代码"), "110101"},
                                 {gbk::fromUtf8("机构名称"), gbk::fromUtf8("第一考点")}};
        exporter.SendToFile(file, true);
    }

    WorkbookContent readBack(const fs::path& file)
    {
        std::string why;
        std::optional<WorkbookContent> content = test::readWorkbook(file, why);
        if (!content)
            ADD_FAILURE() << why;
        return content.value_or(WorkbookContent{});
    }

    TempDir dir;
};

TEST_F(WorkbookExport, ReadsBackAsTheGridShowsTheList)
{
    if (const std::optional<std::string> why = test::workbookReaderMissing())
        GTEST_SKIP() << *why;
    addRows({"'411010110001', '37.5', '王小明'", "'411010110002', NULL, '李华'", "'411010110003', ' 40 ', '欧阳建国'",
             "'511010110004', '缺考', '张伟'"});
    list.open();
    list.moveBy(2);
    grid.shown = {0, 2, 1}; // the score column dragged before the name
    exportTo(dir / "list.xlsx");

    const WorkbookContent book = readBack(dir / "list.xlsx");
    EXPECT_EQ(book.sheets, std::vector<std::string>{"第一考点"});
    EXPECT_EQ(book.frozenAt, "A2"); // the title row stays in view
    const std::map<std::string, Cell> expected = {
        {"A1", {'s', true, "准考证号"}},  {"B1", {'s', true, "主观题分数"}},    {"C1", {'s', true, "姓名"}},
        {"D1", {'s', true, "机构代码"}},  {"E1", {'s', true, "机构名称"}},      {"A2", {'s', false, "411010110001"}},
        {"B2", {'n', false, "37.5"}},     {"C2", {'s', false, "王小明"}},       {"D2", {'s', false, "110101"}},
        {"E2", {'s', false, "第一考点"}}, {"A3", {'s', false, "411010110002"}}, {"C3", {'s', false, "李华"}},
        {"D3", {'s', false, "110101"}},   {"E3", {'s', false, "第一考点"}},     {"A4", {'s', false, "411010110003"}},
        {"B4", {'n', false, "40"}},       {"C4", {'s', false, "欧阳建国"}},     {"D4", {'s', false, "110101"}},
        {"E4", {'s', false, "第一考点"}}, {"A5", {'s', false, "511010110004"}}, {"B5", {'s', false, "缺考"}},
        {"C5", {'s', false, "张伟"}},     {"D5", {'s', false, "110101"}},       {"E5", {'s', false, "第一考点"}},
    };
    EXPECT_EQ(book.cells, expected);
    // Wide enough for the longest text: twelve digits, ten bytes of 主观题分数, eight of 欧阳建国.
    EXPECT_GE(book.widths.at("A"), 12);
    EXPECT_GE(book.widths.at("B"), 10);
    EXPECT_GE(book.widths.at("C"), 8);
    EXPECT_LT(book.widths.at("C"), book.widths.at("A"));
    // The walk leaves the list where it was, as the text export does.
    EXPECT_EQ(current(), "411010110003");
    EXPECT_FALSE(list.controlsDisabled());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST_F(WorkbookExport, SheetNamesExcelAccepts)
{
    if (const std::optional<std::string> why = test::workbookReaderMissing())
        GTEST_SKIP() << *why;
    addNumbered(1);
    list.open();
    // 乕 is GBK 81 5B: its second byte is "[" and stays part of it.
    const std::string thirtyFive = "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a/b[1]:*?\\", "a-b-1-----"},
        {"'x'", "-x-"},
        {"乕考点", "乕考点"},
        {thirtyFive, thirtyFive.substr(0, 31 * 3)}, // 31 characters of three UTF-8 bytes
        {"", "Sheet1"},
    };
    for (const auto& [name, sheet] : cases) {
        SCOPED_TRACE(name);
        exportTo(dir / "named.xlsx", gbk::fromUtf8(name));
        EXPECT_EQ(readBack(dir / "named.xlsx").sheets, std::vector<std::string>{sheet});
    }
}

TEST_F(WorkbookExport, AFolderThatTakesNoFileLeavesNothing)
{
    addNumbered(3);
    list.open();
    const fs::path file = dir / "missing" / "list.xlsx";
    try {
        exportTo(file);
        FAIL() << "exported";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.message(), "Cannot create file \"" + fullPathName(file) + "\". No such file or directory");
    }
    EXPECT_FALSE(list.controlsDisabled());
}

TEST_F(WorkbookExport, ADatasetFailingMidwayLeavesTheOlderFileWhole)
{
    addNumbered(5);
    list.open();
    test::putFile(dir / "list.xlsx", "older");
    int cells = 0;
    struct FailingGrid : test::PlainGrid {
        using PlainGrid::PlainGrid;
        int* count = nullptr;
        std::string cellText(int column) const override
        {
            if (++*count == 7)
                throw EDatabaseError("the connection went away");
            return PlainGrid::cellText(column);
        }
    };
    FailingGrid failing(list);
    failing.count = &cells;
    TDataGridExportAsWorkbook exporter;
    exporter.Grid = &failing;
    EXPECT_THROW(exporter.SendToFile(dir / "list.xlsx", true), EDatabaseError);
    EXPECT_EQ(test::fileBytes(dir / "list.xlsx"), "older");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

} // namespace
