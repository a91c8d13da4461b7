// The journal's CSV file read back byte for byte: the byte-order mark, the heading row, NULL
// scores as empty fields, and commas, quotes and line breaks inside fields kept intact.
#include "exam/JournalTable.hpp"
#include "plain/TempDir.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

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
                             "时间,计算机,用户,单位,准考证号,原分数,新分数,类别,操作,结果,说明\r\n"
                             "2026-12-10 14:04:00 +0800,pc1,clerk,\"11-北京市,\"\"东城\"\"\r\n二部\",4001,27.5,,"
                             "撤销,撤销,未执行,stored score changed since the save\r\n"
                             "2026-12-10 14:03:05 +0800,教务处,clerk,11,4001'7,,23,登分,保存,失败,\"disk I/O error\n"
                             "at line 2\"\r\n");
}

// Each action reads as its kind and its own name, in the window and in the CSV file alike; the
// kinds the window filters by cover every action once. Entries from before verifications
// existed are saves and undos, and read as such.
TEST(JournalCsv, EveryActionReadsAsItsKind)
{
    const struct {
        const char* action;
        const char* kind;
        const char* name;
    } cases[] = {
        {"save", "登分", "保存"},      {"undo", "撤销", "撤销"},     {"verify", "复核", "复核"},
        {"adopt", "裁定", "采用本次"}, {"keep", "裁定", "保留原分"},
    };
    const auto& headings = exam::journalHeadings();
    const auto column = [&headings](const char* heading) {
        return static_cast<std::size_t>(std::find(headings.begin(), headings.end(), gbk::fromUtf8(heading)) -
                                        headings.begin());
    };
    std::map<std::string, int> covered;
    for (const auto& kind : exam::journalKinds())
        for (const auto& action : kind.actions)
            covered[action] += 1;
    for (const auto& c : cases) {
        journal::JournalRecord record{
            1, "t", "pc1", "clerk", "11", "4001", std::string("12"), std::string("21"), c.action, "saved", ""};
        const auto texts = exam::journalRowTexts(record);
        ASSERT_EQ(texts.size(), headings.size());
        EXPECT_EQ(gbk::toUtf8(texts.at(column("类别"))), c.kind) << c.action;
        EXPECT_EQ(gbk::toUtf8(texts.at(column("操作"))), c.name) << c.action;
        EXPECT_EQ(covered[c.action], 1) << c.action;
    }
    EXPECT_EQ(covered.size(), std::size(cases));
    std::vector<std::string> kinds;
    for (const auto& kind : exam::journalKinds())
        kinds.push_back(gbk::toUtf8(kind.text));
    EXPECT_EQ(kinds, (std::vector<std::string>{"登分", "撤销", "复核", "裁定"}));
}

TEST(JournalCsv, AFileThatCannotBeWrittenIsReported)
{
    test::TempDir dir;
    EXPECT_THROW(exam::writeJournalCsv(dir / "missing" / "journal.csv", {}), EFCreateError);
}

} // namespace
