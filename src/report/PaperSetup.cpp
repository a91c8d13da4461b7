#include "report/PaperSetup.hpp"

#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"

namespace skorvin::report {

PaperSetup paperOf(const ReportTemplate& layout)
{
    if (layout.pages.empty())
        return {};
    const TemplatePage& page = layout.pages.front();
    return {page.paperWidth, page.paperHeight, page.orientation, page.marginLeft,
            page.marginTop,  page.marginRight, page.marginBottom};
}

void applyPaper(ReportTemplate& layout, const PaperSetup& paper)
{
    if (paper.width <= 0 || paper.height <= 0 || paper.marginLeft < 0 || paper.marginTop < 0 || paper.marginRight < 0 ||
        paper.marginBottom < 0 || paper.marginLeft + paper.marginRight >= paper.width ||
        paper.marginTop + paper.marginBottom >= paper.height)
        throw Exception(gbk::fromUtf8("页边距超出了纸张"));
    for (TemplatePage& page : layout.pages) {
        page.paperWidth = paper.width;
        page.paperHeight = paper.height;
        page.orientation = paper.orientation;
        page.marginLeft = paper.marginLeft;
        page.marginTop = paper.marginTop;
        page.marginRight = paper.marginRight;
        page.marginBottom = paper.marginBottom;
    }
}

} // namespace skorvin::report
