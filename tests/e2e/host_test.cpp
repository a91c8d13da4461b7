// The demo host program as a newcomer and the scripts run it.

#include "Process.hpp"
#include "Rows.hpp"
#include "plain/DemoDb.hpp"
#include "plain/PostgresDb.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <memory>

namespace skorvin::test {
namespace {

namespace fs = std::filesystem;

const std::map<std::string, std::string> kOffscreen{{"QT_QPA_PLATFORM", "offscreen"}};

ProcessResult runHost(const fs::path& host, const std::vector<std::string>& arguments, const TempDir& scratch)
{
    return runProgram(host, arguments, kOffscreen, scratch.path());
}

ProcessResult runHost(const std::vector<std::string>& arguments, const TempDir& scratch)
{
    return runHost(SKORVIN_HOST, arguments, scratch);
}

std::string sqliteConnection(const fs::path& file)
{
    return "Provider=SQLite;Data Source=" + file.string();
}

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Width and height from a PNG file's header, or {0, 0} when it is no PNG.
std::pair<unsigned, unsigned> pngSize(const std::string& bytes)
{
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0) {
        return {0, 0};
    }
    auto be32 = [&](std::size_t at) {
        unsigned value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        }
        return value;
    };
    return {be32(16), be32(20)};
}

struct MakeCase {
    std::vector<std::string> extra;
    const char* dbversion;
    int siteCodeLength;
};

void PrintTo(const MakeCase& c, std::ostream* out)
{
    *out << "generation " << (c.extra.empty() ? "default" : c.extra.back());
}

class HostMakesDemoDb : public testing::TestWithParam<MakeCase> {};

TEST_P(HostMakesDemoDb, WritesADatabaseTheConnectionReads)
{
    TempDir dir;
    const fs::path file = dir / "made.sqlite";
    std::vector<std::string> arguments{"--make-demo-db", file.string(), "--candidates", "250"};
    arguments.insert(arguments.end(), GetParam().extra.begin(), GetParam().extra.end());
    const ProcessResult result = runHost(arguments, dir);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");

    ado::TADOConnection connection(sqliteConnection(file));
    connection.open();
    EXPECT_EQ(queryCount(connection, "select count(*) from t_omr where zkzh like '4%'"), 250);
    EXPECT_EQ(queryRows(connection, "select dbversion from t_version"), Rows{{GetParam().dbversion}});
    EXPECT_EQ(queryCount(connection,
                         "select count(*) from v_kdjg where length(dm)<>" + std::to_string(GetParam().siteCodeLength)),
              0);
    EXPECT_EQ(queryCount(connection, "select count(*) from v_ssjg"), 34);
}

INSTANTIATE_TEST_SUITE_P(Generations, HostMakesDemoDb,
                         testing::Values(MakeCase{{}, "3.00", 6}, MakeCase{{"--generation", "2"}, "3.00", 6},
                                         MakeCase{{"--generation", "1"}, "2.50", 4}));

struct RefusalCase {
    const char* what;
    std::vector<std::string> arguments; // "@" stands for the scratch folder
};

void PrintTo(const RefusalCase& c, std::ostream* out)
{
    *out << c.what;
}

class HostRefuses : public testing::TestWithParam<RefusalCase> {};

TEST_P(HostRefuses, WithOneLineOnStderrAndExitCode2)
{
    TempDir dir;
    std::vector<std::string> arguments;
    for (std::string argument : GetParam().arguments) {
        if (const auto at = argument.find('@'); at != std::string::npos) {
            argument.replace(at, 1, dir.path().string());
        }
        arguments.push_back(argument);
    }
    const ProcessResult result = runHost(arguments, dir);
    EXPECT_EQ(result.signal, 0) << "the host crashed";
    EXPECT_EQ(result.exitCode, 2);
    const auto errorLines = lines(result.err);
    ASSERT_EQ(errorLines.size(), 1u) << result.err;
    EXPECT_EQ(errorLines[0].rfind("skorvin-host: ", 0), 0u) << errorLines[0];
}

INSTANTIATE_TEST_SUITE_P(
    BadStarts, HostRefuses,
    testing::Values(RefusalCase{"not a connection string", {"--connection", "nonsense"}},
                    RefusalCase{"empty connection string", {"--connection", ""}},
                    RefusalCase{"missing database file", {"--connection", "Provider=SQLite;Data Source=@/none.sqlite"}},
                    RefusalCase{"SQLite without a file", {"--connection", "Provider=SQLite"}},
                    RefusalCase{"unknown option", {"--frobnicate"}},
                    RefusalCase{"option without its value", {"--connection"}},
                    RefusalCase{"candidates not a number", {"--make-demo-db", "@/x.sqlite", "--candidates", "many"}},
                    RefusalCase{"generation 3", {"--make-demo-db", "@/x.sqlite", "--generation", "3"}},
                    RefusalCase{"database in a missing folder", {"--make-demo-db", "@/no/such/x.sqlite"}}),
    [](const testing::TestParamInfo<RefusalCase>& param) {
        std::string name = param.param.what;
        for (char& c : name) {
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        }
        return name;
    });

