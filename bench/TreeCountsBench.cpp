// The score window's start-up on the national database (a million level-4 candidates): until
// the window is painted with the installation's province listed, which is when the operator
// can start, against the same followed by the tree's counts, which the window reads only then;
// and the one grouped statement behind the counts, against the start-up.
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

// The window created, shown and painted; with counts, also the counts read and the tree painted
// again. The window is closed again untimed.
void windowStartUp(benchmark::State& state, bool withCounts)
{
    NoBoxes boxes;
    const auto database = bench::nationalDatabase();
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        auto shown = std::make_unique<bench::ScoreWindow>(database, boxes);
        if (withCounts)
            shown->settle();
        state.SetIterationTime(bench::threadSeconds() - start);
        const QString root = shown->child<QTreeView>("TreeView1")->model()->index(0, 0).data().toString();
        if (root.endsWith(QLatin1Char(')')) != withCounts)
            state.SkipWithError(withCounts ? "the tree shows no counts"
                                           : "the counts were read before the window was painted");
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

BENCHMARK_CAPTURE(windowStartUp, painted, false)
    ->Name("window start-up")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(3);
BENCHMARK_CAPTURE(windowStartUp, counted, true)
    ->Name("window start-up and tree counts")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(3);
BENCHMARK(countsRead)->Name("tree counts read")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

int main(int argc, char** argv)
{
    bench::paintOffscreen();
    QApplication app(argc, argv);
    return bench::runBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
        reporter.printRatio("window start-up and tree counts", "window start-up");
        reporter.printRatio("tree counts read", "window start-up");
    });
}
