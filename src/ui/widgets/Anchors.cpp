#include "ui/widgets/Anchors.hpp"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace skorvin::ui {

namespace {

struct Span {
    int start;
    int length;
};

// One direction of an anchored child: grow is how much the parent has grown along it.
Span follow(int start, int length, int grow, bool nearEdge, bool farEdge)
{
    if (nearEdge && farEdge)
        return {start, std::max(0, length + grow)};
    if (farEdge)
        return {start + grow, length};
    if (nearEdge)
        return {start, length};
    return {start + grow / 2, length};
}

} // namespace

Anchors::Anchors(QWidget* parent, QSize designSize) : QObject(parent), parent_(parent), designSize_(designSize)
{
    parent->installEventFilter(this);
}

void Anchors::anchor(QWidget* child, const QRect& design, unsigned sides)
{
    anchored_.push_back({child, design, sides});
    apply();
}

void Anchors::align(QWidget* child, Align edge)
{
    aligned_.push_back({child, edge});
    apply();
}

void Anchors::apply()
{
    QRect free = parent_->rect();
    for (Align edge : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
        for (const Aligned& item : aligned_) {
            if (item.edge != edge || !item.child->isVisibleTo(parent_))
                continue;
            const int height = std::min(item.child->height(), free.height());
            const int width = std::min(item.child->width(), free.width());
            switch (edge) {
            case Align::Top:
                item.child->setGeometry(free.left(), free.top(), free.width(), height);
                free.setTop(free.top() + height);
                break;
            case Align::Bottom:
                item.child->setGeometry(free.left(), free.bottom() + 1 - height, free.width(), height);
                free.setBottom(free.bottom() - height);
                break;
            case Align::Left:
                item.child->setGeometry(free.left(), free.top(), width, free.height());
                free.setLeft(free.left() + width);
                break;
            case Align::Right:
                item.child->setGeometry(free.right() + 1 - width, free.top(), width, free.height());
                free.setRight(free.right() - width);
                break;
            case Align::Client:
                item.child->setGeometry(free);
                break;
            }
        }
    }

    const int dx = parent_->width() - designSize_.width();
    const int dy = parent_->height() - designSize_.height();
    for (const Anchored& item : anchored_) {
        const Span h = follow(item.design.x(), item.design.width(), dx, item.sides & Left, item.sides & Right);
        const Span v = follow(item.design.y(), item.design.height(), dy, item.sides & Top, item.sides & Bottom);
        item.child->setGeometry(h.start, v.start, h.length, v.length);
    }
}

bool Anchors::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent_ && event->type() == QEvent::Resize)
        apply();
    return QObject::eventFilter(watched, event);
}

} // namespace skorvin::ui
