#include "support/ScoreWindow.hpp"

#include "support/NationalDb.hpp"
#include "ui/Dialogs.hpp"

#include <QCoreApplication>

namespace skorvin::bench {

ScoreWindow::ScoreWindow(const std::filesystem::path& database, ui::Dialogs& boxes)
    : connection_(sqliteConnectionString(database))
{
    ui::setDialogs(&boxes);
    connection_.open();
    state_.HostConnection = &connection_;
    window_ = std::make_unique<ui::TfrmSkorvin>(state_);
    window_->show();
    settle();
}

ScoreWindow::~ScoreWindow()
{
    window_.reset();
    ui::setDialogs(nullptr);
}

void ScoreWindow::settle()
{
    QCoreApplication::processEvents();
    window_->repaint();
}

} // namespace skorvin::bench
