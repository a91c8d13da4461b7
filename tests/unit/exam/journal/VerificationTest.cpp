// Re-keying blind through every backend: the re-keyed score compared with the stored one as
// numbers, a candidate with no score, the three answers to a difference (one of them meeting a
// third operator's change between the comparison and the write), and the verifications read
// back from the journal by the next window.
#include "JournalledSession.hpp"
#include "exam/ScoreEntry.hpp"
#include "platform/Gbk.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace skorvin;
using namespace skorvin::exam;
using namespace skorvin::test;
using Verify = ScoreEntrySession::VerifyOutcome::Kind;
using Change = ScoreEntrySession::ChangeOutcome::Kind;
using Adjudication = ScoreEntrySession::Adjudication;

namespace {

class Verification : public JournalledSession {
protected:
    ScoreEntrySession::VerifyOutcome verify(const std::string& number, const std::string& keyed)
    {
        EXPECT_TRUE(session_->locate(number)) << number;
        return session_->verifyCurrent(keyed);
    }
    void store(const std::string& number, const ado::FieldValue& score)
    {
        other_.execute("update t_omr set tttt = " + (score ? "'" + *score + "'" : std::string("NULL")) +
                       " where zkzh = '" + number + "'");
    }
    bool verified(const std::string& number) { return session_->verified(number, stored(number).value_or("")); }
};

// One re-keyed score against what the database holds: the outcome, the database untouched, and
// what the journal and the verified mark make of it.
TEST_P(Verification, ComparesTheReKeyedScoreWithTheStoredOneAsNumbers)
{
    const struct {
        const char* what;
        ado::FieldValue stored; // what the database holds when the score is re-keyed
        const char* keyed;      // the score box's text
        Verify kind;
    } cases[] = {
        {"the same text", "12", "12", Verify::Verified},
        {"a trailing zero keyed", "12", "12.0", Verify::Verified},
        {"a bare point keyed", "12", "12.", Verify::Verified},
        {"a trailing zero stored", "12.50", "12.5", Verify::Verified},
        {"a leading zero stored", "07", "7", Verify::Verified},
        {"digits swapped", "38", "83", Verify::Differs},
        {"a point lost", "12.5", "125", Verify::Differs},
        {"no score", std::nullopt, "12", Verify::NotEntered},
        {"the empty text", "", "12", Verify::NotEntered},
    };
    const std::string& number = scored_;
    std::size_t verifications = 0;
    for (const auto& c : cases) {
        store(number, c.stored);
        const auto outcome = verify(number, c.keyed);
        EXPECT_EQ(outcome.kind, c.kind) << c.what;
        EXPECT_EQ(outcome.number, number) << c.what;
        EXPECT_EQ(stored(number), c.stored) << c.what;
        EXPECT_EQ(verified(number), c.kind == Verify::Verified) << c.what;
        if (c.kind == Verify::Differs) {
            EXPECT_EQ(outcome.stored, *c.stored) << c.what;
            EXPECT_EQ(outcome.keyed, scoreTextToStore(c.keyed)) << c.what;
        }
        verifications += c.kind == Verify::Verified ? 1 : 0;
        // Only an equal score is journaled; the list row shows what the database holds.
        const auto records = entries();
        ASSERT_EQ(records.size(), verifications) << c.what;
        if (c.kind == Verify::Verified) {
            const Seen expected{"verify", "saved", number, c.stored, scoreTextToStore(c.keyed)};
            EXPECT_EQ(seen({records.front()}), std::vector<Seen>{expected}) << c.what;
            EXPECT_EQ(session_->Main_AdoSet.fieldValue("tttt"), c.stored) << c.what;
        }
    }
    // A candidate who left the database since the list was read.
    other_.execute("delete from t_omr where zkzh = '" + unscored_[0] + "'");
    EXPECT_EQ(verify(unscored_[0], "12").kind, Verify::Gone);
    EXPECT_EQ(entries().size(), verifications);
    EXPECT_EQ(session_->journal().lastSave(), nullptr);
}

// A difference settled: adopted (the re-keyed score written through the save's compare-and-set,
// with a third operator's change in between in one case), or the stored score kept.
TEST_P(Verification, SettlesADifferenceAsTheOperatorSays)
{
    const ado::FieldValue null;
    const struct {
        const char* what;
        Adjudication choice;
        ado::FieldValue third; // what a third operator stores after the comparison; nullopt: nothing
        bool thirdStores;
        Change kind;
        ado::FieldValue after; // what the database holds afterwards
        std::vector<Seen> journaled;
        bool verified;
    } cases[] = {
        {"adopted",
         Adjudication::Adopt,
         null,
         false,
         Change::Applied,
         "21",
         {{"adopt", "saved", scored_, "12", "21"}},
         true},
        {"kept",
         Adjudication::Keep,
         null,
         false,
         Change::Applied,
         "12",
         {{"keep", "saved", scored_, "12", "21"}},
         true},
        {"adopted over a third operator's score",
         Adjudication::Adopt,
         "30",
         true,
         Change::Conflict,
         "30",
         {{"adopt", "refused", scored_, "30", "21"}},
         false},
        {"adopted after the third operator cleared it",
         Adjudication::Adopt,
         null,
         true,
         Change::Conflict,
         null,
         {{"adopt", "refused", scored_, null, "21"}},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        store(scored_, "12");
        const std::size_t before = entries().size();
        const auto differs = verify(scored_, "21");
        ASSERT_EQ(differs.kind, Verify::Differs);
        if (c.thirdStores)
            store(scored_, c.third);
        const auto outcome = session_->adjudicate(differs, c.choice, false);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(stored(scored_), c.after);
        auto records = entries();
        records.resize(records.size() - before);
        EXPECT_EQ(seen(records), c.journaled);
        EXPECT_EQ(verified(scored_), c.verified);
        if (c.kind == Change::Conflict) {
            // As after a save's conflict: the operator's Yes writes the re-keyed score after all.
            EXPECT_EQ(outcome.stored, c.third.value_or(""));
            EXPECT_EQ(session_->adjudicate(differs, Adjudication::Adopt, true).kind, Change::Applied);
            EXPECT_EQ(stored(scored_), ado::FieldValue("21"));
            EXPECT_TRUE(verified(scored_));
        }
    }
}

TEST_P(Verification, UndoTakesBackAnAdoptedScoreAndItsVerification)
{
    store(scored_, "12");
    const auto differs = verify(scored_, "21");
    ASSERT_EQ(differs.kind, Verify::Differs);
    ASSERT_EQ(session_->adjudicate(differs, Adjudication::Keep, false).kind, Change::Applied);
    // Keeping the stored score wrote nothing, so there is nothing to undo.
    EXPECT_EQ(session_->journal().lastSave(), nullptr);
    const auto again = verify(scored_, "21");
    ASSERT_EQ(again.kind, Verify::Differs);
    ASSERT_EQ(session_->adjudicate(again, Adjudication::Adopt, false).kind, Change::Applied);
    EXPECT_TRUE(verified(scored_));

    EXPECT_EQ(session_->undoLastSave(false).kind, Change::Applied);
    EXPECT_EQ(stored(scored_), ado::FieldValue("12"));
    EXPECT_EQ(session_->Main_AdoSet.fieldValue("tttt"), ado::FieldValue("12"));
    // The score the adoption confirmed is gone again.
    EXPECT_FALSE(verified(scored_));
    EXPECT_EQ(seen({entries().front()}), (std::vector<Seen>{{"undo", "saved", scored_, "21", "12"}}));
}

// The next window on this computer knows what was verified from the journal; a score saved
// since a verification is no longer verified.
TEST_P(Verification, TheNextWindowReadsTheVerificationsBack)
{
    const std::string& a = unscored_[0];
    const std::string& b = unscored_[1];
    store(scored_, "12");
    store(a, "7.5");
    store(b, "20");
    EXPECT_EQ(verify(scored_, "12.0").kind, Verify::Verified);
    const auto differs = verify(a, "5.7");
    ASSERT_EQ(differs.kind, Verify::Differs);
    EXPECT_EQ(session_->adjudicate(differs, Adjudication::Adopt, false).kind, Change::Applied);
    EXPECT_EQ(verify(b, "20").kind, Verify::Verified);
    store(b, "21");

    session_ = std::make_unique<ScoreEntrySession>(state_, HostFiles::in(gbk::fromUtf8((dir_ / "").string())));
    EXPECT_EQ(session_->verifications().confirmedScores(),
              (std::map<std::string, std::string>{{scored_, "12"}, {a, "5.7"}, {b, "20"}}));
    EXPECT_TRUE(verified(scored_));
    EXPECT_TRUE(verified(a));
    EXPECT_FALSE(verified(b));
    EXPECT_FALSE(session_->verified(unscored_[0], ""));
}

// In 复核 the tree counts verified of entered: each verification, adjudication, save and undo
// moves the counts of the candidate's nodes as a fresh read of the database and the journal
// would count them.
TEST_P(Verification, TheTreeCountsVerifiedOfEnteredAsTheyChange)
{
    const std::string& a = unscored_[0];
    const std::string& b = unscored_[1];
    store(scored_, "12");
    store(a, "7.5");
    session_->readProgress(tree_);
    session_->countVerified(true);
    const auto at = [this](int node) { return session_->verifiedProgress().count(node).value_or(NodeCount{-1, -1}); };
    const NodeCount start = at(node_);
    ASSERT_GE(start.total, 2);

    const auto adjudicate = [&](const std::string& number, const char* keyed, Adjudication choice) {
        const auto differs = verify(number, keyed);
        ASSERT_EQ(differs.kind, Verify::Differs);
        ASSERT_EQ(session_->adjudicate(differs, choice, false).kind, Change::Applied);
    };
    const struct {
        const char* what;
        std::function<void()> step;
        NodeCount change; // verified, entered: against the start
    } steps[] = {
        {"verified", [&] { EXPECT_EQ(verify(scored_, "12.0").kind, Verify::Verified); }, {1, 0}},
        {"verified again", [&] { EXPECT_EQ(verify(scored_, "12").kind, Verify::Verified); }, {1, 0}},
        {"a difference kept", [&] { adjudicate(a, "5.7", Adjudication::Keep); }, {2, 0}},
        {"a difference adopted", [&] { adjudicate(a, "5.7", Adjudication::Adopt); }, {2, 0}},
        {"the adoption undone", [&] { EXPECT_EQ(session_->undoLastSave(false).kind, Change::Applied); }, {1, 0}},
        {"a new candidate saved", [&] { EXPECT_EQ(save(b, "9"), Change::Applied); }, {1, 1}},
        {"a verified score changed", [&] { EXPECT_EQ(save(scored_, "13"), Change::Applied); }, {0, 1}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.step();
        std::vector<NodeCount> kept;
        for (int node = 0; node < tree_.size(); ++node)
            kept.push_back(at(node));
        EXPECT_EQ(kept[static_cast<std::size_t>(node_)],
                  (NodeCount{start.done + s.change.done, start.total + s.change.total}));
        session_->readProgress(tree_);
        for (int node = 0; node < tree_.size(); ++node)
            EXPECT_EQ(kept[static_cast<std::size_t>(node)], at(node)) << "node " << node;
    }
    session_->countVerified(false);
    EXPECT_FALSE(session_->verifiedProgress().count(node_));
}

INSTANTIATE_TEST_SUITE_P(Backends, Verification, ::testing::ValuesIn(kBackends), backendName);

} // namespace
