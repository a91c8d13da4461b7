// The score-entry workflow without a window, on the demo database: start-up, listing a
// node, finding a candidate, the checks before a save and the save with its outcomes.
#include "exam/ScoreEntrySession.hpp"
#include "plain/DemoDb.hpp"
#include "plain/TempDir.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>

using namespace skorvin;
using namespace skorvin::exam;
using Kind = ScoreEntrySession::ChangeOutcome::Kind;
using Check = ScoreEntrySession::Check;

namespace {

class Session : public ::testing::Test {
protected:
    Session()
        : connection_(demo_.connectionString()), session_(state_, HostFiles::in(gbk::fromUtf8((dir_ / "").string())))
    {
        connection_.open();
        state_.HostConnection = &connection_;
        writeSettings("1", "40");
        session_.bind();
        node_ = session_.start(tree_);
    }

    void writeSettings(const std::string& xs, const std::string& up) const
    {
        std::ofstream(dir_ / "kavrint.ini", std::ios::binary) << "[ScoreSet]\r\nXs=" << xs << "\r\nUp=" << up << "\r\n";
    }
    std::optional<std::string> stored(const std::string& number)
    {
        ado::TADOQuery read;
        read.setConnection(&connection_);
        read.setSql("select tttt from t_omr where zkzh = '" + number + "'");
        read.open();
        if (read.isEmpty())
            return std::nullopt;
        return read.fieldText("tttt");
    }
    // Lists the installation's node with a display choice (0 not entered, 2 all).
    ado::TADODataSet& list(int choice)
    {
        session_.selectNode(tree_.selection(node_), choice);
        return session_.Main_AdoSet;
    }

