// TDataGridExportAsWorkbook: the grid export as an Excel workbook (.xlsx) of one sheet.
#pragma once

#include "exam/TDataGridExport.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

struct lxw_format;

namespace skorvin::exam {

// One sheet: a bold title row that stays in view when the sheet scrolls, a row per record,
// then the footer rows. Every cell is text (an admission number keeps all its digits),
// but the cells of NumberFields that hold a decimal number are numbers; an empty text is
// an empty cell. Each column is as wide as its longest text. The rows stream through a
// temporary file, so memory stays flat however long the list is.
class TDataGridExportAsWorkbook : public TDataGridExport {
public:
    TDataGridExportAsWorkbook();
    ~TDataGridExportAsWorkbook() override;

    // A workbook is a zip archive, not a stream of bytes: refused.
    void SendToStream(OutputStream& stream, bool exportAll) override;
    // Writes the workbook beside fileName and puts it in place when it is whole: on any
    // failure an older file of that name is as it was and nothing else is left. Throws
    // EFCreateError "Cannot create file "<full path>". <reason>" when the folder takes no
    // file, EWriteError "Cannot write file "<full path>". <reason>" when the workbook could
    // not be written, Exception when the list has more rows than a sheet holds; the
    // dataset's own errors propagate.
    void SendToFile(const std::filesystem::path& fileName, bool exportAll) override;

    // The sheet's name (GBK): characters a sheet name may not hold become "-", and it is cut
    // to 31 characters; empty leaves the spreadsheet's own name.
    std::string SheetName;
    // The fields whose cells are numbers when they hold one (the score).
    std::vector<std::string> NumberFields;
    // Columns after the grid's, with the same text on every row (GBK).
    struct ExtraColumn {
        std::string title;
        std::string text;
    };
    std::vector<ExtraColumn> ExtraColumns;

protected:
    void PutPrologue() override;
    void PutTitleRow(const TGridColumnList& columns) override;
    void PutDataRow(const TGridColumnList& columns) override;
    void PutDataCell(int column, const TGridCellParams& params) override;
    void PutFooterRow(const TGridColumnList& columns, int footerIndex) override;
    void PutFooterCell(int columnIndex, int footerIndex, int column, const std::string& text) override;

private:
    struct Book;
    // The next cell of the row: a text in its format, or a number where asNumber and the text is one.
    void putText(const std::string& gbk, lxw_format* format);
    void putCell(const std::string& gbk, bool asNumber);
    void putExtras(bool titles);

    std::unique_ptr<Book> book_;
};

} // namespace skorvin::exam
