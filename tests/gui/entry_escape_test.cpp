// Esc in the entry boxes, with real keys: in 分数 it takes back what was typed, in 准考证号 it
// selects the number; nothing else changes.
#include "gui/EntryWindow.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <QtTest>

#include <QApplication>
#include <QLineEdit>

#include <optional>

using skorvin::test::EntryWindow;
using skorvin::ui::toQString;

class EntryEscapeTest : public QObject {
    Q_OBJECT

private slots:
    // A corrected score typed over, then Esc: the stored score is back, selected, and Enter
    // stores nothing new.
    void escInTheScoreBoxPutsTheStoredScoreBack_data()
    {
        QTest::addColumn<bool>("scored");
        QTest::addColumn<QString>("typed");
        QTest::newRow("scored candidate, digits typed over") << true << QStringLiteral("12");
        QTest::newRow("scored candidate, score cleared") << true << QString();
        QTest::newRow("unscored candidate") << false << QStringLiteral("3.5");
    }

    void escInTheScoreBoxPutsTheStoredScoreBack()
    {
        QFETCH(bool, scored);
        QFETCH(QString, typed);
        EntryWindow w;
        w.showAll();
        const auto& samples = w.db.summary().samples;
        const std::string number = scored ? samples.scoredHalf.zkzh : samples.unscored.zkzh;
        const QString stored = scored ? QStringLiteral("27.5") : QString();
        QTest::keyClicks(w.edtZKZ, toQString(number));
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        const int row = w.grid->dataSet()->recNo();
        QTest::keyClick(w.edtFS, Qt::Key_Backspace);
        QTest::keyClicks(w.edtFS, typed);

        QTest::keyClick(w.edtFS, Qt::Key_Escape);
        QCOMPARE(w.edtFS->text(), stored);
        QCOMPARE(w.edtFS->selectedText(), stored);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
        QCOMPARE(w.edtZKZ->text(), toQString(number));
        QCOMPARE(w.grid->dataSet()->recNo(), row);
        QVERIFY(w.window->isVisible());

        // Typing goes on over the score put back.
        QTest::keyClicks(w.edtFS, QStringLiteral("30"));
        QCOMPARE(w.edtFS->text(), QStringLiteral("30"));
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
        QCOMPARE(w.beeps.count(), 0);
        QCOMPARE(w.storedScore(number), scored ? std::optional<std::string>("27.5") : std::optional<std::string>());
    }

    // Esc in 准考证号 selects the whole number, wherever the caret was, so the next number replaces it.
    void escInTheNumberBoxSelectsTheNumber()
    {
        EntryWindow w;
        const QString shown = w.edtZKZ->text();
        QVERIFY(!shown.isEmpty());
        w.edtZKZ->setCursorPosition(3);
        QVERIFY(!w.edtZKZ->hasSelectedText());
        QTest::keyClick(w.edtZKZ, Qt::Key_Escape);
        QCOMPARE(w.edtZKZ->text(), shown);
        QCOMPARE(w.edtZKZ->selectedText(), shown);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtZKZ));
        QTest::keyClicks(w.edtZKZ, QStringLiteral("41"));
        QCOMPARE(w.edtZKZ->text(), QStringLiteral("41"));
        QVERIFY(w.recorder.boxes().empty());
        QCOMPARE(w.beeps.count(), 0);
    }
};

QTEST_MAIN(EntryEscapeTest)
#include "entry_escape_test.moc"
