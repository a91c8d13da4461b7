// TGroupBox: a frame whose caption sits on its top line, the look the window was laid out for.
#include "ui/widgets/TGroupBox.hpp"

#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace skorvin::ui {

namespace {

// The caption's distance from the frame's left edge, and the gap each side of its text.
constexpr int kCaptionIndent = 6;
constexpr int kCaptionPadding = 2;

} // namespace

TGroupBox::TGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void TGroupBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const QRect caption(kCaptionIndent, 0, metrics.horizontalAdvance(title()) + 2 * kCaptionPadding, metrics.height());

    // An etched line drawn here: the styles' group frame keeps room for a caption above it.
    painter.save();
    painter.setClipRegion(QRegion(rect()) - QRegion(caption));
    qDrawShadeRect(&painter, rect().adjusted(0, metrics.height() / 2, 0, 0), palette(), true, 1, 0);
    painter.restore();

    style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), title(),
                          QPalette::WindowText);
}

} // namespace skorvin::ui
