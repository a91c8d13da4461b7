// The tree's counts of entered and total candidates: what one grouped statement reads for
// every node, held against what each node's own list shows, and how this window's saves,
// undos and conflict answers keep them as a fresh read would find them, on SQLite and
// on PostgreSQL.
#include "exam/EntryProgress.hpp"
#include "exam/ScoreEntrySession.hpp"
#include "plain/DemoDb.hpp"
#include "plain/NativeOdbcDriver.hpp"
#include "plain/PostgresDb.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "platform/Text.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace skorvin;
using namespace skorvin::exam;
using Kind = ScoreEntrySession::ChangeOutcome::Kind;

namespace {

std::vector<std::optional<NodeCount>> everyCount(const TreeCounts& counts, const OrgTree& tree)
{
    std::vector<std::optional<NodeCount>> all;
    for (int node = 0; node < tree.size(); ++node)
        all.push_back(counts.count(node));
    return all;
}

// A score window's session on a demo database, started and counted as the window does.
class Window {
public:
    explicit Window(const std::string& connectionString)
        : connection_(connectionString), session_(state_, HostFiles::in(gbk::fromUtf8((dir_ / "").string())))
    {
        std::ofstream(dir_ / "kavrint.ini", std::ios::binary) << "[ScoreSet]\r\nXs=1\r\nUp=40\r\n";
        connection_.open();
        state_.HostConnection = &connection_;
        session_.bind();
        session_.start(tree_);
        session_.readProgress(tree_);
    }

