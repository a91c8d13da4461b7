#pragma once

#include "ui/preview/ReportWindows.hpp"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;

namespace skorvin::ui {

// The modal window shown while a report is built: "正在准备报表", then "正在处理页: n",
// and "取消", which ends the build with the pages made so far; while pages are printed,
// "正在打印页: n", and "取消" aborts the job.
class ReportProgress final : public QDialog, public BuildProgress {
    Q_OBJECT
public:
    enum class Task { Build, Print };
    ReportProgress(QWidget* owner, Task task);

    // Shows the window modal over its owner, without a modal loop of its own.
    void open() override;
    bool pageBegins(int page) override;
    bool cancelled() const { return cancelled_; }

protected:
    void reject() override;

private:
    QString pageText_;
    QLabel* label_ = nullptr;
    QElapsedTimer sinceEvents_;
    bool cancelled_ = false;
};

} // namespace skorvin::ui
