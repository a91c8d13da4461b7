#include "library/ScoreWindow.hpp"

#include "exam/HostFiles.hpp"
#include "exam/ModuleState.hpp"
#include "library/HostConnectionBackend.hpp"
#include "library/QtBootstrap.hpp"
#include "library/QtTexts.hpp"
#include "platform/HostPaths.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "ui/common/HandlerGuard.hpp"
#include "ui/score/frmSkorvin_UNIT.hpp"

#include <QPointer>

#include <cstdio>
#include <memory>

namespace skorvin::library {
namespace {

// The values the window, the tree and the list statement share, for the library's life.
exam::ModuleState& moduleState()
{
    static exam::ModuleState state;
    return state;
}

// The window open now, if any. The module values belong to one window at a time,
// so a call made while it is open (from a host timer, say) only brings it forward.
QPointer<QWidget> openWindow;

void showModal(std::uintptr_t hostWindow, ISkorvinConnection* connection, const char* version)
{
    if (openWindow) {
        openWindow->raise();
        openWindow->activateWindow();
        return;
    }
    const HostOwner owner = findHostOwner(hostWindow);
    exam::ModuleState& state = moduleState();
    // The library's own connection object over the host's; a host that passes none gets
    // the same as one that passes a closed one: the window opens and reports the first
    // failing query.
    ado::TADOConnection hostConnection =
        connection ? ado::TADOConnection(std::make_unique<HostConnectionBackend>(*connection)) : ado::TADOConnection();
    state.HostConnection = &hostConnection;
    // The host program's folder holds the window's files; nothing below works them out again.
    auto form = std::make_unique<ui::TfrmSkorvin>(state, exam::HostFiles::in(hostFolder()), owner.widget);
    form->setWindowTitle(form->windowTitle() + QStringLiteral("(V") + QString::fromLatin1(version) +
                         QStringLiteral(")"));
    attachToForeignOwner(*form, owner);
    openWindow = form.get();
    form->exec();
    // The window goes before the connection it borrows, and nothing keeps pointing at it.
    form.reset();
    state.HostConnection = nullptr;
}

} // namespace

void showScoreWindow(std::uintptr_t hostWindow, ISkorvinConnection* connection, const char* version)
{
    if (!ensureApplication()) {
        std::fputs("SkorvinDLL: the host's Qt application object cannot show windows\n", stderr);
        return;
    }
    translateQtTextsForSystem();
    ui::runGuarded([&] { showModal(hostWindow, connection, version); });
}

} // namespace skorvin::library
