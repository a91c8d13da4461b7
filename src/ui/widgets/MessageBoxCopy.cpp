#include "ui/widgets/MessageBoxCopy.hpp"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>

namespace skorvin::ui {

MessageBoxCopy::MessageBoxCopy(QMessageBox* box) : QObject(box), box_(box)
{
    box_->installEventFilter(this);
}

QString MessageBoxCopy::copiedText(const QMessageBox& box)
{
    const QString rule = QStringLiteral("---------------------------\n");
    return rule + box.windowTitle() + QLatin1Char('\n') + rule + box.text() + QLatin1Char('\n') + rule;
}

bool MessageBoxCopy::eventFilter(QObject* watched, QEvent* event)
{
    // The box sees the keys its buttons leave unused, so Ctrl+C counts with any button focused.
    if (watched != box_ || event->type() != QEvent::KeyPress)
        return false;
    if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
        return false;
    QApplication::clipboard()->setText(copiedText(*box_));
    return true;
}

} // namespace skorvin::ui
