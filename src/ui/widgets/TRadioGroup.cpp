// TRadioGroup: a captioned group of radio items in columns, reporting the chosen index.
#include "ui/widgets/TRadioGroup.hpp"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <numeric>
#include <vector>

namespace skorvin::ui {

namespace {

// The first column's distance from the frame's left line, which is two pixels wide.
constexpr int kLeftMargin = 5;

} // namespace

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : TGroupBox(caption, parent), group_(new QButtonGroup(this)), columns_(std::max(1, columns))
{
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], this);
        group_->addButton(radio, i);
        buttons_.push_back(radio);
    }
    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            emit clicked();
    });
    arrangeButtons();
}

int TRadioGroup::itemIndex() const
{
    return group_->checkedId();
}

void TRadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < static_cast<int>(buttons_.size()))
        buttons_[static_cast<std::size_t>(index)]->setChecked(true);
}

void TRadioGroup::resizeEvent(QResizeEvent* event)
{
    TGroupBox::resizeEvent(event);
    arrangeButtons();
}

int TRadioGroup::itemWidth(const QRadioButton& item)
{
    // The circle, the gap after it and the text: the style's size hint adds padding that the
    // design's narrow columns have no room for.
    const QStyle* style = item.style();
    return style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &item) +
           style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &item) +
           item.fontMetrics().horizontalAdvance(item.text()) + 2;
}

void TRadioGroup::arrangeButtons()
{
    if (buttons_.empty())
        return;
    // Columns below the caption, filled top to bottom, then left to right. Each column is as
    // wide as its widest item plus an equal share of the room left, so that a wider fallback
    // font never lays an item's circle over its neighbour's text; equal columns when even
    // the items alone do not fit.
    const int count = static_cast<int>(buttons_.size());
    const int perColumn = (count + columns_ - 1) / columns_;
    const int textHeight = QFontMetrics(font()).height();
    const int room = width() - kLeftMargin - 2;
    std::vector<int> columnWidths(static_cast<std::size_t>(columns_), 0);
    for (int i = 0; i < count; ++i) {
        int& widest = columnWidths[static_cast<std::size_t>(i / perColumn)];
        widest = std::max(widest, itemWidth(*buttons_[static_cast<std::size_t>(i)]));
    }
    const int needed = std::accumulate(columnWidths.begin(), columnWidths.end(), 0);
    for (int& columnWidth : columnWidths)
        columnWidth = needed <= room ? columnWidth + (room - needed) / columns_ : room / columns_;
    // Rows between the caption and the frame's bottom line.
    const int top = textHeight - 2;
    const int free = height() - top - 2;
    const int buttonHeight = free / perColumn;
    const int topMargin = top + (free % perColumn) / 2;
    int left = kLeftMargin;
    for (int column = 0; column < columns_; ++column) {
        const int columnWidth = columnWidths[static_cast<std::size_t>(column)];
        for (int row = 0; row < perColumn && column * perColumn + row < count; ++row)
            buttons_[static_cast<std::size_t>(column * perColumn + row)]->setGeometry(
                left, row * buttonHeight + topMargin, columnWidth, buttonHeight);
        left += columnWidth;
    }
}

} // namespace skorvin::ui
