#include "exam/CandidateList.hpp"
#include "exam/KDTree.hpp"
#include "exam/ScoreSave.hpp"
#include "exam/StandardInfo.hpp"
#include "plain/DemoDb.hpp"
#include "platform/Text.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace skorvin;
using namespace skorvin::exam;

namespace {

// The demo database as the window opens on it: settings read, tree built, list bound.
class DemoList {
public:
    explicit DemoList(int generation) : demo_(optionsFor(generation)), connection_(demo_.connectionString())
    {
        connection_.open();
        state_.HostConnection = &connection_;
        state_.SchemaGeneration = CheckDbVersion(connection_);
        state_.SiteCodeLen = SiteCodeLength(state_.SchemaGeneration);
        BuildOrgTree(tree_, connection_);
        list_.setConnection(&connection_);
    }

    const demodb::Summary& summary() const { return demo_.summary(); }
    const OrgTree& tree() const { return tree_; }
    ModuleState& state() { return state_; }

    // Opens the list on the node at index and returns its admission numbers in list order.
    std::vector<std::string> open(int index)
    {
        RefreshCandidateList(list_, state_, tree_.selection(index));
        return numbers();
    }
    std::vector<std::string> numbers()
    {
        std::vector<std::string> result;
        for (list_.first(); !list_.eof(); list_.next())
            result.push_back(list_.fieldText("zkzh"));
        return result;
    }
    ado::TADODataSet& list() { return list_; }

private:
    static demodb::Options optionsFor(int generation)
    {
        demodb::Options options = test::DemoDb::smallOptions();
        options.generation = generation;
        return options;
    }

    test::DemoDb demo_;
    ado::TADOConnection connection_;
    ModuleState state_;
    OrgTree tree_;
    ado::TADODataSet list_{"Main_AdoSet"};
};

TEST(DemoCandidateList, EveryNodeListsItsOwnCandidatesInNumberOrder)
{
    for (int generation : {2, 1}) {
        SCOPED_TRACE("generation " + std::to_string(generation));
        DemoList demo(generation);
        ASSERT_EQ(demo.state().SchemaGeneration, generation);
        const std::vector<demodb::Organisation>& orgs = demo.summary().organisations;
        for (int index = 0; index < demo.tree().size(); ++index) {
            const demodb::Organisation& org = orgs[static_cast<std::size_t>(index)];
            const std::string code = org.level == 0 ? "00" : org.code;
            SCOPED_TRACE("level " + std::to_string(org.level) + " code " + code);
            const std::vector<std::string> numbers = demo.open(index);
            EXPECT_EQ(static_cast<std::int64_t>(numbers.size()), demo.summary().counts(org.level, code).listed);
            EXPECT_TRUE(std::is_sorted(numbers.begin(), numbers.end()));
            const int siteLength = demo.state().SiteCodeLen;
            for (const std::string& zkzh : numbers) {
                ASSERT_EQ(text::left(zkzh, 1), "4");
                if (org.level == 1) {
                    EXPECT_EQ(text::mid(zkzh, 5, 2), code);
                }
                if (org.level == 3) {
                    EXPECT_EQ(text::mid(zkzh, 5, siteLength), code);
                }
            }
        }
    }
}

TEST(DemoCandidateList, AbsentAndOtherLevelsStayOutUnregisteredShowWithoutName)
{
    DemoList demo(2);
    const demodb::Summary::Samples& samples = demo.summary().samples;
    const std::vector<std::string> all = demo.open(0);
    const std::set<std::string> listed(all.begin(), all.end());
    EXPECT_EQ(static_cast<std::int64_t>(all.size()), demo.summary().level4 - demo.summary().absent);
    for (const demodb::Candidate* absent : {&samples.absentUpper, &samples.absentLower, &samples.otherLevel})
        EXPECT_EQ(listed.count(absent->zkzh), 0u) << absent->zkzh;

    ado::TADODataSet& list = demo.list();
    for (list.first(); !list.eof(); list.next())
        if (list.fieldText("zkzh") == samples.unregistered.zkzh)
            break;
    ASSERT_EQ(list.fieldText("zkzh"), samples.unregistered.zkzh);
    EXPECT_FALSE(list.fieldValue("xm").has_value());
}

TEST(DemoCandidateList, FiltersCountTheScoredAndTheUnscored)
{
    DemoList demo(2);
    const demodb::Summary::Samples& samples = demo.summary().samples;
    const demodb::Counts counts = demo.summary().counts(0, "00");
    demo.open(0);

    ApplyStatusFilter(demo.list(), 0);
    std::vector<std::string> unscored = demo.numbers();
    EXPECT_EQ(static_cast<std::int64_t>(unscored.size()), counts.unscored());
    for (const demodb::Candidate* c : {&samples.unscored, &samples.unregistered, &samples.emptyScore})
        EXPECT_TRUE(std::binary_search(unscored.begin(), unscored.end(), c->zkzh)) << c->zkzh;

    ApplyStatusFilter(demo.list(), 1);
    std::vector<std::string> scored = demo.numbers();
    EXPECT_EQ(static_cast<std::int64_t>(scored.size()), counts.scored);
    for (const demodb::Candidate* c : {&samples.scored, &samples.scoredHalf})
        EXPECT_TRUE(std::binary_search(scored.begin(), scored.end(), c->zkzh)) << c->zkzh;

    ApplyStatusFilter(demo.list(), 2);
    EXPECT_EQ(demo.list().recordCount(), counts.listed);
}

TEST(DemoCandidateList, AStoredScoreShowsAfterTheNextRefresh)
{
    DemoList demo(2);
    const std::string zkzh = demo.summary().samples.unscored.zkzh;
    EXPECT_EQ(demo.state().HostConnection->execute(scoreUpdateSql("58.5", zkzh)), 1);
    demo.open(0);
    ApplyStatusFilter(demo.list(), 1);
    const std::vector<std::string> scored = demo.numbers();
    EXPECT_TRUE(std::binary_search(scored.begin(), scored.end(), zkzh));
    EXPECT_EQ(demo.list().recordCount(), demo.summary().counts(0, "00").scored + 1);
}

} // namespace
