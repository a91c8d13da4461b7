#include "exam/StandardInfo.hpp"
#include "plain/ScratchDb.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace skorvin;
using namespace skorvin::exam;
using skorvin::test::ScratchDb;

namespace {

struct Setting {
    const char* name;
    std::optional<std::string> value; // UTF-8; nullopt stores NULL
};

std::string literal(const std::optional<std::string>& value)
{
    return value ? "'" + *value + "'" : "NULL";
}

void writeSettings(ScratchDb& db, const std::vector<Setting>& settings)
{
    db.run({"create table t_setting (ParamName text, ParamValue text)"});
    for (const Setting& s : settings)
        db.run({"insert into t_setting values ('" + std::string(s.name) + "', " + literal(s.value) + ")"});
}

struct SettingsCase {
    const char* what;
    std::vector<Setting> rows;
    std::int32_t jb;
    const char* dm;
    const char* kc; // UTF-8
    const char* date;
    const char* time;
};

TEST(TSysSetting, ReadsEachKeyOnItsOwn)
{
    const SettingsCase cases[] = {
        {"every key present, text passes through in GBK",
         {{"jb", "2"}, {"dm", "1101"}, {"kc", "第一考场"}, {"date", "2026-09-20"}, {"time", "09:00"}},
         2,
         "1101",
         "第一考场",
         "2026-09-20",
         "09:00"},
        {"a jb that is not a whole number keeps 0, the other keys are still read",
         {{"jb", "x"}, {"dm", "1101"}, {"kc", "01"}, {"date", "2026-09-20"}, {"time", "09:00"}},
         0,
         "1101",
         "01",
         "2026-09-20",
         "09:00"},
        {"jb with a trailing blank is not a whole number", {{"jb", "3 "}, {"dm", "110501"}}, 0, "110501", "", "", ""},
        {"a missing kc leaves only kc empty",
         {{"jb", "2"}, {"dm", "1101"}, {"date", "2026-09-20"}},
         2,
         "1101",
         "",
         "2026-09-20",
         ""},
        {"a NULL value keeps the default",
         {{"jb", std::nullopt}, {"dm", std::nullopt}, {"date", "2026-04-01"}},
         0,
         "",
         "",
         "2026-04-01",
         ""},
        {"names match exactly: case and blanks count",
         {{"JB", "2"}, {"dm ", "1101"}, {"Date", "2026-04-01"}},
         0,
         "",
         "",
         "",
         ""},
        {"the first of two rows with the same name wins", {{"dm", "11"}, {"dm", "12"}}, 0, "11", "", "", ""},
        {"an empty table gives the defaults", {}, 0, "", "", "", ""},
    };
    for (const SettingsCase& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDb db;
        writeSettings(db, c.rows);
        const TSysSetting setting(db.connection());
        EXPECT_EQ(setting.jb, c.jb);
        EXPECT_EQ(setting.dm, c.dm);
        EXPECT_EQ(setting.kc, gbk::fromUtf8(c.kc));
        EXPECT_EQ(setting.date, c.date);
        EXPECT_EQ(setting.time, c.time);
    }
}

TEST(TSysSetting, WithoutASettingsTableEveryFieldKeepsItsDefault)
{
    ScratchDb db;
    const TSysSetting setting(db.connection());
    EXPECT_EQ(setting.jb, 0);
    EXPECT_EQ(setting.dm, "");
    EXPECT_EQ(setting.kc, "");
    EXPECT_EQ(setting.date, "");
    EXPECT_EQ(setting.time, "");
}

TEST(TSysSetting, ASettingsTableWithoutTheExpectedColumnsGivesTheDefaults)
{
    ScratchDb db;
    db.run({"create table t_setting (k text, v text)", "insert into t_setting values ('jb', '2')"});
    const TSysSetting setting(db.connection());
    EXPECT_EQ(setting.jb, 0);
    EXPECT_EQ(setting.dm, "");
}

TEST(ComposeReportTitle, YearAndMonthWithoutLeadingZero)
{
    const struct {
        const char* date;
        const char* title; // UTF-8
    } cases[] = {
        {"2026-09-20", "2026年9月全国计算机等级考试"},  {"2026-11-05", "2026年11月全国计算机等级考试"},
        {"2026-10-01", "2026年10月全国计算机等级考试"}, {"2026/04/01", "2026年4月全国计算机等级考试"},
        {"2026-4-1", "2026年4-月全国计算机等级考试"},   {"2026-0", "2026年0月全国计算机等级考试"},
        {"2026", "2026年月全国计算机等级考试"},         {"", "年月全国计算机等级考试"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gbk::toUtf8(ComposeReportTitle(c.date)), c.title) << c.date;
}

struct VersionCase {
    std::vector<std::optional<std::string>> rows;
    std::int32_t generation;
};

TEST(CheckDbVersion, ComparesTheFirstRowsTextByteByByteWith300)
{
    const VersionCase cases[] = {
        {{"3.00"}, 2}, {{"3.01"}, 2},  {{"3.1"}, 2},        {{"2.50"}, 1},         {{"2.99999"}, 1},
        {{""}, 1},     {{"10.00"}, 1}, {{std::nullopt}, 1}, {{"2.00", "3.00"}, 1}, {{}, 1},
    };
    for (const VersionCase& c : cases) {
        ScratchDb db;
        db.run({"create table t_version (dbversion text)"});
        std::string shown;
        for (const auto& row : c.rows) {
            db.run({"insert into t_version values (" + literal(row) + ")"});
            shown += (row ? *row : "NULL") + " ";
        }
        EXPECT_EQ(CheckDbVersion(db.connection()), c.generation) << "rows: " << shown;
    }
}

TEST(CheckDbVersion, AMissingVersionTableIsReportedWithTheProvidersText)
{
    ScratchDb db;
    try {
        CheckDbVersion(db.connection());
        FAIL() << "no error for a missing t_version";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "no such table: t_version");
    }
}

TEST(SiteCodeLength, FourInTheFirstGenerationSixInEveryOther)
{
    EXPECT_EQ(SiteCodeLength(1), 4);
    for (std::int32_t generation : {2, 0, 3, -1})
        EXPECT_EQ(SiteCodeLength(generation), 6) << generation;
}

} // namespace
