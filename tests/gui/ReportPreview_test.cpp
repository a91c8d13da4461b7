#include "report/BuiltReport.hpp"
#include "ui/preview/PageLayout.hpp"
#include "ui/preview/ReportPageView.hpp"
#include "ui/preview/ReportPreview.hpp"

#include "gui/OwnSettingsStore.hpp"

#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using skorvin::report::BuiltReport;
using skorvin::ui::PreviewZoom;
using skorvin::ui::ReportPreview;

namespace {

// A4 sheets, each with one line of text naming it.
BuiltReport sheets(int count)
{
    BuiltReport pages;
    pages.addStyle({});
    for (int i = 1; i <= count; ++i) {
        pages.beginPage(21000, 29700);
        pages.addPiece({2000, 2000, 17000, 1000}, "sheet " + std::to_string(i), 0);
    }
    return pages;
}

QString statusOf(const ReportPreview& preview)
{
    return preview.findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
}

QToolButton* button(const ReportPreview& preview, const char* name)
{
    auto* found = preview.findChild<QToolButton*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no button %s", name);
    return found;
}

void chooseZoom(const ReportPreview& preview, const QString& caption)
{
    for (QAction* action : button(preview, "btnZoom")->menu()->actions()) {
        if (action->text() == caption)
            return action->trigger();
    }
    QFAIL(qPrintable(QStringLiteral("no zoom item ") + caption));
}

} // namespace

class ReportPreviewTest : public QObject {
    Q_OBJECT

private:
    skorvin::test::OwnSettingsStore settingsHome_;

private slots:
    void initTestCase() { QVERIFY(settingsHome_.isValid()); }

    // The first preview of the library: 100%, page 1 of n, the tools in place, maximised.
    void opensOnPageOneAtAHundredPercentMaximised()
    {
        ReportPreview preview(sheets(3));
        QCOMPARE(preview.windowTitle(), QStringLiteral("预览"));
        QCOMPARE(statusOf(preview), QStringLiteral("页 1/3"));
        QCOMPARE(button(preview, "btnZoom")->text(), QStringLiteral("100%"));
        QCOMPARE(button(preview, "btnZoom")->toolTip(), QStringLiteral("放缩"));
        QVERIFY(preview.windowState() & Qt::WindowMaximized);
        QStringList items;
        for (QAction* action : button(preview, "btnZoom")->menu()->actions())
            items << action->text();
        QCOMPARE(items, QStringList({QStringLiteral("200%"), QStringLiteral("150%"), QStringLiteral("100%"),
                                     QStringLiteral("75%"), QStringLiteral("50%"), QStringLiteral("25%"),
                                     QStringLiteral("10%"), QStringLiteral("页宽(&P)"), QStringLiteral("全页(&W)"),
                                     QStringLiteral("双页(&T)")}));
        const std::pair<const char*, QString> hints[] = {{"btnOpen", QStringLiteral("打开报表")},
                                                         {"btnSave", QStringLiteral("保存报表")},
                                                         {"btnPrint", QStringLiteral("打印报表")},
                                                         {"btnFind", QStringLiteral("查找文本")}};
        for (const auto& [name, hint] : hints)
            QCOMPARE(button(preview, name)->toolTip(), hint);
        QCOMPARE(button(preview, "btnClose")->toolTip(), QStringLiteral("关闭预览"));
        QVERIFY(button(preview, "btnClose")->isEnabled());
    }

    // A long report opens as fast as a short one: only the pages in view are painted.
    void paintsOnlyThePagesInView()
    {
        ReportPreview preview(sheets(200));
        QSignalSpy painted(preview.view(), &skorvin::ui::ReportPageView::pagePainted);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QTRY_VERIFY(!painted.isEmpty());
        QSet<int> pages;
        for (const QList<QVariant>& call : painted)
            pages.insert(call.at(0).toInt());
        QVERIFY(pages.contains(0));
        for (int page : pages)
            QVERIFY2(page < 3, qPrintable(QString::number(page)));
    }

