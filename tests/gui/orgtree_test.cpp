// The organisation tree shows whole names: a tooltip with the whole text of a cut label, and a
// column that opens wide enough for the longest name as far as the window's size allows.
#include "gui/ScoreWindow.hpp"
#include "platform/Gbk.hpp"

#include <QtTest>

#include <QApplication>
#include <QGroupBox>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QSplitter>
#include <QSplitterHandle>
#include <QToolTip>
#include <QTreeView>

using skorvin::test::ScoreWindow;

namespace {

const QString kLongName = QStringLiteral("北京市海淀区第一百零一中学计算机等级考试第四考点（东校区实验楼）");

// The score window whose first exam site has a long name, shown at a size of the test's choosing.
struct LongNameWindow : ScoreWindow {
    explicit LongNameWindow(QSize size)
    {
        connection.execute(
            "update t_scbjg set dwmc = ? where jb = 3 and dm = (select min(dm) from t_scbjg where jb = 3)",
            {skorvin::gbk::fromUtf8(kLongName.toStdString())});
        window->setWindowState(Qt::WindowNoState);
        window->resize(size);
        show();
        site = find(tree->model()->index(0, 0));
        tree->scrollTo(site);
    }

    QModelIndex find(const QModelIndex& from) const
    {
        if (skorvin::test::nodeText(from).endsWith(kLongName))
            return from;
        for (int row = 0; row < tree->model()->rowCount(from); ++row)
            if (const QModelIndex below = find(tree->model()->index(row, 0, from)); below.isValid())
                return below;
        return {};
    }

    // The tooltip the tree shows when the mouse rests on index.
    QString tooltipOn(const QModelIndex& index) const
    {
        // Qt hides a tooltip after a short fade; the one shown before goes at once.
        for (QWidget* shown : QApplication::topLevelWidgets())
            if (shown->inherits("QTipLabel"))
                shown->hide();
        const QPoint at = tree->visualRect(index).center();
        QHelpEvent help(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    int treeColumn() const { return child<QGroupBox>("GroupBox1")->width(); }
    int listSide() const { return child("Panel3")->width(); }

    QModelIndex site;
};

} // namespace

class OrgTreeTest : public QObject {
    Q_OBJECT

private slots:
    // At the design size the column keeps its width and the list side its own: the long name is
    // cut, and resting the mouse on it shows it whole. A name that fits shows no tooltip.
    void aCutNameShowsWholeInItsTooltip()
    {
        LongNameWindow w({679, 461});
        QVERIFY(w.site.isValid());
        QCOMPARE(w.treeColumn(), 201);
        QCOMPARE(w.listSide(), 475);
        QCOMPARE(w.tooltipOn(w.site), w.site.data().toString());
        QCOMPARE(w.tooltipOn(w.tree->model()->index(0, 0)), QString());
    }

    // In a wide window the column opens wide enough for the longest name, so nothing is cut; the
    // operator can still move the splitter, and the column then stays where it was put.
    void theColumnOpensWideEnoughForTheLongestName()
    {
        LongNameWindow w({1600, 900});
        const QRect shown = w.tree->visualRect(w.site);
        QVERIFY2(
            shown.width() >= w.tree->sizeHintForIndex(w.site).width(),
            qPrintable(QStringLiteral("%1 < %2").arg(shown.width()).arg(w.tree->sizeHintForIndex(w.site).width())));
        QVERIFY(shown.right() < w.tree->viewport()->width());
        QCOMPARE(w.tooltipOn(w.site), QString());
        QVERIFY(w.treeColumn() > 201);
        QVERIFY(w.listSide() >= 475);

        QSplitterHandle* handle = w.child<QSplitter>("Splitter1")->handle(1);
        const QPoint grip = handle->rect().center();
        const QPoint to = grip - QPoint(100, 0);
        const int before = w.treeColumn();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QMouseEvent drag(QEvent::MouseMove, to, handle->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &drag);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, to);
        const int moved = w.treeColumn();
        QVERIFY2(moved <= before - 98 && moved >= before - 102, qPrintable(QString::number(moved)));
        w.window->resize(1700, 900);
        QCOMPARE(w.treeColumn(), moved);
    }
};

QTEST_MAIN(OrgTreeTest)
#include "orgtree_test.moc"
