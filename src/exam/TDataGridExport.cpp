// TDataGridExport: the grid export walk and its text form TDataGridExportAsText; ExportGridToFile.
#include "exam/TDataGridExport.hpp"

#include "platform/Exception.hpp"
#include "platform/TFileStream.hpp"

namespace skorvin::exam {

void TDataGridExport::SendToStream(OutputStream& stream, bool exportAll)
{
    Stream = &stream;
    SendRows(exportAll);
}

void TDataGridExport::SendRows(bool exportAll)
{
    if (!exportAll)
        throw Exception("Only the whole grid can be exported");
    ado::TCustomADODataSet& records = Grid->boundDataSet();
    // Detached, the grid neither repaints nor follows the dataset for every record visited.
    records.disableControls();
    try {
        Grid->SaveGridPosition();
        try {
            walk();
        } catch (...) {
            // The walk's own error is the one worth reporting; the position comes back if it can.
            try {
                Grid->RestoreGridPosition();
            } catch (const std::exception&) {
            }
            throw;
        }
        Grid->RestoreGridPosition();
    } catch (...) {
        records.enableControls();
        throw;
    }
    records.enableControls();
    PutEpilogue();
}

void TDataGridExport::walk()
{
    ExportedColumns = Grid->VisibleColumnList();
    PutPrologue();
    if (Grid->titlesShown())
        PutTitleRow(ExportedColumns);
    ado::TCustomADODataSet& records = Grid->boundDataSet();
    records.first();
    while (!records.eof()) {
        PutDataRow(ExportedColumns);
        records.next();
    }
    for (int footer = 0; footer < Grid->FooterRowCount(); ++footer)
        PutFooterRow(ExportedColumns, footer);
}

void TDataGridExport::SendToFile(const std::filesystem::path& fileName, bool exportAll)
{
    TFileStream file(fileName);
    SendToStream(file, exportAll);
    file.close();
}

void TDataGridExport::PutDataRow(const TGridColumnList& columns)
{
    for (const int column : columns) {
        cellParams_.Text = Grid->cellText(column);
        PutDataCell(column, cellParams_);
    }
}

void TDataGridExport::PutFooterRow(const TGridColumnList& columns, int footerIndex)
{
    for (std::size_t i = 0; i < columns.size(); ++i)
        PutFooterCell(static_cast<int>(i), footerIndex, columns[i], Grid->footerText(columns[i], footerIndex));
}

void TDataGridExport::write(std::string_view bytes)
{
    if (!bytes.empty())
        Stream->write(bytes);
}

void TDataGridExportAsText::SendToStream(OutputStream& stream, bool exportAll)
{
    AtFirstLine = true;
    TDataGridExport::SendToStream(stream, exportAll);
}

void TDataGridExportAsText::PutLineBreak()
{
    if (AtFirstLine)
        AtFirstLine = false;
    else
        write("\r\n");
}

void TDataGridExportAsText::PutCellBreak()
{
    if (AtFirstCell)
        AtFirstCell = false;
    else
        write("\t");
}

void TDataGridExportAsText::PutTitleRow(const TGridColumnList& columns)
{
    PutLineBreak();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        write(Grid->titleCaption(columns[i]));
        if (i + 1 < columns.size())
            write("\t");
    }
}

void TDataGridExportAsText::PutDataRow(const TGridColumnList& columns)
{
    PutLineBreak();
    AtFirstCell = true;
    TDataGridExport::PutDataRow(columns);
}

void TDataGridExportAsText::PutDataCell(int, const TGridCellParams& params)
{
    PutCellBreak();
    write(params.Text);
}

void TDataGridExportAsText::PutFooterRow(const TGridColumnList& columns, int footerIndex)
{
    PutLineBreak();
    AtFirstCell = true;
    TDataGridExport::PutFooterRow(columns, footerIndex);
}

void TDataGridExportAsText::PutFooterCell(int, int, int, const std::string& text)
{
    PutCellBreak();
    write(text);
}

void ExportGridToFile(TDataGridExportClass exportClass, ExportGrid& grid, const std::filesystem::path& fileName,
                      bool exportAll)
{
    const std::unique_ptr<TDataGridExport> exporter = exportClass();
    exporter->Grid = &grid;
    exporter->SendToFile(fileName, exportAll);
}

} // namespace skorvin::exam
