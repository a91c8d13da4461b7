// The print action: the listed candidates printed through the report template that lies
// in the folder "报表" beside the host program, previewed before anything is printed.
#include "ui/frmSkorvin_UNIT.hpp"

#include "platform/Gbk.hpp"
#include "platform/HostPaths.hpp"
#include "ui/ScoreSheet.hpp"
#include "ui/TDataGrid.hpp"

namespace skorvin::ui {

void TfrmSkorvin::SpeedButton2Click()
{
    if (!requireListedOrganisation())
        return;
    const std::string folder = hostFolder();
    const char separator = folder.empty() ? '/' : folder.back();
    const std::string path = folder + gbk::fromUtf8("报表") + separator + gbk::fromUtf8("四级考生主观题分数报表.rtpl");
    session_.printList(*DataGrid1, [this, &path](const exam::SheetFeed& feed) { sheet_->print(feed, path, this); });
}

} // namespace skorvin::ui
