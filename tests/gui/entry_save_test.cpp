// Saving a score from the score window over a demo database: the checks before a save and
// what each outcome of the save shows, stores and leaves in the list.
#include "gui/EntryWindow.hpp"
#include "platform/Gbk.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <QtTest>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>

#include <optional>

using skorvin::test::EntryWindow;
using skorvin::test::ScoreWindow;
using skorvin::test::writeSettings;
using skorvin::ui::Dialogs;
using skorvin::ui::toQString;

class EntrySaveTest : public QObject {
    Q_OBJECT

private slots:
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
        QCOMPARE(skorvin::test::firstValue(w.db.connectionString(),
                                           "select count(*) from t_omr where zkzh like ? and tttt is not null",
                                           {base + "_%"}),
                 std::optional<std::string>("0"));
        std::error_code ignored;
        std::filesystem::remove(skorvin::test::settingsFile(), ignored);
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

    void savedRowLeavesOrStaysWithoutRereadingTheList_data()
    {
        QTest::addColumn<bool>("showAll");
        QTest::newRow("未登分: the row leaves") << false;
        QTest::newRow("所有: the row stays") << true;
    }

    // A save in the middle of the list: under 未登分 the candidate leaves it and the next one
    // comes up, marked; under 所有 the row stays and shows its score. The grid is told of that
    // one row, not of a whole new list.
    void savedRowLeavesOrStaysWithoutRereadingTheList()
    {
        QFETCH(bool, showAll);
        EntryWindow w;
        if (showAll)
            w.showAll();
        auto* model = w.grid->model();
        const int rows = model->rowCount();
        QVERIFY(rows > 4);
        const int row = rows / 2;
        const std::string number = w.listedNumber(row);
        const std::string next = w.listedNumber(row + 1);
        QSignalSpy resets(model, &QAbstractItemModel::modelReset);

        w.keyIn(number, QStringLiteral("30"));

        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
        QCOMPARE(w.storedScore(number), std::optional<std::string>("30"));
        QCOMPARE(resets.count(), 0);
        const auto* list = w.grid->dataSet();
        if (showAll) {
            QCOMPARE(model->rowCount(), rows);
            QCOMPARE(w.listedNumber(row), number);
            QCOMPARE(list->viewValue(row, list->fieldIndex("tttt")), std::optional<std::string>("30"));
            QCOMPARE(w.edtZKZ->text(), toQString(number));
        } else {
            QCOMPARE(model->rowCount(), rows - 1);
            QCOMPARE(w.listedNumber(row), next);
            QCOMPARE(w.edtZKZ->text(), toQString(next));
        }
        QCOMPARE(list->currentViewRow(), row);
        QCOMPARE(w.grid->currentIndex().row(), row);
        QVERIFY(w.grid->isMarked(list->bookmark()));
        QCOMPARE(w.rowCountText(), QStringLiteral("考生数：%1/%2").arg(row + 1).arg(model->rowCount()));
    }
};

QTEST_MAIN(EntrySaveTest)
#include "entry_save_test.moc"
