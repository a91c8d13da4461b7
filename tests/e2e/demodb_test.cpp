// The demo database generator, read back through the system's own SQLite connection.

#include "Rows.hpp"
#include "plain/DemoDb.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <set>

namespace skorvin::test {
namespace {

using demodb::Options;
using demodb::OrgSize;

std::string g(const char* utf8)
{
    return gbk::fromUtf8(utf8);
}

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

std::unique_ptr<ado::TADOConnection> openDb(const DemoDb& db)
{
    auto connection = std::make_unique<ado::TADOConnection>(db.connectionString());
    connection->open();
    return connection;
}

Options withSize(OrgSize size, std::int64_t candidates, int generation = 2)
{
    Options options;
    options.orgSize = size;
    options.candidates = candidates;
    options.generation = generation;
    return options;
}

TEST(DemoDb, SettingsVersionAndRootReadBackAsGbk)
{
    DemoDb db;
    auto owned = openDb(db);
    auto& connection = *owned;
    const Rows settings = queryRows(connection, "select ParamName, ParamValue from t_setting order by ParamName");
    const Rows expected{{"date", "2026-09-20"}, {"dm", "11"}, {"jb", "1"}, {"kc", "1"}, {"time", "09:00"}};
    EXPECT_EQ(settings, expected);
    EXPECT_EQ(queryRows(connection, "select dbversion from t_version"), Rows{{"3.00"}});
    EXPECT_EQ(queryRows(connection, "select dwmc from t_scbjg where jb=0 "), Rows{{g("全国")}});
    EXPECT_EQ(queryRows(connection, "select dm,dwmc from v_ssjg order by dm"),
              (Rows{{"11", g("北京市")}, {"13", g("河北省")}, {"44", g("广东省")}}));
}

TEST(DemoDb, SettingsWithoutValueHaveNoRowAndVersionCanBeReplaced)
{
    Options options = DemoDb::smallOptions();
    options.settings.kc.reset();
    options.settings.jb = "x";
    options.settings.date = g("二〇二六年");
    options.dbversion = "10.00";
    DemoDb db(options);
    auto owned = openDb(db);
    auto& connection = *owned;
    EXPECT_EQ(queryRows(connection, "select ParamName, ParamValue from t_setting order by ParamName"),
              (Rows{{"date", g("二〇二六年")}, {"dm", "11"}, {"jb", "x"}, {"time", "09:00"}}));
    EXPECT_EQ(queryRows(connection, "select dbversion from t_version"), Rows{{"10.00"}});
}

TEST(DemoDb, FullCountryHasEveryProvinceAndConsistentCodes)
{
    DemoDb db(withSize(OrgSize::Full, 0));
    auto owned = openDb(db);
    auto& connection = *owned;
    const Rows provinces = queryRows(connection, "select dm,dwmc from v_ssjg order by dm");
    ASSERT_EQ(provinces.size(), 34u);
    const std::set<std::pair<std::string, std::string>> some{
        {"11", g("北京市")}, {"44", g("广东省")},         {"65", g("新疆维吾尔自治区")},
        {"71", g("台湾省")}, {"81", g("香港特别行政区")}, {"82", g("澳门特别行政区")}};
    for (const auto& [code, name] : some) {
        EXPECT_NE(std::find(provinces.begin(), provinces.end(), std::vector<ado::FieldValue>{code, name}),
                  provinces.end())
            << code;
    }
    EXPECT_GT(queryCount(connection, "select count(*) from v_dsjg"), 400);
    EXPECT_GT(queryCount(connection, "select count(*) from v_kdjg"), 2500);
    // Every city lies in a province, every site in a city of its own province.
    EXPECT_EQ(queryCount(connection, "select count(*) from v_dsjg where length(dm)<>4 or "
                                     "substr(dm,1,2) not in (select dm from v_ssjg)"),
              0);
    EXPECT_EQ(queryCount(connection, "select count(*) from v_kdjg where length(dm)<>6 or "
                                     "substr(dm,1,2)<>substr(szds,1,2) or szds not in (select dm from v_dsjg)"),
              0);
    EXPECT_EQ(queryCount(connection, "select count(*) from (select dm from v_kdjg group by dm having count(*)>1)"), 0);
    EXPECT_EQ(queryRows(connection, "select dwmc from v_kdjg where dm='130101'"), Rows{{g("石家庄第一中学考点")}});
}

struct GenerationCase {
    int generation;
    const char* dbversion;
    int siteCodeLength;
};

void PrintTo(const GenerationCase& c, std::ostream* out)
{
    *out << "generation " << c.generation;
}

class DemoDbGeneration : public testing::TestWithParam<GenerationCase> {};

TEST_P(DemoDbGeneration, AdmissionNumbersCarryTheSiteCode)
{
    const auto [generation, dbversion, siteLength] = GetParam();
    DemoDb db(withSize(OrgSize::Full, 3000, generation));
    auto owned = openDb(db);
    auto& connection = *owned;
    const std::string len = std::to_string(siteLength);
    EXPECT_EQ(queryRows(connection, "select dbversion from t_version"), Rows{{dbversion}});
    EXPECT_EQ(queryCount(connection, "select count(*) from v_kdjg where length(dm)<>" + len), 0);
    EXPECT_EQ(queryCount(connection, "select count(*) from t_omr where length(zkzh)<>15"), 0);
    EXPECT_EQ(queryCount(connection, "select count(*) from t_omr where zkzh like '4%'"), 3000);
    // Positions 5 on hold the code of an exam site of the province in positions 5 and 6.
    EXPECT_EQ(queryCount(connection,
                         "select count(*) from t_omr where substr(zkzh,5," + len + ") not in (select dm from v_kdjg)"),
              0);
    // The older layout allows 99 sites per province; none may be cut off silently into another code.
    EXPECT_EQ(queryCount(connection, "select count(*) from (select dm from v_kdjg group by dm having count(*)>1)"), 0);
    EXPECT_EQ(queryCount(connection, "select count(*) from t_omr where zkzh not like '4%'"), db.summary().otherLevels);
    EXPECT_GE(db.summary().otherLevels, 3);
}

INSTANTIATE_TEST_SUITE_P(Generations, DemoDbGeneration,
                         testing::Values(GenerationCase{2, "3.00", 6}, GenerationCase{1, "2.50", 4}));

TEST(DemoDb, SummaryCountsMatchTheRows)
{
    DemoDb db(withSize(OrgSize::Full, 5000));
    auto owned = openDb(db);
    auto& connection = *owned;
    const auto& summary = db.summary();
    const std::string listed = "select count(*) from t_omr where zkzh like '4%' and (upper(qk)<>'Q' or qk is null)";
    const std::string scored = " and tttt is not null and tttt<>''";

    struct Case {
        int level;
        std::string code;
        std::string where;
    };
    const Case cases[] = {
        {0, "00", ""},
        {1, "11", " and substr(zkzh,5,2)='11'"},
        {1, "44", " and substr(zkzh,5,2)='44'"},
        {2, "1108", " and substr(zkzh,5,6) in (select dm from v_kdjg where szds='1108')"},
        {3, "110101", " and substr(zkzh,5,6)='110101'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        const auto counts = summary.counts(c.level, c.code);
        EXPECT_GT(counts.listed, 0);
        EXPECT_EQ(counts.listed, queryCount(connection, listed + c.where));
        EXPECT_EQ(counts.scored, queryCount(connection, listed + c.where + scored));
    }
    EXPECT_EQ(summary.absent, queryCount(connection, "select count(*) from t_omr where upper(qk)='Q'"));
    // The capital holds a good share, so the demo installation opens on a real list.
    EXPECT_GT(summary.counts(1, "11").listed * 10, summary.counts(0, "00").listed);
    // About three in ten scored, a few absent.
    const double scoredShare =
        static_cast<double>(summary.counts(0, "00").scored) / static_cast<double>(summary.counts(0, "00").listed);
    EXPECT_GT(scoredShare, 0.2);
    EXPECT_LT(scoredShare, 0.4);
    EXPECT_GT(summary.absent, 0);
}

TEST(DemoDb, SamplesAreWhatTheyClaim)
{
    DemoDb db;
    auto owned = openDb(db);
    auto& connection = *owned;
    const auto& s = db.summary().samples;
    auto row = [&](const demodb::Candidate& c) {
        return queryRows(connection, "select o.tttt, o.qk, b.xm from t_omr o left join t_bm b on b.zkzh=o.zkzh "
                                     "where o.zkzh=" +
                                         quoted(c.zkzh));
    };
    struct Case {
        const char* what;
        const demodb::Candidate& candidate;
        ado::FieldValue score;
        ado::FieldValue qk;
        bool named;
    };
    const Case cases[] = {
        {"unscored", s.unscored, std::nullopt, std::nullopt, true},
        {"scored", s.scored, "35", std::nullopt, true},
        {"scoredHalf", s.scoredHalf, "27.5", std::nullopt, true},
        {"absentUpper", s.absentUpper, std::nullopt, "Q", true},
        {"absentLower", s.absentLower, std::nullopt, "q", true},
        {"unregistered", s.unregistered, std::nullopt, std::nullopt, false},
        {"emptyScore", s.emptyScore, "", std::nullopt, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.candidate.zkzh.size(), 15u);
        EXPECT_EQ(c.candidate.zkzh.substr(0, 6), "426111");
        const Rows rows = row(c.candidate);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][0], c.score);
        EXPECT_EQ(rows[0][1], c.qk);
        EXPECT_EQ(rows[0][2].has_value(), c.named);
        EXPECT_EQ(rows[0][2], c.candidate.name);
    }
    ASSERT_EQ(s.otherLevel.zkzh.size(), 15u);
    EXPECT_EQ(s.otherLevel.zkzh[0], '1');
    EXPECT_EQ(row(s.otherLevel).size(), 1u);
    // Names are Chinese: two or more characters of two bytes each.
    ASSERT_TRUE(s.unscored.name);
    EXPECT_GE(s.unscored.name->size(), 4u);
    EXPECT_EQ(s.unscored.name->size() % 2, 0u);
    EXPECT_GE(static_cast<unsigned char>((*s.unscored.name)[0]), 0x81);
}

Rows everything(ado::TADOConnection& connection)
{
    Rows rows = queryRows(connection, "select o.*, b.* from t_omr o left join t_bm b on b.zkzh=o.zkzh order by o.zkzh");
    const Rows orgs = queryRows(connection, "select * from t_scbjg order by jb, dm");
    rows.insert(rows.end(), orgs.begin(), orgs.end());
    return rows;
}

TEST(DemoDb, SameSeedSameDatabaseOtherSeedOtherPeople)
{
    Options options = DemoDb::smallOptions();
    DemoDb first(options);
    DemoDb second(options);
    options.seed = 2;
    DemoDb third(options);
    auto a = openDb(first);
    auto b = openDb(second);
    auto c = openDb(third);
    EXPECT_EQ(everything(*a), everything(*b));
    EXPECT_NE(everything(*a), everything(*c));
    // The seed changes who the candidates are, not where they sit.
    const std::string numbers = "select zkzh from t_omr order by zkzh";
    EXPECT_EQ(queryRows(*a, numbers), queryRows(*c, numbers));
}

TEST(DemoDb, ReplacesAnExistingFileAndRefusesAMissingFolder)
{
    TempDir dir;
    const auto file = dir / "exam.sqlite";
    demodb::create(file, withSize(OrgSize::Small, 50));
    demodb::create(file, withSize(OrgSize::Small, 20));
    ado::TADOConnection connection("Provider=SQLite;Data Source=" + gbk::fromUtf8(file.string()));
    connection.open();
    EXPECT_EQ(queryCount(connection, "select count(*) from t_omr where zkzh like '4%'"), 20);

    EXPECT_THROW(demodb::create(dir / "no" / "such" / "folder.sqlite", withSize(OrgSize::Small, 5)), Exception);
}

TEST(DemoDb, AFailedRunLeavesTheExistingFileAndNoPartOfItself)
{
    TempDir dir;
    const auto file = dir / "exam.sqlite";
    demodb::create(file, withSize(OrgSize::Small, 20));
    // More candidates than a site's running number can count.
    EXPECT_THROW(demodb::create(file, withSize(OrgSize::Small, 10'000'000)), Exception);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    ado::TADOConnection connection("Provider=SQLite;Data Source=" + gbk::fromUtf8(file.string()));
    connection.open();
    EXPECT_EQ(queryCount(connection, "select count(*) from t_omr where zkzh like '4%'"), 20);
}

} // namespace
} // namespace skorvin::test
