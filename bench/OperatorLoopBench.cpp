// The operator's loop on the score window, driven by real key events: a number typed and
// Enter (the candidate found: "locate"), a score typed and Enter (the score saved: "save"),
// at three list sizes of the national database (a site of about 47 unscored candidates, a
// site of about 2,259 and the root's 660,000 or so), each against one UPDATE of a score
// run on the same database in the same run. Only the Enter keys are timed, with the events
// they post handled (the grid and the status line painted); the typing is not.
// Every figure comes twice: in processor time, and on the wall clock, where the UPDATE's
// time is mostly the disk's sync.
// In 复核 (Ctrl+K) a score keyed again and Enter ("verify": compared with the stored score,
// journaled, ticked) is measured against the save at the same list size.
// Prints one line per figure: "<figure>: <ratio>x <reference>".
#include "platform/HostPaths.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"
#include "support/CpuTime.hpp"
#include "support/NationalDb.hpp"
#include "support/Offscreen.hpp"
#include "support/RatioReporter.hpp"
#include "support/RunBenchmarks.hpp"
#include "support/ScoreWindow.hpp"
#include "support/UnexpectedBoxes.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace skorvin;
namespace fs = std::filesystem;

namespace {

const fs::path kData(SKORVIN_BENCH_DATA_DIR);

double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Processor time as the benchmark's own time, the wall clock as its counter "wall".
class Stopwatch {
public:
    Stopwatch() : cpu_(bench::threadSeconds()), wall_(wallSeconds()) {}
    void stop(benchmark::State& state, double& wallTotal) const
    {
        state.SetIterationTime(bench::threadSeconds() - cpu_);
        wallTotal += wallSeconds() - wall_;
    }

private:
    double cpu_;
    double wall_;
};

void reportWall(benchmark::State& state, double wallTotal)
{
    state.counters["wall"] = benchmark::Counter(wallTotal, benchmark::Counter::kAvgIterations);
}

// The national database's copy that the loop writes scores into, made afresh for each run so
// that the other programs' database keeps its scores.
fs::path workingDatabase()
{
    const fs::path copy = kData / "operator-loop.sqlite";
    fs::copy_file(bench::nationalDatabase(), copy, fs::copy_options::overwrite_existing);
    return copy;
}

// The first column of every row of a query, as text.
std::vector<std::string> column(ado::TADOConnection& connection, const std::string& sql, const char* field)
{
    ado::TADOQuery query;
    query.setConnection(&connection);
    query.setSql(sql);
    query.open();
    std::vector<std::string> values;
    for (; !query.eof(); query.next())
        values.push_back(query.fieldText(field));
    return values;
}

// The code of the exam site whose unscored, listed candidates number closest to rows.
std::string siteOfAbout(ado::TADOConnection& connection, long rows)
{
    const auto codes = column(connection,
                              "select substr(zkzh,5,6) as dm from t_omr where zkzh like '4%' and "
                              "(UPPER(qk)<>'Q' or qk Is Null) and (tttt is null or tttt='') "
                              "group by substr(zkzh,5,6) order by abs(count(*) - " +
                                  std::to_string(rows) + "), 1 limit 1",
                              "dm");
    if (codes.empty()) {
        std::fprintf(stderr, "no exam site has unscored candidates\n");
        std::abort();
    }
    return codes.front();
}

// The score window on the working database, as the operator finds it (Beijing, 未登分).
class Window {
public:
    Window()
        : shown_(workingDatabase(), boxes_), tree_(shown_.child<QTreeView>("TreeView1")),
          grid_(shown_.child<ui::TDataGrid>("DataGrid1")), number_(shown_.child<QLineEdit>("edtZKZ")),
          score_(shown_.child<QLineEdit>("edtFS"))
    {
    }

    ado::TADOConnection& connection() { return shown_.connection(); }
    ui::TDataGrid& grid() { return *grid_; }
    QLineEdit& numberBox() { return *number_; }
    QLineEdit& scoreBox() { return *score_; }
    int rows() const { return grid_->model()->rowCount(); }
    std::string listedNumber(int viewRow) const
    {
        return grid_->dataSet()->viewValue(viewRow, grid_->dataSet()->fieldIndex("zkzh")).value_or("");
    }

