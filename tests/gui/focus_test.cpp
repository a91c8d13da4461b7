// Where the focus is after the score window's buttons, keys and boxes: back in 准考证号, so that
// the next number typed lands there and Enter looks it up instead of running the action again.
#include "gui/EntryWindow.hpp"
#include "gui/OwnSettingsStore.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/journal/JournalWindow.hpp"
#include "ui/score/frmFSSet_UNIT.hpp"

#include <QtTest>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

#include <filesystem>

using skorvin::test::EntryWindow;
using skorvin::ui::toQString;
namespace fs = std::filesystem;

namespace {

void removeJournal()
{
    const fs::path journal = skorvin::gbk::toUtf8(skorvin::test::windowFiles().journal);
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::error_code ignored;
        fs::remove(journal.string() + suffix, ignored);
    }
}

// Presses Enter on a button that has the focus, as an operator who tabbed to it does.
void enterOn(EntryWindow& w, const char* name)
{
    auto* button = w.child<QPushButton>(name);
    button->setFocus(Qt::TabFocusReason);
    QTest::keyClick(button, Qt::Key_Return);
}

} // namespace

class FocusTest : public QObject {
    Q_OBJECT

private:
    skorvin::test::OwnSettingsStore settingsHome_;

private slots:
    void initTestCase() { QVERIFY(settingsHome_.isValid()); }

    void init() { removeJournal(); }
    void cleanup() { removeJournal(); }

    void backInTheNumberBoxAfterwards_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("导出") << QStringLiteral("export") << QStringList();
        QTest::newRow("导出 cancelled") << QStringLiteral("export cancelled") << QStringList();
        QTest::newRow("题目满分值, 确定")
            << QStringLiteral("settings") << QStringList{QStringLiteral("分数设置成功！")};
        QTest::newRow("题目满分值, 取消") << QStringLiteral("settings cancelled") << QStringList();
        QTest::newRow("journal window closed") << QStringLiteral("journal") << QStringList();
        QTest::newRow("Ctrl+Z answered No") << QStringLiteral("undo refused") << QStringList();
        QTest::newRow("save of a candidate gone")
            << QStringLiteral("gone") << QStringList{QStringLiteral("未能保存：数据库中没有该考生")};
    }

    void backInTheNumberBoxAfterwards()
    {
        QFETCH(QString, action);
        QFETCH(QStringList, boxes);
        EntryWindow w;
        const skorvin::test::TempDir dir;
        int settingsShown = 0;
        if (action == QStringLiteral("export")) {
            w.recorder.queueSaveFileName(QString::fromStdString((dir / "list").string()));
            enterOn(w, "btnExport");
            QVERIFY(fs::exists(dir / "list.txt"));
        } else if (action == QStringLiteral("export cancelled")) {
            enterOn(w, "btnExport");
        } else if (action.startsWith(QStringLiteral("settings"))) {
            const bool ok = action == QStringLiteral("settings");
            skorvin::ui::setScoreSettingsRunner([&](skorvin::ui::TfrmFSSet& dialog) {
                ++settingsShown;
                dialog.show();
                QTest::keyClick(dialog.edtUp, ok ? Qt::Key_Return : Qt::Key_Escape);
                return dialog.result();
            });
            enterOn(w, "btnSet");
            skorvin::ui::setScoreSettingsRunner({});
            QCOMPARE(settingsShown, 1);
        } else if (action == QStringLiteral("journal")) {
            QTest::keyClick(w.edtFS, Qt::Key_J, Qt::ControlModifier);
            QPointer<skorvin::ui::JournalWindow> journal = w.window->findChild<skorvin::ui::JournalWindow*>();
            QVERIFY(journal);
            QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(journal.data()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            QTRY_VERIFY(journal.isNull());
            // The platform's window manager gives the score window back its activation.
            w.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        } else if (action == QStringLiteral("undo refused")) {
            w.keyIn(w.listedNumber(0), QStringLiteral("20"));
            w.recorder.clear();
            w.edtFS->setFocus();
            w.recorder.queueAnswer(false);
            QTest::keyClick(w.edtFS, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
            w.recorder.clear();
        } else if (action == QStringLiteral("gone")) {
            w.connection.execute("delete from t_omr where zkzh = ?", {w.listedNumber(0)});
            QTest::keyClick(w.edtZKZ, Qt::Key_Return);
            QTest::keyClicks(w.edtFS, QStringLiteral("30"));
            QTest::keyClick(w.edtFS, Qt::Key_Return);
        }
        QCOMPARE(w.recorder.texts(), boxes);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtZKZ));
        QCOMPARE(w.edtZKZ->selectedText(), w.edtZKZ->text());

        // The operator goes on typing: the number lands in 准考证号, Enter finds it, and no
        // dialog of the action opens again.
        const std::size_t saveDialogs = w.recorder.saveRequests().size();
        const std::string next = w.listedNumber(1);
        QTest::keyClicks(QApplication::focusWidget(), toQString(next));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(w.edtZKZ->text(), toQString(next));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
        QCOMPARE(w.recorder.saveRequests().size(), saveDialogs);
        QCOMPARE(w.recorder.texts(), boxes);
        QCOMPARE(settingsShown, action.startsWith(QStringLiteral("settings")) ? 1 : 0);
    }

    // Ctrl+Z with nothing to undo only beeps: the operator keeps typing where they were.
    void nothingToUndoLeavesTheFocus()
    {
        EntryWindow w;
        w.edtFS->setFocus();
        QTest::keyClick(w.edtFS, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.beeps.count(), 1);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
    }
};

QTEST_MAIN(FocusTest)
#include "focus_test.moc"
