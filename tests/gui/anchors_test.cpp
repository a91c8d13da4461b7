#include "ui/widgets/Anchors.hpp"

#include <QtTest>

#include <QWidget>

using skorvin::ui::Anchors;

// A hidden widget gets its resize event only when shown, so every parent here is shown.
class AnchorsTest : public QObject {
    Q_OBJECT

private slots:
    void anchoredChildrenFollowTheirEdges_data()
    {
        QTest::addColumn<unsigned>("sides");
        QTest::addColumn<QRect>("placed");
        // Parent designed 200x100, child at 20,10 60x30; the parent grows by 40x20.
        QTest::newRow("left top") << unsigned{Anchors::Left | Anchors::Top} << QRect(20, 10, 60, 30);
        QTest::newRow("all") << unsigned{Anchors::All} << QRect(20, 10, 100, 50);
        QTest::newRow("right bottom") << unsigned{Anchors::Right | Anchors::Bottom} << QRect(60, 30, 60, 30);
        QTest::newRow("left right bottom")
            << unsigned{Anchors::Left | Anchors::Right | Anchors::Bottom} << QRect(20, 30, 100, 30);
        QTest::newRow("none keeps the centre") << 0u << QRect(40, 20, 60, 30);
    }

    void anchoredChildrenFollowTheirEdges()
    {
        QFETCH(unsigned, sides);
        QFETCH(QRect, placed);
        QWidget parent;
        parent.resize(200, 100);
        auto* child = new QWidget(&parent);
        auto* anchors = new Anchors(&parent, {200, 100});
        anchors->anchor(child, {20, 10, 60, 30}, sides);
        parent.show();
        QCOMPARE(child->geometry(), QRect(20, 10, 60, 30));

        parent.resize(240, 120);
        QCOMPARE(child->geometry(), placed);
        parent.resize(200, 100);
        QCOMPARE(child->geometry(), QRect(20, 10, 60, 30));
    }

    void stretchedChildNeverGetsANegativeSize()
    {
        QWidget parent;
        parent.resize(200, 100);
        auto* child = new QWidget(&parent);
        (new Anchors(&parent, {200, 100}))->anchor(child, {20, 10, 60, 30}, Anchors::All);
        parent.show();
        parent.resize(50, 20);
        QCOMPARE(child->size(), QSize(0, 0));
    }

    // Aligned children share the client area in the order top, bottom, left, right, client,
    // whatever order they were added in.
    void alignedChildrenShareTheClientArea()
    {
        QWidget parent;
        parent.resize(300, 200);
        auto* client = new QWidget(&parent);
        auto* left = new QWidget(&parent);
        auto* bottom = new QWidget(&parent);
        auto* top = new QWidget(&parent);
        auto* right = new QWidget(&parent);
        left->resize(50, 1);
        bottom->resize(1, 25);
        top->resize(1, 10);
        right->resize(30, 1);
        auto* anchors = new Anchors(&parent, {300, 200});
        anchors->align(client, Anchors::Align::Client);
        anchors->align(left, Anchors::Align::Left);
        anchors->align(bottom, Anchors::Align::Bottom);
        anchors->align(top, Anchors::Align::Top);
        anchors->align(right, Anchors::Align::Right);
        parent.show();

        parent.resize(400, 300);
        QCOMPARE(top->geometry(), QRect(0, 0, 400, 10));
        QCOMPARE(bottom->geometry(), QRect(0, 275, 400, 25));
        QCOMPARE(left->geometry(), QRect(0, 10, 50, 265));
        QCOMPARE(right->geometry(), QRect(370, 10, 30, 265));
        QCOMPARE(client->geometry(), QRect(50, 10, 320, 265));
    }
};

QTEST_MAIN(AnchorsTest)
#include "anchors_test.moc"
