// The journal's CSV file read back byte for byte: the byte-order mark, the heading row, NULL
// scores as empty fields, and commas, quotes and line breaks inside fields kept intact.
#include "exam/JournalTable.hpp"
#include "plain/TempDir.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace skorvin;

namespace {

std::string readAll(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(JournalCsv, KeepsEveryFieldIntactForASpreadsheet)
{
    test::TempDir dir;
    const std::vector<journal::JournalRecord> records = {
        {2, "2026-12-10 14:04:00 +0800", "pc1", "clerk", gbk::fromUtf8("11-北京市,\"东城\"\r\n二部"), "4001",
         std::string("27.5"), std::nullopt, "undo", "refused", "stored score changed since the save"},
        {1, "2026-12-10 14:03:05 +0800", gbk::fromUtf8("教务处"), "clerk", "11", "4001'7", std::nullopt,
         std::string("23"), "save", "failed", "disk I/O error\nat line 2"},
    };
    // A name GBK cannot hold is kept as it is.
    const auto file = dir / std::filesystem::path(u8"登分日志한국.csv");
    exam::writeJournalCsv(file, records);
    EXPECT_EQ(readAll(file), "\xEF\xBB\xBF"
                             "时间,计算机,用户,单位,准考证号,原分数,新分数,操作,结果,说明\r\n"
                             "2026-12-10 14:04:00 +0800,pc1,clerk,\"11-北京市,\"\"东城\"\"\r\n二部\",4001,27.5,,"
                             "撤销,未执行,stored score changed since the save\r\n"
                             "2026-12-10 14:03:05 +0800,教务处,clerk,11,4001'7,,23,保存,失败,\"disk I/O error\n"
                             "at line 2\"\r\n");
}

TEST(JournalCsv, AFileThatCannotBeWrittenIsReported)
{
    test::TempDir dir;
    EXPECT_THROW(exam::writeJournalCsv(dir / "missing" / "journal.csv", {}), EFCreateError);
}

} // namespace
