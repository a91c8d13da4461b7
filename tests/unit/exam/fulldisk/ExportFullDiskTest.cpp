// The list export and the journal's CSV on a full disk: a write that fails, at once or after
// part of the bytes, is reported; neither passes for a whole file.
#include "../export/ExportFixture.hpp"
#include "exam/JournalTable.hpp"
#include "exam/TDataGridExport.hpp"
#include "exam/TDataGridExportAsWorkbook.hpp"
#include "plain/Files.hpp"
#include "plain/SmallDisk.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/NativePath.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace skorvin;
using namespace skorvin::exam;

namespace {

struct Space {
    const char* what;
    std::size_t spare;
};
// Both files come to some 30 KiB, so that 8 KiB free lets the first part through.
const Space kSpaces[] = {{"no byte free", 0}, {"8 KiB free", 8 * 1024}};

std::string cannotWrite(const std::filesystem::path& file)
{
    return "Cannot write file \"" + fullPathName(file) + "\". No space left on device";
}

class ExportFullDisk : public test::ExportTest {};

TEST_F(ExportFullDisk, AWriteThatFailsIsReported)
{
    addNumbered(2000);
    list.open();
    list.moveBy(7);
    for (const Space& space : kSpaces) {
        SCOPED_TRACE(space.what);
        test::SmallDisk disk;
        if (!disk.mounted())
            GTEST_SKIP() << disk.whyNot();
        disk.fill(space.spare);
        try {
            ExportGridToFile(exportClassOf<TDataGridExportAsText>, grid, disk / "list.txt", true);
            ADD_FAILURE() << "no error";
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.message(), cannotWrite(disk / "list.txt"));
        }
        EXPECT_EQ(current(), "4008");
        EXPECT_FALSE(list.controlsDisabled());
    }
}

// The workbook is written whole or not at all: an older file of its name stays as it was.
TEST_F(ExportFullDisk, AWorkbookThatDoesNotFitLeavesTheOlderFile)
{
    addNumbered(20000);
    list.open();
    list.moveBy(7);
    const std::string before = current();
    for (const Space& space : kSpaces) {
        SCOPED_TRACE(space.what);
        test::SmallDisk disk;
        if (!disk.mounted())
            GTEST_SKIP() << disk.whyNot();
        test::putFile(disk / "list.xlsx", "older");
        disk.fill(space.spare);
        TDataGridExportAsWorkbook exporter;
        exporter.Grid = &grid;
        try {
            exporter.SendToFile(disk / "list.xlsx", true);
            ADD_FAILURE() << "no error";
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.message(), cannotWrite(disk / "list.xlsx"));
        }
        EXPECT_EQ(test::fileBytes(disk / "list.xlsx"), "older");
        EXPECT_FALSE(std::filesystem::exists(disk / "list.xlsx.part"));
        EXPECT_EQ(current(), before);
        EXPECT_FALSE(list.controlsDisabled());
    }
}

TEST(JournalCsvFullDisk, AWriteThatFailsIsReported)
{
    std::vector<journal::JournalRecord> records;
    for (int i = 0; i < 300; ++i)
        records.push_back({i, "2026-12-10 14:04:00 +0800", "pc1", "clerk", gbk::fromUtf8("11-北京市"),
                           std::to_string(400111050000 + i), std::string("27.5"), std::string("28"), "save", "saved",
                           ""});
    for (const Space& space : kSpaces) {
        SCOPED_TRACE(space.what);
        test::SmallDisk disk;
        if (!disk.mounted())
            GTEST_SKIP() << disk.whyNot();
        disk.fill(space.spare);
        try {
            writeJournalCsv(disk / "journal.csv", records);
            ADD_FAILURE() << "no error";
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.message(), cannotWrite(disk / "journal.csv"));
        }
    }
}

} // namespace
