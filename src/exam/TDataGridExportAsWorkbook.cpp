// TDataGridExportAsWorkbook: the grid export as an Excel workbook (.xlsx) of one sheet.
#include "exam/TDataGridExportAsWorkbook.hpp"

#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/NativePath.hpp"
#include "platform/Numbers.hpp"
#include "platform/Text.hpp"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace skorvin::exam {

namespace fs = std::filesystem;

namespace {

// Excel's widest column, in characters.
constexpr std::size_t kMaxWidth = 255;
constexpr std::size_t kMaxSheetNameChars = 31;

std::string fileMessage(const char* what, const fs::path& name, const std::string& reason)
{
    return std::string(what) + " \"" + fullPathName(name) + "\". " + reason;
}

std::string errnoReason(int error)
{
    return gbk::fromUtf8(std::strerror(error));
}

// The file name as libxlsxwriter opens it: UTF-8 on Windows (it converts to UTF-16), the
// file system's own bytes elsewhere.
std::string libraryFileName(const fs::path& name)
{
#ifdef _WIN32
    const std::u8string utf8 = name.u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return name.string();
#endif
}

// Makes the temporary file empty, so that a folder that takes no file says so before the walk.
void createEmpty(const fs::path& temporary, const fs::path& target)
{
#ifdef _WIN32
    std::FILE* file = _wfopen(temporary.c_str(), L"wb");
#else
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
#endif
    if (!file)
        throw EFCreateError(fileMessage("Cannot create file", target, errnoReason(errno)));
    std::fclose(file);
}

// A sheet name Excel accepts: no [ ] : * ? / \, not beginning or ending with ', at most 31
// characters. The second byte of a Chinese character is never taken for one of them.
std::string sheetName(const std::string& gbk)
{
    std::string name;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < gbk.size() && characters < kMaxSheetNameChars; ++characters) {
        const std::size_t length = text::charLength(gbk, i);
        if (length == 1 && std::strchr("[]:*?/\\", gbk[i]) != nullptr)
            name += '-';
        else
            name.append(gbk, i, length);
        i += length;
    }
    if (!name.empty() && name.front() == '\'')
        name.front() = '-';
    if (!name.empty() && name.back() == '\'')
        name.back() = '-';
    return name;
}

} // namespace

struct TDataGridExportAsWorkbook::Book {
    lxw_workbook* workbook = nullptr;
    lxw_worksheet* sheet = nullptr;
    lxw_format* bold = nullptr;
    lxw_format* text = nullptr;
    lxw_row_t row = 0;
    lxw_col_t column = 0;            // the next cell's column in the row being written
    std::vector<bool> numbers;       // per sheet column
    std::vector<std::size_t> widths; // per sheet column, in characters

    ~Book()
    {
        if (workbook)
            lxw_workbook_free(workbook);
    }

    // Throws EWriteError for a failed call of the library.
    void check(lxw_error error) const
    {
        if (error != LXW_NO_ERROR)
            throw EWriteError(fileMessage("Cannot write file", target, lxw_strerror(error)));
    }

    fs::path target;
};

TDataGridExportAsWorkbook::TDataGridExportAsWorkbook() = default;
TDataGridExportAsWorkbook::~TDataGridExportAsWorkbook() = default;

void TDataGridExportAsWorkbook::SendToStream(OutputStream&, bool)
{
    throw Exception("A workbook can only be written to a file");
}

