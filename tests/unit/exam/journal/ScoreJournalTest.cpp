// The journal behind the score window through every backend: an entry for each save, refusal,
// failure and undo, undo back through several saves (a NULL restored as NULL, a score another
// operator changed in between never silently undone), and scoring with the journal off.
#include "JournalledSession.hpp"
#include "platform/Gbk.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

using namespace skorvin;
using namespace skorvin::exam;
using namespace skorvin::test;
using Kind = ScoreEntrySession::ChangeOutcome::Kind;

namespace {

TEST_P(JournalledSession, EverySaveIsJournaledWithItsOutcome)
{
    const std::string& a = unscored_[0];
    const std::string& b = unscored_[1];
    EXPECT_EQ(save(a, "23."), Kind::Applied);
    otherOperatorStores(scored_, "5");
    EXPECT_EQ(save(scored_, "30"), Kind::Conflict);
    EXPECT_EQ(save(scored_, "30", true), Kind::Applied);
    other_.execute("delete from t_omr where zkzh = '" + b + "'");
    EXPECT_EQ(save(b, "12"), Kind::Gone);

    const auto records = entries();
    EXPECT_EQ(seen(records), (std::vector<Seen>{
                                 {"save", "saved", a, std::nullopt, "23"},
                                 {"save", "refused", scored_, "5", "30"},
                                 {"save", "saved", scored_, "5", "30"},
                                 {"save", "failed", b, std::nullopt, "12"},
                             }));
    const std::regex stamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d [+-]\d{4})");
    for (const auto& record : records) {
        EXPECT_TRUE(std::regex_match(record.time, stamp)) << record.time;
        EXPECT_EQ(record.organisation, tree_.node(node_).text);
        EXPECT_FALSE(record.host.empty());
        EXPECT_FALSE(record.user.empty());
    }
}

TEST_P(JournalledSession, AProviderFailureIsJournaledWithItsText)
{
    ASSERT_TRUE(session_->locate(unscored_[0]));
    other_.execute("alter table t_omr rename to t_omr_away");
    std::string message;
    try {
        session_->storeCurrent("23", false);
        ADD_FAILURE() << "the save did not fail";
    } catch (const std::exception& e) {
        message = e.what();
    }
    const auto records = entries();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].outcome, "failed");
    EXPECT_EQ(records[0].detail, message);
    EXPECT_FALSE(message.empty());
}

TEST_P(JournalledSession, UndoWalksBackThroughThisWindowsSaves)
{
    const std::string& a = unscored_[0];
    const ado::FieldValue scoredBefore = stored(scored_);
    EXPECT_EQ(save(a, "23"), Kind::Applied);
    EXPECT_EQ(save(scored_, "31"), Kind::Applied);
    EXPECT_EQ(save(a, "30"), Kind::Applied);

    const std::pair<std::string, ado::FieldValue> expected[] = {{a, "23"}, {scored_, scoredBefore}, {a, std::nullopt}};
    for (const auto& [number, restored] : expected) {
        ASSERT_NE(session_->journal().lastSave(), nullptr);
        EXPECT_EQ(session_->journal().lastSave()->number, number);
        EXPECT_EQ(session_->undoLastSave(false).kind, Kind::Applied);
        EXPECT_EQ(stored(number), restored) << number;
        // The list row follows, and the undone candidate is the current row.
        EXPECT_EQ(session_->Main_AdoSet.fieldText("zkzh"), number);
        EXPECT_EQ(session_->Main_AdoSet.fieldValue("tttt"), restored);
    }
    EXPECT_EQ(session_->journal().lastSave(), nullptr);
    const auto records = seen(entries());
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[3], (Seen{"undo", "saved", a, "30", "23"}));
    EXPECT_EQ(records[5], (Seen{"undo", "saved", a, "23", std::nullopt}));
}

