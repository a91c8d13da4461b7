#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace skorvin::ui {

// Places the children of one widget the way the window was designed: each child
// keeps its design rectangle and follows the parent's edges it is anchored to, or
// is aligned to an edge (or the whole client area) of what the aligned siblings
// before it have left. Children are re-placed whenever the parent is resized.
class Anchors : public QObject {
public:
    enum Side : unsigned { Left = 1, Top = 2, Right = 4, Bottom = 8, All = Left | Top | Right | Bottom };
    enum class Align { Top, Bottom, Left, Right, Client };

    // designSize: the parent's client size the design rectangles refer to.
    Anchors(QWidget* parent, QSize designSize);

    // The child at design in a parent of the design size. Along each direction:
    // anchored to both edges it stretches, to the far edge only it moves, to the
    // near edge only it stays, to neither it keeps its centre in proportion.
    void anchor(QWidget* child, const QRect& design, unsigned sides);
    // The child fills the remaining client area along one edge with its current
    // thickness (height for Top/Bottom, width for Left/Right), or all of it (Client).
    // Aligned children take their space in the order Top, Bottom, Left, Right, Client.
    void align(QWidget* child, Align edge);

    // Re-places every child for the parent's current size.
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Anchored {
        QWidget* child;
        QRect design;
        unsigned sides;
    };
    struct Aligned {
        QWidget* child;
        Align edge;
    };

    QWidget* parent_;
    QSize designSize_;
    std::vector<Anchored> anchored_;
    std::vector<Aligned> aligned_;
};

} // namespace skorvin::ui
