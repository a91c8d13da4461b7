// The score entry workflow driven with real key events on the score window over a
// demo database: the key filters, the checks before a save and the save itself.
#include "exam/ScoreSettings.hpp"
#include "gui/ScoreWindow.hpp"
#include "platform/Gbk.hpp"
#include "platform/connection/RowSink.hpp"
#include "ui/GbkText.hpp"
#include "ui/TDataGrid.hpp"

#include <QtTest>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <optional>

using skorvin::test::ScoreWindow;
using skorvin::ui::Dialogs;
using skorvin::ui::toQString;
namespace fs = std::filesystem;

namespace {

fs::path settingsFile()
{
    return fs::path(skorvin::gbk::toUtf8(skorvin::exam::scoreSettingsPath()));
}

void writeSettings(const std::string& xs, const std::string& up)
{
    std::ofstream(settingsFile(), std::ios::binary) << "[ScoreSet]\r\nXs=" << xs << "\r\nUp=" << up << "\r\n";
}

// Collects the first column of the first row of a query.
struct FirstValue : skorvin::ado::RowSink {
    void columns(const std::vector<std::string>&) override {}
    void row(std::span<const std::optional<std::string_view>> fields) override
    {
        if (!seen && !fields.empty())
            value = fields[0] ? std::optional<std::string>(std::string(*fields[0])) : std::nullopt;
        seen = true;
    }
    bool seen = false;
    std::optional<std::string> value;
};

// The score window shown on the demo database (province 11, 未登分 chosen), with the
// settings file Xs = 1, Up = 40.
struct EntryWindow : ScoreWindow {
    EntryWindow()
    {
        writeSettings("1", "40");
        show();
    }
    ~EntryWindow()
    {
        std::error_code ignored;
        fs::remove(settingsFile(), ignored);
    }

    // The database's score of a candidate, read through its own connection.
    std::optional<std::string> storedScore(const std::string& number) const
    {
        skorvin::ado::TADOConnection other(db.connectionString());
        other.open();
        FirstValue first;
        other.query("select tttt from t_omr where zkzh = ?", {number}, first);
        return first.value;
    }

    // Number of the list's row at a view position (GBK text).
    std::string listedNumber(int viewRow) const { return listed(viewRow, "zkzh"); }

    void showAll() { child<QWidget>("RadioGroup1")->findChildren<QAbstractButton*>().at(2)->click(); }

    // View row of a listed candidate, -1 when the list does not show it.
    int viewRowOf(const std::string& number) const
    {
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            if (listedNumber(row) == number)
                return row;
        return -1;
    }

    void clickRow(int viewRow)
    {
        const QRect cell = grid->visualRect(grid->model()->index(viewRow, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }

    // Keys in a number and a score with Enter after each, as the operator does.
    void keyIn(const std::string& number, const QString& score)
    {
        edtZKZ->setFocus();
        edtZKZ->selectAll();
        QTest::keyClicks(edtZKZ, toQString(number));
        QTest::keyClick(edtZKZ, Qt::Key_Return);
        QTest::keyClicks(edtFS, score);
        QTest::keyClick(edtFS, Qt::Key_Return);
    }
};

} // namespace

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

