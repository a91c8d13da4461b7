// Building the organisation tree of the whole country against running its four statements
// (one per level) straight on the connection, which is what the recordsets and the tree add,
// and against the statement per province and per city that the tree was read with before.
#include "exam/KDTree.hpp"
#include "host/demodb/DemoDb.hpp"
#include "platform/connection/RowSink.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "support/NationalDb.hpp"
#include "support/RatioReporter.hpp"
#include "support/RunBenchmarks.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

using namespace skorvin;

namespace {

// The demo database of the whole country, made once for every benchmark here
// (organisations only: it takes a moment to make, so it is not kept).
class Country {
public:
    Country() : path_(std::filesystem::path(SKORVIN_BENCH_DATA_DIR) / "tree-bench.sqlite")
    {
        demodb::Options options;
        options.candidates = 0;
        summary_ = demodb::create(path_, options);
    }
    ~Country()
    {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    std::string connectionString() const { return bench::sqliteConnectionString(path_); }
    const demodb::Summary& summary() const { return summary_; }

private:
    std::filesystem::path path_;
    demodb::Summary summary_;
};

Country& country()
{
    static Country instance;
    return instance;
}

// Keeps each row's code and name, as the tree must.
class Rows : public ado::RowSink {
public:
    void columns(const std::vector<std::string>&) override {}
    void row(std::span<const std::optional<std::string_view>> fields) override
    {
        std::string code = fields.size() > 1 && fields[0] ? std::string(*fields[0]) : std::string();
        std::string name = fields.back() ? std::string(*fields.back()) : std::string();
        rows.emplace_back(std::move(code), std::move(name));
    }
    std::vector<std::pair<std::string, std::string>> rows;
};

void runStatementsPerLevel(ado::TADOConnection& connection)
{
    Rows root, provinces, cities, sites;
    connection.query("select dwmc from t_scbjg where jb=0 ", {}, root);
    connection.query("select dm,dwmc from v_ssjg order by dm", {}, provinces);
    connection.query("select dm,dwmc from v_dsjg order by dm", {}, cities);
    connection.query("select dm,dwmc,szds from v_kdjg order by dm", {}, sites);
    benchmark::DoNotOptimize(sites.rows.data());
}

void runStatementsPerProvinceAndCity(ado::TADOConnection& connection)
{
    Rows root, provinces;
    connection.query("select dwmc from t_scbjg where jb=0 ", {}, root);
    connection.query("select dm,dwmc from v_ssjg order by dm", {}, provinces);
    for (const auto& province : provinces.rows) {
        Rows cities;
        connection.query("select dm,dwmc from v_dsjg where dm like ? order by dm", {province.first + "%"}, cities);
        for (const auto& city : cities.rows) {
            Rows sites;
            connection.query("select dm,dwmc from v_kdjg where szds=? order by dm", {city.first}, sites);
            benchmark::DoNotOptimize(sites.rows.data());
        }
    }
}

void BM_TreeBuild(benchmark::State& state)
{
    ado::TADOConnection connection(country().connectionString());
    connection.open();
    int nodes = 0;
    for (auto _ : state) {
        exam::OrgTree tree;
        exam::BuildOrgTree(tree, connection);
        nodes = tree.size();
    }
    state.counters["nodes"] = nodes;
    if (nodes != static_cast<int>(country().summary().organisations.size()))
        state.SkipWithError("the tree does not hold every organisation");
}

void BM_Statements(benchmark::State& state, void (*run)(ado::TADOConnection&))
{
    ado::TADOConnection connection(country().connectionString());
    connection.open();
    for (auto _ : state)
        run(connection);
}

BENCHMARK(BM_TreeBuild)->Name("tree build")->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_CAPTURE(BM_Statements, level, runStatementsPerLevel)
    ->Name("statements per level alone")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);
BENCHMARK_CAPTURE(BM_Statements, node, runStatementsPerProvinceAndCity)
    ->Name("statements per province and city alone")
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

} // namespace

int main(int argc, char** argv)
{
    return bench::runBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
        reporter.printRatio("tree build", "statements per level alone");
        reporter.printRatio("tree build", "statements per province and city alone");
    });
}
