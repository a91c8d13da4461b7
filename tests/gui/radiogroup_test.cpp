#include "ui/widgets/TRadioGroup.hpp"
#include "ui/widgets/WindowFont.hpp"

#include <QtTest>

#include <QRadioButton>
#include <QStyle>

using skorvin::ui::TRadioGroup;

class RadioGroupTest : public QObject {
    Q_OBJECT

private slots:
    // A change of the chosen item, by the operator or by the program, is reported once;
    // clicking the item already chosen changes nothing.
    void changesAreReported()
    {
        TRadioGroup group(QStringLiteral("显示"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 3);
        group.resize(173, 32);
        group.show();
        QVERIFY(QTest::qWaitForWindowExposed(&group));
        QCOMPARE(group.itemIndex(), -1);
        QSignalSpy clicked(&group, &TRadioGroup::clicked);

        group.setItemIndex(0);
        QCOMPARE(clicked.count(), 1);
        QTest::mouseClick(group.button(2), Qt::LeftButton);
        QCOMPARE(group.itemIndex(), 2);
        QCOMPARE(clicked.count(), 2);
        QTest::mouseClick(group.button(2), Qt::LeftButton);
        QCOMPARE(group.itemIndex(), 2);
        QCOMPARE(clicked.count(), 2);
    }

    // Items fill the columns top to bottom, the columns sharing the width equally.
    void itemsFillColumnsTopToBottom()
    {
        TRadioGroup group(QStringLiteral("g"), {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}, 2);
        group.resize(210, 60);
        group.show();
        QVERIFY(QTest::qWaitForWindowExposed(&group));
        QVERIFY(group.button(0)->x() > 2); // inside the frame's left line
        QCOMPARE(group.button(1)->x(), group.button(0)->x());
        QCOMPARE(group.button(2)->x(), group.button(0)->x() + group.button(0)->width());
        QVERIFY(group.button(1)->y() > group.button(0)->y());
        QCOMPARE(group.button(2)->y(), group.button(0)->y());
        QVERIFY(qAbs(2 * group.button(0)->width() - (group.width() - group.button(0)->x())) <= 4);
    }

    // The frame's top line runs through the middle of the caption, as the window's 32-pixel
    // boxes were laid out for, not below a caption line of its own.
    void frameRunsThroughTheCaption()
    {
        TRadioGroup group(QStringLiteral("显示"), {QStringLiteral("未登分")}, 1);
        group.setFont(skorvin::ui::windowFont());
        group.resize(173, 32);
        const QImage image = group.grab().toImage();
        const int line = group.fontMetrics().height() / 2;
        const int x = group.width() / 2;
        const QRgb dark = group.palette().color(QPalette::Dark).rgb();
        QCOMPARE(image.pixel(x, line), dark);
        QCOMPARE(image.pixel(x, line - 2), group.palette().color(QPalette::Window).rgb());
        // The caption interrupts the line.
        QCOMPARE(image.pixel(4, line), dark);
        QVERIFY(image.pixel(8, line) != dark);
    }

    // The score window's 显示 at its design size, in the window's font (a fallback CJK font on
    // Linux is wider than 宋体): no item's circle lies over its neighbour's text, and every
    // circle lies whole within the frame, below the caption on its top line.
    void designSizeItemsDoNotOverlap()
    {
        TRadioGroup group(QStringLiteral("显示"),
                          {QStringLiteral("未登分"), QStringLiteral("已登分"), QStringLiteral("所有")}, 3);
        group.setFont(skorvin::ui::windowFont());
        group.resize(173, 32);
        group.show();
        QVERIFY(QTest::qWaitForWindowExposed(&group));
        for (int i = 0; i < 3; ++i) {
            QRadioButton* item = group.button(i);
            const int textEnd = item->x() + item->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                                item->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) +
                                item->fontMetrics().horizontalAdvance(item->text());
            QVERIFY2(textEnd <= item->x() + item->width(), qPrintable(item->text()));
            QVERIFY2(textEnd <= (i + 1 < 3 ? group.button(i + 1)->x() : group.width()), qPrintable(item->text()));
            const int frameTop = group.fontMetrics().height() / 2 + 2;
            const int circle = item->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight);
            const int circleTop = item->y() + (item->height() - circle) / 2;
            QVERIFY2(circleTop >= frameTop && circleTop + circle <= group.height() - 2, qPrintable(item->text()));
        }
    }
};

QTEST_MAIN(RadioGroupTest)
#include "radiogroup_test.moc"
