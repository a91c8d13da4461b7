#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace skorvin::host {

// Saves a picture of the score window once it is shown and painted, then closes
// it, so that the host runs without anyone at the screen. Every message box is
// written to stderr as it is shown, and closed.
class ScreenshotTaker : public QObject {
    Q_OBJECT
public:
    explicit ScreenshotTaker(QString file);

    // Starts watching; call before ShowForm, whose modal loop then runs the checks.
    void start();
    // 0 once the picture is saved, 1 when it could not be taken.
    int result() const { return result_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void check();
    void finish(QWidget* window, int result);

    QString file_;
    QTimer timer_;
    int settledTicks_ = 0;
    int ticks_ = 0;
    int result_ = 1;
};

} // namespace skorvin::host
