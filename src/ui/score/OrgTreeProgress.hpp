#pragma once

#include <QIdentityProxyModel>

class QWidget;

namespace skorvin::exam {
class TreeCounts;
}

namespace skorvin::ui {

// The organisation tree as the view shows it: each node's text followed by its count, done of
// total ("110101-第一考点 (47/120)"), and a node with nothing left to do in the palette's
// placeholder text colour, quieter than the rest. The source's items carry their node's index
// in kNodeRole; a node without a count shows its text alone.
class OrgTreeProgress : public QIdentityProxyModel {
    Q_OBJECT
public:
    static constexpr int kNodeRole = Qt::UserRole + 1;

    // counts is not owned and outlives this; the colours are those of view's palette.
    OrgTreeProgress(const exam::TreeCounts& counts, QWidget* view);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // The counts changed: every node is drawn again.
    void countsChanged();
    // Shows counts (not owned, outlives this) instead of those shown so far.
    void setCounts(const exam::TreeCounts& counts);

private:
    void announce(const QModelIndex& parent);

    const exam::TreeCounts* counts_;
    QWidget* view_;
};

} // namespace skorvin::ui
