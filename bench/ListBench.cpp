// The candidate list of the whole country (a million level-4 candidates): opening it
// against the sqlite3 shell running the same statement, the memory its snapshot holds
// against the bytes of its text, switching the display filter and looking numbers up
// against one opening, and the whole look-up the window makes for one typed number.
// Prints one line per figure: "<figure>: <ratio>x <reference>".
#include "host/demodb/DemoDb.hpp"
#include "platform/Gbk.hpp"
#include "platform/ado/TADOConnection.hpp"
#include "platform/ado/TCustomADODataSet.hpp"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace skorvin;

namespace {

constexpr std::int64_t kCandidates = 1'000'000;

// The national list statement, as the window builds it for the root node.
const std::string kListSql =
    " select b.zkzh,b.tttt,a.xm from (select * from t_omr  where zkzh like '4%' and  (UPPER(qk)<>'Q' or qk Is Null)) "
    "b left join t_bm a on a.zkzh=b.zkzh  order by b.zkzh";
const std::string kUnscored = " tttt = null or tttt=''";
const std::string kScored = " tttt <> null and tttt<>''";

std::filesystem::path databasePath()
{
    const auto path = std::filesystem::path(SKORVIN_BENCH_DATA_DIR) / "demo-1000000.sqlite";
    if (!std::filesystem::exists(path)) {
        std::fprintf(stderr, "Making the demo database of %lld candidates at %s ...\n",
                     static_cast<long long>(kCandidates), path.c_str());
        demodb::Options options;
        options.candidates = kCandidates;
        const auto partial = path.string() + ".partial";
        demodb::create(partial, options);
        std::filesystem::rename(partial, path);
    }
    return path;
}

ado::TADOConnection& connection()
{
    static ado::TADOConnection instance("Provider=SQLite;Data Source=" + gbk::fromUtf8(databasePath().string()));
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

// Every figure is processor time, not wall-clock time: the machine is shared, and the
// shell's time is that of its own process.
double threadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double childSeconds()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    auto seconds = [](const timeval& v) {
        return static_cast<double>(v.tv_sec) + static_cast<double>(v.tv_usec) / 1e6;
    };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

void listOpen(benchmark::State& state)
{
    for (auto _ : state) {
        const double start = threadSeconds();
        auto list = openList();
        benchmark::DoNotOptimize(list->recordCount());
        state.SetIterationTime(threadSeconds() - start);
    }
}

// The shell reads the same file and writes every row to /dev/null.
void sqliteShell(benchmark::State& state)
{
    const std::string command = "sqlite3 '" + databasePath().string() + "' \"" + kListSql + "\" > /dev/null";
    for (auto _ : state) {
        const double start = childSeconds();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sqlite3 failed");
        state.SetIterationTime(childSeconds() - start);
    }
}

void filterSwitchAndCount(benchmark::State& state)
{
    static auto list = openList();
    list->setFiltered(true);
    bool scored = false;
    for (auto _ : state) {
        const double start = threadSeconds();
        list->setFilter(scored ? kScored : kUnscored);
        benchmark::DoNotOptimize(list->recordCount());
        state.SetIterationTime(threadSeconds() - start);
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
        const double start = threadSeconds();
        for (const auto& n : numbers)
            if (!clone->findEqual("zkzh", n))
                state.SkipWithError("a listed number was not found");
        state.SetIterationTime(threadSeconds() - start);
    }
}

// One Enter in the number box: a fresh sorted clone of the list, then the look-up.
void cloneSortFind(benchmark::State& state)
{
    static auto list = openList();
    const auto number = *list->viewValue(list->recordCount() / 2, 0);
    for (auto _ : state) {
        const double start = threadSeconds();
        auto clone = list->cloneReadOnly();
        clone->setSort("zkzh");
        if (!clone->findEqual("zkzh", number))
            state.SkipWithError("a listed number was not found");
        state.SetIterationTime(threadSeconds() - start);
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

// Keeps each benchmark's real time per iteration, to print the ratios after the table.
class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                seconds[run.run_name.function_name] = run.GetAdjustedRealTime() / 1e3; // ms -> s
    }
    std::map<std::string, double> seconds;
};

} // namespace

BENCHMARK(listOpen)->Name("list open")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(sqliteShell)->Name("sqlite3 CLI")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(filterSwitchAndCount)->Name("filter switch + count")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(tenThousandFinds)->Name("10,000 findEqual")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(cloneSortFind)->Name("clone + sort + findEqual")->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    databasePath();
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& s = reporter.seconds;
    auto ratio = [&](const char* figure, const char* reference) {
        if (s.count(figure) && s.count(reference))
            std::printf("%s: %.3gx %s\n", figure, s[figure] / s[reference], reference);
    };
    std::printf("\n");
    ratio("list open", "sqlite3 CLI");
    std::printf("snapshot memory: %.3gx bytes of its text\n", snapshotMemoryRatio());
    ratio("filter switch + count", "list open");
    ratio("10,000 findEqual", "list open");
    ratio("clone + sort + findEqual", "list open");
    benchmark::Shutdown();
    return 0;
}
