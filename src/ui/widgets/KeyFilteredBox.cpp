#include "ui/widgets/KeyFilteredBox.hpp"

#include "exam/ScoreEntry.hpp"
#include "ui/seams/Beeper.hpp"
#include "ui/widgets/MousePosition.hpp"

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

char keyOf(QChar c)
{
    const char16_t unit = c.unicode();
    return unit >= 0x20 && unit < 0x7F ? static_cast<char>(unit) : KeyFilteredBox::kOtherCharacter;
}

// The character a key press types, or nothing for keys that type none (arrows, F-keys). Delete
// carries the DEL character on X11, yet it deletes: it types nothing either.
std::optional<char> typedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return exam::kEnter;
    if (event.key() == Qt::Key_Backspace)
        return exam::kBackspace;
    const QString text = event.text();
    if (text.isEmpty() || event.key() == Qt::Key_Escape || event.key() == Qt::Key_Tab || event.key() == Qt::Key_Delete)
        return std::nullopt;
    // So Ctrl+V pastes nothing, as the key filter refuses the character it types.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return KeyFilteredBox::kOtherCharacter;
    return text.size() == 1 ? keyOf(text.at(0)) : KeyFilteredBox::kOtherCharacter;
}

// Ctrl without Alt: an editing shortcut. Ctrl+Alt is how AltGr types characters on Windows.
bool isEditingShortcut(const QKeyEvent& event)
{
    return (event.modifiers() & Qt::ControlModifier) && !(event.modifiers() & Qt::AltModifier);
}

// Blanks as the system trims them: every character up to the space.
QString trimmedBlanks(const QString& text)
{
    using Index = decltype(text.size()); // int in Qt 5, qsizetype in Qt 6
    Index first = 0;
    Index end = text.size();
    while (first < end && text.at(first).unicode() <= 0x20)
        ++first;
    while (end > first && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(first, end - first);
}

// The box's text with its selection removed, which is what a typed character replaces, and
// where the character lands.
struct TypingPoint {
    QString text;
    int at;
};

TypingPoint typingPoint(const QLineEdit& box)
{
    TypingPoint point{box.text(), box.cursorPosition()};
    if (box.hasSelectedText()) {
        point.at = box.selectionStart();
        point.text.remove(point.at, box.selectedText().size());
    }
    return point;
}

} // namespace

KeyFilteredBox::KeyFilteredBox(QLineEdit* box, Filter filter, Shortcuts shortcuts)
    : QObject(box), box_(box), filter_(std::move(filter)), shortcuts_(shortcuts)
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
    case QEvent::KeyPress:
        return keyPress(*static_cast<QKeyEvent*>(event));
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
            paste(QApplication::clipboard()->text(QClipboard::Selection));
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

bool KeyFilteredBox::keyPress(const QKeyEvent& key)
{
    const bool editing = shortcuts_ == Shortcuts::Editing;
    // Shift+Insert and the keyboard's own Paste key; Ctrl+V too where shortcuts edit.
    if (key.matches(QKeySequence::Paste) && (editing || !(key.modifiers() & Qt::ControlModifier))) {
        paste(QApplication::clipboard()->text(QClipboard::Clipboard));
        return true;
    }
    if (editing && isEditingShortcut(key))
        return false;
    const auto typed = typedCharacter(key);
    if (!typed)
        return false;
    switch (filter_(typingPoint(*box_).text, *typed)) {
    case Verdict::Take:
        return false;
    case Verdict::Refuse:
        beep();
        return true;
    case Verdict::Handled:
        break;
    }
    return true;
}

void KeyFilteredBox::paste(const QString& text)
{
    const QString pasted = trimmedBlanks(text);
    TypingPoint point = typingPoint(*box_);
    // Judged as if typed character by character, without touching the box until all pass.
    for (const QChar c : pasted) {
        const Verdict verdict = box_->isReadOnly() ? Verdict::Refuse : filter_(point.text, keyOf(c));
        if (verdict == Verdict::Handled)
            return;
        if (verdict == Verdict::Refuse) {
            beep();
            return;
        }
        point.text.insert(point.at++, c);
    }
    if (pasted.isEmpty()) {
        beep();
        return;
    }
    box_->insert(pasted);
}

void KeyFilteredBox::showMenu(const QPoint& globalPosition)
{
    QMenu menu(box_);
    QAction* copy = menu.addAction(QStringLiteral("复制(&C)"));
    copy->setEnabled(box_->hasSelectedText() && box_->echoMode() == QLineEdit::Normal);
    connect(copy, &QAction::triggered, box_, &QLineEdit::copy);
    QAction* pasteItem = menu.addAction(QStringLiteral("粘贴(&P)"));
    pasteItem->setEnabled(!box_->isReadOnly() && !QApplication::clipboard()->text().isEmpty());
    connect(pasteItem, &QAction::triggered, this,
            [this] { paste(QApplication::clipboard()->text(QClipboard::Clipboard)); });
    menu.addSeparator();
    QAction* all = menu.addAction(QStringLiteral("全选(&A)"));
    all->setEnabled(!box_->text().isEmpty());
    connect(all, &QAction::triggered, box_, &QLineEdit::selectAll);
    menu.exec(globalPosition);
}

} // namespace skorvin::ui
