#include "ui/TRadioGroup.hpp"

#include <QtTest>

#include <QRadioButton>

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
};

QTEST_MAIN(RadioGroupTest)
#include "radiogroup_test.moc"
