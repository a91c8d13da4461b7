#pragma once

#include <QMouseEvent>
#include <QPoint>

namespace skorvin::ui {

// Where a mouse event happened, in the receiving widget's coordinates, under Qt 5 and 6.
inline QPoint mousePosition(const QMouseEvent* event)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return event->position().toPoint();
#else
    return event->pos();
#endif
}

} // namespace skorvin::ui
