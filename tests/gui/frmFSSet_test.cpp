#include "exam/ScoreSettings.hpp"
#include "gui/CountingBeeper.hpp"
#include "gui/RecordingDialogs.hpp"
#include "plain/Files.hpp"
#include "plain/TempDir.hpp"
#include "platform/Gbk.hpp"
#include "ui/score/frmFSSet_UNIT.hpp"

#include <QtTest>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

using skorvin::test::CountingBeeper;
using skorvin::test::fileBytes;
using skorvin::test::putFile;
using skorvin::test::RecordingDialogs;
using skorvin::test::TempDir;
using skorvin::ui::Dialogs;
using skorvin::ui::TfrmFSSet;
namespace fs = std::filesystem;

namespace {

// The host's own settings around ours; a save must change only our two keys.
const std::string kHostFile =
    "[Main]\r\nServer = exam01\r\n\r\n[ScoreSet]\r\nXs=1\r\nUp=40\r\n\r\n[Print]\r\nCopies=2\r\n";

// A settings file in a fresh folder and the dialog on it, shown as ShowScoreSettings shows it.
struct OpenDialog {
    explicit OpenDialog(std::optional<std::string> content = std::nullopt)
    {
        if (content)
            putFile(path, *content);
        dialog = std::make_unique<TfrmFSSet>(skorvin::gbk::fromUtf8(path.string()));
        dialog->show();
    }

    // Replaces the box's text the way an operator does: select all, type.
    static void retype(QLineEdit* box, const QString& text)
    {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            QTest::keyClicks(box, text);
    }

    TempDir dir;
    fs::path path = dir / "kavrint.ini";
    RecordingDialogs recorder;
    CountingBeeper beeps;
    std::unique_ptr<TfrmFSSet> dialog;
};

} // namespace

class FSSetTest : public QObject {
    Q_OBJECT

private slots:
    void layout()
    {
        OpenDialog open;
        TfrmFSSet& d = *open.dialog;
        QCOMPARE(d.windowTitle(), QStringLiteral("分数设置"));
        QCOMPARE(d.size(), QSize(194, 194));
        QCOMPARE(d.minimumSize(), d.maximumSize());
        QCOMPARE(d.font().pixelSize(), 12);

        const struct {
            const char* name;
            QRect geometry;
            QString text;
        } controls[] = {
            {"GroupBox1", {4, 6, 185, 153}, QStringLiteral("满分设置")},
            {"Label1", {16, 24, 113, 13}, QStringLiteral("设置主观题的满分值")},
            {"Label3", {128, 24, 48, 12}, QStringLiteral("，以及分")},
            {"Label5", {16, 43, 137, 13}, QStringLiteral("数的小数位数：")},
            {"Label2", {16, 86, 36, 12}, QStringLiteral("满分：")},
            {"edtUp", {56, 82, 113, 20}, QString()},
            {"Label4", {16, 117, 84, 12}, QStringLiteral("保留小数位数：")},
            {"edtXS", {104, 113, 64, 20}, QString()},
            {"BitBtn1", {16, 165, 75, 25}, QStringLiteral("确定")},
            {"BitBtn2", {112, 165, 75, 25}, QStringLiteral("取消")},
        };
        for (const auto& c : controls) {
            auto* widget = d.findChild<QWidget*>(QString::fromLatin1(c.name));
            QVERIFY2(widget != nullptr, c.name);
            QCOMPARE(widget->geometry(), c.geometry);
            if (auto* label = qobject_cast<QLabel*>(widget))
                QCOMPARE(label->text(), c.text);
            if (auto* button = qobject_cast<QPushButton*>(widget))
                QCOMPARE(button->text(), c.text);
            if (auto* group = qobject_cast<QGroupBox*>(widget))
                QCOMPARE(group->title(), c.text);
        }
        QVERIFY(d.BitBtn1->isDefault());
        QCOMPARE(d.focusWidget(), static_cast<QWidget*>(d.edtUp));
        const QWidget* const tabOrder[] = {d.edtXS, d.BitBtn1, d.BitBtn2, d.edtUp};
        for (const QWidget* next : tabOrder) {
            QTest::keyClick(d.focusWidget(), Qt::Key_Tab);
            QCOMPARE(d.focusWidget(), next);
        }
    }

