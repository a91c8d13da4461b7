// The score journal: a save with the journal on against the same save with it off, and the
// journal window opening on 100,000 entries against the list opening on 100,000 candidates.
// Prints one line per figure: "<figure>: <ratio>x <reference>".
#include "exam/ScoreEntrySession.hpp"
#include "platform/Gbk.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "platform/journal/JournalFile.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"
#include "support/CpuTime.hpp"
#include "support/NationalDb.hpp"
#include "support/Offscreen.hpp"
#include "support/RatioReporter.hpp"
#include "support/RunBenchmarks.hpp"
#include "ui/journal/JournalWindow.hpp"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

using namespace skorvin;
namespace fs = std::filesystem;

namespace {

const fs::path kData(SKORVIN_BENCH_DATA_DIR);

// The national list statement, as the window builds it for the root node.
const std::string kListSql =
    " select b.zkzh,b.tttt,a.xm from (select * from t_omr  where zkzh like '4%' and  (UPPER(qk)<>'Q' or qk Is Null)) "
    "b left join t_bm a on a.zkzh=b.zkzh  order by b.zkzh";

// A journal of 100,000 entries, made once and kept in the build folder.
fs::path journalOf100000()
{
    const fs::path path = kData / "journal-100000.sqlite";
    if (fs::exists(path))
        return path;
    const fs::path partial = kData / "journal-100000.partial.sqlite";
    fs::remove(partial);
    {
        // Closed before the rename, so that nothing is left behind in its WAL file.
        journal::JournalFile file(gbk::fromUtf8(partial.string()));
        const std::string organisation = gbk::fromUtf8("11-北京市");
        for (int i = 0; i < 100'000; ++i)
            file.append({0, "2026-12-10 14:03:05 +0800", "pc1", "clerk", organisation,
                         "4001" + std::to_string(10'000'000 + i), std::nullopt, std::string("23"), "save", "saved",
                         ""});
    }
    fs::rename(partial, path);
    return path;
}

double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A score window's session on its own copy of a small demo database, its settings file in
// folder; the journal is off when a folder stands where its file would be.
struct SaveSetup {
    SaveSetup(const std::string& name, bool journalOn) : folder(kData / name)
    {
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(bench::demoDatabase(2'000), folder / "exam.sqlite");
        std::ofstream(folder / "kavrint.ini", std::ios::binary) << "[ScoreSet]\r\nXs=1\r\nUp=40\r\n";
        if (!journalOn)
            fs::create_directory(folder / fs::path(u8"登分日志.sqlite"));
        connection = std::make_unique<ado::TADOConnection>(bench::sqliteConnectionString(folder / "exam.sqlite"));
        connection->open();
        state.HostConnection = connection.get();
        session = std::make_unique<exam::ScoreEntrySession>(state,
                                                            exam::HostFiles::in(gbk::fromUtf8((folder / "").string())));
        session->bind();
        exam::OrgTree tree;
        const int node = session->start(tree).node;
        session->selectNode(tree.selection(node), 2);
        session->Main_AdoSet.first();
    }
    fs::path folder;
    std::unique_ptr<ado::TADOConnection> connection;
    exam::ModuleState state;
    std::unique_ptr<exam::ScoreEntrySession> session;
};

// The save the window makes on Enter, on the wall clock: the journal's cost is mostly the
// disk's, which processor time does not see.
void save(benchmark::State& state, bool journalOn)
{
    SaveSetup setup(journalOn ? "save-journal-on" : "save-journal-off", journalOn);
    if (setup.session->journal().on() != journalOn)
        state.SkipWithError("the journal is not as the case needs");
    int score = 0;
    for (auto _ : state) {
        const std::string text = std::to_string(score++ % 40);
        const double start = wallSeconds();
        setup.session->storeCurrent(text, true);
        state.SetIterationTime(wallSeconds() - start);
    }
}

void journalWindowOpen(benchmark::State& state)
{
    const std::string path = gbk::fromUtf8(journalOf100000().string());
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        ui::JournalWindow window(path);
        benchmark::DoNotOptimize(window.shownCount());
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

void listOpen(benchmark::State& state)
{
    ado::TADOConnection connection(bench::sqliteConnectionString(bench::demoDatabase(100'000)));
    connection.open();
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        ado::TADODataSet list("Main_AdoSet");
        list.setConnection(&connection);
        list.setCommandText(kListSql);
        list.open();
        benchmark::DoNotOptimize(list.recordCount());
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

} // namespace

BENCHMARK_CAPTURE(save, on, true)->Name("save with journal")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(save, off, false)->Name("save without journal")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(journalWindowOpen)->Name("journal window open")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(listOpen)->Name("list open")->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv)
{
    bench::paintOffscreen();
    QApplication app(argc, argv);
    return bench::runBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
        reporter.printRatio("save with journal", "save without journal");
        reporter.printRatio("journal window open", "list open");
    });
}
