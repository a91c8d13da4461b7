#pragma once

#include <QObject>
#include <QString>

class QMessageBox;

namespace skorvin::ui {

// Ctrl+C on a message box puts its caption and text on the clipboard as plain text, between the
// dashed lines a Windows message box copies, so that an operator can paste a message into a
// mail. Installed on the box and owned by it.
class MessageBoxCopy : public QObject {
public:
    explicit MessageBoxCopy(QMessageBox* box);

    // What Ctrl+C puts on the clipboard for box.
    static QString copiedText(const QMessageBox& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMessageBox* box_;
};

} // namespace skorvin::ui
