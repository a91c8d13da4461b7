#include "gui/ScoreWindow.hpp"

#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>

namespace skorvin::test {

namespace {

std::unique_ptr<PostgresDb> copyOnServer(const DemoDb& demo, Server server)
{
    if (server != Server::Postgres)
        return nullptr;
    auto copy = std::make_unique<PostgresDb>();
    copy->load(demo);
    return copy;
}

} // namespace

QString nodeText(const QModelIndex& node)
{
    static const QRegularExpression count(QStringLiteral(" \\(\\d+/\\d+\\)$"));
    return node.data().toString().remove(count);
}

const exam::HostFiles& windowFiles()
{
    static const TempDir folder;
    static const exam::HostFiles files = exam::HostFiles::in(gbk::fromUtf8((folder.path() / "").string()));
    return files;
}

ScoreWindow::ScoreWindow(const demodb::Options& options, Server server)
    : db(options), postgres(copyOnServer(db, server)),
      connection(postgres ? postgres->connectionString() : db.connectionString())
{
    connection.open();
    state.HostConnection = &connection;
    window = std::make_unique<ui::TfrmSkorvin>(state, windowFiles());
    tree = child<QTreeView>("TreeView1");
    grid = child<ui::TDataGrid>("DataGrid1");
    edtZKZ = child<QLineEdit>("edtZKZ");
    edtFS = child<QLineEdit>("edtFS");
}

void ScoreWindow::show()
{
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get()))
        qWarning("score window not active");
    // The window reads the tree's counts once it has been painted.
    window->repaint();
    QCoreApplication::sendPostedEvents();
}

std::string ScoreWindow::listed(int viewRow, const char* field) const
{
    const auto* list = grid->dataSet();
    return list->viewValue(viewRow, list->fieldIndex(field)).value_or("");
}

int ScoreWindow::viewRowOf(const std::string& number) const
{
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        if (listed(row, "zkzh") == number)
            return row;
    return -1;
}

QString ScoreWindow::panel(int index) const
{
    return child<QLabel>(index == 0 ? "StatusPanel0" : "StatusPanel1")->text();
}

QString ScoreWindow::rowCountText() const
{
    return panel(1).section(QChar(0x3000), 0, 0);
}

} // namespace skorvin::test
