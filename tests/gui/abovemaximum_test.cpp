// Stored scores above the maximum in the score window: drawn in red in the grid and counted in
// the status line for the list shown, following the display choice, a save, a new maximum set
// through 题目满分值 and F5 after another computer's save.
#include "gui/EntryWindow.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/score/frmFSSet_UNIT.hpp"

#include <QtTest>

#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>
#include <set>
#include <string>

using skorvin::test::ScoreWindow;
using skorvin::test::writeSettings;
using skorvin::ui::toQString;

namespace {

constexpr int kScoreColumn = 2;

// Province 11 of the demo with every score 20, but for these.
struct Fixture : ScoreWindow {
    Fixture()
    {
        writeSettings("1", "40");
        const auto& samples = db.summary().samples;
        above = samples.scored.zkzh;
        halfAbove = samples.scoredHalf.zkzh;
        atMaximum = samples.unscored.zkzh;
        notANumber = samples.unregistered.zkzh;
        connection.execute("update t_omr set tttt = '20' where tttt <> ''");
        for (const auto& [number, score] : {std::pair{above, "58"}, std::pair{halfAbove, "40.5"},
                                            std::pair{atMaximum, "40"}, std::pair{notANumber, "abc"}})
            connection.execute("update t_omr set tttt = ? where zkzh = ?", {std::string(score), number});
        show();
    }
    ~Fixture()
    {
        std::error_code ignored;
        std::filesystem::remove(skorvin::test::settingsFile(), ignored);
    }

    void choose(int choice) const
    {
        child<QWidget>("RadioGroup1")->findChildren<QAbstractButton*>().at(choice)->click();
    }
    // The numbers of the rows the grid draws in red.
    std::set<std::string> red() const
    {
        std::set<std::string> numbers;
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            const QVariant colour = grid->model()->index(row, kScoreColumn).data(Qt::ForegroundRole);
            if (colour.isValid() && colour.value<QColor>() == QColor(Qt::red))
                numbers.insert(listed(row, "zkzh"));
        }
        return numbers;
    }
    // What the status line adds after the row count.
    QString flagged() const { return panel(1).mid(rowCountText().size()); }
    // A new maximum through 题目满分值, as the operator types it.
    void setMaximum(const QString& up)
    {
        skorvin::ui::setScoreSettingsRunner([&](skorvin::ui::TfrmFSSet& dialog) {
            dialog.show();
            dialog.edtUp->selectAll();
            QTest::keyClicks(dialog.edtUp, up);
            QTest::mouseClick(dialog.BitBtn1, Qt::LeftButton);
            return dialog.result();
        });
        QTest::mouseClick(child<QPushButton>("btnSet"), Qt::LeftButton);
        skorvin::ui::setScoreSettingsRunner({});
    }

    std::string above, halfAbove, atMaximum, notANumber;
};

} // namespace

class AboveMaximumTest : public QObject {
    Q_OBJECT

private slots:
    void flagsAndCountsScoresAboveTheMaximum()
    {
        Fixture w;
        for (const std::string& number : {w.above, w.halfAbove, w.atMaximum, w.notANumber})
            QCOMPARE(number.substr(4, 2), std::string("11"));
        // 未登分 lists no score at all.
        QCOMPARE(w.flagged(), QString());
        QVERIFY(w.red().empty());

        const QString two = QStringLiteral("　超出满分值：2");
        for (int choice : {2, 1}) {
            w.choose(choice);
            QCOMPARE(w.red(), (std::set<std::string>{w.above, w.halfAbove}));
            QCOMPARE(w.flagged(), two);
        }

        // The flag is painted: the flagged cell has red in it, a cell of 20 has none.
        const auto hasRed = [&w](const std::string& number) {
            const QRect cell = w.grid->visualRect(w.grid->model()->index(w.viewRowOf(number), kScoreColumn));
            const QImage image = w.grid->viewport()->grab(cell).toImage();
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    // Glyph edges blend with the background; their cores stay clearly red.
                    if (const QColor pixel(image.pixel(x, y));
                        pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80)
                        return true;
            return false;
        };
        std::string twenty;
        for (int row = 0; row < w.grid->model()->rowCount() && twenty.empty(); ++row)
            if (w.listed(row, "tttt") == "20")
                twenty = w.listed(row, "zkzh");
        w.grid->scrollTo(w.grid->model()->index(w.viewRowOf(w.halfAbove), 0));
        QVERIFY(hasRed(w.halfAbove));
        w.grid->scrollTo(w.grid->model()->index(w.viewRowOf(twenty), 0));
        QVERIFY(!hasRed(twenty));

        // A save over a flagged score.
        w.choose(2);
        w.edtZKZ->setFocus();
        w.edtZKZ->selectAll();
        QTest::keyClicks(w.edtZKZ, toQString(w.above));
        QTest::keyClick(w.edtZKZ, Qt::Key_Return);
        QTest::keyClicks(w.edtFS, QStringLiteral("30"));
        QTest::keyClick(w.edtFS, Qt::Key_Return);
        QVERIFY2(w.recorder.boxes().empty(), qPrintable(w.recorder.texts().join(" | ")));
        QCOMPARE(w.red(), (std::set<std::string>{w.halfAbove}));
        QCOMPARE(w.flagged(), QStringLiteral("　超出满分值：1"));

        // A new maximum: 20 flags everything above the scores of 20; 41 nothing.
        w.setMaximum(QStringLiteral("20"));
        QCOMPARE(w.red(), (std::set<std::string>{w.above, w.halfAbove, w.atMaximum}));
        QCOMPARE(w.flagged(), QStringLiteral("　超出满分值：3"));
        w.setMaximum(QStringLiteral("41"));
        QVERIFY(w.red().empty());
        QCOMPARE(w.flagged(), QString());

        // Another computer's score, seen on F5.
        skorvin::ado::TADOConnection other(w.connection.connectionString());
        other.open();
        other.execute("update t_omr set tttt = '99' where zkzh = ?", {w.atMaximum});
        QTest::keyClick(w.edtZKZ, Qt::Key_F5);
        QCOMPARE(w.red(), (std::set<std::string>{w.atMaximum}));
        QCOMPARE(w.flagged(), QStringLiteral("　超出满分值：1"));
    }
};

QTEST_MAIN(AboveMaximumTest)
#include "abovemaximum_test.moc"
