#include "support/ScoreWindow.hpp"

#include "exam/HostFiles.hpp"
#include "platform/HostPaths.hpp"
#include "support/NationalDb.hpp"
#include "ui/seams/Dialogs.hpp"

#include <QCoreApplication>

namespace skorvin::bench {

ScoreWindow::ScoreWindow(const std::filesystem::path& database, ui::Dialogs& boxes)
    : connection_(sqliteConnectionString(database))
{
    ui::Replaceable<ui::Dialogs>::install(&boxes);
    connection_.open();
    state_.HostConnection = &connection_;
    window_ = std::make_unique<ui::TfrmSkorvin>(state_, exam::HostFiles::in(hostFolder()));
    window_->show();
    settle();
}

ScoreWindow::~ScoreWindow()
{
    window_.reset();
    ui::Replaceable<ui::Dialogs>::install(nullptr);
}

void ScoreWindow::settle()
{
    QCoreApplication::processEvents();
    window_->repaint();
}

} // namespace skorvin::bench
