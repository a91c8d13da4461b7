// The candidate list of the whole country (a million level-4 candidates): opening it
// against the sqlite3 shell running the same statement, the memory its snapshot holds
// against the bytes of its text, switching the display filter and looking numbers up
// against one opening, and the whole look-up the window makes for one typed number.
// Prints one line per figure: "<figure>: <ratio>x <reference>".
#include "platform/connection/TADOConnection.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"
#include "support/CpuTime.hpp"
#include "support/NationalDb.hpp"
#include "support/RatioReporter.hpp"
#include "support/RunBenchmarks.hpp"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace skorvin;

namespace {

// The national list statement, as the window builds it for the root node.
const std::string kListSql =
    " select b.zkzh,b.tttt,a.xm from (select * from t_omr  where zkzh like '4%' and  (UPPER(qk)<>'Q' or qk Is Null)) "
    "b left join t_bm a on a.zkzh=b.zkzh  order by b.zkzh";
const std::string kUnscored = " tttt = null or tttt=''";
const std::string kScored = " tttt <> null and tttt<>''";

ado::TADOConnection& connection()
{
    static ado::TADOConnection instance(bench::sqliteConnectionString(bench::nationalDatabase()));
    instance.open();
    return instance;
}

std::unique_ptr<ado::TADODataSet> openList()
{
    auto list = std::make_unique<ado::TADODataSet>("Main_AdoSet");
    list->setConnection(&connection());
    list->setCommandText(kListSql);
    list->open();
    return list;
}

void listOpen(benchmark::State& state)
{
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        auto list = openList();
        benchmark::DoNotOptimize(list->recordCount());
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

// The shell reads the same file and writes every row to /dev/null.
void sqliteShell(benchmark::State& state)
{
    const std::string command = "sqlite3 '" + bench::nationalDatabase().string() + "' \"" + kListSql + "\" > /dev/null";
    for (auto _ : state) {
        const double start = bench::childSeconds();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sqlite3 failed");
        state.SetIterationTime(bench::childSeconds() - start);
    }
}

void filterSwitchAndCount(benchmark::State& state)
{
    static auto list = openList();
    list->setFiltered(true);
    bool scored = false;
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        list->setFilter(scored ? kScored : kUnscored);
        benchmark::DoNotOptimize(list->recordCount());
        state.SetIterationTime(bench::threadSeconds() - start);
        scored = !scored;
    }
}

// 10,000 numbers typed one after another, found the way the window finds them.
void tenThousandFinds(benchmark::State& state)
{
    static auto list = openList();
    auto clone = list->cloneReadOnly();
    clone->setSort("zkzh");
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, list->recordCount() - 1);
    std::vector<std::string> numbers;
    for (int i = 0; i < 10'000; ++i)
        numbers.push_back(*list->viewValue(pick(random), 0));
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        for (const auto& n : numbers)
            if (!clone->findEqual("zkzh", n))
                state.SkipWithError("a listed number was not found");
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

// One Enter in the number box as the window made it before it kept a number index: a fresh
// sorted clone of the list, then the look-up.
void cloneSortFind(benchmark::State& state)
{
    static auto list = openList();
    const auto number = *list->viewValue(list->recordCount() / 2, 0);
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        auto clone = list->cloneReadOnly();
        clone->setSort("zkzh");
        if (!clone->findEqual("zkzh", number))
            state.SkipWithError("a listed number was not found");
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

// One Enter in the number box: the number index searched, the list moved to the row found
// (the list shows the unscored candidates, as the window does).
void seekAndGo(benchmark::State& state)
{
    static auto list = openList();
    list->setFilter(kUnscored);
    list->setFiltered(true);
    const auto number = *list->viewValue(list->recordCount() / 2, 0);
    list->seekEqual("zkzh", number); // the index is built once per list, at its first search
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        const auto found = list->seekEqual("zkzh", number);
        if (!found)
            state.SkipWithError("a listed number was not found");
        else
            list->gotoBookmark(*found);
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

std::size_t heapInUse()
{
    const auto info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Heap the open list holds against the bytes of its field texts.
double snapshotMemoryRatio()
{
    const auto before = heapInUse();
    auto list = openList();
    malloc_trim(0);
    const auto held = heapInUse() - before;
    std::size_t text = 0;
    for (int r = 0; r < list->recordCount(); ++r)
        for (int f = 0; f < 3; ++f)
            text += list->viewValue(r, f).value_or("").size();
    return static_cast<double>(held) / static_cast<double>(text);
}

} // namespace

BENCHMARK(listOpen)->Name("list open")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(sqliteShell)->Name("sqlite3 CLI")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(filterSwitchAndCount)->Name("filter switch + count")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(tenThousandFinds)->Name("10,000 findEqual")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(cloneSortFind)->Name("clone + sort + findEqual")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(seekAndGo)->Name("seekEqual + gotoBookmark")->Unit(benchmark::kMicrosecond)->UseManualTime();

int main(int argc, char** argv)
{
    bench::nationalDatabase();
    return bench::runBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
        reporter.printRatio("list open", "sqlite3 CLI");
        std::printf("snapshot memory: %.3gx bytes of its text\n", snapshotMemoryRatio());
        reporter.printRatio("filter switch + count", "list open");
        reporter.printRatio("10,000 findEqual", "list open");
        reporter.printRatio("clone + sort + findEqual", "list open");
        reporter.printRatio("seekEqual + gotoBookmark", "list open");
    });
}
