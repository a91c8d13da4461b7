// Journal files this program did not write as they are: one carrying code of another's (triggers
// that never end, that silently drop entries, a view, another table) is refused untouched and
// runs nothing; a damaged one still lists every entry, and the ones it cannot read come back
// marked damaged, counted before they are drawn.
#include "plain/Files.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "platform/journal/JournalFile.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using namespace skorvin;
using journal::JournalFile;
using journal::JournalRecord;
namespace fs = std::filesystem;

namespace {

JournalRecord entry(const std::string& number, const std::string& detail = {})
{
    return {0,
            "2026-12-10 14:03:05 +0800",
            "pc1",
            "clerk",
            "11",
            number,
            std::nullopt,
            std::string("23"),
            "save",
            "saved",
            detail};
}

// Runs statements on the file through a connection of its own, as another program would.
void runStatements(const fs::path& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.string().c_str(), &db);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    const std::string why = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << why << " in " << sql;
}

class ForeignJournal : public ::testing::Test {
protected:
    void SetUp() override { makeJournal(); }
    // A journal of ours with one entry, its WAL folded back into the file.
    void makeJournal() const { JournalFile(gbkPath()).append(entry("4001")); }
    std::string gbkPath() const { return gbk::fromUtf8(file().string()); }
    fs::path file() const { return dir_ / "journal.sqlite"; }
    test::TempDir dir_;
};

TEST_F(ForeignJournal, AFileCarryingAnythingElseIsRefusedUntouchedAndRunsNothing)
{
    struct Case {
        const char* what;
        const char* sql;
    };
    const Case cases[] = {
        {"a trigger that never ends",
         "create trigger busy after insert on journal begin "
         "select count(*) from (with recursive n(x) as (select 1 union all select x + 1 from n) select x from n); "
         "end"},
        {"a trigger that silently drops every entry",
         "create trigger drop_all before insert on journal begin select raise(ignore); end"},
        {"one of our triggers rewritten",
         "drop trigger journal_no_delete; create trigger journal_no_delete before delete on journal "
         "begin select 1; end"},
        {"a view", "create view recent as select * from journal"},
        {"another table", "create table notes (x)"},
        {"another index", "create index journal_number on journal (zkzh)"},
        {"a journal table of another shape",
         "drop table journal; create table journal (id text primary key, time, host, os_user, organisation, zkzh, "
         "score_before, score_after, action, outcome, detail)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(file());
        makeJournal();
        runStatements(file(), std::string("pragma journal_mode=delete; ") + c.sql);
        const auto before = test::fileBytes(file());
        try {
            JournalFile journal(gbkPath());
            journal.append(entry("4002"));
            ADD_FAILURE() << "the journal took an entry";
        } catch (const journal::EJournalError& e) {
            EXPECT_NE(gbk::toUtf8(e.what()).find("不是本程序的登分日志"), std::string::npos) << gbk::toUtf8(e.what());
        }
        EXPECT_EQ(test::fileBytes(file()), before);
        EXPECT_FALSE(fs::exists(dir_ / "journal.sqlite-wal"));
    }
}

TEST_F(ForeignJournal, EntriesWithValuesThisProgramNeverWritesAreDamaged)
{
    // Inserts are what the file allows another program; the values are not ours.
    runStatements(file(), "insert into journal (time, host, os_user, organisation, zkzh, score_before, score_after, "
                          "action, outcome, detail) values "
                          "('t', 'h', 'u', '11', '4002', null, '1', 'erase', 'saved', ''), "
                          "(x'00ff', 'h', 'u', '11', '4003', null, '1', 'save', 'saved', ''), "
                          "('t', 'h', 'u', '11', '4004', null, x'31', 'save', 'saved', ''), "
                          "('t', 'h', 'u', '11', '4005', null, '1', 'save', 'lost', '')");
    JournalFile journal(gbkPath());
    journal.append(entry("4006"));
    const journal::JournalListing listing = journal.list({});
    ASSERT_EQ(listing.ids.size(), 6u);
    EXPECT_EQ(listing.damaged, 4u);
    std::vector<std::string> read;
    for (const std::int64_t id : listing.ids) {
        const JournalRecord record = journal.entry(id);
        EXPECT_EQ(record.id, id);
        read.push_back(record.damaged ? "damaged" : record.number);
        if (record.damaged) {
            EXPECT_FALSE(record.detail.empty());
        }
    }
    const std::vector<std::string> expected = {"4006", "damaged", "damaged", "damaged", "damaged", "4001"};
    EXPECT_EQ(read, expected);
    std::vector<std::string> queried;
    for (const JournalRecord& record : journal.query({}))
        queried.push_back(record.damaged ? "damaged" : record.number);
    EXPECT_EQ(queried, expected);
}

// One long entry whose text runs over to pages of its own, and one of those pages overwritten:
// SQLite finds the file damaged while reading that entry, and only that entry.
TEST_F(ForeignJournal, AnEntryOnADamagedPageIsMarkedAndTheOthersAreRead)
{
    {
        JournalFile journal(gbkPath());
        journal.append(entry("4002", std::string(20000, 'd')));
        journal.append(entry("4003"));
    }
    std::string bytes = *test::fileBytes(file());
    constexpr std::size_t kPage = 4096;
    bool overwritten = false;
    for (std::size_t page = kPage; page + kPage <= bytes.size() && !overwritten; page += kPage) {
        // An overflow page: the number of the next one, then nothing but the long text.
        if (bytes.compare(page + 4, 64, std::string(64, 'd')) == 0 && bytes[page] == 0) {
            bytes.replace(page, 4, "\x7F\xFF\xFF\xFF");
            overwritten = true;
        }
    }
    ASSERT_TRUE(overwritten);
    test::putFile(file(), bytes);

    JournalFile journal(gbkPath());
    const journal::JournalListing listing = journal.list({});
    ASSERT_EQ(listing.ids.size(), 3u);
    EXPECT_EQ(listing.damaged, 1u);
    EXPECT_EQ(journal.entry(listing.ids[0]).number, "4003");
    EXPECT_TRUE(journal.entry(listing.ids[1]).damaged);
    EXPECT_EQ(journal.entry(listing.ids[2]).number, "4001");
    const auto records = journal.query({});
    ASSERT_EQ(records.size(), 3u);
    EXPECT_TRUE(records[1].damaged);
    EXPECT_EQ(records[2].number, "4001");
}

} // namespace
