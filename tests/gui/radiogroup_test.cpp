#include "ui/TRadioGroup.hpp"
#include "ui/WindowFont.hpp"

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
        QCOMPARE(group.button(0)->x(), 8);
        QCOMPARE(group.button(1)->x(), 8);
        QCOMPARE(group.button(2)->x(), 8 + 100);
        QVERIFY(group.button(1)->y() > group.button(0)->y());
        QCOMPARE(group.button(2)->y(), group.button(0)->y());
        QCOMPARE(group.button(0)->width(), 100);
    }

    // The score window's 显示 at its design size, in the window's font (a fallback CJK font on
    // Linux is wider than 宋体): no item's circle lies over its neighbour's text.
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
        }
    }
};

QTEST_MAIN(RadioGroupTest)
#include "radiogroup_test.moc"
