// The score window on the candidate list of the whole country (a million level-4
// candidates): selecting the root in the tree, one full scroll of the grid, Ctrl+End and
// Ctrl+Home, a switch of the display choice, and every row marked and removed from the
// list, each against opening the root's list statement alone. Every step ends with what
// it changed repainted (the whole window, the grid alone for a scroll), as the screen
// would show it.
// Prints one line per figure: "<figure>: <ratio>x <reference>".
#include "exam/CandidateList.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"
#include "support/CpuTime.hpp"
#include "support/NationalDb.hpp"
#include "support/Offscreen.hpp"
#include "support/RatioReporter.hpp"
#include "support/RunBenchmarks.hpp"
#include "support/ScoreWindow.hpp"
#include "support/UnexpectedBoxes.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/widgets/TRadioGroup.hpp"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include <memory>

using namespace skorvin;

namespace {

// The operator answers OK to every question; any other box means the figure is wrong:
// say why and stop.
class OperatorSaysOk : public bench::UnexpectedBoxes {
public:
    bool confirm(QWidget*, const QString&, const QString&) override { return true; }
};

// The score window shown on the national database. It opens on the installation's
// province (Beijing), as the operator finds it.
class Window {
public:
    Window()
        : shown_(bench::nationalDatabase(), boxes_), tree_(shown_.child<QTreeView>("TreeView1")),
          grid_(shown_.child<ui::TDataGrid>("DataGrid1")), choices_(shown_.child<ui::TRadioGroup>("RadioGroup1"))
    {
    }

    ado::TADOConnection& connection() { return shown_.connection(); }
    ui::TDataGrid& grid() { return *grid_; }

    void clickNode(const QModelIndex& index)
    {
        QTest::mouseClick(tree_->viewport(), Qt::LeftButton, Qt::NoModifier, tree_->visualRect(index).center());
        settle();
    }
    QModelIndex root() const { return tree_->model()->index(0, 0); }
    QModelIndex firstProvince() const { return tree_->model()->index(0, 0, root()); }

    void clickChoice(int index)
    {
        QRadioButton* button = choices_->button(index);
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
        settle();
    }

    void key(int key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(grid_, static_cast<Qt::Key>(key), modifiers);
        settle();
    }

    void settle() { shown_.settle(); }

private:
    OperatorSaysOk boxes_;
    bench::ScoreWindow shown_;
    QTreeView* tree_;
    ui::TDataGrid* grid_;
    ui::TRadioGroup* choices_;
};

// Made in main and gone before the application object is.
std::unique_ptr<Window> theWindow;

Window& window()
{
    return *theWindow;
}

// The reference: the root's list statement opened alone, with nothing shown.
void listOpen(benchmark::State& state)
{
    exam::ModuleState moduleState;
    const std::string sql = exam::BuildCandidateSql(moduleState, exam::SelectedNode{0, "", ""});
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        ado::TADODataSet list("Main_AdoSet");
        list.setConnection(&window().connection());
        list.setCommandText(sql);
        list.open();
        benchmark::DoNotOptimize(list.recordCount());
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

// A click on the root: the national list opened, filtered, shown and painted.
void selectRoot(benchmark::State& state)
{
    Window& w = window();
    for (auto _ : state) {
        w.clickNode(w.firstProvince());
        const double start = bench::threadSeconds();
        w.clickNode(w.root());
        state.SetIterationTime(bench::threadSeconds() - start);
    }
    state.counters["rows"] = w.grid().model()->rowCount();
}

// The scroll bar dragged from the top to the end and back, every position painted.
void fullScroll(benchmark::State& state)
{
    constexpr int kPositions = 1000;
    Window& w = window();
    w.clickNode(w.root());
    QScrollBar* bar = w.grid().verticalScrollBar();
    // A scroll changes the grid alone, so the grid alone is painted.
    auto moveTo = [&](int step) {
        bar->setValue(static_cast<int>(static_cast<long long>(bar->maximum()) * step / kPositions));
        QCoreApplication::processEvents();
        w.grid().repaint();
    };
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        for (int step = 0; step <= kPositions; ++step)
            moveTo(step);
        for (int step = kPositions; step >= 0; --step)
            moveTo(step);
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

// One paint of the grid with the scroll bar at a given end of the national list: the
// same at the end as at the top, since a paint reads only the rows on screen.
void gridPaintAt(benchmark::State& state, bool atEnd)
{
    Window& w = window();
    w.clickNode(w.root());
    QScrollBar* bar = w.grid().verticalScrollBar();
    bar->setValue(atEnd ? bar->maximum() : 0);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        w.grid().repaint();
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

// Ctrl+End then Ctrl+Home in the grid: the current row to the last candidate and back.
void endAndHome(benchmark::State& state)
{
    Window& w = window();
    w.clickNode(w.root());
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        w.key(Qt::Key_End, Qt::ControlModifier);
        w.key(Qt::Key_Home, Qt::ControlModifier);
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

// The display choice switched from unscored to all candidates and back.
void displaySwitch(benchmark::State& state)
{
    Window& w = window();
    w.clickNode(w.root());
    for (auto _ : state) {
        const double start = bench::threadSeconds();
        w.clickChoice(2);
        w.clickChoice(0);
        state.SetIterationTime(bench::threadSeconds() - start);
    }
}

// Every row of the national list marked (the top-left corner cell) and removed from the
// list with Ctrl+Delete, the window painted after each; the list is read again untimed.
void markAllAndDelete(benchmark::State& state)
{
    Window& w = window();
    for (auto _ : state) {
        w.clickNode(w.firstProvince());
        w.clickNode(w.root());
        const double start = bench::threadSeconds();
        w.grid().selectAll();
        w.settle();
        w.key(Qt::Key_Delete, Qt::ControlModifier);
        state.SetIterationTime(bench::threadSeconds() - start);
        if (w.grid().model()->rowCount() != 0)
            state.SkipWithError("rows are left in the list");
    }
}

} // namespace

BENCHMARK(listOpen)->Name("list open")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(selectRoot)->Name("select root")->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3);
BENCHMARK(fullScroll)->Name("full scroll")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_CAPTURE(gridPaintAt, top, false)
    ->Name("grid paint at the top")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK_CAPTURE(gridPaintAt, end, true)
    ->Name("grid paint at the end")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(endAndHome)->Name("Ctrl+End and Ctrl+Home")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(displaySwitch)->Name("display switch")->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(markAllAndDelete)
    ->Name("mark all + Ctrl+Delete")
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

int main(int argc, char** argv)
{
    bench::paintOffscreen();
    QApplication app(argc, argv);
    theWindow = std::make_unique<Window>();
    const int status = bench::runBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
        reporter.printRatio("select root", "list open");
        reporter.printRatio("full scroll", "list open");
        reporter.printRatio("grid paint at the end", "grid paint at the top");
        reporter.printRatio("Ctrl+End and Ctrl+Home", "list open");
        reporter.printRatio("display switch", "list open");
        reporter.printRatio("mark all + Ctrl+Delete", "list open");
    });
    theWindow.reset();
    return status;
}
