// The journal file: entries read back as written, newest first and filtered, a file that refuses
// to be rewritten, folders it cannot live in, two writers at once and a writer killed mid-run.
#include "platform/journal/JournalFile.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "platform/journal/LocalTime.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace skorvin;
using journal::JournalFile;
using journal::JournalFilter;
using journal::JournalRecord;
namespace fs = std::filesystem;

namespace {

std::string gbkPath(const fs::path& path)
{
    return gbk::fromUtf8(path.string());
}

JournalRecord entry(const std::string& time, const std::string& organisation, const std::string& number,
                    const std::string& detail = {}, const std::string& action = "save")
{
    return {0, time, "pc1", "clerk", organisation, number, std::nullopt, std::string("23"), action, "saved", detail};
}

// Runs one statement on the file through a connection of its own; SQLite's result code.
int runStatement(const fs::path& file, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.string().c_str(), &db);
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return rc;
}

class Journal : public ::testing::Test {
protected:
    fs::path file() const { return dir_ / "journal.sqlite"; }
    test::TempDir dir_;
};

TEST_F(Journal, ReadsBackWhatWasWrittenNewestFirst)
{
    const std::string organisation = gbk::fromUtf8("11-北京市");
    JournalRecord first{0,
                        "2026-12-10 14:03:05 +0800",
                        gbk::fromUtf8("教务处"),
                        "clerk",
                        organisation,
                        "4001",
                        std::nullopt,
                        std::string(""),
                        "undo",
                        "failed",
                        gbk::fromUtf8("连接中断: 'x', \"y\"\r\nz")};
    JournalRecord second = entry("2026-12-10 14:04:00 +0800", organisation, "4002");
    {
        JournalFile journal(gbkPath(file()));
        first.id = journal.append(first);
        second.id = journal.append(second);
        EXPECT_GT(second.id, first.id);
    }
    // Read by a later session: the file keeps NULL apart from the empty score.
    const JournalFile reopened(gbkPath(file()));
    const auto records = reopened.query({});
    ASSERT_EQ(records.size(), 2u);
    const JournalRecord* expected[] = {&second, &first};
    for (std::size_t i = 0; i < 2; ++i) {
        const auto& got = records[i];
        const auto& want = *expected[i];
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(std::tie(got.time, got.host, got.user, got.organisation, got.number, got.before, got.after,
                           got.action, got.outcome, got.detail),
                  std::tie(want.time, want.host, want.user, want.organisation, want.number, want.before, want.after,
                           want.action, want.outcome, want.detail));
    }
}

TEST_F(Journal, FiltersByNumberDateOrganisationAndAction)
{
    JournalFile journal(gbkPath(file()));
    const std::string beijing = gbk::fromUtf8("11-北京市");
    const std::string tianjin = gbk::fromUtf8("12-天津市");
    journal.append(entry("2026-12-09 23:59:59 +0800", beijing, "400100000001"));
    journal.append(entry("2026-12-10 00:00:00 +0800", beijing, "400100000002", {}, "undo"));
    journal.append(entry("2026-12-10 18:30:00 +0800", tianjin, "400200000012", {}, "verify"));
    journal.append(entry("2026-12-11 08:00:00 +0800", tianjin, "400100000012", {}, "keep"));

    struct Case {
        JournalFilter filter;
        std::vector<std::string> numbers; // newest first
    };
    const Case cases[] = {
        {{}, {"400100000012", "400200000012", "400100000002", "400100000001"}},
        {{"0012", "", "", "", {}}, {"400100000012", "400200000012"}},
        {{"4001", "", "", "", {}}, {"400100000012", "400100000002", "400100000001"}},
        {{"", "2026-12-10", "2026-12-10", "", {}}, {"400200000012", "400100000002"}},
        {{"", "2026-12-10", "", "", {}}, {"400100000012", "400200000012", "400100000002"}},
        {{"", "", "2026-12-09", "", {}}, {"400100000001"}},
        {{"", "", "", tianjin, {}}, {"400100000012", "400200000012"}},
        {{"4001", "2026-12-10", "", tianjin, {}}, {"400100000012"}},
        {{"", "", "", "", {"verify"}}, {"400200000012"}},
        {{"", "", "", "", {"adopt", "keep"}}, {"400100000012"}},
        {{"4001", "", "", "", {"save", "undo"}}, {"400100000002", "400100000001"}},
        {{"", "2026-12-10", "", tianjin, {"verify", "save"}}, {"400200000012"}},
        {{"9999", "", "", "", {}}, {}},
        // Filter text is a value, never statement text.
        {{"' or '1'='1", "", "", "", {}}, {}},
        {{"", "", "", "", {"' or '1'='1"}}, {}},
    };
    for (const Case& c : cases) {
        // The window reads the ids and then each entry it shows; the export reads them whole.
        std::vector<std::string> numbers;
        std::vector<std::string> numbersById;
        for (const auto& record : journal.query(c.filter))
            numbers.push_back(record.number);
        for (const auto id : journal.list(c.filter).ids)
            numbersById.push_back(journal.entry(id).number);
        EXPECT_EQ(numbers, c.numbers) << c.filter.number << " " << c.filter.fromDate << ".." << c.filter.toDate;
        EXPECT_EQ(numbersById, c.numbers) << c.filter.number;
    }
    EXPECT_EQ(journal.organisations(), (std::vector<std::string>{beijing, tianjin}));
    EXPECT_TRUE(journal.entry(99).damaged);
}

