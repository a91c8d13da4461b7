// The list export: the candidates of the list, as the grid shows them, to a text file or a
// workbook the operator names.
#include "ui/score/frmSkorvin_UNIT.hpp"

#include "exam/ExportFileName.hpp"
#include "platform/RegionalDate.hpp"
#include "report/FileNames.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/seams/Dialogs.hpp"
#include "ui/widgets/BusyCursor.hpp"

namespace skorvin::ui {

void TfrmSkorvin::btnExportClick()
{
    if (!requireListedOrganisation() || !session_.current())
        return;
    const QString proposed = toQString(exam::ProposedExportName(session_.organisation(), shortDateToday()));
    // The text type first, no default extension, no question before an existing file is replaced.
    const QString workbookType = QStringLiteral("Excel 工作簿 (*.xlsx)");
    const Dialogs::SaveChoice chosen = Replaceable<Dialogs>::inForce().saveFileOfType(
        ownerWindow(), proposed, QStringLiteral("*.txt;;") + workbookType);
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
