#include "exam/CandidateList.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace skorvin::exam;

namespace {

const std::string kHead = " select b.zkzh,b.tttt,a.xm from (select * from t_omr  where zkzh like '4%' and  "
                          "(UPPER(qk)<>'Q' or qk Is Null)) b left join t_bm a on a.zkzh=b.zkzh  ";

struct StatementCase {
    const char* what;
    int generation;
    SelectedNode node;
    std::string sql;
};

TEST(BuildCandidateSql, StatementForEveryLevelAndGeneration)
{
    const StatementCase cases[] = {
        {"root", 2, {0, "00-Nation", ""}, kHead + "order by b.zkzh"},
        {"root, first generation", 1, {0, "00-Zuvo", ""}, kHead + "order by b.zkzh"},
        {"province", 2, {1, "11-Name", "00-Nation"}, kHead + "where  SubString(b.zkzh,5,2)='11' order by b.zkzh"},
        {"province, first generation",
         1,
         {1, "11-Name", "00-Nation"},
         kHead + "where  SubString(b.zkzh,5,2)='11' order by b.zkzh"},
        {"city",
         2,
         {2, "05-Name", "11-Name"},
         kHead + "where SubSTring(b.zkzh,5,6) in (select dm from v_kdjg where szds='1105') order by b.zkzh"},
        {"city, first generation",
         1,
         {2, "05-Name", "11-Name"},
         kHead + "where SubSTring(b.zkzh,5,4) in (select dm from v_kdjg where szds='1105') order by b.zkzh"},
        {"site", 2, {3, "110501-Name", "05-Name"}, kHead + "where SubString(b.zkzh,5,6)='110501' order by b.zkzh"},
        {"six-character site, first generation: four characters only",
         1,
         {3, "110501-Name", "05-Name"},
         kHead + "where SubString(b.zkzh,5,4)='1105' order by b.zkzh"},
        {"a generation other than 1 or 2 takes the current texts",
         0,
         {3, "110501-Name", "05-Name"},
         kHead + "where SubString(b.zkzh,5,6)='110501' order by b.zkzh"},
        {"a quote in a node's code is doubled, never ends the literal",
         2,
         {1, "1'-Name", "00-Nation"},
         kHead + "where  SubString(b.zkzh,5,2)='1''' order by b.zkzh"},
        {"a quote in the province of a city",
         2,
         {2, "05-Name", "'1-Name"},
         kHead + "where SubSTring(b.zkzh,5,6) in (select dm from v_kdjg where szds='''105') order by b.zkzh"},
    };
    for (const StatementCase& c : cases) {
        SCOPED_TRACE(c.what);
        ModuleState state;
        state.SchemaGeneration = c.generation;
        state.SiteCodeLen = c.generation == 1 ? 4 : 6;
        EXPECT_EQ(BuildCandidateSql(state, c.node), c.sql);
    }
}

TEST(BuildCandidateSql, ShortNodeTextsGiveWhatIsThere)
{
    ModuleState state;
    state.SchemaGeneration = 2;
    state.SiteCodeLen = 6;
    EXPECT_EQ(BuildCandidateSql(state, {2, "5", "1"}),
              kHead + "where SubSTring(b.zkzh,5,6) in (select dm from v_kdjg where szds='15') order by b.zkzh");
}

} // namespace
