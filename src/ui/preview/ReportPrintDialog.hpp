#pragma once

#include "report/PrintPlan.hpp"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace skorvin::ui {

class Printer;

// What the operator chose in the print dialog, as typed: the texts are converted when
// printing begins, so that a wrong one is reported then.
struct PrintChoice {
    enum class Range { All, CurrentPage, Pages };
    int printer = 0; // index in the list the dialog was given
    QString copies = QStringLiteral("1");
    bool collate = true;
    Range range = Range::All;
    QString pages; // the text of "页(&P):"
    report::PageParity parity = report::PageParity::All;

    bool operator==(const PrintChoice&) const = default;
};

// The print dialog (caption "打印"): printer with "属性", copies with collation, page range
// and odd or even pages; 确认 accepts, 取消 and Esc reject. Every control's objectName is set.
class ReportPrintDialog final : public QDialog {
    Q_OBJECT
public:
    // printers: the installed printers, the current one chosen; they outlive the dialog.
    ReportPrintDialog(const std::vector<Printer*>& printers, int current, QWidget* parent = nullptr);

    PrintChoice choice() const;

private:
    QWidget* printerGroup(int current);
    QWidget* copiesGroup();
    QWidget* rangeGroup();
    QWidget* parityGroup();
    void stepCopies(int step);

    std::vector<Printer*> printers_;
    QComboBox* cbPrinter_ = nullptr;
    QPushButton* btnProperties_ = nullptr;
    QLineEdit* edtCopies_ = nullptr;
    QCheckBox* chkCollate_ = nullptr;
    QRadioButton* rbAll_ = nullptr;
    QRadioButton* rbCurrent_ = nullptr;
    QRadioButton* rbPages_ = nullptr;
    QLineEdit* edtPages_ = nullptr;
    QComboBox* cbParity_ = nullptr;
};

} // namespace skorvin::ui
