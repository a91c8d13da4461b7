// 打印 on the score window showing every candidate of the national list (the root selected,
// 所有 chosen): the score sheet built with its progress window, the preview shown and painted
// on its first page, and the list back on its candidate, against opening the same list
// statement alone; and how far the process's peak memory rises for each of the two.
// Prints "<figure>: <ratio>x <reference>" for the time and the two memory figures in MB.
#include "exam/CandidateList.hpp"
#include "exam/ModuleState.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"
#include "support/CpuTime.hpp"
#include "support/NationalDb.hpp"
#include "support/Offscreen.hpp"
#include "support/PeakMemory.hpp"
#include "support/RatioReporter.hpp"
#include "support/RunBenchmarks.hpp"
#include "support/ScoreWindow.hpp"
#include "support/UnexpectedBoxes.hpp"
#include "ui/ReportFindDialog.hpp"
#include "ui/ReportPreview.hpp"
#include "ui/ReportPrintDialog.hpp"
#include "ui/ReportProgress.hpp"
#include "ui/ReportWindows.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/widgets/TRadioGroup.hpp"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTreeView>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

using namespace skorvin;
namespace fs = std::filesystem;

namespace {

const fs::path kTemplate = fs::path(SKORVIN_SOURCE_DIR) / "resources/四级考生主观题分数报表.rtpl";

// The report's windows as the operator sees them: the real progress window and the real
// preview, shown and painted, closed at once instead of waiting in its modal loop.
class PaintedPreview final : public ui::ReportWindows {
public:
    std::unique_ptr<ui::BuildProgress> openProgress(QWidget* owner) override
    {
        auto window = std::make_unique<ui::ReportProgress>(owner, ui::ReportProgress::Task::Build);
        window->open();
        return window;
    }
    std::unique_ptr<ui::BuildProgress> openPrintProgress(QWidget*) override { stop("print progress"); }
    void preview(QWidget* owner, report::BuiltReport pages, report::TReport* source) override
    {
        ui::ReportPreview window(std::move(pages), source, owner);
        window.show();
        QCoreApplication::processEvents();
        window.repaint();
        pages_ = window.pages().pageCount();
    }
    std::optional<ui::FindChoice> chooseFind(QWidget*, const ui::FindChoice&) override { stop("find"); }
    std::optional<ui::PrintChoice> choosePrint(QWidget*, const std::vector<ui::Printer*>&, int) override
    {
        stop("print dialog");
    }

    int pages() const { return pages_; }

private:
    [[noreturn]] static void stop(const char* what)
    {
        std::fprintf(stderr, "unexpected window: %s\n", what);
        std::abort();
    }

    int pages_ = 0;
};

// The score window on the national database, the root selected and 所有 chosen.
class Window {
public:
    Window() : shown_(bench::nationalDatabase(), boxes_)
    {
        ui::Replaceable<ui::ReportWindows>::install(&reports_);
        auto* tree = shown_.child<QTreeView>("TreeView1");
        tree->selectionModel()->setCurrentIndex(tree->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
        QRadioButton* all = shown_.child<ui::TRadioGroup>("RadioGroup1")->button(2);
        QTest::mouseClick(all, Qt::LeftButton, Qt::NoModifier, QPoint(6, all->height() / 2));
        printButton_ = shown_.child<QAbstractButton>("SpeedButton2");
        rows_ = shown_.child<ui::TDataGrid>("DataGrid1")->model()->rowCount();
        shown_.settle();
    }
    ~Window() { ui::Replaceable<ui::ReportWindows>::install(nullptr); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    ado::TADOConnection& connection() { return shown_.connection(); }
    void clickPrint()
    {
        QTest::mouseClick(printButton_, Qt::LeftButton);
        shown_.settle();
    }
    int rows() const { return rows_; }
    int pages() const { return reports_.pages(); }

private:
    bench::UnexpectedBoxes boxes_;
    PaintedPreview reports_;
    bench::ScoreWindow shown_;
    QAbstractButton* printButton_ = nullptr;
    int rows_ = 0;
};

std::unique_ptr<Window> theWindow;

// The root's list statement opened alone, with nothing shown.
void openList(ado::TADOConnection& connection)
{
    exam::ModuleState moduleState;
    ado::TADODataSet list("Main_AdoSet");
    list.setConnection(&connection);
    list.setCommandText(exam::BuildCandidateSql(moduleState, exam::SelectedNode{0, "", ""}));
    list.open();
    benchmark::DoNotOptimize(list.recordCount());
}

void listOpen(benchmark::State& state)
{
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        openList(theWindow->connection());
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

void printPreview(benchmark::State& state)
{
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        theWindow->clickPrint();
        state.SetIterationTime(bench::threadSeconds() - start);
    }
    state.counters["rows"] = theWindow->rows();
    state.counters["pages"] = theWindow->pages();
}

} // namespace

BENCHMARK(listOpen)->Name("list open")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(printPreview)->Name("print preview")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

int main(int argc, char** argv)
{
    bench::paintOffscreen();
    QApplication app(argc, argv);
    // The preview keeps its placement in the settings store: a store of the benchmark's own.
    QStandardPaths::setTestModeEnabled(true);
    // The template where the window looks for it, beside the program as beside a host.
    const fs::path reports = fs::path(QCoreApplication::applicationDirPath().toStdString()) / "报表";
    fs::create_directories(reports);
    fs::copy_file(kTemplate, reports / kTemplate.filename(), fs::copy_options::overwrite_existing);
    theWindow = std::make_unique<Window>();
    // Each peak is taken in a fresh run of this program, from the window as it is now (the
    // root listed, 所有 chosen), which prints it and ends.
    const std::string asked = bench::peakFigureAsked(argc, argv);
    if (!asked.empty()) {
        const double growth = asked == "print" ? bench::peakGrowthMb([] { theWindow->clickPrint(); })
                                               : bench::peakGrowthMb([] { openList(theWindow->connection()); });
        std::printf("%.1f\n", growth);
        theWindow.reset();
        return 0;
    }
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    const double printPeak = bench::peakGrowthMbInFreshRun(program, "print");
    const double listPeak = bench::peakGrowthMbInFreshRun(program, "list");
    const int status = bench::runBenchmarks(argc, argv, [&](const bench::RatioReporter& reporter) {
        reporter.printRatio("print preview", "list open");
        std::printf("print preview peak memory growth: %.1f MB; list open: %.1f MB: %.2fx\n", printPeak, listPeak,
                    printPeak / listPeak);
    });
    theWindow.reset();
    fs::remove_all(reports);
    return status;
}
