// The print action: the listed candidates printed through the report template that lies
// in the folder "报表" beside the host program, previewed before anything is printed.
#include "ui/score/frmSkorvin_UNIT.hpp"

#include "ui/grid/TDataGrid.hpp"
#include "ui/score/ScoreSheet.hpp"

namespace skorvin::ui {

void TfrmSkorvin::SpeedButton2Click()
{
    if (!requireListedOrganisation())
        return;
    session_.printList(*DataGrid1,
                       [this](const exam::SheetFeed& feed) { sheet_->print(feed, files_.reportTemplate, this); });
}

} // namespace skorvin::ui
