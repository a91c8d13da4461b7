#include "gui/EntryWindow.hpp"

#include "platform/Gbk.hpp"
#include "platform/connection/RowSink.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <fstream>

namespace skorvin::test {

namespace fs = std::filesystem;

namespace {

// Keeps the first column of the first row of a query.
struct FirstValue : ado::RowSink {
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

} // namespace

fs::path settingsFile()
{
    return fs::path(gbk::toUtf8(windowFiles().settings));
}

void writeSettings(const std::string& xs, const std::string& up)
{
    std::ofstream(settingsFile(), std::ios::binary) << "[ScoreSet]\r\nXs=" << xs << "\r\nUp=" << up << "\r\n";
}

std::optional<std::string> firstValue(const std::string& connectionString, const std::string& sql,
                                      const std::vector<std::optional<std::string>>& params)
{
    ado::TADOConnection other(connectionString);
    other.open();
    FirstValue first;
    other.query(sql, params, first);
    return first.value;
}

EntryWindow::EntryWindow(Server server) : ScoreWindow(DemoDb::smallOptions(), server)
{
    writeSettings("1", "40");
    show();
}

EntryWindow::~EntryWindow()
{
    std::error_code ignored;
    fs::remove(settingsFile(), ignored);
}

std::optional<std::string> EntryWindow::storedScore(const std::string& number) const
{
    return firstValue(connection.connectionString(), "select tttt from t_omr where zkzh = ?", {number});
}

void EntryWindow::showAll()
{
    child<QWidget>("RadioGroup1")->findChildren<QAbstractButton*>().at(2)->click();
}

void EntryWindow::clickRow(int viewRow)
{
    const QRect cell = grid->visualRect(grid->model()->index(viewRow, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

void EntryWindow::keyIn(const std::string& number, const QString& score)
{
    edtZKZ->setFocus();
    edtZKZ->selectAll();
    QTest::keyClicks(edtZKZ, ui::toQString(number));
    QTest::keyClick(edtZKZ, Qt::Key_Return);
    QTest::keyClicks(edtFS, score);
    QTest::keyClick(edtFS, Qt::Key_Return);
}

} // namespace skorvin::test
