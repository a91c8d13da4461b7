#include "ui/KeyFilteredBox.hpp"

#include "exam/ScoreEntry.hpp"
#include "ui/MousePosition.hpp"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include <optional>

namespace skorvin::ui {

namespace {

// The character a key press types, or nothing for keys that type none (arrows, Delete, F-keys).
std::optional<char> typedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return exam::kEnter;
    if (event.key() == Qt::Key_Backspace)
        return exam::kBackspace;
    const QString text = event.text();
    if (text.isEmpty() || event.key() == Qt::Key_Escape || event.key() == Qt::Key_Tab)
        return std::nullopt;
    // So Ctrl+V pastes nothing, as the key filter refuses the character it types.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return KeyFilteredBox::kOtherCharacter;
    const char16_t unit = text.at(0).unicode();
    if (text.size() != 1 || unit < 0x20 || unit >= 0x7F)
        return KeyFilteredBox::kOtherCharacter;
    return static_cast<char>(unit);
}

// Paste keys that type no character: Shift+Insert and the keyboard's own Paste key.
bool isPasteKey(const QKeyEvent& event)
{
    return event.matches(QKeySequence::Paste) && !(event.modifiers() & Qt::ControlModifier);
}

} // namespace

KeyFilteredBox::KeyFilteredBox(QLineEdit* box, Filter filter) : QObject(box), box_(box), filter_(std::move(filter))
{
    // Key filters see every typed character; an input method would bypass them.
    box_->setAttribute(Qt::WA_InputMethodEnabled, false);
    box_->setAcceptDrops(false);
    box_->setContextMenuPolicy(Qt::DefaultContextMenu);
    box_->installEventFilter(this);
}

bool KeyFilteredBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != box_)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (isPasteKey(key)) {
            insertFiltered(QApplication::clipboard()->text(QClipboard::Clipboard));
            return true;
        }
        const auto typed = typedCharacter(key);
        return typed && !filter_(*typed);
    }
    case QEvent::ContextMenu:
        showMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton)
            return false;
        // The box would paste the selection unfiltered on the release.
        if (event->type() == QEvent::MouseButtonRelease && QApplication::clipboard()->supportsSelection()) {
            box_->setCursorPosition(box_->cursorPositionAt(mousePosition(mouse)));
            insertFiltered(QApplication::clipboard()->text(QClipboard::Selection));
        }
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        event->ignore();
        return true;
    default:
        return false;
    }
}

void KeyFilteredBox::insertFiltered(const QString& text)
{
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        const char key = unit >= 0x20 && unit < 0x7F ? static_cast<char>(unit) : kOtherCharacter;
        if (!box_->isReadOnly() && filter_(key))
            box_->insert(QString(c));
    }
}

void KeyFilteredBox::showMenu(const QPoint& globalPosition)
{
    QMenu menu(box_);
    QAction* copy = menu.addAction(QStringLiteral("复制(&C)"));
    copy->setEnabled(box_->hasSelectedText() && box_->echoMode() == QLineEdit::Normal);
    connect(copy, &QAction::triggered, box_, &QLineEdit::copy);
    QAction* paste = menu.addAction(QStringLiteral("粘贴(&P)"));
    paste->setEnabled(!box_->isReadOnly() && !QApplication::clipboard()->text().isEmpty());
    connect(paste, &QAction::triggered, this,
            [this] { insertFiltered(QApplication::clipboard()->text(QClipboard::Clipboard)); });
    menu.addSeparator();
    QAction* all = menu.addAction(QStringLiteral("全选(&A)"));
    all->setEnabled(!box_->text().isEmpty());
    connect(all, &QAction::triggered, box_, &QLineEdit::selectAll);
    menu.exec(globalPosition);
}

} // namespace skorvin::ui
