// The list export: the candidates of the list, as the grid shows them, to a text file or a
// workbook the operator names.
#include "ui/frmSkorvin_UNIT.hpp"

#include "exam/ExportFileName.hpp"
#include "platform/RegionalDate.hpp"
#include "report/FileNames.hpp"
#include "ui/BusyCursor.hpp"
#include "ui/Dialogs.hpp"
#include "ui/GbkText.hpp"
#include "ui/TDataGrid.hpp"

namespace skorvin::ui {

void TfrmSkorvin::btnExportClick()
{
    requireListedOrganisation();
    if (Main_AdoSet.isEmpty())
        return;
    const int node = selectedOrgNode();
    const std::string nodeText = node < 0 ? std::string() : orgTree_.node(node).text;
    const QString proposed = toQString(exam::ProposedExportName(nodeText, shortDateToday()));
    // The text type first, no default extension, no question before an existing file is replaced.
    const QString workbookType = QStringLiteral("Excel 工作簿 (*.xlsx)");
    const Dialogs::SaveChoice chosen =
        dialogs().saveFileOfType(ownerWindow(), proposed, QStringLiteral("*.txt;;") + workbookType);
    if (chosen.fileName.isEmpty())
        return;
    const bool workbook = chosen.filter == workbookType;
    const QString xlsx = QStringLiteral(".xlsx");
    // ".txt" always, also after a name that already ends in it; ".xlsx" unless it is there. The
    // name goes down as the file system spells it: through GBK, characters it lacks would become "?".
    const std::filesystem::path fileName = report::fileSystemName(
        workbook ? (chosen.fileName.endsWith(xlsx, Qt::CaseInsensitive) ? chosen.fileName : chosen.fileName + xlsx)
                 : chosen.fileName + QStringLiteral(".txt"));
    const BusyCursor busy;
    if (workbook)
        session_.exportWorkbook(*DataGrid1, fileName);
    else
        session_.exportList(*DataGrid1, fileName);
}

} // namespace skorvin::ui
