// The score sheet report: building it over a list of 100,000 candidates against opening
// that list, and the bytes the built report holds per row; on the national list's built
// report (about a million rows), Ctrl+End with the last page painted against painting
// page 1, and a search that finds nothing, walking every page, against building it.
// Prints one line per figure: "<figure>: <ratio>x <reference>".
#include "platform/Gbk.hpp"
#include "platform/Text.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"
#include "report/TReport.hpp"
#include "report/TUserDataset.hpp"
#include "report/TextSearch.hpp"
#include "support/CpuTime.hpp"
#include "support/NationalDb.hpp"
#include "support/Offscreen.hpp"
#include "support/RatioReporter.hpp"
#include "support/RunBenchmarks.hpp"
#include "ui/preview/ReportPageView.hpp"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

using namespace skorvin;
namespace fs = std::filesystem;

namespace {

const fs::path kTemplate = fs::path(SKORVIN_SOURCE_DIR) / "resources/四级考生主观题分数报表.rtpl";

// The national list statement, as the window builds it for the root node.
const std::string kListSql =
    " select b.zkzh,b.tttt,a.xm from (select * from t_omr  where zkzh like '4%' and  (UPPER(qk)<>'Q' or qk Is Null)) "
    "b left join t_bm a on a.zkzh=b.zkzh  order by b.zkzh";

struct OpenList {
    std::unique_ptr<ado::TADOConnection> connection;
    std::unique_ptr<ado::TADODataSet> list;
};

OpenList openList(std::int64_t candidates)
{
    OpenList open;
    open.connection =
        std::make_unique<ado::TADOConnection>(bench::sqliteConnectionString(bench::demoDatabase(candidates)));
    open.connection->open();
    open.list = std::make_unique<ado::TADODataSet>("Main_AdoSet");
    open.list->setConnection(open.connection.get());
    open.list->setCommandText(kListSql);
    open.list->open();
    return open;
}

// The score sheet over the list, fed as the score window feeds it.
report::BuiltReport buildSheet(ado::TADODataSet& list)
{
    report::TReport report("Report1");
    report.LoadFromFile(gbk::fromUtf8(kTemplate.string()));
    report.FindObject("memo1")->setText("2024");
    report.FindObject("memo2")->setText("00");
    report::TUserDataset rows("UserDataset1");
    rows.setRecordCount(list.recordCount());
    rows.OnFirst = [&list] { list.first(); };
    rows.OnNext = [&list] { list.next(); };
    report.addDataSet(&rows);
    report.OnGetValue = [&list](const std::string& name) -> std::optional<std::string> {
        if (name == "ZKZH")
            return text::trim(list.fieldText("zkzh"));
        if (name == "XM")
            return text::trim(list.fieldText("xm"));
        if (name == "FS")
            return text::trim(list.fieldText("tttt"));
        return std::nullopt;
    };
    return report.PrepareReport().pages;
}

OpenList& hundredThousand()
{
    static OpenList open = openList(100'000);
    return open;
}

void listOpen(benchmark::State& state)
{
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        OpenList open = openList(100'000);
        benchmark::DoNotOptimize(open.list->recordCount());
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

double bytesPerRow = 0;

void reportBuild(benchmark::State& state)
{
    ado::TADODataSet& list = *hundredThousand().list;
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        const report::BuiltReport pages = buildSheet(list);
        state.SetIterationTime(bench::threadSeconds() - start);
        bytesPerRow = static_cast<double>(pages.memoryBytes()) / list.recordCount();
    }
}

// The national list's report, built once and kept for the figures on it.
std::unique_ptr<report::BuiltReport> national;
int nationalRows = 0;

void nationalBuild(benchmark::State& state)
{
    OpenList open = openList(1'000'000);
    nationalRows = open.list->recordCount();
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        national = std::make_unique<report::BuiltReport>(buildSheet(*open.list));
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

void searchNothing(benchmark::State& state)
{
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        if (report::findText(*national, "zzzz", false, 0))
            state.SkipWithError("found what is not there");
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

// The page view of the preview on the national report, as the operator sees it.
std::unique_ptr<ui::ReportPageView> view;

ui::ReportPageView& pageView()
{
    if (!view) {
        view = std::make_unique<ui::ReportPageView>(*national);
        view->resize(1000, 800);
        view->show();
        QCoreApplication::processEvents();
    }
    return *view;
}

void firstPagePaint(benchmark::State& state)
{
    ui::ReportPageView& v = pageView();
    v.goToPage(1);
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        v.viewport()->repaint();
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

void ctrlEndPaint(benchmark::State& state)
{
    ui::ReportPageView& v = pageView();
    for (auto _ : state) {
        QTest::keyClick(&v, Qt::Key_Home, Qt::ControlModifier);
        const double start = bench::threadSeconds();
        QTest::keyClick(&v, Qt::Key_End, Qt::ControlModifier);
        v.viewport()->repaint();
        state.SetIterationTime(bench::threadSeconds() - start);
        if (v.currentPage() != national->pageCount())
            state.SkipWithError("Ctrl+End did not reach the last page");
    }
}

} // namespace

BENCHMARK(listOpen)->Name("list open")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(reportBuild)->Name("report build")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2);
BENCHMARK(nationalBuild)->Name("national report build")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
BENCHMARK(searchNothing)->Name("report search finding nothing")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(firstPagePaint)->Name("page 1 paint")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(ctrlEndPaint)->Name("Ctrl+End + last page paint")->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv)
{
    bench::paintOffscreen();
    QApplication app(argc, argv);
    const int status = bench::runBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
        reporter.printRatio("report build", "list open");
        std::printf("report bytes per row: %.0f\n", bytesPerRow);
        if (national)
            std::printf("national report: %d rows, %d pages, %.0f bytes per row\n", nationalRows, national->pageCount(),
                        static_cast<double>(national->memoryBytes()) / nationalRows);
        reporter.printRatio("Ctrl+End + last page paint", "page 1 paint");
        reporter.printRatio("report search finding nothing", "national report build");
    });
    view.reset();
    national.reset();
    return status;
}