    ScoreEntrySession& session() { return session_; }
    const OrgTree& tree() const { return tree_; }
    ado::TADOConnection& connection() { return connection_; }
    // The exam site node a candidate's number belongs to.
    int siteOf(const std::string& number) const
    {
        return SelectOrgNode(tree_, 3, text::mid(number, 5, state_.SiteCodeLen));
    }

private:
    test::TempDir dir_;
    ado::TADOConnection connection_;
    ModuleState state_;
    ScoreEntrySession session_;
    OrgTree tree_;
};

class EveryNode : public ::testing::TestWithParam<int> {};

// Each node's count is its own list: all of it the total, what 已登分 shows the done. The demo
// holds absent candidates (q and Q), other levels, empty score texts and names missing from t_bm.
TEST_P(EveryNode, CountsWhatItsListShows)
{
    demodb::Options options = test::DemoDb::smallOptions();
    options.generation = GetParam();
    const test::DemoDb demo(options);
    Window window(demo.connectionString());
    const OrgTree& tree = window.tree();
    ASSERT_GT(tree.size(), 10);
    for (int node = 0; node < tree.size(); ++node) {
        window.session().selectNode(tree.selection(node), 2);
        const auto total = window.session().Main_AdoSet.recordCount();
        window.session().applyDisplayChoice(1);
        const auto done = window.session().Main_AdoSet.recordCount();
        EXPECT_EQ(window.session().progress().count(node), (NodeCount{done, total}))
            << gbk::toUtf8(tree.node(node).text);
    }
    EXPECT_EQ(window.session().progress().count(tree.size()), std::nullopt);
    EXPECT_EQ(window.session().progress().count(-1), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Generations, EveryNode, ::testing::Values(1, 2));

TEST(EntryProgress, CountsNothingWhereTheStatementFails)
{
    const test::DemoDb demo;
    Window window(demo.connectionString());
    ASSERT_TRUE(window.session().progress().count(0));
    window.connection().execute("drop table t_omr");
    EntryProgress progress;
    EXPECT_ANY_THROW(progress.read(window.connection(), window.tree(), 6));
    EXPECT_EQ(progress.count(0), std::nullopt);
    // The window rereading them keeps working, without counts.
    window.session().reread(window.tree(), std::nullopt, 2);
    EXPECT_EQ(window.session().progress().count(0), std::nullopt);
}

enum class Server { Sqlite, Postgres };

constexpr int kSiteCodeLen = 6; // the demo's current schema

class KeptCounts : public ::testing::TestWithParam<Server> {
protected:
    void SetUp() override
    {
        std::string connectionString = demo_.connectionString();
        if (GetParam() == Server::Postgres) {
            if (!test::kOdbcDriversHere)
                GTEST_SKIP() << test::kNoOdbcDriver;
            if (!test::postgresServer())
                GTEST_SKIP() << test::kNoPostgres;
            postgres_ = std::make_unique<test::PostgresDb>();
            postgres_->load(demo_);
            connectionString = postgres_->connectionString();
        }
        window_ = std::make_unique<Window>(connectionString);
        other_ = std::make_unique<ado::TADOConnection>(connectionString);
        other_->open();
    }

    ScoreEntrySession& session() { return window_->session(); }
    // Lists the candidate's exam site, everyone shown, with the candidate current.
    void locate(const std::string& number)
    {
        session().selectNode(window_->tree().selection(window_->siteOf(number)), 2);
        ASSERT_TRUE(session().locate(number)) << number;
    }
    // Another computer stores a score (NULL for none).
    void storeElsewhere(const std::string& number, const char* score)
    {
        other_->execute("update t_omr set tttt = ? where zkzh = ?",
                        {score ? std::optional<std::string>(score) : std::nullopt, number});
    }
    std::int64_t doneAt(int node) const { return window_->session().progress().count(node).value().done; }
    // The counts kept equal what a fresh read of the database finds, for every node.
    void expectAsRead(const char* after)
    {
        EntryProgress fresh;
        fresh.read(*other_, window_->tree(), kSiteCodeLen);
        EXPECT_EQ(everyCount(session().progress(), window_->tree()), everyCount(fresh, window_->tree())) << after;
    }

    test::DemoDb demo_;
    std::unique_ptr<test::PostgresDb> postgres_;
    std::unique_ptr<Window> window_;
    std::unique_ptr<ado::TADOConnection> other_;
};

// Each change is followed by the site's done count and by a fresh read of every node.
TEST_P(KeptCounts, FollowSavesUndosAndConflictAnswers)
{
    const auto& samples = demo_.summary().samples;
    const struct {
        const char* what;
        std::string number;
        std::function<void()> change;
        int doneChange; // at the candidate's exam site
    } steps[] = {
        {"a first score", samples.unscored.zkzh,
         [&] { EXPECT_EQ(session().storeCurrent("30", false).kind, Kind::Applied); }, 1},
        {"a score over a score", samples.unscored.zkzh,
         [&] { EXPECT_EQ(session().storeCurrent("31", false).kind, Kind::Applied); }, 0},
        {"undo to a score", samples.unscored.zkzh,
         [&] { EXPECT_EQ(session().undoLastSave(false).kind, Kind::Applied); }, 0},
        {"undo to none", samples.unscored.zkzh, [&] { EXPECT_EQ(session().undoLastSave(false).kind, Kind::Applied); },
         -1},
        {"a score over the empty text", samples.emptyScore.zkzh,
         [&] { EXPECT_EQ(session().storeCurrent("12", false).kind, Kind::Applied); }, 1},
        {"another computer's score kept", samples.unregistered.zkzh,
         [&] {
             storeElsewhere(samples.unregistered.zkzh, "25");
             const auto outcome = session().storeCurrent("20", false);
             EXPECT_EQ(outcome.kind, Kind::Conflict);
             session().keepStoredScore(outcome.stored);
         },
         1},
        {"another computer's clearing replaced", samples.scored.zkzh,
         [&] {
             storeElsewhere(samples.scored.zkzh, nullptr);
             EXPECT_EQ(session().storeCurrent("20", false).kind, Kind::Conflict);
             EXPECT_EQ(session().storeCurrent("20", true).kind, Kind::Applied);
         },
         0},
        {"an undo over another computer's clearing, kept", samples.scored.zkzh,
         [&] {
             storeElsewhere(samples.scored.zkzh, nullptr);
             const auto outcome = session().undoLastSave(false);
             EXPECT_EQ(outcome.kind, Kind::Conflict);
             session().keepStoredOnUndo(outcome.stored);
         },
         -1},
        {"an undo over another computer's score, replaced", samples.emptyScore.zkzh,
         [&] {
             storeElsewhere(samples.emptyScore.zkzh, "9");
             EXPECT_EQ(session().undoLastSave(false).kind, Kind::Conflict);
             EXPECT_EQ(session().undoLastSave(true).kind, Kind::Applied);
         },
         -1},
    };
    for (const auto& step : steps) {
        locate(step.number);
        const int site = window_->siteOf(step.number);
        const std::int64_t before = doneAt(site);
        step.change();
        EXPECT_EQ(doneAt(site), before + step.doneChange) << step.what;
        expectAsRead(step.what);
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, KeptCounts, ::testing::Values(Server::Sqlite, Server::Postgres),
                         [](const ::testing::TestParamInfo<Server>& param) {
                             return param.param == Server::Sqlite ? "Sqlite" : "Postgres";
                         });

} // namespace
