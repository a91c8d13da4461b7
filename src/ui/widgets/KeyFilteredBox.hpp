#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QPoint;

namespace skorvin::ui {

// Every way text can enter a one-line box goes through the box's key filter: keys one at a
// time, and pasted text (Shift+Insert, the context menu's 粘贴, the middle mouse button) as a
// whole, which enters exactly as pasted (surrounding blanks trimmed) or not at all. A key or
// a paste the filter refuses sounds the beep once. Drops are refused, and the context menu
// offers no editing item that would bypass the filter. Installed on the box and owned by it.
class KeyFilteredBox : public QObject {
    Q_OBJECT
public:
    enum class Verdict {
        Take,   // the box takes the key
        Refuse, // the key is dropped, with a beep
        Handled // the filter acted on the key itself (Enter, or a failure it showed): dropped quietly
    };
    // Gets each character (Enter and Backspace by their codes, anything outside printable ASCII
    // and Ctrl or Alt combinations as kOtherCharacter) with the box's text as it is just before
    // the character lands: the selection already typed over, and the characters of a paste before it.
    using Filter = std::function<Verdict(const QString& textBefore, char key)>;
    static constexpr char kOtherCharacter = 1;

    // Whether Ctrl and Alt combinations are refused as characters, or reach the box as its own
    // editing shortcuts (select all, copy, cut, undo), Ctrl+V pasting as Shift+Insert does.
    enum class Shortcuts { Refused, Editing };

    KeyFilteredBox(QLineEdit* box, Filter filter, Shortcuts shortcuts = Shortcuts::Refused);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the key is used up here and must not reach the box.
    bool keyPress(const QKeyEvent& key);
    // Enters the trimmed text where the caret is, replacing the selection, when the filter takes
    // every character of it; otherwise the box stays as it was and the beep sounds. A line
    // break inside the text is refused like any other control character, never taken as Enter.
    void paste(const QString& text);
    void showMenu(const QPoint& globalPosition);

    QLineEdit* box_;
    Filter filter_;
    Shortcuts shortcuts_;
};

} // namespace skorvin::ui
