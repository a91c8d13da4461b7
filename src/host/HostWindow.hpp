#pragma once

#include "host/connection/HostConnection.hpp"
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
    // The host's connection as the library reaches it.
    HostConnection connection_;
};

} // namespace skorvin::host
