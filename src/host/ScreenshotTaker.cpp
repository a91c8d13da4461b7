#include "host/ScreenshotTaker.hpp"

#include <QApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace skorvin::host {
namespace {

constexpr int kTickMs = 100;
// The window has been exposed for this many ticks: its start-up and first paint are done.
constexpr int kSettleTicks = 3;
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

void closeMessageBoxes()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box && box->isVisible()) {
            std::fprintf(stderr, "skorvin-host: closed a message box: %s: %s\n",
                         box->windowTitle().toLocal8Bit().constData(), box->text().toLocal8Bit().constData());
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
    timer_.start();
}

void ScreenshotTaker::check()
{
    ++ticks_;
    closeMessageBoxes();
    QWidget* window = scoreWindow();
    // Only a window in front and out of its start-up is ready: closing it while its
    // show handler still runs would leave its modal loop waiting forever.
    const bool ready = window && window->windowHandle() && window->windowHandle()->isExposed() &&
                       QApplication::activeModalWidget() == window;
    settledTicks_ = ready ? settledTicks_ + 1 : 0;
    if (settledTicks_ >= kSettleTicks) {
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
    result_ = result;
    if (window) {
        window->close();
    }
}

} // namespace skorvin::host
