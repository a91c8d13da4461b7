#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace skorvin::test {

// A workbook as a spreadsheet program reads it (Debian's python3-openpyxl): the sheet
// names, the first sheet's frozen corner, its cells and its column widths. UTF-8 texts.
struct WorkbookContent {
    struct Cell {
        char type = 's'; // 's' text, 'n' number
        bool bold = false;
        std::string value; // as Python writes it: 4001 or 37.5 for a number
        bool operator==(const Cell&) const = default;
        friend std::ostream& operator<<(std::ostream& out, const Cell& cell)
        {
            return out << cell.type << (cell.bold ? " bold " : " ") << cell.value;
        }
    };
    std::vector<std::string> sheets;
    std::string frozenAt;                 // "A2" when the first row stays in view
    std::map<std::string, Cell> cells;    // by reference ("B2"); empty cells are absent
    std::map<std::string, double> widths; // by column letter, in characters
};

// Why workbooks cannot be read back here (Windows, no python3-openpyxl); nothing when they can.
std::optional<std::string> workbookReaderMissing();
// Nothing, with the reason in why, when the file cannot be read as a workbook.
std::optional<WorkbookContent> readWorkbook(const std::filesystem::path& file, std::string& why);

} // namespace skorvin::test