    void showsTheFileOrTheDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("hasFile");
        QTest::addColumn<QString>("up");
        QTest::addColumn<QString>("xs");
        QTest::newRow("no file") << QByteArray() << false << "40"
                                 << "1";
        QTest::newRow("no section") << QByteArray("[Main]\r\nUp=90\r\n") << true << "40"
                                    << "1";
        QTest::newRow("host values") << QByteArray("[ScoreSet]\r\nXs=2\r\nUp=150\r\n") << true << "150"
                                     << "2";
    }

    void showsTheFileOrTheDefaults()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, hasFile);
        QFETCH(QString, up);
        QFETCH(QString, xs);
        OpenDialog open(hasFile ? std::optional<std::string>(content.toStdString()) : std::nullopt);
        QCOMPARE(open.dialog->edtUp->text(), up);
        QCOMPARE(open.dialog->edtXS->text(), xs);
        QVERIFY(open.recorder.boxes().empty());
        QCOMPARE(fs::exists(open.path), hasFile);
    }

    void boxesTakeDigitsOnly_data()
    {
        QTest::addColumn<QString>("box");
        QTest::newRow("maximum") << "edtUp";
        QTest::newRow("decimal places") << "edtXS";
    }

    // Each refused key beeps once: "59.5" typed into the maximum arrives as 595, but not unheard.
    void boxesTakeDigitsOnly()
    {
        QFETCH(QString, box);
        OpenDialog open;
        auto* edit = open.dialog->findChild<QLineEdit*>(box);
        OpenDialog::retype(edit, QStringLiteral("1a.2-x 5,"));
        QCOMPARE(edit->text(), QStringLiteral("125"));
        QCOMPARE(open.beeps.count(), 6);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QStringLiteral("12"));
        // A refused key never reaches the box: it does not even replace the selection.
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QStringLiteral("a."));
        QCOMPARE(edit->text(), QStringLiteral("12"));
        QCOMPARE(edit->selectedText(), QStringLiteral("12"));
        QCOMPARE(open.beeps.count(), 8);
        // Editing shortcuts are the box's own, never refused keys.
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("12"));
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("12"));
        QCOMPARE(open.beeps.count(), 8);
        QVERIFY(open.recorder.boxes().empty());
    }

    // A paste, Ctrl+V included, enters exactly the pasted digits (blanks around them trimmed)
    // over the selection, or nothing at all with one beep: "59.5" never becomes 595.
    void pasteEntersWholeOrNothing_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("result");
        const QString routes[] = {QStringLiteral("Ctrl+V"), QStringLiteral("Shift+Insert"), QStringLiteral("menu")};
        for (const QString& route : routes) {
            const QByteArray r = route.toLatin1();
            QTest::newRow(r + ": maximum") << route << "edtUp"
                                           << "60"
                                           << "60";
            QTest::newRow(r + ": blanks trimmed") << route << "edtUp"
                                                  << " 60\t\n"
                                                  << "60";
            QTest::newRow(r + ": point") << route << "edtUp"
                                         << "59.5"
                                         << "40";
            QTest::newRow(r + ": unit") << route << "edtUp" << QStringLiteral("60分") << "40";
            QTest::newRow(r + ": line break inside") << route << "edtUp"
                                                     << "6\n0"
                                                     << "40";
            QTest::newRow(r + ": places") << route << "edtXS"
                                          << "2"
                                          << "2";
            QTest::newRow(r + ": negative places") << route << "edtXS"
                                                   << "-1"
                                                   << "1";
        }
    }

    void pasteEntersWholeOrNothing()
    {
        QFETCH(QString, route);
        QFETCH(QString, box);
        QFETCH(QString, pasted);
        QFETCH(QString, result);
        OpenDialog open;
        auto* edit = open.dialog->findChild<QLineEdit*>(box);
        const QString before = edit->text();
        edit->setFocus();
        edit->selectAll();
        QApplication::clipboard()->setText(pasted);
        if (route == QStringLiteral("Ctrl+V")) {
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        } else if (route == QStringLiteral("Shift+Insert")) {
            QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        } else {
            QTimer::singleShot(0, [] {
                QWidget* menu = QApplication::activePopupWidget();
                QVERIFY(menu);
                QTest::keyClick(menu, Qt::Key_P);
            });
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2), edit->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(edit, &event);
        }
        QCOMPARE(edit->text(), result);
        QCOMPARE(open.beeps.count(), result == before ? 1 : 0);
        QVERIFY(open.recorder.boxes().empty());
    }

    void valueFromTheFileKeepsItsCharacters()
    {
        // Only what the operator inserts is filtered; the host's value is not rewritten behind their back.
        OpenDialog open("[ScoreSet]\r\nUp=40.5\r\n");
        QCOMPARE(open.dialog->edtUp->text(), QStringLiteral("40.5"));
        QTest::keyClick(open.dialog->edtUp, Qt::Key_End);
        QTest::keyClicks(open.dialog->edtUp, QStringLiteral("x0"));
        QCOMPARE(open.dialog->edtUp->text(), QStringLiteral("40.50"));
        QCOMPARE(open.beeps.count(), 1);
    }

    void emptyMaximumIsRefused()
    {
        OpenDialog open;
        QSignalSpy finished(open.dialog.get(), &QDialog::finished);
        OpenDialog::retype(open.dialog->edtUp, QString());
        open.dialog->edtXS->setFocus();
        QTest::mouseClick(open.dialog->BitBtn1, Qt::LeftButton);

        QCOMPARE(open.recorder.boxes().size(), std::size_t{1});
        QCOMPARE(open.recorder.boxes()[0].caption, QStringLiteral("错误"));
        QCOMPARE(open.recorder.boxes()[0].text, QStringLiteral("请输入上限分数！"));
        QCOMPARE(open.recorder.boxes()[0].icon, Dialogs::Icon::Error);
        QVERIFY(open.dialog->isVisible());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(open.dialog->focusWidget(), static_cast<QWidget*>(open.dialog->edtUp));
        QVERIFY(!fs::exists(open.path));
    }

    void savesBothValues_data()
    {
        QTest::addColumn<QString>("xs");
        QTest::addColumn<QString>("up");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("0 and 100")
            << "0"
            << "100"
            << QByteArray(
                   "[Main]\r\nServer = exam01\r\n\r\n[ScoreSet]\r\nXs=0\r\nUp=100\r\n\r\n[Print]\r\nCopies=2\r\n");
        // Only the maximum must be filled in; empty decimal places are stored as they are.
        QTest::newRow("empty decimal places")
            << ""
            << "40"
            << QByteArray("[Main]\r\nServer = exam01\r\n\r\n[ScoreSet]\r\nXs=\r\nUp=40\r\n\r\n[Print]\r\nCopies=2\r\n");
    }

    void savesBothValues()
    {
        QFETCH(QString, xs);
        QFETCH(QString, up);
        QFETCH(QByteArray, after);
        OpenDialog open(kHostFile);
        QSignalSpy accepted(open.dialog.get(), &QDialog::accepted);
        OpenDialog::retype(open.dialog->edtXS, xs);
        OpenDialog::retype(open.dialog->edtUp, up);
        QTest::keyClick(open.dialog->edtUp, Qt::Key_Return); // Enter clicks the OK button

        QCOMPARE(fileBytes(open.path), std::optional<std::string>(after.toStdString()));
        QCOMPARE(open.recorder.texts(), QStringList{QStringLiteral("分数设置成功！")});
        QCOMPARE(open.recorder.boxes()[0].caption, QStringLiteral("信息"));
        QCOMPARE(accepted.count(), 1);
        QVERIFY(!open.dialog->isVisible());
        const skorvin::exam::ScoreSettings read =
            skorvin::exam::ReadScoreSettings(skorvin::gbk::fromUtf8(open.path.string()));
        QCOMPARE(QString::fromStdString(read.Xs), xs);
        QCOMPARE(QString::fromStdString(read.Up), up);
    }

    void cancelWritesNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("cancel button") << false;
        QTest::newRow("Esc") << true;
    }

    void cancelWritesNothing()
    {
        QFETCH(bool, escape);
        OpenDialog open(kHostFile);
        QSignalSpy rejected(open.dialog.get(), &QDialog::rejected);
        OpenDialog::retype(open.dialog->edtXS, QStringLiteral("0"));
        OpenDialog::retype(open.dialog->edtUp, QStringLiteral("100"));
        if (escape)
            QTest::keyClick(open.dialog->edtUp, Qt::Key_Escape);
        else
            QTest::mouseClick(open.dialog->BitBtn2, Qt::LeftButton);

        QCOMPARE(rejected.count(), 1);
        QVERIFY(!open.dialog->isVisible());
        QVERIFY(open.recorder.boxes().empty());
        QCOMPARE(fileBytes(open.path), std::optional<std::string>(kHostFile));
    }

    void writeFailureShownByTheErrorBoxAndDialogCloses()
    {
        OpenDialog open(kHostFile);
        fs::permissions(open.path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        QSignalSpy accepted(open.dialog.get(), &QDialog::accepted);
        OpenDialog::retype(open.dialog->edtUp, QStringLiteral("100"));
        QTest::mouseClick(open.dialog->BitBtn1, Qt::LeftButton);

        QCOMPARE(open.recorder.texts(),
                 QStringList{"Unable to write to " + QString::fromStdString(open.path.string()) + "."});
        QCOMPARE(open.recorder.boxes()[0].icon, Dialogs::Icon::Stop);
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(fileBytes(open.path), std::optional<std::string>(kHostFile));
    }

    void showScoreSettingsRunsAndDestroysTheDialog()
    {
        TempDir dir;
        const fs::path path = dir / "kavrint.ini";
        RecordingDialogs recorder;
        QWidget owner;
        QPointer<TfrmFSSet> seen;
        skorvin::ui::setScoreSettingsRunner([&](TfrmFSSet& dialog) {
            seen = &dialog;
            dialog.show();
            OpenDialog::retype(dialog.edtUp, QStringLiteral("60"));
            QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton);
            return dialog.result();
        });
        const int result = skorvin::ui::ShowScoreSettings(&owner, skorvin::gbk::fromUtf8(path.string()));
        skorvin::ui::setScoreSettingsRunner({});

        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(seen.isNull());
        QCOMPARE(fileBytes(path), std::optional<std::string>("[ScoreSet]\r\nXs=1\r\nUp=60\r\n"));
    }
};

QTEST_MAIN(FSSetTest)
#include "frmFSSet_test.moc"