TEST_F(Journal, IsInWalModeAndRefusesToBeRewritten)
{
    {
        JournalFile journal(gbkPath(file()));
        journal.append(entry("2026-12-10 14:03:05 +0800", "11", "4001"));
    }
    EXPECT_EQ(runStatement(file(), "update journal set score_after='40'"), SQLITE_CONSTRAINT);
    EXPECT_EQ(runStatement(file(), "delete from journal"), SQLITE_CONSTRAINT);
    sqlite3* db = nullptr;
    sqlite3_open(file().string().c_str(), &db);
    sqlite3_stmt* mode = nullptr;
    sqlite3_prepare_v2(db, "pragma journal_mode", -1, &mode, nullptr);
    ASSERT_EQ(sqlite3_step(mode), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0)), "wal");
    sqlite3_finalize(mode);
    sqlite3_close(db);
    EXPECT_EQ(JournalFile(gbkPath(file())).query({}).size(), 1u);
}

TEST_F(Journal, APlaceThatCannotHoldTheFileIsReportedWithTheReason)
{
    std::ofstream(dir_ / "plain-file") << "x";
    fs::create_directory(dir_ / "a-folder.sqlite");
    fs::create_directory(dir_ / "read-only");
    fs::permissions(dir_ / "read-only", fs::perms::owner_read | fs::perms::owner_exec);
    std::ofstream(dir_ / "not-a-journal.sqlite", std::ios::binary) << std::string(4096, 'x');
    // An administrator's account writes in a read-only folder anyway; that case is then moot.
    const bool readOnlyHolds = !std::ofstream(dir_ / "read-only" / "probe");

    const fs::path places[] = {dir_ / "missing" / "journal.sqlite", dir_ / "plain-file" / "journal.sqlite",
                               dir_ / "a-folder.sqlite", dir_ / "not-a-journal.sqlite",
                               dir_ / "read-only" / "journal.sqlite"};
    for (const fs::path& place : places) {
        if (place.parent_path().filename() == "read-only" && !readOnlyHolds)
            continue;
        try {
            JournalFile journal(gbkPath(place));
            journal.append(entry("2026-12-10 14:03:05 +0800", "11", "4001"));
            ADD_FAILURE() << "a journal worked at " << place;
        } catch (const journal::EJournalError& e) {
            EXPECT_FALSE(std::string(e.what()).empty()) << place;
        }
    }
    fs::permissions(dir_ / "read-only", fs::perms::owner_all);
}

// Two score windows on one computer append to the one journal at the same time: every entry of
// both arrives, each once.
TEST_F(Journal, TwoWritersAtOnceLoseNothing)
{
    constexpr int kEach = 150;
    auto write = [this](const std::string& who) {
        JournalFile journal(gbkPath(file()));
        for (int i = 0; i < kEach; ++i)
            journal.append(entry("2026-12-10 14:03:05 +0800", who, who + std::to_string(i)));
    };
    JournalFile(gbkPath(file())); // created before both start, as by the first window
    std::thread first(write, "A");
    std::thread second(write, "B");
    first.join();
    second.join();
    const auto records = JournalFile(gbkPath(file())).query({});
    ASSERT_EQ(records.size(), 2u * kEach);
    std::set<std::string> numbers;
    for (const auto& record : records)
        numbers.insert(record.number);
    EXPECT_EQ(numbers.size(), 2u * kEach);
}

#ifndef _WIN32
// A writer killed while it appends: the file still opens, and the entries it finished are
// there, in order, each whole.
TEST_F(Journal, AWriterKilledMidRunLeavesTheEarlierEntriesIntact)
{
    JournalFile(gbkPath(file()));
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        JournalFile journal(gbkPath(file()));
        for (int i = 0;; ++i)
            journal.append(entry("2026-12-10 14:03:05 +0800", "11", std::to_string(i), std::string(500, 'd')));
    }
    {
        const JournalFile reader(gbkPath(file()));
        while (reader.query({}).size() < 200)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);

    EXPECT_EQ(runStatement(file(), "pragma integrity_check"), SQLITE_OK);
    JournalFile journal(gbkPath(file()));
    const auto records = journal.query({});
    ASSERT_GE(records.size(), 200u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].number, std::to_string(records.size() - 1 - i));
        EXPECT_EQ(records[i].detail, std::string(500, 'd'));
    }
    // And it takes the next entry.
    journal.append(entry("2026-12-10 14:03:05 +0800", "11", "after"));
    EXPECT_EQ(journal.query({}).front().number, "after");
}

// Local time with the zone's offset, across the end of a year and on zones off the full hour.
TEST(LocalTime, CarriesTheZonesOffset)
{
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    const std::time_t newYearsEve = 1798747205; // 2026-12-31 20:00:05 UTC
    const std::pair<const char*, const char*> cases[] = {
        {"UTC0", "2026-12-31 20:00:05 +0000"},    {"CST-8", "2027-01-01 04:00:05 +0800"},
        {"EST5", "2026-12-31 15:00:05 -0500"},    {"NPT-5:45", "2027-01-01 01:45:05 +0545"},
        {"NST3:30", "2026-12-31 16:30:05 -0330"},
    };
    for (const auto& [zone, expected] : cases) {
        setenv("TZ", zone, 1);
        tzset();
        EXPECT_EQ(journal::localTimeWithZone(newYearsEve), expected) << zone;
    }
    if (saved)
        setenv("TZ", previous.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
#endif

} // namespace
