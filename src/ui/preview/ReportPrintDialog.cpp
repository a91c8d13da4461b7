#include "ui/preview/ReportPrintDialog.hpp"

#include "ui/preview/Printers.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace skorvin::ui {

namespace {

// The order the sheets of two copies come out in: 1 2 3 1 2 3 collated, 1 1 2 2 3 3 not.
class CollatePicture final : public QWidget {
public:
    CollatePicture(QCheckBox* collate, QWidget* parent) : QWidget(parent), collate_(collate)
    {
        setObjectName(QStringLiteral("imgCollate"));
        setFixedSize(120, 44);
        connect(collate_, &QCheckBox::toggled, this, qOverload<>(&QWidget::update));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(Qt::black);
        const bool collated = collate_->isChecked();
        const int stacks = collated ? 2 : 3;
        const int sheets = collated ? 3 : 2;
        for (int stack = 0; stack < stacks; ++stack) {
            // Back to front, so the front sheet is drawn last.
            for (int sheet = 0; sheet < sheets; ++sheet) {
                const QRect paper(2 + stack * (collated ? 58 : 40) + sheet * 5, 2 + sheet * 4, 20, 26);
                painter.fillRect(paper, Qt::white);
                painter.drawRect(paper);
                painter.drawText(paper, Qt::AlignCenter, QString::number(collated ? sheets - sheet : stack + 1));
            }
        }
    }

private:
    QCheckBox* collate_;
};

} // namespace

ReportPrintDialog::ReportPrintDialog(const std::vector<Printer*>& printers, int current, QWidget* parent)
    : QDialog(parent), printers_(printers)
{
    setObjectName(QStringLiteral("ReportPrintDialog"));
    setWindowTitle(QStringLiteral("打印"));

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确认"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(printerGroup(current), 0, 0, 1, 2);
    layout->addWidget(rangeGroup(), 1, 0);
    layout->addWidget(copiesGroup(), 1, 1);
    layout->addWidget(parityGroup(), 2, 0);
    layout->addWidget(buttons, 2, 1, Qt::AlignBottom);
}

QWidget* ReportPrintDialog::printerGroup(int current)
{
    auto* group = new QGroupBox(QStringLiteral("打印机"), this);
    group->setObjectName(QStringLiteral("grpPrinter"));
    auto* label = new QLabel(QStringLiteral("名称(&N):"), group);
    cbPrinter_ = new QComboBox(group);
    cbPrinter_->setObjectName(QStringLiteral("cbPrinter"));
    for (const Printer* printer : printers_)
        cbPrinter_->addItem(printer->name());
    cbPrinter_->setCurrentIndex(current);
    label->setBuddy(cbPrinter_);
    btnProperties_ = new QPushButton(QStringLiteral("属性"), group);
    btnProperties_->setObjectName(QStringLiteral("btnProperties"));
    auto enableProperties = [this](int index) {
        btnProperties_->setEnabled(index >= 0 && printers_.at(static_cast<std::size_t>(index))->hasProperties());
    };
    enableProperties(cbPrinter_->currentIndex());
    connect(cbPrinter_, qOverload<int>(&QComboBox::currentIndexChanged), this, enableProperties);
    connect(btnProperties_, &QPushButton::clicked, this, [this] {
        if (cbPrinter_->currentIndex() >= 0)
            printers_.at(static_cast<std::size_t>(cbPrinter_->currentIndex()))->showProperties(this);
    });
    auto* row = new QHBoxLayout(group);
    row->addWidget(label);
    row->addWidget(cbPrinter_, 1);
    row->addWidget(btnProperties_);
    return group;
}

