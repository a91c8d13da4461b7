#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace skorvin::ui {

// What the operator asks the preview to find.
struct FindChoice {
    QString text;
    bool matchCase = false;
    bool fromFirstPage = true; // else from the current page

    bool operator==(const FindChoice&) const = default;
};

// The search dialog (caption "查找文本"): the text sought, the match-case option and the
// start page; 确认 accepts, 取消 and Esc reject. Every control's objectName is set.
class ReportFindDialog final : public QDialog {
    Q_OBJECT
public:
    explicit ReportFindDialog(const FindChoice& initial, QWidget* parent = nullptr);

    FindChoice choice() const;

private:
    QLineEdit* edtText_ = nullptr;
    QCheckBox* chkCase_ = nullptr;
    QRadioButton* rbFirstPage_ = nullptr;
    QRadioButton* rbCurrentPage_ = nullptr;
};

} // namespace skorvin::ui