TEST_P(JournalledSession, AScoreChangedSinceTheSaveIsNeverSilentlyUndone)
{
    const std::string& a = unscored_[0];
    const std::string& b = unscored_[1];
    EXPECT_EQ(save(a, "23"), Kind::Applied);
    EXPECT_EQ(save(b, "24"), Kind::Applied);

    otherOperatorStores(b, "11");
    auto outcome = session_->undoLastSave(false);
    EXPECT_EQ(outcome.kind, Kind::Conflict);
    EXPECT_EQ(outcome.stored, "11");
    EXPECT_EQ(stored(b), ado::FieldValue("11"));
    // The operator keeps the other's score: that save leaves the undo list, the row shows "11".
    session_->keepStoredOnUndo(outcome.stored);
    EXPECT_EQ(session_->Main_AdoSet.fieldText("tttt"), "11");
    ASSERT_NE(session_->journal().lastSave(), nullptr);
    EXPECT_EQ(session_->journal().lastSave()->number, a);

    otherOperatorStores(a, "12");
    EXPECT_EQ(session_->undoLastSave(false).kind, Kind::Conflict);
    // The operator replaces it after all.
    EXPECT_EQ(session_->undoLastSave(true).kind, Kind::Applied);
    EXPECT_EQ(stored(a), std::nullopt);

    const auto records = seen(entries());
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[2], (Seen{"undo", "refused", b, "11", std::nullopt}));
    EXPECT_EQ(records[4], (Seen{"undo", "saved", a, "12", std::nullopt}));
}

// The operator moved on to another organisation: the undo reaches the database, and the list
// of the other organisation stays on its row.
TEST_P(JournalledSession, UndoOfACandidateNotListedLeavesTheListAlone)
{
    const std::string& a = unscored_[0];
    EXPECT_EQ(save(a, "23"), Kind::Applied);
    int other = -1;
    for (int node = 0; node < tree_.size() && other < 0; ++node)
        if (node != node_ && tree_.node(node).text.substr(0, 3) != tree_.node(node_).text.substr(0, 3) &&
            tree_.selection(node).level == 1)
            other = node;
    ASSERT_GE(other, 0);
    session_->selectNode(tree_.selection(other), 0);
    auto& list = session_->Main_AdoSet;
    ASSERT_GT(list.recordCount(), 2);
    list.moveBy(2);
    const std::string current = list.fieldText("zkzh");

    EXPECT_EQ(session_->undoLastSave(false).kind, Kind::Applied);
    EXPECT_EQ(stored(a), std::nullopt);
    EXPECT_EQ(list.fieldText("zkzh"), current);
}

TEST_P(JournalledSession, AJournalThatCannotBeOpenedNeverStopsScoring)
{
    // A folder where the journal file should be: nothing can open it.
    session_.reset();
    const std::filesystem::path file = dir_ / std::filesystem::path(u8"登分日志.sqlite");
    for (const char* suffix : {"", "-wal", "-shm"})
        std::filesystem::remove(std::filesystem::path(file) += suffix);
    std::filesystem::create_directory(file);
    session_ = std::make_unique<ScoreEntrySession>(state_, HostFiles::in(gbk::fromUtf8((dir_ / "").string())));
    session_->bind();
    session_->selectNode(tree_.selection(node_), 2);

    EXPECT_FALSE(session_->journal().on());
    EXPECT_FALSE(session_->journal().offReason().empty());
    EXPECT_TRUE(session_->journal().takeOffNotice());
    EXPECT_EQ(save(unscored_[0], "23"), Kind::Applied);
    EXPECT_EQ(save(unscored_[1], "24"), Kind::Applied);
    EXPECT_FALSE(session_->journal().takeOffNotice());
    EXPECT_EQ(stored(unscored_[1]), ado::FieldValue("24"));
    // Undo does not depend on the journal.
    EXPECT_EQ(session_->undoLastSave(false).kind, Kind::Applied);
    EXPECT_EQ(stored(unscored_[1]), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Backends, JournalledSession, ::testing::ValuesIn(kBackends), backendName);

} // namespace
