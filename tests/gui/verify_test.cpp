// Re-keying blind from the score window with real keys: Ctrl+K switches 复核 on and off, a score
// keyed again equal to the stored one is verified and ticked, a different one stops at the
// 复核不一致 box whose answers adopt (taken back by Ctrl+Z) or key the score again.
#include "gui/EntryWindow.hpp"
#include "platform/journal/JournalFile.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/widgets/TRadioGroup.hpp"

#include <QtTest>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTreeView>

#include <optional>
#include <string>
#include <vector>

using skorvin::test::EntryWindow;
using skorvin::test::windowFiles;
namespace journal = skorvin::journal;

namespace {

std::vector<journal::JournalRecord> journalEntries()
{
    return journal::JournalFile(windowFiles().journal).query({});
}

void pressCtrl(Qt::Key key)
{
    QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
}

} // namespace

class VerifyTest : public QObject {
    Q_OBJECT

private slots:
    void reKeyingVerifiesAndAdjudicates()
    {
        EntryWindow w;
        const std::string a = w.listedNumber(0);
        const std::string b = w.listedNumber(1);
        w.keyIn(a, QStringLiteral("38"));
        w.keyIn(b, QStringLiteral("12"));
        QCOMPARE(w.storedScore(b), std::optional<std::string>("12"));
        auto* radio = w.child<skorvin::ui::TRadioGroup>("RadioGroup1");
        auto* mode = w.child<QLabel>("StatusMode");
        QVERIFY(!mode->isVisible());
        // The listed organisation's count in the tree: "(done/of)".
        auto* tree = w.child<QTreeView>("TreeView1");
        const auto counted = [tree] {
            const QString text = tree->currentIndex().data().toString();
            return text.mid(text.lastIndexOf(QLatin1Char('(')));
        };
        const QString entered = counted().section(QLatin1Char('/'), 0, 0).mid(1);
        QVERIFY2(entered.toInt() >= 2, qPrintable(counted()));

        pressCtrl(Qt::Key_K);
        QCOMPARE(w.window->windowTitle(), QStringLiteral("四级主观题登分 — 复核"));
        // In 复核 the tree counts verified of entered.
        QCOMPARE(counted(), QStringLiteral("(0/%1)").arg(entered));
        QVERIFY(mode->isVisible());
        QVERIFY(mode->text().startsWith(QStringLiteral("复核")));
        // The mode stands where the keys stood; the row count beside it is not cut.
        QCoreApplication::processEvents();
        QVERIFY(!w.child<QLabel>("StatusKeys")->isVisible());
        auto* count = w.child<QLabel>("StatusPanel1");
        QVERIFY2(count->width() >= count->sizeHint().width(), qPrintable(count->text()));
        // Only entered scores can be verified: the list shows them, their scores hidden.
        QCOMPARE(radio->itemIndex(), 1);
        const int rowA = w.viewRowOf(a);
        QVERIFY(rowA >= 0);
        QCOMPARE(w.grid->model()->index(rowA, 2).data().toString(), QStringLiteral("已登分"));
        QVERIFY(!w.grid->rowTicked(rowA));

        // The located candidate's score box stays empty; 38.0 is the 38 stored.
        const std::size_t before = journalEntries().size();
        w.edtZKZ->setFocus();
        w.edtZKZ->selectAll();
        QTest::keyClicks(w.edtZKZ, QString::fromStdString(a));
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
        QCOMPARE(w.edtFS->text(), QString());
        QTest::keyClicks(w.edtFS, QStringLiteral("38.0"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);
        QCOMPARE(w.recorder.texts(), QStringList());
        QVERIFY(w.grid->rowTicked(w.viewRowOf(a)));
        QCOMPARE(counted(), QStringLiteral("(1/%1)").arg(entered));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtZKZ));
        auto entries = journalEntries();
        QCOMPARE(entries.size(), before + 1);
        QCOMPARE(entries.front().action, std::string("verify"));
        QCOMPARE(entries.front().number, a);

        // 21 keyed where 12 is stored: the box names both, and 采用本次 writes 21.
        w.recorder.queueChoice(0);
        w.keyIn(b, QStringLiteral("21"));
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        const auto box = w.recorder.boxes().front();
        QCOMPARE(box.caption, QStringLiteral("复核不一致"));
        QVERIFY2(box.text.contains(QStringLiteral("12")) && box.text.contains(QStringLiteral("21")),
                 qPrintable(box.text));
        QCOMPARE(box.buttons,
                 (QStringList{QStringLiteral("采用本次"), QStringLiteral("保留原分"), QStringLiteral("重新输入")}));
        QCOMPARE(box.defaultButton, 2);
        QCOMPARE(w.storedScore(b), std::optional<std::string>("21"));
        QVERIFY(w.grid->rowTicked(w.viewRowOf(b)));
        QCOMPARE(journalEntries().front().action, std::string("adopt"));

        // Ctrl+Z takes the adopted score back (the question's default is Yes).
        w.recorder.clear();
        pressCtrl(Qt::Key_Z);
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        QCOMPARE(w.storedScore(b), std::optional<std::string>("12"));
        QVERIFY(!w.grid->rowTicked(w.viewRowOf(b)));

        // Enter on the box is 重新输入: nothing recorded, the score selected in its box.
        w.recorder.clear();
        const std::size_t settled = journalEntries().size();
        w.keyIn(b, QStringLiteral("13"));
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
        QCOMPARE(w.edtFS->selectedText(), QStringLiteral("13"));
        QCOMPARE(w.storedScore(b), std::optional<std::string>("12"));
        QCOMPARE(journalEntries().size(), settled);

        // A scored candidate that 未登分 hides is named as scored, without the score.
        w.recorder.clear();
        radio->setItemIndex(0);
        w.edtZKZ->setFocus();
        w.edtZKZ->selectAll();
        QTest::keyClicks(w.edtZKZ, QString::fromStdString(a));
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        const QString hidden = w.recorder.boxes().front().text;
        QVERIFY2(hidden.contains(QStringLiteral("已登分")) && !hidden.contains(QStringLiteral("分数为")),
                 qPrintable(hidden));

        pressCtrl(Qt::Key_K);
        QCOMPARE(w.window->windowTitle(), QStringLiteral("四级主观题登分"));
        QVERIFY(!mode->isVisible());
        QVERIFY2(counted().startsWith(QStringLiteral("(%1/").arg(entered)), qPrintable(counted()));
        QCOMPARE(radio->itemIndex(), 0);
        radio->setItemIndex(2);
        const int shownA = w.viewRowOf(a);
        QVERIFY(shownA >= 0);
        QCOMPARE(w.grid->model()->index(shownA, 2).data().toString(), QStringLiteral("38"));
        QVERIFY(!w.grid->rowTicked(shownA));
    }
};

QTEST_MAIN(VerifyTest)
#include "verify_test.moc"
