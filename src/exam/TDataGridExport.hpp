// TDataGridExport: the grid export walk and its text form TDataGridExportAsText; ExportGridToFile.
#pragma once

#include "exam/ExportGrid.hpp"
#include "platform/OutputStream.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace skorvin::exam {

// The columns of an export, in order: indexes of the grid's own, not owned.
using TGridColumnList = std::vector<int>;

// What a data cell is exported with. Only the text is used by any export of this system.
struct TGridCellParams {
    std::string Text;
    int Row = -1;
    int Col = -1;
};

// Writes a grid's title row, every record of its dataset and its footer rows to a stream,
// through operations a derived class gives a form. The base class writes nothing itself.
class TDataGridExport {
public:
    TDataGridExport() = default;
    virtual ~TDataGridExport() = default;
    TDataGridExport(const TDataGridExport&) = delete;
    TDataGridExport& operator=(const TDataGridExport&) = delete;

    // The walk. The dataset's controls are detached while it runs and the grid's position
    // is saved and restored around it, also when it fails. Only the export of the whole
    // grid exists: exportAll false is refused.
    virtual void SendToStream(OutputStream& stream, bool exportAll);
    // Creates the file (create-always, see TFileStream) and sends the grid to it; the file
    // is closed with what was written also when the walk fails.
    virtual void SendToFile(const std::filesystem::path& fileName, bool exportAll);

    ExportGrid* Grid = nullptr;

protected:
    // Called once the exported columns are known, before the title row.
    virtual void PutPrologue() {}
    virtual void PutEpilogue() {}
    virtual void PutTitleRow(const TGridColumnList&) {}
    // Fills the cell parameters of each column for the current record and puts the cell.
    virtual void PutDataRow(const TGridColumnList& columns);
    virtual void PutDataCell(int /*column*/, const TGridCellParams&) {}
    // Puts each column's footer text.
    virtual void PutFooterRow(const TGridColumnList& columns, int footerIndex);
    virtual void PutFooterCell(int /*columnIndex*/, int /*footerIndex*/, int /*column*/, const std::string&) {}

    // Hands the bytes to the stream at once; an empty text writes nothing.
    void write(std::string_view bytes);
    // SendToStream's walk over the grid, its guards and the Put operations, for an export
    // that writes elsewhere than to Stream.
    void SendRows(bool exportAll);

    OutputStream* Stream = nullptr;
    TGridColumnList ExportedColumns;

private:
    void walk();

    TGridCellParams cellParams_;
};

// Plain text: cells separated by a TAB, lines by CR LF, nothing before the first line or
// after the last, no quoting: every text goes out as its bytes stand.
class TDataGridExportAsText : public TDataGridExport {
public:
    void SendToStream(OutputStream& stream, bool exportAll) override;

    bool AtFirstLine = false;
    bool AtFirstCell = false;

protected:
    void PutTitleRow(const TGridColumnList& columns) override;
    void PutDataRow(const TGridColumnList& columns) override;
    void PutDataCell(int column, const TGridCellParams& params) override;
    void PutFooterRow(const TGridColumnList& columns, int footerIndex) override;
    void PutFooterCell(int columnIndex, int footerIndex, int column, const std::string& text) override;
    virtual void PutLineBreak();
    virtual void PutCellBreak();
};

// A class reference: builds an exporter of some class derived from TDataGridExport.
using TDataGridExportClass = std::unique_ptr<TDataGridExport> (*)();

template <class Exporter> std::unique_ptr<TDataGridExport> exportClassOf()
{
    return std::make_unique<Exporter>();
}

// Exports the grid to the file with an exporter of that class, released afterwards also on
// failure. Failures (EFCreateError, EWriteError, the dataset's errors) reach the caller.
void ExportGridToFile(TDataGridExportClass exportClass, ExportGrid& grid, const std::filesystem::path& fileName,
                      bool exportAll);

} // namespace skorvin::exam