QWidget* ReportPrintDialog::copiesGroup()
{
    auto* group = new QGroupBox(QStringLiteral("打印份数"), this);
    group->setObjectName(QStringLiteral("grpCopies"));
    auto* label = new QLabel(QStringLiteral("打印份数(&c):"), group);
    edtCopies_ = new QLineEdit(QStringLiteral("1"), group);
    edtCopies_->setObjectName(QStringLiteral("edtCopies"));
    label->setBuddy(edtCopies_);
    auto* up = new QToolButton(group);
    up->setObjectName(QStringLiteral("btnCopiesUp"));
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(group);
    down->setObjectName(QStringLiteral("btnCopiesDown"));
    down->setArrowType(Qt::DownArrow);
    connect(up, &QToolButton::clicked, this, [this] { stepCopies(1); });
    connect(down, &QToolButton::clicked, this, [this] { stepCopies(-1); });
    chkCollate_ = new QCheckBox(QStringLiteral("对齐(&l)"), group);
    chkCollate_->setObjectName(QStringLiteral("chkCollate"));
    chkCollate_->setChecked(true);
    auto* layout = new QGridLayout(group);
    layout->addWidget(label, 0, 0);
    layout->addWidget(edtCopies_, 0, 1);
    auto* arrows = new QVBoxLayout;
    arrows->setSpacing(0);
    arrows->addWidget(up);
    arrows->addWidget(down);
    layout->addLayout(arrows, 0, 2);
    layout->addWidget(chkCollate_, 1, 0);
    layout->addWidget(new CollatePicture(chkCollate_, group), 1, 1, 1, 2);
    return group;
}

void ReportPrintDialog::stepCopies(int step)
{
    bool ok = false;
    const int now = edtCopies_->text().trimmed().toInt(&ok);
    edtCopies_->setText(QString::number(std::max(1, (ok ? now : 1) + step)));
}

QWidget* ReportPrintDialog::rangeGroup()
{
    auto* group = new QGroupBox(QStringLiteral("页范围"), this);
    group->setObjectName(QStringLiteral("grpRange"));
    rbAll_ = new QRadioButton(QStringLiteral("全部(&A)"), group);
    rbAll_->setObjectName(QStringLiteral("rbAll"));
    rbAll_->setChecked(true);
    rbCurrent_ = new QRadioButton(QStringLiteral("当前页(&g)"), group);
    rbCurrent_->setObjectName(QStringLiteral("rbCurrentPage"));
    rbPages_ = new QRadioButton(QStringLiteral("页(&P):"), group);
    rbPages_->setObjectName(QStringLiteral("rbPages"));
    edtPages_ = new QLineEdit(group);
    edtPages_->setObjectName(QStringLiteral("edtPages"));
    edtPages_->setToolTip(QStringLiteral("输入页号或页范围,逗号分隔.例如: 1,3,5-12"));
    // Typing page numbers means printing those pages.
    connect(edtPages_, &QLineEdit::textEdited, rbPages_, [this] { rbPages_->setChecked(true); });
    auto* layout = new QGridLayout(group);
    layout->addWidget(rbAll_, 0, 0, 1, 2);
    layout->addWidget(rbCurrent_, 1, 0, 1, 2);
    layout->addWidget(rbPages_, 2, 0);
    layout->addWidget(edtPages_, 2, 1);
    return group;
}

QWidget* ReportPrintDialog::parityGroup()
{
    auto* group = new QGroupBox(QStringLiteral("打印(&r)"), this);
    group->setObjectName(QStringLiteral("grpParity"));
    cbParity_ = new QComboBox(group);
    cbParity_->setObjectName(QStringLiteral("cbParity"));
    cbParity_->addItems({QStringLiteral("全部页"), QStringLiteral("奇数页"), QStringLiteral("偶数页")});
    (new QVBoxLayout(group))->addWidget(cbParity_);
    return group;
}

PrintChoice ReportPrintDialog::choice() const
{
    PrintChoice chosen;
    chosen.printer = cbPrinter_->currentIndex();
    chosen.copies = edtCopies_->text();
    chosen.collate = chkCollate_->isChecked();
    chosen.range = rbPages_->isChecked()     ? PrintChoice::Range::Pages
                   : rbCurrent_->isChecked() ? PrintChoice::Range::CurrentPage
                                             : PrintChoice::Range::All;
    chosen.pages = edtPages_->text();
    chosen.parity = static_cast<report::PageParity>(cbParity_->currentIndex());
    return chosen;
}

} // namespace skorvin::ui