void TDataGridExportAsWorkbook::SendToFile(const fs::path& fileName, bool exportAll)
{
    const std::size_t rows = static_cast<std::size_t>(std::max(Grid->boundDataSet().recordCount(), 0));
    const std::size_t sheetRows = rows + 1 + static_cast<std::size_t>(std::max(Grid->FooterRowCount(), 0));
    if (sheetRows > LXW_ROW_MAX)
        throw Exception(gbk::fromUtf8("列表有 ") + std::to_string(rows) + gbk::fromUtf8(" 行，一个工作表最多容纳 ") +
                        std::to_string(LXW_ROW_MAX - 1) + gbk::fromUtf8(" 行：请导出较小的机构，或导出为文本文件"));

    fs::path temporary = fileName;
    temporary += ".part";
    createEmpty(temporary, fileName);
    // Whatever happens below, the temporary file does not outlive the export.
    struct Remove {
        const fs::path& path;
        ~Remove()
        {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
    } removeTemporary{temporary};

    book_ = std::make_unique<Book>();
    Book& book = *book_;
    book.target = fileName;
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    book.workbook = workbook_new_opt(libraryFileName(temporary).c_str(), &options);
    if (!book.workbook)
        throw EWriteError(fileMessage("Cannot write file", fileName, lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED)));
    const std::string name = gbk::toUtf8(sheetName(SheetName));
    book.sheet = workbook_add_worksheet(book.workbook, name.empty() ? nullptr : name.c_str());
    book.bold = workbook_add_format(book.workbook);
    format_set_bold(book.bold);
    book.text = workbook_add_format(book.workbook);
    format_set_num_format(book.text, "@");
    if (!book.sheet || !book.bold || !book.text)
        throw EWriteError(fileMessage("Cannot write file", fileName, lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED)));

    SendRows(exportAll);

    for (std::size_t column = 0; column < book.widths.size(); ++column) {
        const double width = static_cast<double>(std::min(book.widths[column] + 2, kMaxWidth));
        book.check(worksheet_set_column(book.sheet, static_cast<lxw_col_t>(column), static_cast<lxw_col_t>(column),
                                        width, book.numbers[column] ? nullptr : book.text));
    }
    worksheet_freeze_panes(book.sheet, 1, 0);
    errno = 0;
    const lxw_error closed = workbook_close(book.workbook);
    const int closeErrno = errno;
    book.workbook = nullptr; // freed by the close, whatever it returned
    if (closed != LXW_NO_ERROR)
        throw EWriteError(fileMessage("Cannot write file", fileName,
                                      closeErrno != 0 ? errnoReason(closeErrno) : std::string(lxw_strerror(closed))));
    std::error_code error;
    fs::rename(temporary, fileName, error);
    if (error)
        throw EWriteError(fileMessage("Cannot write file", fileName, gbk::fromUtf8(error.message())));
}

void TDataGridExportAsWorkbook::PutPrologue()
{
    Book& book = *book_;
    for (const int column : ExportedColumns) {
        const std::string field = Grid->fieldName(column);
        book.numbers.push_back(std::any_of(NumberFields.begin(), NumberFields.end(),
                                           [&field](const std::string& n) { return text::equalsNoCase(n, field); }));
    }
    book.numbers.resize(book.numbers.size() + ExtraColumns.size(), false);
    book.widths.assign(book.numbers.size(), 0);
}

void TDataGridExportAsWorkbook::PutTitleRow(const TGridColumnList& columns)
{
    Book& book = *book_;
    book.column = 0;
    for (const int column : columns)
        putText(Grid->titleCaption(column), book.bold);
    putExtras(true);
    ++book.row;
}

void TDataGridExportAsWorkbook::PutDataRow(const TGridColumnList& columns)
{
    book_->column = 0;
    TDataGridExport::PutDataRow(columns);
    putExtras(false);
    ++book_->row;
}

void TDataGridExportAsWorkbook::PutDataCell(int, const TGridCellParams& params)
{
    putCell(params.Text, book_->numbers[book_->column]);
}

void TDataGridExportAsWorkbook::PutFooterRow(const TGridColumnList& columns, int footerIndex)
{
    book_->column = 0;
    TDataGridExport::PutFooterRow(columns, footerIndex);
    ++book_->row;
}

void TDataGridExportAsWorkbook::PutFooterCell(int, int, int, const std::string& text)
{
    putCell(text, false);
}

void TDataGridExportAsWorkbook::putExtras(bool titles)
{
    for (const ExtraColumn& extra : ExtraColumns)
        putText(titles ? extra.title : extra.text, titles ? book_->bold : book_->text);
}

void TDataGridExportAsWorkbook::putText(const std::string& gbk, lxw_format* format)
{
    Book& book = *book_;
    const lxw_col_t column = book.column;
    // A Chinese character is two bytes of GBK and about two characters wide on the sheet.
    book.widths[column] = std::max(book.widths[column], gbk.size());
    if (!gbk.empty()) {
        book.check(worksheet_write_string(book.sheet, book.row, column, gbk::toUtf8(gbk).c_str(), format));
    }
    ++book.column;
}

void TDataGridExportAsWorkbook::putCell(const std::string& gbk, bool asNumber)
{
    Book& book = *book_;
    const std::string trimmed = asNumber ? text::trim(gbk) : std::string();
    const std::optional<double> number = trimmed.empty() ? std::nullopt : parseFloat(trimmed);
    if (!number) {
        putText(gbk, book.text);
        return;
    }
    const lxw_col_t at = book.column;
    book.widths[at] = std::max(book.widths[at], trimmed.size());
    book.check(worksheet_write_number(book.sheet, book.row, at, *number, nullptr));
    ++book.column;
}

} // namespace skorvin::exam