TEST(Host, ScreenshotOfTheScoreWindowOnTheGivenDatabase)
{
    TempDir dir;
    DemoDb db;
    const fs::path shot = dir / "window.png";
    const ProcessResult result = runHost({"--connection", db.connectionString(), "--screenshot", shot.string()}, dir);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("SkorvinDLL version 3.00"), std::string::npos) << result.out;
    const auto [width, height] = pngSize(readBytes(shot));
    // At least the window's designed client area.
    EXPECT_GE(width, 679u);
    EXPECT_GE(height, 461u);
    EXPECT_EQ(result.err.find("message box"), std::string::npos) << result.err;
}

TEST(Host, ScreenshotClosesAnErrorBoxInsteadOfWaitingForSomeone)
{
    TempDir dir;
    DemoDb db;
    {
        ado::TADOConnection connection(db.connectionString());
        connection.open();
        connection.execute("drop table t_version");
    }
    const fs::path shot = dir / "window.png";
    const ProcessResult result = runHost({"--connection", db.connectionString(), "--screenshot", shot.string()}, dir);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("skorvin-host: closed a message box"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("t_version"), std::string::npos) << result.err;
    EXPECT_GT(pngSize(readBytes(shot)).first, 0u);
}

// The host on a PostgreSQL copy of the demo database, through psqlODBC, whatever the locale
// it runs under: the window comes up without an error box, also with a name that GBK
// lacks in its list; a box that does come up is written to stderr every time.
class HostOnPostgres : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (!postgresServer())
            GTEST_SKIP() << kNoPostgres;
        postgres_ = std::make_unique<PostgresDb>();
        postgres_->load(demo_);
        // The first listed candidate of the opening province gets a name with an emoji.
        postgres_->run("update t_bm set xm = xm || U&'\\+01F600' where zkzh = '" + demo_.summary().samples.scored.zkzh +
                       "'");
    }

    ProcessResult screenshot(const TempDir& dir) const
    {
        return runProgram(
            SKORVIN_HOST,
            {"--connection", postgres_->connectionString(), "--screenshot", (dir / "window.png").string()},
            {{"QT_QPA_PLATFORM", "offscreen"}, {"LANG", GetParam()}, {"LC_ALL", GetParam()}}, dir.path());
    }

    DemoDb demo_;
    std::unique_ptr<PostgresDb> postgres_;
};

TEST_P(HostOnPostgres, OpensTheWindowWithoutAnErrorBox)
{
    TempDir dir;
    const ProcessResult result = screenshot(dir);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err.find("message box"), std::string::npos) << result.err;
    EXPECT_GT(pngSize(readBytes(dir / "window.png")).first, 0u);
}

TEST_P(HostOnPostgres, WritesEveryErrorBoxToStderr)
{
    postgres_->run("drop view v_kdjg");
    for (int run = 0; run < 3; ++run) {
        TempDir dir;
        const ProcessResult result = screenshot(dir);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.err.find("skorvin-host: closed a message box"), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("v_kdjg"), std::string::npos) << result.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, HostOnPostgres, testing::Values("C", "C.UTF-8", "zh_CN.GBK"),
                         [](const testing::TestParamInfo<const char*>& param) {
                             std::string name = param.param;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

// A host copied into a fresh folder, as a newcomer finds it after the build.
class FreshHostFolder : public testing::Test {
protected:
    void copyHost(bool withLibrary)
    {
        fs::copy_file(SKORVIN_HOST, host_);
        if (withLibrary) {
            fs::copy_file(SKORVIN_LIBRARY, dir_ / fs::path(SKORVIN_LIBRARY).filename());
        }
    }

    TempDir dir_;
    fs::path host_ = dir_ / "skorvin-host";
};

TEST_F(FreshHostFolder, CreatesTheDemoDatabaseOnceBesideItself)
{
    copyHost(true);
    const fs::path demo = dir_ / "demo-exam.sqlite";
    const fs::path shot = dir_ / "first.png";
    ProcessResult result = runHost(host_, {"--screenshot", shot.string()}, dir_);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ASSERT_TRUE(fs::exists(demo));
    EXPECT_GT(fs::file_size(shot), 0u);
    {
        ado::TADOConnection connection(sqliteConnection(demo));
        connection.open();
        EXPECT_GT(queryCount(connection, "select count(*) from t_omr where zkzh like '4%' and substr(zkzh,5,2)='11'"),
                  1000);
        connection.execute("update t_version set dbversion='kept'");
    }
    result = runHost(host_, {"--screenshot", (dir_ / "second.png").string()}, dir_);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ado::TADOConnection connection(sqliteConnection(demo));
    connection.open();
    EXPECT_EQ(queryRows(connection, "select dbversion from t_version"), Rows{{"kept"}}) << "the database was rewritten";
}

TEST_F(FreshHostFolder, WithoutTheLibraryBesideItSaysSoInOneLine)
{
    copyHost(false);
    const ProcessResult result = runHost(host_, {"--screenshot", (dir_ / "x.png").string()}, dir_);
    EXPECT_EQ(result.exitCode, 2);
    const auto errorLines = lines(result.err);
    ASSERT_EQ(errorLines.size(), 1u) << result.err;
    EXPECT_NE(errorLines[0].find("libSkorvinDLL.so"), std::string::npos) << errorLines[0];
}

} // namespace
} // namespace skorvin::test
