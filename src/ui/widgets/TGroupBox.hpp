// TGroupBox: a frame whose caption sits on its top line, the look the window was laid out for.
#pragma once

#include <QGroupBox>

namespace skorvin::ui {

// A group box whose caption interrupts the frame's top line instead of standing above the
// frame: the window's boxes are laid out for that, and the 32-pixel 显示 box has no room
// for a caption line above a frame that must still hold a row of radio items.
class TGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TGroupBox(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace skorvin::ui
