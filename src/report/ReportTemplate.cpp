#include "report/ReportTemplate.hpp"

#include "platform/Text.hpp"

namespace skorvin::report {

void TextObject::setText(std::string_view text)
{
    lines.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
}

const Band* TemplatePage::band(BandKind kind) const
{
    for (const Band& candidate : bands) {
        if (candidate.kind == kind)
            return &candidate;
    }
    return nullptr;
}

TextObject* ReportTemplate::findObject(std::string_view name)
{
    for (TemplatePage& page : pages) {
        for (Band& band : page.bands) {
            for (TextObject& object : band.objects) {
                if (text::equalsNoCase(object.name, name))
                    return &object;
            }
        }
    }
    return nullptr;
}

} // namespace skorvin::report
