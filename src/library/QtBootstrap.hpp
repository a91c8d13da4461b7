#pragma once

#include <cstdint>
#include <memory>

class QWidget;
class QWindow;

namespace skorvin::library {

// Makes sure a QApplication exists: a Qt host already has one; for any other host
// the library creates it on the first call and keeps it for every later call.
// Returns false when the process runs a Qt application object that cannot show widgets.
bool ensureApplication();

// Where the score window belongs: the host's own widget when the host is a Qt
// program in this process, else a foreign window wrapping the native id that
// becomes the score window's transient parent. Both may be empty (id 0, a platform
// without foreign windows).
struct HostOwner {
    QWidget* widget = nullptr;
    std::unique_ptr<QWindow> foreign;

    HostOwner();
    ~HostOwner();
    HostOwner(HostOwner&&) noexcept;
    HostOwner& operator=(HostOwner&&) noexcept;
};
HostOwner findHostOwner(std::uintptr_t hostWindow);

// Puts window above the foreign host window, once window has its native window.
void attachToForeignOwner(QWidget& window, const HostOwner& owner);

} // namespace skorvin::library
