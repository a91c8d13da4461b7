// The list export: the candidates of the list, as the grid shows them, to a text file
// the operator names.
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
    // One filter entry, no default extension, no question before an existing file is replaced.
    const QString chosen =
        Replaceable<Dialogs>::inForce().saveFileName(ownerWindow(), proposed, QStringLiteral("*.txt"));
    if (chosen.isEmpty())
        return;
    // ".txt" always, also after a name that already ends in it. The name goes down as the
    // file system spells it: through GBK, characters it lacks would become "?".
    const std::filesystem::path fileName = report::fileSystemName(chosen + QStringLiteral(".txt"));
    const BusyCursor busy;
    session_.exportList(*DataGrid1, fileName);
}

} // namespace skorvin::ui
