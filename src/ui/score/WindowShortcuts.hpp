#pragma once

#include <QObject>

#include <functional>
#include <initializer_list>
#include <vector>

class QWidget;

namespace skorvin::ui {

// Key combinations a window answers wherever its focus is, ahead of what the focused box would
// make of them (a line box takes Ctrl+Z as its own undo). Owned by the window.
class WindowShortcuts : public QObject {
public:
    // Watches the window (keys its children leave unused come up to it) and the boxes.
    WindowShortcuts(QWidget* window, std::initializer_list<QWidget*> boxes);

    void add(int key, Qt::KeyboardModifiers modifiers, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Shortcut {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::function<void()> action;
    };
    std::vector<Shortcut> shortcuts_;
};

} // namespace skorvin::ui
