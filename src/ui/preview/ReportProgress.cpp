#include "ui/preview/ReportProgress.hpp"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace skorvin::ui {

namespace {

// Events are let in this often while pages are built: the window moves and 取消 answers,
// and the national list is not slowed by a round of events per page.
constexpr int kEventIntervalMs = 40;

} // namespace

ReportProgress::ReportProgress(QWidget* owner, Task task)
    : QDialog(owner),
      pageText_(task == Task::Build ? QStringLiteral("正在处理页: %1") : QStringLiteral("正在打印页: %1"))
{
    setObjectName(QStringLiteral("ReportProgress"));
    setWindowTitle(QStringLiteral("正在准备报表"));
    setWindowModality(Qt::ApplicationModal);
    label_ = new QLabel(QStringLiteral("正在准备报表"), this);
    label_->setObjectName(QStringLiteral("lblProgress"));
    label_->setMinimumWidth(220);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(cancel, &QPushButton::clicked, this, &ReportProgress::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
}

void ReportProgress::open()
{
    show();
    QApplication::processEvents();
    sinceEvents_.start();
}

bool ReportProgress::pageBegins(int page)
{
    if (!cancelled_ && sinceEvents_.hasExpired(kEventIntervalMs)) {
        label_->setText(pageText_.arg(page));
        QApplication::processEvents();
        sinceEvents_.restart();
    }
    return !cancelled_;
}

void ReportProgress::reject()
{
    // The window stays until the build returns; it only remembers the choice.
    cancelled_ = true;
}

} // namespace skorvin::ui
