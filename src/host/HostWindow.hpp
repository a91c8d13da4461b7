#pragma once

#include "library/SkorvinDLL.hpp"

#include <QMainWindow>

namespace skorvin::host {

// The demo host's own main window: it owns the score window while that is open
// and offers to open it again once the operator has closed it.
class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    HostWindow(ShowFormProc showForm, const QString& version, const QString& connectionText,
               ado::TADOConnection& connection);

    // Calls ShowForm with this window's native id; returns when the score window is closed.
    void openScoreWindow();

private:
    ShowFormProc showForm_;
    ado::TADOConnection& connection_;
};

} // namespace skorvin::host
