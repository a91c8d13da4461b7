#pragma once

#include "report/ReportTemplate.hpp"

namespace skorvin::report {

// The paper and margins a page-setup dialog chooses, in hundredths of a millimetre.
struct PaperSetup {
    // The paper as it lies for printing (already turned for landscape).
    Length width = millimetres(210);
    Length height = millimetres(297);
    Orientation orientation = Orientation::Portrait;
    Length marginLeft = millimetres(10);
    Length marginTop = millimetres(10);
    Length marginRight = millimetres(10);
    Length marginBottom = millimetres(10);

    bool operator==(const PaperSetup&) const = default;
};

// The paper of the template's first page (the default paper when it has none).
PaperSetup paperOf(const ReportTemplate& layout);
// Gives every page of the template this paper and these margins. Margins that leave no
// room on the paper are refused with Exception, the template unchanged.
void applyPaper(ReportTemplate& layout, const PaperSetup& paper);

} // namespace skorvin::report
