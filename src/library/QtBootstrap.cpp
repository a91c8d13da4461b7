#include "library/QtBootstrap.hpp"

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <clocale>
#include <string>

namespace skorvin::library {

bool ensureApplication()
{
    if (QCoreApplication* existing = QCoreApplication::instance()) {
        return qobject_cast<QApplication*>(existing) != nullptr;
    }
    static int argc = 1;
    static char name[] = "SkorvinDLL";
    static char* argv[] = {name, nullptr};
    // Qt switches the C library to the user's locale; the host's own number
    // formatting must not change because it showed our window.
    const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
    const std::string hostNumeric = numeric ? numeric : "C";
    // Never destroyed: a process gets one application object, and the host may call
    // again after the window has closed.
    new QApplication(argc, argv);
    std::setlocale(LC_NUMERIC, hostNumeric.c_str());
    return true;
}

HostOwner::HostOwner() = default;
HostOwner::~HostOwner() = default;
HostOwner::HostOwner(HostOwner&&) noexcept = default;
HostOwner& HostOwner::operator=(HostOwner&&) noexcept = default;

HostOwner findHostOwner(std::uintptr_t hostWindow)
{
    HostOwner owner;
    if (hostWindow == 0) {
        return owner;
    }
    const auto id = static_cast<WId>(hostWindow);
    if (QWidget* widget = QWidget::find(id)) {
        owner.widget = widget->window();
        return owner;
    }
    // These platforms have no windows of other programs to attach to.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
        return owner;
    }
    owner.foreign.reset(QWindow::fromWinId(id));
    return owner;
}

void attachToForeignOwner(QWidget& window, const HostOwner& owner)
{
    if (!owner.foreign) {
        return;
    }
    window.winId(); // creates the native window, so that it can be given a transient parent
    if (QWindow* handle = window.windowHandle()) {
        handle->setTransientParent(owner.foreign.get());
    }
}

} // namespace skorvin::library
