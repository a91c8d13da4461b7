#include "ui/preview/ReportFindDialog.hpp"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace skorvin::ui {

ReportFindDialog::ReportFindDialog(const FindChoice& initial, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReportFindDialog"));
    setWindowTitle(QStringLiteral("查找文本"));

    auto* label = new QLabel(QStringLiteral("待查文本(&F)"), this);
    edtText_ = new QLineEdit(initial.text, this);
    edtText_->setObjectName(QStringLiteral("edtText"));
    edtText_->selectAll();
    label->setBuddy(edtText_);

    auto* options = new QGroupBox(QStringLiteral("选项"), this);
    options->setObjectName(QStringLiteral("grpOptions"));
    chkCase_ = new QCheckBox(QStringLiteral("大小写敏感(&C)"), options);
    chkCase_->setObjectName(QStringLiteral("chkCase"));
    chkCase_->setChecked(initial.matchCase);
    (new QVBoxLayout(options))->addWidget(chkCase_);

    auto* start = new QGroupBox(QStringLiteral("起点"), this);
    start->setObjectName(QStringLiteral("grpStart"));
    rbFirstPage_ = new QRadioButton(QStringLiteral("首页(&1)"), start);
    rbFirstPage_->setObjectName(QStringLiteral("rbFirstPage"));
    rbCurrentPage_ = new QRadioButton(QStringLiteral("当前页(&P)"), start);
    rbCurrentPage_->setObjectName(QStringLiteral("rbCurrentPage"));
    (initial.fromFirstPage ? rbFirstPage_ : rbCurrentPage_)->setChecked(true);
    auto* startLayout = new QVBoxLayout(start);
    startLayout->addWidget(rbFirstPage_);
    startLayout->addWidget(rbCurrentPage_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确认"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* groups = new QHBoxLayout;
    groups->addWidget(options);
    groups->addWidget(start);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edtText_);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    edtText_->setFocus();
}

FindChoice ReportFindDialog::choice() const
{
    return {edtText_->text(), chkCase_->isChecked(), rbFirstPage_->isChecked()};
}

} // namespace skorvin::ui
