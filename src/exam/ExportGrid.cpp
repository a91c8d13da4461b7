#include "exam/ExportGrid.hpp"

namespace skorvin::exam {

void ExportGrid::SaveGridPosition()
{
    ado::TCustomADODataSet& records = boundDataSet();
    if (records.isEmpty())
        return;
    const int n = windowRecordCount();
    const int a = currentWindowIndex();
    PositionOffset = a - (n / 2) + ((n + 1) % 2);
    records.moveBy(-PositionOffset);
    SavedPositionMark = records.bookmark();
    records.moveBy(PositionOffset);
}

void ExportGrid::RestoreGridPosition()
{
    ado::TCustomADODataSet& records = boundDataSet();
    if (records.isEmpty())
        return;
    records.gotoBookmark(SavedPositionMark);
    records.moveBy(PositionOffset);
}

} // namespace skorvin::exam
