// The score window's start-up on the national database (a million level-4 candidates), as the
// operator meets it: the tree with its counts, the installation's province listed, everything
// painted; against the one grouped statement that counts the candidates of every organisation
// for the tree, which that start-up runs once. Their ratio is the counts' share of the start-up.
// Prints one line per figure: "<figure>: <ratio>x <reference>".
#include "exam/EntryProgress.hpp"
#include "exam/KDTree.hpp"
#include "exam/StandardInfo.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "support/CpuTime.hpp"
#include "support/NationalDb.hpp"
#include "support/Offscreen.hpp"
#include "support/RatioReporter.hpp"
#include "support/RunBenchmarks.hpp"
#include "support/ScoreWindow.hpp"
#include "support/UnexpectedBoxes.hpp"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeView>

#include <memory>

using namespace skorvin;

namespace {

// The window opens without asking anything.
class NoBoxes : public bench::UnexpectedBoxes {};

// The window created, shown and painted, and closed again untimed.
void windowStartUp(benchmark::State& state)
{
    NoBoxes boxes;
    const auto database = bench::nationalDatabase();
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        auto shown = std::make_unique<bench::ScoreWindow>(database, boxes);
        state.SetIterationTime(bench::threadSeconds() - start);
        const QString root = shown->child<QTreeView>("TreeView1")->model()->index(0, 0).data().toString();
        if (!root.endsWith(QLatin1Char(')')))
            state.SkipWithError("the tree shows no counts");
        shown.reset();
    }
}

// The counting statement alone, on the tree the window builds.
void countsRead(benchmark::State& state)
{
    ado::TADOConnection connection(bench::sqliteConnectionString(bench::nationalDatabase()));
    connection.open();
    exam::OrgTree tree;
    exam::BuildOrgTree(tree, connection);
    const int siteCodeLength = exam::SiteCodeLength(exam::CheckDbVersion(connection));
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        exam::EntryProgress progress;
        progress.read(connection, tree, siteCodeLength);
        state.SetIterationTime(bench::threadSeconds() - start);
        state.counters["candidates"] = static_cast<double>(progress.count(0).value().total);
    }
}

} // namespace

BENCHMARK(windowStartUp)->Name("window start-up")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(countsRead)->Name("tree counts read")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

int main(int argc, char** argv)
{
    bench::paintOffscreen();
    QApplication app(argc, argv);
    return bench::runBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
        reporter.printRatio("tree counts read", "window start-up");
    });
}
