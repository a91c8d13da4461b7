#include "exam/ExportFileName.hpp"
#include "platform/Text.hpp"

#include <string_view>

namespace skorvin::exam {

std::string ProposedExportName(const std::string& nodeText, const std::string& date)
{
    // "四级登分("
    return FileNameSafe(nodeText + "\xCB\xC4\xBC\xB6\xB5\xC7\xB7\xD6(" + date + ")");
}

std::string FileNameSafe(std::string name)
{
    constexpr std::string_view forbidden = "/\\:*?\"<>|";
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (text::isLeadByte(name[i]))
            ++i;
        else if (forbidden.find(name[i]) != std::string_view::npos)
            name[i] = '-';
    }
    return name;
}

} // namespace skorvin::exam
