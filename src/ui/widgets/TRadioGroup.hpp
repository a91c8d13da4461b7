// TRadioGroup: a captioned group of radio items in columns, reporting the chosen index.
#pragma once

#include "ui/widgets/TGroupBox.hpp"

#include <QStringList>

#include <vector>

class QButtonGroup;
class QRadioButton;

namespace skorvin::ui {

// A captioned group of radio buttons in columns, one of them chosen by index.
class TRadioGroup : public TGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);

    // The chosen item, -1 for none.
    int itemIndex() const;
    // Chooses an item; a change emits clicked() as the operator's choice does.
    void setItemIndex(int index);
    QRadioButton* button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

signals:
    // The chosen item changed.
    void clicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrangeButtons();
    // The width an item needs to show its circle and its whole text.
    static int itemWidth(const QRadioButton& item);

    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
    int columns_;
};

} // namespace skorvin::ui