    void pageKeys()
    {
        ReportPreview preview(sheets(5));
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QWidget* view = preview.view();
        QScrollBar* vertical = preview.view()->verticalScrollBar();

        struct Step {
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int page;
        };
        const Step steps[] = {
            {Qt::Key_PageDown, Qt::ControlModifier, 2}, {Qt::Key_PageDown, Qt::ControlModifier, 3},
            {Qt::Key_PageUp, Qt::ControlModifier, 2},   {Qt::Key_End, Qt::ControlModifier, 5},
            {Qt::Key_PageDown, Qt::ControlModifier, 5}, {Qt::Key_Home, Qt::ControlModifier, 1},
            {Qt::Key_PageUp, Qt::ControlModifier, 1},
        };
        for (const Step& step : steps) {
            QTest::keyClick(view, step.key, step.modifiers);
            QCOMPARE(preview.view()->currentPage(), step.page);
            QCOMPARE(statusOf(preview), QStringLiteral("页 %1/5").arg(step.page));
        }
        QCOMPARE(vertical->value(), 0);

        // The arrows scroll by a small step, Page Up and Page Down by a large one.
        QTest::keyClick(view, Qt::Key_Down);
        QCOMPARE(vertical->value(), vertical->singleStep());
        QTest::keyClick(view, Qt::Key_PageDown);
        QCOMPARE(vertical->value(), vertical->singleStep() + vertical->pageStep());
        QVERIFY(vertical->pageStep() > 5 * vertical->singleStep());
        QTest::keyClick(view, Qt::Key_PageUp);
        QTest::keyClick(view, Qt::Key_Up);
        QCOMPARE(vertical->value(), 0);
    }

    // The zoom chosen stays for the next preview of the library's life.
    void theZoomChosenOpensTheNextPreview()
    {
        {
            ReportPreview preview(sheets(2));
            chooseZoom(preview, QStringLiteral("50%"));
            QCOMPARE(button(preview, "btnZoom")->text(), QStringLiteral("50%"));
        }
        ReportPreview next(sheets(2));
        QCOMPARE(ReportPreview::lastZoom(), (PreviewZoom{PreviewZoom::Mode::Percent, 50}));
        QCOMPARE(button(next, "btnZoom")->text(), QStringLiteral("50%"));
        chooseZoom(next, QStringLiteral("100%"));
    }

    void fittingZooms()
    {
        ReportPreview preview(sheets(4));
        preview.setWindowState(Qt::WindowNoState);
        preview.resize(900, 700);
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QWidget* viewport = preview.view()->viewport();
        const int at100 = preview.view()->effectivePercent();

        chooseZoom(preview, QStringLiteral("页宽(&P)"));
        const int pageWidth = preview.view()->effectivePercent();
        // A4 across the view's width, with room for its edges.
        const double pixelsPerMm = preview.view()->logicalDpiX() / 25.4 * pageWidth / 100.0;
        QVERIFY(qAbs(210 * pixelsPerMm - viewport->width()) < 40);

        chooseZoom(preview, QStringLiteral("全页(&W)"));
        const int wholePage = preview.view()->effectivePercent();
        QVERIFY(wholePage < pageWidth);
        QCOMPARE(preview.view()->horizontalScrollBar()->maximum(), 0);

        chooseZoom(preview, QStringLiteral("双页(&T)"));
        QVERIFY(preview.view()->effectivePercent() <= wholePage);
        QCOMPARE(button(preview, "btnZoom")->text(), QStringLiteral("%1%").arg(preview.view()->effectivePercent()));
        QVERIFY(at100 == 100);
        chooseZoom(preview, QStringLiteral("100%"));
    }

