#include "ui/score/OrgTreeProgress.hpp"

#include "exam/TreeCounts.hpp"

#include <QPalette>
#include <QWidget>

namespace skorvin::ui {

OrgTreeProgress::OrgTreeProgress(const exam::TreeCounts& counts, QWidget* view)
    : QIdentityProxyModel(view), counts_(&counts), view_(view)
{
}

QVariant OrgTreeProgress::data(const QModelIndex& index, int role) const
{
    const QVariant plain = QIdentityProxyModel::data(index, role);
    if (role != Qt::DisplayRole && role != Qt::ForegroundRole)
        return plain;
    const QVariant node = QIdentityProxyModel::data(index, kNodeRole);
    const auto count = node.isValid() ? counts_->count(node.toInt()) : std::nullopt;
    if (!count)
        return plain;
    if (role == Qt::DisplayRole)
        return QStringLiteral("%1 (%2/%3)").arg(plain.toString()).arg(count->done).arg(count->total);
    return count->complete() ? QVariant(view_->palette().color(QPalette::PlaceholderText)) : plain;
}

void OrgTreeProgress::countsChanged()
{
    announce(QModelIndex());
}

void OrgTreeProgress::setCounts(const exam::TreeCounts& counts)
{
    counts_ = &counts;
    countsChanged();
}

void OrgTreeProgress::announce(const QModelIndex& parent)
{
    const int rows = rowCount(parent);
    if (rows == 0)
        return;
    emit dataChanged(index(0, 0, parent), index(rows - 1, 0, parent), {Qt::DisplayRole, Qt::ForegroundRole});
    for (int row = 0; row < rows; ++row)
        announce(index(row, 0, parent));
}

} // namespace skorvin::ui
