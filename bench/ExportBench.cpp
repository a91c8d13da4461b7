// The list export of the whole country (a million level-4 candidates): 导出 clicked on
// the score window showing every candidate of the national list (所有), against the
// sqlite3 shell writing the rows of the same statement to a file with the same
// separators; the same click with the workbook type chosen, against the text export; and
// how far the process's peak memory rises while each file is written.
// Prints "list export: <ratio>x sqlite3 CLI", "workbook export: <ratio>x list export" and
// "<export> peak memory growth: <n> MB" for both.
#include "exam/CandidateList.hpp"
#include "exam/ModuleState.hpp"
#include "support/CpuTime.hpp"
#include "support/NationalDb.hpp"
#include "support/Offscreen.hpp"
#include "support/PeakMemory.hpp"
#include "support/RatioReporter.hpp"
#include "support/RunBenchmarks.hpp"
#include "support/ScoreWindow.hpp"
#include "support/UnexpectedBoxes.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/widgets/TRadioGroup.hpp"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace skorvin;
namespace fs = std::filesystem;

namespace {

const fs::path kFolder = fs::temp_directory_path() / "skorvin-export-bench";

// The operator names the export file; any box means the figure is wrong: say why and stop.
class Operator : public bench::UnexpectedBoxes {
public:
    QString saveFileName(QWidget*, const QString&, const QString&) override
    {
        return QString::fromStdString((kFolder / "list").string());
    }
    SaveChoice saveFileOfType(QWidget* owner, const QString& proposedName, const QString& filters) override
    {
        return {saveFileName(owner, proposedName, filters),
                filters.section(QStringLiteral(";;"), workbook ? 1 : 0, workbook ? 1 : 0)};
    }

    bool workbook = false; // the type chosen: the workbook, or the text file
};

// The score window on the national database, the root selected and 所有 chosen.
class Window {
public:
    Window() : shown_(bench::nationalDatabase(), operator_)
    {
        auto* tree = shown_.child<QTreeView>("TreeView1");
        tree->selectionModel()->setCurrentIndex(tree->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
        QRadioButton* all = shown_.child<ui::TRadioGroup>("RadioGroup1")->button(2);
        QTest::mouseClick(all, Qt::LeftButton, Qt::NoModifier, QPoint(6, all->height() / 2));
        exportButton_ = shown_.child<QPushButton>("btnExport");
        rows_ = shown_.child<ui::TDataGrid>("DataGrid1")->model()->rowCount();
        QCoreApplication::processEvents();
    }

    void clickExport(bool workbook = false)
    {
        operator_.workbook = workbook;
        QTest::mouseClick(exportButton_, Qt::LeftButton);
    }
    int rows() const { return rows_; }

private:
    Operator operator_;
    bench::ScoreWindow shown_;
    QPushButton* exportButton_ = nullptr;
    int rows_ = 0;
};

std::unique_ptr<Window> theWindow;

void listExport(benchmark::State& state)
{
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        theWindow->clickExport();
        state.SetIterationTime(bench::threadSeconds() - start);
    }
    state.counters["rows"] = theWindow->rows();
    state.counters["MB"] = static_cast<double>(fs::file_size(kFolder / "list.txt")) / 1e6;
}

void workbookExport(benchmark::State& state)
{
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        theWindow->clickExport(true);
        state.SetIterationTime(bench::threadSeconds() - start);
    }
    state.counters["rows"] = theWindow->rows();
    state.counters["MB"] = static_cast<double>(fs::file_size(kFolder / "list.xlsx")) / 1e6;
}

// The shell runs the list statement and writes every row, TAB between the fields, CR LF
// between the rows.
void sqliteShell(benchmark::State& state)
{
    exam::ModuleState moduleState;
    const std::string sql = exam::BuildCandidateSql(moduleState, exam::SelectedNode{0, "", ""});
    const std::string command = "sqlite3 -separator '\t' -newline '\r\n' '" + bench::nationalDatabase().string() +
                                "' \"" + sql + "\" > '" + (kFolder / "sqlite.txt").string() + "'";
    for (auto _ : state) {
        const double start = bench::childSeconds();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sqlite3 failed");
        state.SetIterationTime(bench::childSeconds() - start);
    }
}

} // namespace

BENCHMARK(listExport)->Name("list export")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(workbookExport)->Name("workbook export")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(sqliteShell)->Name("sqlite3 CLI")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);

int main(int argc, char** argv)
{
    bench::paintOffscreen();
    QApplication app(argc, argv);
    fs::create_directories(kFolder);
    theWindow = std::make_unique<Window>();
    // The rise over what was resident before one export.
    const double growth = bench::peakGrowthMb([] { theWindow->clickExport(false); });
    const double workbookGrowth = bench::peakGrowthMb([] { theWindow->clickExport(true); });
    const int status = bench::runBenchmarks(argc, argv, [&](const bench::RatioReporter& reporter) {
        reporter.printRatio("list export", "sqlite3 CLI");
        reporter.printRatio("workbook export", "list export");
        std::printf("list export peak memory growth: %.2f MB\n", growth);
        std::printf("workbook export peak memory growth: %.2f MB\n", workbookGrowth);
    });
    theWindow.reset();
    fs::remove_all(kFolder);
    return status;
}