    // A preview that opens at a fitting zoom shows the zoom in effect once it has its size
    // (not the 0% of the view before it was shown), and follows the view as it is resized.
    void theCaptionShowsTheFittingZoomInEffect()
    {
        for (const QString& caption :
             {QStringLiteral("页宽(&P)"), QStringLiteral("全页(&W)"), QStringLiteral("双页(&T)")}) {
            {
                ReportPreview chooser(sheets(4));
                chooseZoom(chooser, caption);
            }
            // No placement kept: the preview is built at a size of its own, then shown at another.
            QSettings(QStringLiteral("Skorvin"), QStringLiteral("ReportPreview")).clear();
            ReportPreview preview(sheets(4));
            preview.setWindowState(Qt::WindowNoState);
            preview.resize(900, 700);
            preview.show();
            QVERIFY(QTest::qWaitForWindowExposed(&preview));
            const int opened = preview.view()->effectivePercent();
            QVERIFY2(opened > 10, qPrintable(caption));
            QCOMPARE(button(preview, "btnZoom")->text(), QStringLiteral("%1%").arg(opened));

            const int wide = preview.view()->viewport()->width();
            preview.resize(500, 400);
            QCoreApplication::processEvents();
            QVERIFY(preview.view()->viewport()->width() < wide);
            QVERIFY2(preview.view()->effectivePercent() < opened, qPrintable(caption));
            QCOMPARE(button(preview, "btnZoom")->text(), QStringLiteral("%1%").arg(preview.view()->effectivePercent()));
            chooseZoom(preview, QStringLiteral("100%"));
        }
    }

    // Paper 1 mm wide and 10 m tall, the most a report file may declare, at 页宽 in a wide
    // view: the zoom is lowered until the desk fits its coordinates, every page lies below
    // the one before, and Ctrl+End reaches the last.
    void extremePaperStaysWithinTheDesk()
    {
        BuiltReport pages;
        pages.addStyle({});
        for (int i = 0; i < 1000; ++i)
            pages.beginPage(100, 1000000);
        const skorvin::ui::PageLayout layout =
            skorvin::ui::layOutPages(pages, {PreviewZoom::Mode::PageWidth, 100}, QSize(1900, 1000), 96);
        QVERIFY(layout.extent.height() <= skorvin::ui::kMaxDeskPixels);
        for (std::size_t i = 1; i < layout.placements.size(); ++i)
            QVERIFY(layout.placements[i].top() > layout.placements[i - 1].bottom());
        QCOMPARE(layout.placements.back().bottom(), layout.extent.height() - skorvin::ui::kPageGap - 1);

        ReportPreview preview(std::move(pages));
        chooseZoom(preview, QStringLiteral("页宽(&P)"));
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QTest::keyClick(preview.view(), Qt::Key_End, Qt::ControlModifier);
        // A step up scrolls, and the page is then told by where the view stands on the desk.
        QTest::keyClick(preview.view(), Qt::Key_Up);
        QCOMPARE(preview.view()->currentPage(), 1000);
        QCOMPARE(statusOf(preview), QStringLiteral("页 1000/1000"));
        chooseZoom(preview, QStringLiteral("100%"));
    }

    void spaceOpensTheZoomMenu()
    {
        ReportPreview preview(sheets(1));
        preview.show();
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        QMenu* menu = button(preview, "btnZoom")->menu();
        bool opened = false;
        QTimer::singleShot(0, menu, [menu, &opened] {
            opened = menu->isVisible();
            menu->close();
        });
        QTest::keyClick(preview.view(), Qt::Key_Space);
        QVERIFY(opened);
    }

    void escAndTheCloseButtonClose()
    {
        for (const bool byKey : {true, false}) {
            ReportPreview preview(sheets(1));
            QSignalSpy rejected(&preview, &QDialog::rejected);
            preview.show();
            QVERIFY(QTest::qWaitForWindowExposed(&preview));
            if (byKey)
                QTest::keyClick(preview.view(), Qt::Key_Escape);
            else
                button(preview, "btnClose")->click();
            QCOMPARE(rejected.count(), 1);
            QVERIFY(!preview.isVisible());
        }
    }

    // After a preview was closed at a size of its own, the next opens there, not maximised.
    void keepsItsPlacementForTheUser()
    {
        QRect placed;
        {
            ReportPreview preview(sheets(1));
            preview.setWindowState(Qt::WindowNoState);
            preview.setGeometry(60, 70, 640, 480);
            preview.show();
            QVERIFY(QTest::qWaitForWindowExposed(&preview));
            placed = preview.geometry();
            preview.reject();
        }
        ReportPreview next(sheets(1));
        QVERIFY(!(next.windowState() & Qt::WindowMaximized));
        QCOMPARE(next.size(), placed.size());
    }
};

QTEST_MAIN(ReportPreviewTest)
#include "ReportPreview_test.moc"