    test::TempDir dir_;
    test::DemoDb demo_;
    ado::TADOConnection connection_;
    ModuleState state_;
    ScoreEntrySession session_;
    OrgTree tree_;
    int node_ = -1;
};

TEST_F(Session, StartsOnTheInstallationsNode)
{
    ASSERT_GE(node_, 0);
    EXPECT_EQ(state_.SchemaGeneration, 2);
    EXPECT_EQ(state_.SiteCodeLen, 6);
    EXPECT_EQ(tree_.node(node_).text.substr(0, 3), "11-");
    auto& shown = list(0);
    EXPECT_EQ(shown.recordCount(), demo_.summary().counts(1, "11").unscored());
    session_.applyDisplayChoice(2);
    EXPECT_EQ(shown.recordCount(), demo_.summary().counts(1, "11").listed);
}

TEST_F(Session, LocatesEveryListedCandidateButNotOthers)
{
    const auto& samples = demo_.summary().samples;
    auto& shown = list(2);
    EXPECT_TRUE(session_.locate(" " + samples.scoredHalf.zkzh + " "));
    EXPECT_EQ(shown.fieldText("zkzh"), samples.scoredHalf.zkzh);
    const int before = shown.recNo();
    for (const std::string& missing :
         {std::string("499999999999"), samples.absentUpper.zkzh, samples.otherLevel.zkzh, std::string()})
        EXPECT_FALSE(session_.locate(missing)) << missing;
    EXPECT_EQ(shown.recNo(), before);
    // A scored candidate is hidden by 未登分: the list cannot show the row, so it is not found.
    list(0);
    EXPECT_FALSE(session_.locate(samples.scoredHalf.zkzh));
    EXPECT_TRUE(session_.locate(samples.unscored.zkzh));
}

TEST_F(Session, ChecksBeforeASaveInTheirOrder)
{
    const struct {
        const char* number;
        const char* score;
        const char* up;
        Check expected;
    } cases[] = {
        {"", "", "40", Check::NumberMissing},
        {" ", "20", "40", Check::NumberMissing},
        {"4", "", "40", Check::ScoreMissing},
        {"4", "-5", "40", Check::ScoreMalformed},
        {"4", "12.34", "40", Check::ScoreMalformed},
        {"4", "40.5", "40", Check::AboveMaximum},
        {"4", "40", "40", Check::Ok},
        {"4", "12.", "40", Check::Ok},
    };
    for (const auto& c : cases) {
        writeSettings("1", c.up);
        EXPECT_EQ(session_.validate(c.number, c.score), c.expected) << c.number << " / " << c.score;
    }
    writeSettings("1", "x");
    EXPECT_THROW(session_.validate("4", "12"), EConvertError);
}

TEST_F(Session, SavesTheScoreForTheCurrentRowAndTheListFollows)
{
    auto& shown = list(0);
    const int rows = shown.recordCount();
    const std::string number = shown.fieldText("zkzh");
    ASSERT_TRUE(session_.locate(number));
    const auto outcome = session_.storeCurrent("12.", false);
    EXPECT_EQ(outcome.kind, Kind::Applied);
    EXPECT_EQ(outcome.number, number);
    EXPECT_EQ(stored(number), std::optional<std::string>("12"));
    // The scored candidate leaves the 未登分 list; the next one is current.
    EXPECT_EQ(shown.recordCount(), rows - 1);
    EXPECT_GT(shown.fieldText("zkzh"), number);
}

TEST_F(Session, AnotherOperatorsScoreIsNotOverwrittenUnasked)
{
    auto& shown = list(2);
    const std::string number = demo_.summary().samples.unscored.zkzh;
    connection_.execute("update t_omr set tttt = '30' where zkzh = '" + number + "'");
    ASSERT_TRUE(session_.locate(number));
    const auto conflict = session_.storeCurrent("20", false);
    EXPECT_EQ(conflict.kind, Kind::Conflict);
    EXPECT_EQ(conflict.stored, "30");
    EXPECT_EQ(stored(number), std::optional<std::string>("30"));

    session_.keepStoredScore(conflict.stored);
    EXPECT_EQ(shown.fieldText("tttt"), "30");
    EXPECT_EQ(stored(number), std::optional<std::string>("30"));

    // The list now agrees with the database: the next save goes through, and so does a replace.
    EXPECT_EQ(session_.storeCurrent("25", false).kind, Kind::Applied);
    connection_.execute("update t_omr set tttt = '31' where zkzh = '" + number + "'");
    EXPECT_EQ(session_.storeCurrent("26", true).kind, Kind::Applied);
    EXPECT_EQ(stored(number), std::optional<std::string>("26"));
    EXPECT_EQ(shown.fieldText("tttt"), "26");
}

TEST_F(Session, ACandidateWhoLeftTheDatabaseIsReportedAndTheListKept)
{
    auto& shown = list(0);
    const std::string number = shown.fieldText("zkzh");
    const int rows = shown.recordCount();
    connection_.execute("delete from t_omr where zkzh = '" + number + "'");
    ASSERT_TRUE(session_.locate(number));
    EXPECT_EQ(session_.storeCurrent("30", false).kind, Kind::Gone);
    EXPECT_EQ(shown.recordCount(), rows);
    EXPECT_EQ(shown.fieldText("zkzh"), number);
    EXPECT_EQ(shown.fieldText("tttt"), "");
}

TEST_F(Session, ANumberThatLostCharactersIsNeverUpdated)
{
    const std::string base = demo_.summary().samples.unscored.zkzh;
    // char(128512) is an emoji, which has no GBK form; the absent candidate "...?" would be hit.
    connection_.execute("insert into t_omr (zkzh, tttt, qk) values ('" + base + "' || char(128512), null, null)");
    connection_.execute("insert into t_omr (zkzh, tttt, qk) values ('" + base + "?', null, 'Q')");
    auto& shown = list(2);
    for (shown.first(); !shown.eof() && shown.fieldText("zkzh") != base + "?"; shown.next()) {
    }
    ASSERT_FALSE(shown.eof());
    const auto outcome = session_.storeCurrent("30", false);
    EXPECT_EQ(outcome.kind, Kind::InexactNumber);
    EXPECT_EQ(outcome.number, base + "?");
    EXPECT_EQ(stored(base + "?"), std::optional<std::string>(""));
}

TEST_F(Session, TheCurrentCandidateAndThePrintedSheetsFeed)
{
    const auto& scored = demo_.summary().samples.scoredHalf;
    list(2);
    EXPECT_EQ(session_.organisation(), tree_.node(node_).text);
    ASSERT_TRUE(session_.locate(scored.zkzh));
    const auto current = session_.current();
    ASSERT_TRUE(current.has_value());
    EXPECT_EQ(current->number, scored.zkzh);
    EXPECT_EQ(current->score, "27.5");

    const SheetFeed feed = session_.sheetFeed();
    EXPECT_EQ(feed.heading, ScoreEntrySession::reportHeading(tree_.node(node_).text));
    EXPECT_FALSE(feed.title.empty());
    EXPECT_EQ(feed.rowCount, demo_.summary().counts(1, "11").listed);
    // The feed reads the row the list is on: the located candidate, then the first one.
    EXPECT_EQ(feed.value("ZKZH"), scored.zkzh);
    EXPECT_EQ(feed.value("FS"), std::optional<std::string>("27.5"));
    EXPECT_EQ(feed.value("fs"), std::nullopt);
    EXPECT_EQ(feed.value("PAGE#"), std::nullopt);
    feed.first();
    EXPECT_EQ(feed.value("ZKZH"), session_.Main_AdoSet.fieldText("zkzh"));
    EXPECT_EQ(ScoreEntrySession::reportHeading(gbk::fromUtf8("00-Zuvo")), gbk::fromUtf8("Zuvo四级主观题登分表"));
    EXPECT_EQ(ScoreEntrySession::reportHeading(gbk::fromUtf8("11-北京市")), gbk::fromUtf8("北京市四级主观题登分表"));

    // An empty view has no current candidate, though the organisation is listed.
    connection_.execute("update t_omr set tttt = '1'");
    list(0);
    EXPECT_TRUE(session_.listed());
    EXPECT_FALSE(session_.current().has_value());
}

TEST(SessionWithoutConnection, FailsAtBindAndStart)
{
    ModuleState state;
    ScoreEntrySession session(state, HostFiles::in(""));
    OrgTree tree;
    EXPECT_THROW(session.bind(), EDatabaseError);
    EXPECT_THROW(session.start(tree), EDatabaseError);
    EXPECT_FALSE(session.locate("4"));
}

} // namespace
