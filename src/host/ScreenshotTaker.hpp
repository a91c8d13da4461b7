#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

namespace skorvin::host {

// Saves a picture of the score window as soon as its list has been painted once
// and the window is out of its start-up, then closes it, so that the host runs
// without anyone at the screen. Every message box is written to stderr as it is
// shown, and closed.
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
    // Closes boxes and looks again now and then, for a window that was not yet in front
    // when its list was painted.
    QTimer timer_;
    bool listPainted_ = false;
    bool done_ = false;
    int ticks_ = 0;
    int result_ = 1;
};

} // namespace skorvin::host