    // Lists the node whose text begins with code and "-" ("" for the root), as a click would;
    // a node already listed is listed again.
    void list(const std::string& code)
    {
        const QModelIndex node = code.empty() ? tree_->model()->index(0, 0) : find(code, tree_->model()->index(0, 0));
        if (!node.isValid()) {
            std::fprintf(stderr, "no node %s in the tree\n", code.c_str());
            std::abort();
        }
        if (tree_->currentIndex() == node)
            select(node.parent().isValid() ? node.parent() : tree_->model()->index(0, 0, node));
        select(node);
    }

    // Types a text into a box as the operator does, its old text replaced.
    void type(QLineEdit& box, const std::string& text)
    {
        box.setFocus();
        box.selectAll();
        QTest::keyClicks(&box, QString::fromLatin1(text));
    }
    // Ctrl+K: 复核 on or off, as the operator switches it.
    void toggleVerifying()
    {
        QTest::keyClick(number_, Qt::Key_K, Qt::ControlModifier);
        QCoreApplication::processEvents();
    }
    void enter(QLineEdit& box)
    {
        QTest::keyClick(&box, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

private:
    QModelIndex find(const std::string& code, const QModelIndex& under) const
    {
        const QString prefix = QString::fromLatin1(code) + QLatin1Char('-');
        for (int row = 0; row < tree_->model()->rowCount(under); ++row) {
            const QModelIndex child = tree_->model()->index(row, 0, under);
            if (child.data().toString().startsWith(prefix))
                return child;
            if (const QModelIndex deeper = find(code, child); deeper.isValid())
                return deeper;
        }
        return {};
    }
    void select(const QModelIndex& node)
    {
        tree_->selectionModel()->setCurrentIndex(node, QItemSelectionModel::ClearAndSelect);
        shown_.settle();
    }

    bench::UnexpectedBoxes boxes_;
    bench::ScoreWindow shown_;
    QTreeView* tree_;
    ui::TDataGrid* grid_;
    QLineEdit* number_;
    QLineEdit* score_;
};

// Made in main and gone before the application object is.
std::unique_ptr<Window> theWindow;

// The three lists: a site's code, or "" for the root, and how many unscored candidates the
// site should have.
struct ListSize {
    long about;
    std::string code;
};
std::vector<ListSize> sizes{{47, {}}, {2259, {}}, {0, {}}};

// The reference: the score UPDATE, on a candidate no list of the loop shows (another level).
void oneUpdate(benchmark::State& state)
{
    ado::TADOConnection& connection = theWindow->connection();
    const auto numbers = column(connection, "select zkzh from t_omr where zkzh not like '4%' limit 1", "zkzh");
    if (numbers.empty()) {
        state.SkipWithError("no candidate of another level");
        return;
    }
    double wall = 0;
    int i = 0;
    for (auto _ : state) {
        const std::string sql =
            "update t_omr set tttt='" + std::to_string(10 + i++ % 2) + "' where zkzh='" + numbers.front() + "'";
        const Stopwatch watch;
        connection.execute(sql);
        watch.stop(state, wall);
    }
    reportWall(state, wall);
}

// Enter on a listed number: the candidate found, marked, the focus in the score box.
void locate(benchmark::State& state, int size)
{
    Window& w = *theWindow;
    w.list(sizes[static_cast<std::size_t>(size)].code);
    const std::string number = w.listedNumber(w.rows() / 2);
    // The first Enter after a list opens may build what the search needs; it is not timed.
    w.type(w.numberBox(), number);
    w.enter(w.numberBox());
    double wall = 0;
    for (auto _ : state) {
        w.type(w.numberBox(), number);
        const Stopwatch watch;
        w.enter(w.numberBox());
        watch.stop(state, wall);
        if (QApplication::focusWidget() != &w.scoreBox())
            state.SkipWithError("the number was not found");
    }
    reportWall(state, wall);
    state.counters["rows"] = w.rows();
}

// Enter on a score for a candidate found: the score stored, and the candidate leaving the
// list of unscored candidates. A site running short of candidates is given its scores back
// and listed again, untimed.
void save(benchmark::State& state, int size)
{
    Window& w = *theWindow;
    const std::string code = sizes[static_cast<std::size_t>(size)].code;
    w.list(code);
    const int full = w.rows();
    state.counters["rows"] = full;
    std::vector<std::string> saved;
    double wall = 0;
    for (auto _ : state) {
        if (w.rows() < full / 2 + 1) {
            for (const std::string& number : saved)
                w.connection().execute("update t_omr set tttt=NULL where zkzh='" + number + "'");
            saved.clear();
            w.list(code);
        }
        const int before = w.rows();
        const std::string number = w.listedNumber(before / 2);
        w.type(w.numberBox(), number);
        w.enter(w.numberBox());
        w.type(w.scoreBox(), "12.5");
        const Stopwatch watch;
        w.enter(w.scoreBox());
        watch.stop(state, wall);
        saved.push_back(number);
        if (w.rows() != before - 1 || QApplication::focusWidget() != &w.numberBox())
            state.SkipWithError("the score was not saved");
    }
    for (const std::string& number : saved)
        w.connection().execute("update t_omr set tttt=NULL where zkzh='" + number + "'");
    reportWall(state, wall);
}

// In 复核, Enter on a score keyed again that equals the stored one. The candidate is given that
// score first and listed again among the scored ones, untimed; the list keeps its rows.
void verify(benchmark::State& state, int size)
{
    Window& w = *theWindow;
    const std::string code = sizes[static_cast<std::size_t>(size)].code;
    w.list(code);
    const std::string number = w.listedNumber(w.rows() / 2);
    w.connection().execute("update t_omr set tttt='12.5' where zkzh='" + number + "'");
    w.toggleVerifying();
    w.list(code);
    state.counters["rows"] = w.rows();
    double wall = 0;
    for (auto _ : state) {
        w.type(w.numberBox(), number);
        w.enter(w.numberBox());
        w.type(w.scoreBox(), "12.5");
        const Stopwatch watch;
        w.enter(w.scoreBox());
        watch.stop(state, wall);
        if (QApplication::focusWidget() != &w.numberBox())
            state.SkipWithError("the score was not verified");
    }
    w.toggleVerifying();
    w.connection().execute("update t_omr set tttt=NULL where zkzh='" + number + "'");
    reportWall(state, wall);
}

const char* const kSizeNames[] = {"the small site", "the large site", "the root"};

void registerLoop()
{
    constexpr int kIterations = 60;
    benchmark::RegisterBenchmark("one UPDATE", oneUpdate)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(kIterations * 4);
    for (int size = 0; size < 3; ++size) {
        benchmark::RegisterBenchmark((std::string("locate at ") + kSizeNames[size]).c_str(),
                                     [size](benchmark::State& state) { locate(state, size); })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(kIterations);
        benchmark::RegisterBenchmark((std::string("save at ") + kSizeNames[size]).c_str(),
                                     [size](benchmark::State& state) { save(state, size); })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(kIterations);
        benchmark::RegisterBenchmark((std::string("verify at ") + kSizeNames[size]).c_str(),
                                     [size](benchmark::State& state) { verify(state, size); })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(kIterations);
    }
}

} // namespace

int main(int argc, char** argv)
{
    bench::paintOffscreen();
    QApplication app(argc, argv);
    // The score settings the loop types for, beside the program as beside a host.
    const fs::path settings = fs::path(QCoreApplication::applicationDirPath().toStdString()) / "kavrint.ini";
    std::ofstream(settings, std::ios::binary) << "[ScoreSet]\r\nXs=1\r\nUp=40\r\n";
    theWindow = std::make_unique<Window>();
    for (ListSize& size : sizes)
        if (size.about > 0)
            size.code = siteOfAbout(theWindow->connection(), size.about);
    registerLoop();
    const int status = bench::runBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
        for (const char* size : kSizeNames) {
            for (const char* step : {"locate at ", "save at "}) {
                const std::string figure = std::string(step) + size;
                reporter.printRatio(figure, "one UPDATE");
                reporter.printRatio(figure + " (wall)", "one UPDATE (wall)");
            }
            // A verification writes nothing to the examination database: it costs no more than a save.
            const std::string verifyFigure = std::string("verify at ") + size;
            const std::string saveFigure = std::string("save at ") + size;
            reporter.printRatio(verifyFigure, saveFigure);
            reporter.printRatio(verifyFigure + " (wall)", saveFigure + " (wall)");
        }
    });
    theWindow.reset();
    fs::remove(settings);
    return status;
}