    void admissionKeyFilter_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("digits") << QStringLiteral("4110") << QStringLiteral("4110");
        QTest::newRow("capital A only") << QStringLiteral("A4B") << QStringLiteral("A4");
        QTest::newRow("lower case a") << QStringLiteral("a1") << QStringLiteral("1");
        QTest::newRow("punctuation and blanks") << QStringLiteral("1-2 .'3") << QStringLiteral("123");
    }
    void admissionKeyFilter()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        EntryWindow w;
        w.edtZKZ->clear();
        QTest::keyClicks(w.edtZKZ, typed);
        QCOMPARE(w.edtZKZ->text(), kept);
        QTest::keyClick(w.edtZKZ, Qt::Key_Backspace);
        QCOMPARE(w.edtZKZ->text(), kept.left(kept.size() - 1));
    }

    void pasteIsDropped()
    {
        EntryWindow w;
        QApplication::clipboard()->setText(QStringLiteral("4999"));
        w.edtZKZ->clear();
        QTest::keyClick(w.edtZKZ, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.edtZKZ->text(), QString());
    }

    void scoreKeyFilter_data()
    {
        QTest::addColumn<QString>("xs");
        QTest::addColumn<QString>("start");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::newRow("Xs 1: one place") << "1"
                                         << "" << 0 << "12.56"
                                         << "12.5";
        QTest::newRow("Xs 1: point first refused") << "1"
                                                   << "" << 0 << ".5"
                                                   << "5";
        QTest::newRow("Xs 1: second point refused") << "1"
                                                    << "" << 0 << "1.."
                                                    << "1.";
        QTest::newRow("Xs 1: letters refused") << "1"
                                               << "" << 0 << "1a-b2"
                                               << "12";
        QTest::newRow("Xs 1: full fraction refuses a digit before the point") << "1"
                                                                              << "3.5" << 0 << "1"
                                                                              << "3.5";
        QTest::newRow("Xs 0: point refused") << "0"
                                             << "" << 0 << "1.5"
                                             << "15";
        QTest::newRow("Xs 2: two places") << "2"
                                          << "" << 0 << "1.255"
                                          << "1.25";
        QTest::newRow("Xs 2: digit before the point") << "2"
                                                      << "1.2" << 0 << "3"
                                                      << "31.2";
    }
    void scoreKeyFilter()
    {
        QFETCH(QString, xs);
        QFETCH(QString, start);
        QFETCH(int, caret);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        EntryWindow w;
        writeSettings(xs.toStdString(), "40");
        w.edtFS->setText(start);
        w.edtFS->setCursorPosition(caret);
        QTest::keyClicks(w.edtFS, typed);
        QCOMPARE(w.edtFS->text(), result);
        QVERIFY(w.recorder.boxes().empty());
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
    }

    void failedChecks_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("score");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("focus");
        QTest::addColumn<bool>("selected");
        QTest::newRow("empty number") << ""
                                      << "20" << QStringLiteral("信息") << int(Dialogs::Icon::Information)
                                      << QStringLiteral("请输入准考证号码！") << QByteArray("edtZKZ") << false;
        QTest::newRow("empty score") << "*"
                                     << "" << QStringLiteral("信息") << int(Dialogs::Icon::Information)
                                     << QStringLiteral("请输入分数！") << QByteArray("edtFS") << false;
        QTest::newRow("above the maximum")
            << "*"
            << "40.5" << QStringLiteral("错误") << int(Dialogs::Icon::Error)
            << QStringLiteral("您输入的分数大于了满分值！请重新输入！") << QByteArray("edtFS") << true;
        QTest::newRow("number not listed")
            << "49999999"
            << "20" << QStringLiteral("信息") << int(Dialogs::Icon::Information)
            << QStringLiteral("您输入的考生准考证号码不存在！请确认后重新输入！") << QByteArray("edtZKZ") << true;
    }
    // Each refused save shows its box, moves the focus and changes neither the database nor the list.
    void failedChecks()
    {
        QFETCH(QString, number);
        QFETCH(QString, score);
        QFETCH(QString, caption);
        QFETCH(int, icon);
        QFETCH(QString, text);
        QFETCH(QByteArray, focus);
        QFETCH(bool, selected);
        EntryWindow w;
        const std::string first = w.listedNumber(0);
        const int rows = w.grid->model()->rowCount();
        w.edtZKZ->setText(number == QStringLiteral("*") ? toQString(first) : number);
        w.edtFS->setText(score);
        w.edtFS->setFocus();
        QTest::keyClick(w.edtFS, Qt::Key_Return);

        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        const auto& box = w.recorder.boxes().front();
        QCOMPARE(box.caption, caption);
        QCOMPARE(int(box.icon), icon);
        QCOMPARE(box.text, text);
        auto* focused = w.child<QLineEdit>(focus.constData());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(focused));
        if (selected)
            QCOMPARE(focused->selectedText(), focused->text());
        QCOMPARE(w.storedScore(first), std::optional<std::string>());
        QCOMPARE(w.grid->model()->rowCount(), rows);
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

    // Pasted text reaches a box only as far as typing it would: each character goes through
    // the box's key filter, and a line break in it never acts as Enter.
    void pastedTextGoesThroughTheKeyFilter_data()
    {
        QTest::addColumn<QByteArray>("box");
        QTest::addColumn<QString>("route");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("result");
        const QString routes[] = {QStringLiteral("Shift+Insert"), QStringLiteral("menu")};
        for (const QString& route : routes) {
            const QByteArray r = route.toLatin1();
            QTest::newRow(r + ": negative score") << QByteArray("edtFS") << route << "-5"
                                                  << "5";
            QTest::newRow(r + ": exponent") << QByteArray("edtFS") << route << "1e1"
                                            << "11";
            QTest::newRow(r + ": plus sign") << QByteArray("edtFS") << route << "+3"
                                             << "3";
            QTest::newRow(r + ": point first") << QByteArray("edtFS") << route << ".5"
                                               << "5";
            QTest::newRow(r + ": three places with Xs 1") << QByteArray("edtFS") << route << "12.345"
                                                          << "12.3";
            QTest::newRow(r + ": line break") << QByteArray("edtFS") << route << "2\r\n5"
                                              << "25";
            QTest::newRow(r + ": number with letters") << QByteArray("edtZKZ") << route << "4a01 B2\n3A"
                                                       << "4012"
                                                          "3A";
            QTest::newRow(r + ": Chinese text") << QByteArray("edtZKZ") << route << QStringLiteral("准考证4") << "4";
        }
    }
    void pastedTextGoesThroughTheKeyFilter()
    {
        QFETCH(QByteArray, box);
        QFETCH(QString, route);
        QFETCH(QString, pasted);
        QFETCH(QString, result);
        EntryWindow w;
        auto* target = w.child<QLineEdit>(box.constData());
        target->clear();
        target->setFocus();
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

    // Delete can leave a score the filter never builds; the save refuses it and stores nothing.
    void saveRefusesAScoreTheFilterCannotBuild()
    {
        EntryWindow w;
        const std::string number = w.listedNumber(0);
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QTest::keyClicks(w.edtFS, QStringLiteral("12.5"));
        w.edtFS->setCursorPosition(0);
        QTest::keyClick(w.edtFS, Qt::Key_Delete);
        QTest::keyClick(w.edtFS, Qt::Key_Delete);
        QCOMPARE(w.edtFS->text(), QStringLiteral(".5"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);
        // Settings changed after typing: two places typed, one allowed now.
        w.edtFS->setText(QStringLiteral("12.25"));
        writeSettings("1", "40");
        QTest::keyClick(w.edtFS, Qt::Key_Return);

        const QString refused = QStringLiteral("您输入的分数格式不正确！请重新输入！");
        QCOMPARE(w.recorder.texts(), (QStringList{refused, refused}));
        QCOMPARE(w.recorder.boxes().front().caption, QStringLiteral("错误"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
        QCOMPARE(w.edtFS->selectedText(), w.edtFS->text());
        QCOMPARE(w.storedScore(number), std::optional<std::string>());
    }

    // Another operator stored a score after this list was read: the save asks before replacing
    // it, No (the default) writes nothing and shows the stored score in the list.
    void savingOverAnotherOperatorsScoreAsks_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("No, the default") << false;
        QTest::newRow("Yes") << true;
    }
    void savingOverAnotherOperatorsScoreAsks()
    {
        QFETCH(bool, replace);
        EntryWindow w;
        w.showAll();
        const std::string number = w.listedNumber(0);
        w.connection.execute("update t_omr set tttt = '30' where zkzh = ?", {number});
        if (replace)
            w.recorder.queueAnswer(true);
        w.keyIn(number, QStringLiteral("20"));

        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        const auto& question = w.recorder.boxes().front();
        QCOMPARE(question.caption, QStringLiteral("确认"));
        QCOMPARE(question.icon, Dialogs::Icon::Question);
        QVERIFY(!question.defaultYes);
        QVERIFY2(question.text.contains(QStringLiteral("30")) && question.text.contains(QStringLiteral("20")),
                 qPrintable(question.text));
        QCOMPARE(w.storedScore(number), std::optional<std::string>(replace ? "20" : "30"));
        QCOMPARE(w.listed(w.viewRowOf(number), "tttt"), std::string(replace ? "20" : "30"));
        if (!replace) {
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.edtFS));
            QCOMPARE(w.edtFS->selectedText(), QStringLiteral("20"));
        }
    }

    // A driver that counts no rows for any update (SQL Server under SET NOCOUNT ON) does not
    // turn a stored score into a failure: here t_omr becomes a view whose updates a trigger does.
    void saveThatCountsNoRowsIsStillASave()
    {
        EntryWindow w;
        w.connection.execute("alter table t_omr rename to omr_rows");
        w.connection.execute("create view t_omr as select * from omr_rows");
        w.connection.execute("create trigger t_omr_update instead of update on t_omr begin "
                             "update omr_rows set tttt = new.tttt where zkzh = old.zkzh; end");
        const std::string number = w.listedNumber(0);
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QTest::keyClicks(w.edtFS, QStringLiteral("25"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
        QCOMPARE(w.storedScore(number), std::optional<std::string>("25"));
    }

    // A number the database holds with a character GBK lacks is listed with "?" in its place;
    // saving it would update whoever holds a literal "?" there, so the save refuses it.
    void numberThatDoesNotConvertIsNeverUpdated()
    {
        writeSettings("1", "40");
        ScoreWindow w;
        const std::string base = w.db.summary().samples.unscored.zkzh;
        // char(128512) is an emoji, which has no GBK form.
        w.connection.execute("insert into t_omr (zkzh, tttt, qk) values (? || char(128512), null, null)", {base});
        // The candidate whose number really ends in "?" is absent, so only the first is listed.
        w.connection.execute("insert into t_omr (zkzh, tttt, qk) values (?, null, 'Q')", {base + "?"});
        w.show();
        const int row = [&] {
            for (int r = 0; r < w.grid->model()->rowCount(); ++r)
                if (w.listed(r, "zkzh") == base + "?")
                    return r;
            return -1;
        }();
        QVERIFY(row >= 0);
        const QRect cell = w.grid->visualRect(w.grid->model()->index(row, 0));
        QTest::mouseClick(w.grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QTest::keyClicks(w.edtFS, QStringLiteral("30"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);

        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        QCOMPARE(w.recorder.boxes().front().caption, QStringLiteral("错误"));
        QVERIFY2(w.recorder.boxes().front().text.contains(toQString(base + "?")),
                 qPrintable(w.recorder.boxes().front().text));
        // Neither the listed candidate nor the absent one got a score.
        skorvin::ado::TADOConnection other(w.db.connectionString());
        other.open();
        FirstValue scored;
        other.query("select count(*) from t_omr where zkzh like ? and tttt is not null", {base + "_%"}, scored);
        QCOMPARE(scored.value, std::optional<std::string>("0"));
        std::error_code ignored;
        fs::remove(settingsFile(), ignored);
    }

    // A score equal to the maximum is accepted.
    void maximumItselfIsAccepted()
    {
        EntryWindow w;
        const std::string number = w.listedNumber(0);
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QTest::keyClicks(w.edtFS, QStringLiteral("40"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);
        QVERIFY(w.recorder.boxes().empty());
        QCOMPARE(w.storedScore(number), std::optional<std::string>("40"));
    }

    // The save's statements run under the wait cursor (a save may wait on another session's
    // lock), and the cursor is back before any box and afterwards.
    void saveRunsUnderTheWaitCursor()
    {
        EntryWindow w;
        const std::string number = w.listedNumber(0);
        QList<int> cursors; // the cursor's shape as each statement runs, -1 for none
        w.connection.setStatementListener([&cursors](const std::string&) {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            cursors.append(cursor ? cursor->shape() : -1);
        });
        w.keyIn(number, QStringLiteral("30"));
        QCOMPARE(w.storedScore(number), std::optional<std::string>("30"));
        QVERIFY(!cursors.isEmpty());
        QCOMPARE(cursors.count(Qt::WaitCursor), cursors.size());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // A failing update is reported with the provider's text and leaves the list row as it was.
    void databaseErrorOnSave()
    {
        EntryWindow w;
        const std::string number = w.listedNumber(0);
        const int rows = w.grid->model()->rowCount();
        w.connection.execute("alter table t_omr rename to t_omr_gone");
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QTest::keyClicks(w.edtFS, QStringLiteral("30"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);

        QCOMPARE(w.recorder.boxes().size(), std::size_t{1});
        QCOMPARE(w.recorder.boxes().front().icon, Dialogs::Icon::Stop);
        QVERIFY2(w.recorder.boxes().front().text.contains(QStringLiteral("t_omr")),
                 qPrintable(w.recorder.boxes().front().text));
        QCOMPARE(w.grid->model()->rowCount(), rows);
        QCOMPARE(w.listedNumber(0), number);
        const auto* list = w.grid->dataSet();
        QCOMPARE(list->viewValue(0, list->fieldIndex("tttt")).value_or(""), std::string());
    }

    // The candidate left the database after the list was read: nothing stored, nothing claimed.
    void updateOfNoRow()
    {
        EntryWindow w;
        const std::string number = w.listedNumber(0);
        const int rows = w.grid->model()->rowCount();
        w.connection.execute("delete from t_omr where zkzh = ?", {number});
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QTest::keyClicks(w.edtFS, QStringLiteral("30"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);

        QCOMPARE(w.recorder.texts(), QStringList{QStringLiteral("未能保存：数据库中没有该考生")});
        QCOMPARE(w.recorder.boxes().front().caption, QStringLiteral("错误"));
        QCOMPARE(w.grid->model()->rowCount(), rows);
        QCOMPARE(w.listedNumber(0), number);
        const auto* list = w.grid->dataSet();
        QCOMPARE(list->viewValue(0, list->fieldIndex("tttt")).value_or(""), std::string());
    }
};

QTEST_MAIN(EntryTest)
#include "entry_test.moc"
