#pragma once

#include "exam/HostFiles.hpp"
#include "exam/ModuleState.hpp"
#include "gui/CountingBeeper.hpp"
#include "gui/RecordingDialogs.hpp"
#include "plain/DemoDb.hpp"
#include "plain/PostgresDb.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "ui/score/frmSkorvin_UNIT.hpp"

#include <QModelIndex>
#include <QString>

#include <memory>
#include <string>

class QLineEdit;
class QTreeView;

namespace skorvin::ui {
class TDataGrid;
}

namespace skorvin::test {

// The files the test program's score windows keep (settings, journal, report template): in one
// temporary folder of the program's own, removed when it ends, so no two programs share them.
const exam::HostFiles& windowFiles();

// A tree node's own text, without the count the tree shows after it ("11-北京市 (3/57)" gives "11-北京市").
QString nodeText(const QModelIndex& node);

// Where the window's examination database lies: the demo's SQLite file, or its rows copied to
// a database of its own on the test PostgreSQL server (reached through psqlODBC).
enum class Server { Sqlite, Postgres };

// The score window created on a demo database as the host creates it (the window's
// creation has run, it is not shown yet), with every box recorded and every beep counted.
// Server::Postgres needs the test server (postgresServer()).
class ScoreWindow {
public:
    explicit ScoreWindow(const demodb::Options& options = DemoDb::smallOptions(), Server server = Server::Sqlite);
    ScoreWindow(const ScoreWindow&) = delete;
    ScoreWindow& operator=(const ScoreWindow&) = delete;

    // Shows the window (its start-up runs), waits until it is the active window, and paints
    // it, after which it has read the tree's counts.
    void show();

    // The control with this component name; a missing one ends the test program.
    template <typename T = QWidget> T* child(const char* name) const
    {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control named %s", name);
        return widget;
    }

    // A field of a listed row at a view position (GBK text, NULL as "").
    std::string listed(int viewRow, const char* field) const;
    // View row of a listed candidate, -1 when the list does not show it.
    int viewRowOf(const std::string& number) const;
    // The text of status panel 0 or 1.
    QString panel(int index) const;
    // Status panel 1's row count ("考生数：3/57"), without what may follow it.
    QString rowCountText() const;

    // In this order, so that the window goes before the connection it borrows.
    DemoDb db;
    std::unique_ptr<PostgresDb> postgres; // the demo's rows on the server, for Server::Postgres
    ado::TADOConnection connection;
    exam::ModuleState state;
    RecordingDialogs recorder;
    CountingBeeper beeps;
    std::unique_ptr<ui::TfrmSkorvin> window;
    QTreeView* tree = nullptr;
    ui::TDataGrid* grid = nullptr;
    QLineEdit* edtZKZ = nullptr;
    QLineEdit* edtFS = nullptr;
};

} // namespace skorvin::test
