#include "ui/score/WindowShortcuts.hpp"

#include <QKeyEvent>
#include <QWidget>

namespace skorvin::ui {

WindowShortcuts::WindowShortcuts(QWidget* window, std::initializer_list<QWidget*> boxes) : QObject(window)
{
    window->installEventFilter(this);
    // Installed last, so this filter runs before the ones the boxes already have.
    for (QWidget* box : boxes)
        box->installEventFilter(this);
}

void WindowShortcuts::add(int key, Qt::KeyboardModifiers modifiers, std::function<void()> action)
{
    shortcuts_.push_back({key, modifiers, std::move(action)});
}

bool WindowShortcuts::eventFilter(QObject*, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    for (const Shortcut& shortcut : shortcuts_) {
        if (key->key() == shortcut.key && modifiers == shortcut.modifiers) {
            shortcut.action();
            return true;
        }
    }
    return false;
}

} // namespace skorvin::ui
