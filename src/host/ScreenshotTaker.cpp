#include "host/ScreenshotTaker.hpp"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace skorvin::host {
namespace {

constexpr int kTickMs = 100;
// Gives up when no score window has appeared after a minute.
constexpr int kGiveUpTicks = 600;

QWidget* scoreWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->inherits("skorvin::ui::TfrmSkorvin")) {
            return widget;
        }
    }
    return nullptr;
}

// Writes a box's caption and text to stderr, once per box however often it is seen.
void report(QMessageBox* box)
{
    static const char* const kReported = "skorvinReported";
    if (box->property(kReported).toBool())
        return;
    box->setProperty(kReported, true);
    std::fprintf(stderr, "skorvin-host: closed a message box: %s: %s\n", box->windowTitle().toUtf8().constData(),
                 box->text().toUtf8().constData());
    std::fflush(stderr);
}

// The grid's area of rows in the score window (the grid is the control named DataGrid1).
bool isListArea(QObject* watched)
{
    auto* area = qobject_cast<QWidget*>(watched);
    QWidget* grid = area ? area->parentWidget() : nullptr;
    return grid && grid->objectName() == QLatin1String("DataGrid1") && area->window() &&
           area->window()->inherits("skorvin::ui::TfrmSkorvin");
}

void closeMessageBoxes()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->isVisible()) {
            report(box);
            box->done(QMessageBox::Ok);
        }
    }
}

} // namespace

ScreenshotTaker::ScreenshotTaker(QString file) : file_(std::move(file))
{
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &ScreenshotTaker::check);
}

void ScreenshotTaker::start()
{
    // A box is written out the moment it is shown: one the score window closes with itself,
    // or one shown and gone between two checks, would otherwise never be seen.
    qApp->installEventFilter(this);
    timer_.start();
}

bool ScreenshotTaker::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show) {
        if (auto* box = qobject_cast<QMessageBox*>(watched))
            report(box);
    }
    // The list's first paint: the picture is taken once that paint is done.
    if (event->type() == QEvent::Paint && !listPainted_ && isListArea(watched)) {
        listPainted_ = true;
        QMetaObject::invokeMethod(this, &ScreenshotTaker::check, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void ScreenshotTaker::check()
{
    if (done_)
        return;
    if (sender() == &timer_)
        ++ticks_;
    closeMessageBoxes();
    QWidget* window = scoreWindow();
    // Only a window in front and out of its start-up is ready: closing it while its
    // show handler still runs would leave its modal loop waiting forever.
    const bool ready = window && window->windowHandle() && window->windowHandle()->isExposed() &&
                       QApplication::activeModalWidget() == window;
    if (ready && listPainted_) {
        const bool saved = window->grab().save(file_, "PNG");
        if (!saved) {
            std::fprintf(stderr, "skorvin-host: cannot save the screenshot %s\n", file_.toLocal8Bit().constData());
        }
        finish(window, saved ? 0 : 1);
    } else if (ticks_ >= kGiveUpTicks) {
        std::fputs("skorvin-host: the score window did not appear; no screenshot taken\n", stderr);
        finish(window, 1);
    }
}

void ScreenshotTaker::finish(QWidget* window, int result)
{
    timer_.stop();
    done_ = true;
    result_ = result;
    if (window) {
        window->close();
    }
}

} // namespace skorvin::host
