// Keying in scores with real key events on the score window over a demo database: the
// cycle from number to score, the key filters, and every other way text can enter the boxes.
#include "gui/EntryWindow.hpp"
#include "platform/Gbk.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <QtTest>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include <optional>

using skorvin::test::EntryWindow;
using skorvin::test::ScoreWindow;
using skorvin::test::writeSettings;
using skorvin::ui::Dialogs;
using skorvin::ui::toQString;

class EntryTest : public QObject {
    Q_OBJECT

    // Types into whatever has the focus, one key at a time, as the operator's keyboard does.
    static int typeIntoFocus(const QString& characters)
    {
        for (QChar c : characters)
            QTest::keyClicks(QApplication::focusWidget(), QString(c));
        return static_cast<int>(characters.size());
    }

private slots:
    // An operator scores answer sheets in number order: Enter takes the number shown,
    // the digits and Enter store the score, and the next candidate comes up.
    void scoresCandidatesInNumberOrder()
    {
        EntryWindow w;
        int unscored = static_cast<int>(w.db.summary().counts(1, "11").unscored());
        QCOMPARE(w.grid->model()->rowCount(), unscored);
        QVERIFY(unscored > 3);

        const QString scores[] = {QStringLiteral("23"), QStringLiteral("7.5"), QStringLiteral("40")};
        for (const QString& score : scores) {
            const std::string number = w.listedNumber(0);
            QCOMPARE(w.edtZKZ->text(), toQString(number));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtZKZ));

            int keys = 0;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            ++keys;
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
            keys += typeIntoFocus(score);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            ++keys;
            QCOMPARE(keys, 1 + static_cast<int>(score.size()) + 1);

            QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
            QCOMPARE(w.beeps.count(), 0);
            QCOMPARE(w.storedScore(number), std::optional<std::string>(score.toStdString()));
            // The scored candidate has left the 未登分 list; the boxes show the next one.
            QCOMPARE(w.grid->model()->rowCount(), --unscored);
            QVERIFY(w.listedNumber(0) > number);
            QCOMPARE(w.edtZKZ->text(), toQString(w.listedNumber(0)));
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtZKZ));
            QCOMPARE(w.edtZKZ->selectedText(), w.edtZKZ->text());
        }
    }

    // "12." is stored and listed as 12.
    void trailingPointIsDropped()
    {
        EntryWindow w;
        w.child<QWidget>("RadioGroup1")->findChildren<QAbstractButton*>().at(2)->click();
        const std::string number = w.listedNumber(0);
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QTest::keyClicks(w.edtFS, QStringLiteral("12."));
        QTest::keyClick(w.edtFS, Qt::Key_Return);
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
        QCOMPARE(w.storedScore(number), std::optional<std::string>("12"));
        const auto* list = w.grid->dataSet();
        QCOMPARE(list->viewValue(0, list->fieldIndex("tttt")), std::optional<std::string>("12"));
    }

    // Each refused key beeps once; Backspace is never refused.
    void admissionKeyFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("beeps");
        QTest::newRow("digits") << QStringLiteral("4110") << QStringLiteral("4110") << 0;
        QTest::newRow("capital A only") << QStringLiteral("A4B") << QStringLiteral("A4") << 1;
        QTest::newRow("lower case a") << QStringLiteral("a1") << QStringLiteral("1") << 1;
        QTest::newRow("punctuation and blanks") << QStringLiteral("1-2 .'3") << QStringLiteral("123") << 4;
    }

    void admissionKeyFilter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(int, beeps);
        EntryWindow w;
        w.edtZKZ->clear();
        QTest::keyClicks(w.edtZKZ, typed);
        QCOMPARE(w.edtZKZ->text(), kept);
        QCOMPARE(w.beeps.count(), beeps);
        QTest::keyClick(w.edtZKZ, Qt::Key_Backspace);
        QCOMPARE(w.edtZKZ->text(), kept.left(kept.size() - 1));
        QCOMPARE(w.beeps.count(), beeps);
    }

    // Ctrl+V types a character the filters refuse: nothing arrives, with a beep.
    void ctrlVIsRefused()
    {
        EntryWindow w;
        QApplication::clipboard()->setText(QStringLiteral("4999"));
        for (QLineEdit* box : {w.edtZKZ, w.edtFS}) {
            box->clear();
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(box->text(), QString());
        }
        QCOMPARE(w.beeps.count(), 2);
    }

    // Keys that type no character are never refused: moving the caret and deleting never beep.
    void editingKeysNeverBeep()
    {
        EntryWindow w;
        w.edtFS->setText(QStringLiteral("12.5"));
        w.edtFS->setFocus();
        for (Qt::Key key : {Qt::Key_End, Qt::Key_Left, Qt::Key_Right, Qt::Key_Home})
            QTest::keyClick(w.edtFS, key);
        // Delete with the text an X11 keyboard gives it, the DEL control character.
        QTest::sendKeyEvent(QTest::Click, w.edtFS, Qt::Key_Delete, QString(QChar(0x7F)), Qt::NoModifier);
        QTest::keyClick(w.edtFS, Qt::Key_End);
        QTest::keyClick(w.edtFS, Qt::Key_Backspace);
        QCOMPARE(w.edtFS->text(), QStringLiteral("2."));
        QCOMPARE(w.beeps.count(), 0);
    }

    // Enter is used, never refused: a number that is not listed, or a score missing, shows its
    // box and sounds no beep.
    void enterShowsItsBoxWithoutABeep()
    {
        EntryWindow w;
        w.edtZKZ->clear();
        QTest::keyClicks(w.edtZKZ, QStringLiteral("4123"));
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        w.edtFS->clear();
        w.edtFS->setFocus();
        QTest::keyClick(w.edtFS, Qt::Key_Return);
        QCOMPARE(w.recorder.texts(), (QStringList{QStringLiteral("您输入的考生准考证号码不存在！请确认后重新输入！"),
                                                  QStringLiteral("请输入分数！")}));
        QCOMPARE(w.beeps.count(), 0);
    }

    void scoreKeyFilter_data()
    {
        QTest::addColumn<QString>("xs");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("beeps");
        QTest::newRow("Xs 1: one place") << "1"
                                         << "" << 0 << "12.56"
                                         << "12.5" << 1;
        QTest::newRow("Xs 1: point first refused") << "1"
                                                   << "" << 0 << ".5"
                                                   << "5" << 1;
        QTest::newRow("Xs 1: second point refused") << "1"
                                                    << "" << 0 << "1.."
                                                    << "1." << 1;
        QTest::newRow("Xs 1: letters refused") << "1"
                                               << "" << 0 << "1a-b2"
                                               << "12" << 3;
        QTest::newRow("Xs 1: full fraction refuses a digit before the point") << "1"
                                                                              << "3.5" << 0 << "1"
                                                                              << "3.5" << 1;
        QTest::newRow("Xs 0: point refused") << "0"
                                             << "" << 0 << "1.5"
                                             << "15" << 1;
        QTest::newRow("Xs 2: two places") << "2"
                                          << "" << 0 << "1.255"
                                          << "1.25" << 1;
        QTest::newRow("Xs 2: digit before the point") << "2"
                                                      << "1.2" << 0 << "3"
                                                      << "31.2" << 0;
    }

    void scoreKeyFilter()
    {
        QFETCH(QString, xs);
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        QFETCH(int, beeps);
        EntryWindow w;
        writeSettings(xs.toStdString(), "40");
        w.edtFS->setText(start);
        w.edtFS->setCursorPosition(caret);
        QTest::keyClicks(w.edtFS, typed);
        QCOMPARE(w.edtFS->text(), result);
        QVERIFY(w.recorder.boxes().empty());
        QCOMPARE(w.beeps.count(), beeps);
    }

    // Backspace frees the full fraction again.
    void backspaceReopensTheFraction()
    {
        EntryWindow w;
        w.edtFS->clear();
        QTest::keyClicks(w.edtFS, QStringLiteral("12.5"));
        QTest::keyClick(w.edtFS, Qt::Key_Backspace);
        QTest::keyClicks(w.edtFS, QStringLiteral("7"));
        QCOMPARE(w.edtFS->text(), QStringLiteral("12.7"));
    }

    // An empty Xs makes every key of the score box fail in the central error box.
    void emptyPlacesLosesEveryKey()
    {
        EntryWindow w;
        writeSettings("", "40");
        w.edtFS->clear();
        QTest::keyClicks(w.edtFS, QStringLiteral("1"));
        QTest::keyClick(w.edtFS, Qt::Key_Backspace);
        QCOMPARE(w.edtFS->text(), QString());
        QCOMPARE(w.recorder.boxes().size(), std::size_t{2});
        for (const auto& box : w.recorder.boxes()) {
            QCOMPARE(box.text, QStringLiteral("'' is not a valid integer value."));
            QCOMPARE(box.icon, Dialogs::Icon::Stop);
        }
        // The box is the signal; no beep on top of it.
        QCOMPARE(w.beeps.count(), 0);
    }

    // The settings are read on every key: a change between two keys applies to the next one.
    void settingsReadOnEveryKey()
    {
        EntryWindow w;
        w.edtFS->clear();
        QTest::keyClicks(w.edtFS, QStringLiteral("1"));
        writeSettings("0", "40");
        QTest::keyClicks(w.edtFS, QStringLiteral("."));
        QCOMPARE(w.edtFS->text(), QStringLiteral("1"));
        QCOMPARE(w.beeps.count(), 1);
    }

    // A scored row clicked, another number keyed in: the score box shows the new candidate's
    // own (empty) score, so the clicked row's 27.5 can never be stored for someone else.
    void scoreNeverCarriesOverToAnotherCandidate()
    {
        EntryWindow w;
        w.showAll();
        const auto& samples = w.db.summary().samples;
        const int scoredRow = w.viewRowOf(samples.scoredHalf.zkzh);
        QVERIFY(scoredRow >= 0 && w.viewRowOf(samples.unscored.zkzh) >= 0);
        w.clickRow(scoredRow);
        QCOMPARE(w.edtFS->text(), QStringLiteral("27.5"));

        QTest::keyClicks(w.edtZKZ, toQString(samples.unscored.zkzh));
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
        QCOMPARE(w.edtFS->text(), QString());
        QTest::keyClicks(w.edtFS, QStringLiteral("30"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
        QCOMPARE(w.storedScore(samples.unscored.zkzh), std::optional<std::string>("30"));
        QCOMPARE(w.storedScore(samples.scoredHalf.zkzh), std::optional<std::string>("27.5"));

        // Looking up a scored candidate shows that candidate's score, selected, and typing replaces it.
        QTest::keyClicks(w.edtZKZ, toQString(samples.scoredHalf.zkzh));
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QCOMPARE(w.edtFS->text(), QStringLiteral("27.5"));
        QCOMPARE(w.edtFS->selectedText(), QStringLiteral("27.5"));
        QTest::keyClicks(w.edtFS, QStringLiteral("31"));
        QCOMPARE(w.edtFS->text(), QStringLiteral("31"));
    }

    // After the "above the maximum" box the score is selected, and digits type over it.
    void refusedScoreCanBeTypedOver()
    {
        EntryWindow w;
        const std::string number = w.listedNumber(0);
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QTest::keyClicks(w.edtFS, QStringLiteral("40.5"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);
        QCOMPARE(w.recorder.texts(), QStringList{QStringLiteral("您输入的分数大于了满分值！请重新输入！")});
        QCOMPARE(w.edtFS->selectedText(), QStringLiteral("40.5"));
        QTest::keyClicks(w.edtFS, QStringLiteral("39.5"));
        QCOMPARE(w.edtFS->text(), QStringLiteral("39.5"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);
        QCOMPARE(w.storedScore(number), std::optional<std::string>("39.5"));
    }

    // A paste enters exactly the pasted text (surrounding blanks trimmed) where the caret is,
    // replacing the selection, when typing it would; otherwise the box keeps its text and the
    // beep sounds once. Never part of it: "38,5" must not become 385. A line break in it is
    // never Enter. Xs is 1.
    void pasteEntersWholeOrNothing_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("result");
        const QString routes[] = {QStringLiteral("Shift+Insert"), QStringLiteral("menu")};
        const struct {
            const char* name;
            const char* box;
            QString start;
            bool selected;
            QString pasted;
            QString result;
        } cases[] = {
            {"score", "edtFS", "", false, "38.5", "38.5"},
            {"blanks and line break trimmed", "edtFS", "", false, " 38 \r\n", "38"},
            {"comma", "edtFS", "", false, "38,5", ""},
            {"two places with Xs 1", "edtFS", "", false, "38.75", ""},
            {"minus inside", "edtFS", "", false, "12-5", ""},
            {"negative", "edtFS", "", false, "-5", ""},
            {"exponent", "edtFS", "", false, "1e1", ""},
            {"point first", "edtFS", "", false, ".5", ""},
            {"line break inside", "edtFS", "", false, "2\r\n5", ""},
            {"blanks only", "edtFS", "7", true, "  ", "7"},
            {"after the digits typed", "edtFS", "3", false, "8.5", "38.5"},
            {"over the selected score", "edtFS", "27.5", true, "30", "30"},
            {"refused keeps the selected score", "edtFS", "27.5", true, "3,0", "27.5"},
            {"fraction already full", "edtFS", "3.5", false, "5", "3.5"},
            {"number", "edtZKZ", "", false, "41010A", "41010A"},
            {"number with letters", "edtZKZ", "", false, "4a01", ""},
            {"number with a blank inside", "edtZKZ", "", false, "4101 02", ""},
            {"Chinese text", "edtZKZ", "", false, QStringLiteral("准考证4"), ""},
        };
        for (const QString& route : routes) {
            for (const auto& c : cases) {
                QTest::newRow(qPrintable(route + QStringLiteral(": ") + QString::fromUtf8(c.name)))
                    << QByteArray(c.box) << route << c.start << c.selected << c.pasted << c.result;
            }
        }
    }

    void pasteEntersWholeOrNothing()
    {
        QFETCH(QByteArray, box);
        QFETCH(QString, route);
        QFETCH(QString, start);
        QFETCH(bool, selected);
        QFETCH(QString, pasted);
        QFETCH(QString, result);
        EntryWindow w;
        auto* target = w.child<QLineEdit>(box.constData());
        target->setText(start);
        target->setFocus();
        if (selected)
            target->selectAll();
        QApplication::clipboard()->setText(pasted);
        if (route == QStringLiteral("Shift+Insert")) {
            QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
        } else {
            // The box's context menu: its paste item, chosen with the keyboard.
            QTimer::singleShot(0, [] {
                QWidget* menu = QApplication::activePopupWidget();
                QVERIFY(menu);
                QTest::keyClick(menu, Qt::Key_P);
            });
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2), target->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(target, &event);
        }
        QCOMPARE(target->text(), result);
        const bool taken = result != start;
        QCOMPARE(w.beeps.count(), taken ? 0 : 1);
        if (!taken)
            QCOMPARE(target->selectedText(), selected ? start : QString());
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
    }

    // Dropped text is refused; the box keeps its text.
    void dropsAreRefused()
    {
        EntryWindow w;
        for (QLineEdit* box : {w.edtZKZ, w.edtFS}) {
            box->setText(QStringLiteral("12"));
            QMimeData data;
            data.setText(QStringLiteral("-5e9"));
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
            QVERIFY(!enter.isAccepted());
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(box, &drop);
            QCOMPARE(box->text(), QStringLiteral("12"));
        }
    }
};

QTEST_MAIN(EntryTest)
#include "entry_test.moc"
