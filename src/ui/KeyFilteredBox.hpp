#pragma once

#include <QObject>

#include <functional>

class QLineEdit;
class QPoint;
class QString;

namespace skorvin::ui {

// Every way text can enter a one-line box goes through the box's key filter, one character
// at a time, as if it were typed: keys, Shift+Insert, the context menu's paste and the middle
// mouse button's selection. Drops are refused, and the context menu offers no editing item
// that would bypass the filter. Installed on the box and owned by it.
class KeyFilteredBox : public QObject {
    Q_OBJECT
public:
    // Gets each character (Enter and Backspace by their codes, anything outside printable ASCII
    // and Ctrl or Alt combinations as kOtherCharacter) and answers whether the box takes it.
    using Filter = std::function<bool(char)>;
    static constexpr char kOtherCharacter = 1;

    KeyFilteredBox(QLineEdit* box, Filter filter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Inserts what the filter lets through of pasted text; a line break in it is never Enter.
    void insertFiltered(const QString& text);
    void showMenu(const QPoint& globalPosition);

    QLineEdit* box_;
    Filter filter_;
};

} // namespace skorvin::ui
