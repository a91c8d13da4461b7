// The score entry workflow driven with real key events on the score window over a
// demo database: the key filters, the checks before a save and the save itself.
#include "exam/ScoreSettings.hpp"
#include "gui/ScoreWindow.hpp"
#include "platform/Gbk.hpp"
#include "platform/ado/RowSink.hpp"
#include "ui/GbkText.hpp"
#include "ui/TDataGrid.hpp"

#include <QtTest>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

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
