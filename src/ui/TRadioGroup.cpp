#include "ui/TRadioGroup.hpp"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QRadioButton>

#include <algorithm>

namespace skorvin::ui {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), columns_(std::max(1, columns))
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
    QGroupBox::resizeEvent(event);
    arrangeButtons();
}

void TRadioGroup::arrangeButtons()
{
    if (buttons_.empty())
        return;
    // Equal columns below the caption, filled top to bottom, then left to right.
    const int count = static_cast<int>(buttons_.size());
    const int perColumn = (count + columns_ - 1) / columns_;
    const int textHeight = QFontMetrics(font()).height();
    const int buttonWidth = (width() - 10) / columns_;
    const int free = height() - textHeight - 5;
    const int buttonHeight = free / perColumn;
    const int topMargin = textHeight + 1 + (free % perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        buttons_[static_cast<std::size_t>(i)]->setGeometry(
            (i / perColumn) * buttonWidth + 8, (i % perColumn) * buttonHeight + topMargin, buttonWidth, buttonHeight);
    }
}

} // namespace skorvin::ui
