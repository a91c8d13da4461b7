#include "plain/WorkbookReader.hpp"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace skorvin::test {

#ifndef _WIN32
namespace {

// One line per fact, TAB-separated, so that C++ needs no JSON reader.
constexpr const char* kScript = R"(
import sys, openpyxl
book = openpyxl.load_workbook(sys.argv[1])
print('sheets', *book.sheetnames, sep='\t')
sheet = book.worksheets[0]
print('frozen', sheet.freeze_panes or '', sep='\t')
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is not None:
            print('cell', cell.coordinate, cell.data_type, 'bold' if cell.font.b else '', cell.value, sep='\t')
for letter, dimension in sheet.column_dimensions.items():
    print('width', letter, dimension.width, sep='\t')
)";

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> parts;
    std::stringstream stream(line);
    std::string part;
    while (std::getline(stream, part, '\t'))
        parts.push_back(part);
    if (!line.empty() && line.back() == '\t')
        parts.emplace_back();
    return parts;
}

// Debian's own interpreter, where python3-openpyxl installs, whatever else is on the PATH.
constexpr const char* kPython = "/usr/bin/python3";

} // namespace
#endif

std::optional<std::string> workbookReaderMissing()
{
#ifdef _WIN32
    return "workbooks are read back with python3-openpyxl, which Windows lacks here";
#else
    if (std::system((std::string(kPython) + " -c 'import openpyxl' 2>/dev/null").c_str()) != 0)
        return "no python3-openpyxl (Debian package) for /usr/bin/python3";
    return std::nullopt;
#endif
}

std::optional<WorkbookContent> readWorkbook(const std::filesystem::path& file, std::string& why)
{
#ifdef _WIN32
    (void)file;
    why = *workbookReaderMissing();
    return std::nullopt;
#else
    const std::string python = kPython;
    std::string quotedScript = "'";
    for (const char c : std::string(kScript))
        quotedScript += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quotedScript += "'";
    const std::string command = "PYTHONIOENCODING=utf-8 " + python + " -c " + quotedScript + " '" + file.string() + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        why = "cannot start python3";
        return std::nullopt;
    }
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    if (pclose(pipe) != 0) {
        why = "openpyxl could not read the workbook";
        return std::nullopt;
    }
    WorkbookContent content;
    std::stringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const std::vector<std::string> f = fields(line);
        if (f.empty())
            continue;
        if (f[0] == "sheets")
            content.sheets.assign(f.begin() + 1, f.end());
        else if (f[0] == "frozen" && f.size() > 1)
            content.frozenAt = f[1];
        else if (f[0] == "cell" && f.size() == 5)
            content.cells[f[1]] = {f[2].empty() ? '?' : f[2][0], f[3] == "bold", f[4]};
        else if (f[0] == "width" && f.size() == 3)
            content.widths[f[1]] = std::stod(f[2]);
    }
    return content;
#endif
}

} // namespace skorvin::test
