// ScoreSheet: the printed score sheet, the report template beside the host filled from a feed.
#include "ui/score/ScoreSheet.hpp"

#include "exam/SheetFeed.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/preview/ReportRunner.hpp"
#include "ui/seams/Dialogs.hpp"

namespace skorvin::ui {

ScoreSheet::ScoreSheet()
{
    Report1.addDataSet(&UserDataset1);
}

void ScoreSheet::print(const exam::SheetFeed& feed, const std::string& templatePath, QWidget* owner)
{
    if (!LoadReportTemplate(Report1, templatePath)) {
        ShowError(QStringLiteral("报表模板文件不存在：") + toQString(templatePath));
        return;
    }
    if (report::TextObject* memo1 = Report1.FindObject("memo1"))
        memo1->setText(feed.title);
    if (report::TextObject* memo2 = Report1.FindObject("memo2"))
        memo2->setText(feed.heading);
    // The sheet's heading names the print job, the PDF file proposed and the PDF's title.
    Report1.setTitle(feed.heading);
    UserDataset1.setRecordCount(feed.rowCount);
    // The engine calls these only while the sheet is built, inside ShowReport.
    UserDataset1.OnFirst = [&feed] { feed.first(); };
    UserDataset1.OnNext = [&feed] { feed.next(); };
    Report1.OnGetValue = [&feed](const std::string& name) { return feed.value(name); };
    ShowReport(Report1, owner);
}

} // namespace skorvin::ui
