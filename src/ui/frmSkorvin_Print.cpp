// The print action: the listed candidates printed through the report template that lies
// in the folder "报表" beside the host program, previewed before anything is printed.
#include "ui/frmSkorvin_UNIT.hpp"

#include "platform/Gbk.hpp"
#include "platform/HostPaths.hpp"
#include "ui/Dialogs.hpp"
#include "ui/ReportRunner.hpp"
#include "ui/TDataGrid.hpp"

namespace skorvin::ui {

namespace {

// The report walks the list with its controls frozen. However the print ends, the list goes
// back to the row it was on, with the same rows around it (as after the export), and the
// controls follow it again: the boxes still show that row's candidate.
class FrozenControls {
public:
    explicit FrozenControls(ado::TCustomADODataSet& list, exam::ExportGrid& grid) : list_(list), grid_(grid)
    {
        list_.disableControls();
        grid_.SaveGridPosition();
    }
    ~FrozenControls()
    {
        try {
            grid_.RestoreGridPosition();
        } catch (const std::exception&) {
            // A list the walk could not leave on a row keeps the row it is on.
        }
        list_.enableControls();
    }
    FrozenControls(const FrozenControls&) = delete;
    FrozenControls& operator=(const FrozenControls&) = delete;

private:
    ado::TCustomADODataSet& list_;
    exam::ExportGrid& grid_;
};

} // namespace

void TfrmSkorvin::connectReport()
{
    Report1.addDataSet(&UserDataset1);
    UserDataset1.OnFirst = [this] { UserDataset1First(); };
    UserDataset1.OnNext = [this] { UserDataset1Next(); };
    Report1.OnGetValue = [this](const std::string& name) { return Report1GetValue(name); };
}

void TfrmSkorvin::SpeedButton2Click()
{
    requireListedOrganisation();
    const FrozenControls frozen(Main_AdoSet, *DataGrid1);
    const std::string folder = hostFolder();
    const char separator = folder.empty() ? '/' : folder.back();
    const std::string path = folder + gbk::fromUtf8("报表") + separator + gbk::fromUtf8("四级考生主观题分数报表.rtpl");
    if (!LoadReportTemplate(Report1, path)) {
        ShowError(gbk::fromUtf8("报表模板文件不存在：") + path);
        return;
    }
    if (report::TextObject* memo1 = Report1.FindObject("memo1"))
        memo1->setText(ReportTitle);
    const int node = selectedOrgNode();
    const std::string heading =
        exam::ScoreEntrySession::reportHeading(node < 0 ? std::string() : orgTree_.node(node).text);
    if (report::TextObject* memo2 = Report1.FindObject("memo2"))
        memo2->setText(heading);
    // The sheet's heading names the print job, the PDF file proposed and the PDF's title.
    Report1.setTitle(heading);
    UserDataset1.setRecordCount(Main_AdoSet.recordCount());
    ShowReport(Report1, this);
}

void TfrmSkorvin::UserDataset1First()
{
    Main_AdoSet.first();
}

void TfrmSkorvin::UserDataset1Next()
{
    Main_AdoSet.next();
}

std::optional<std::string> TfrmSkorvin::Report1GetValue(const std::string& name)
{
    return session_.reportValue(name);
}

} // namespace skorvin::ui
