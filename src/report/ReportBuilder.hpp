#pragma once

#include "report/BuiltReport.hpp"
#include "report/ReportTemplate.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace skorvin::report {

class TUserDataset;

// The names the engine answers itself, without regard to letter case.
inline constexpr std::string_view kPageNumberName = "PAGE#";
inline constexpr std::string_view kTotalPagesName = "TOTALPAGES#";
inline constexpr std::string_view kDateName = "DATE";
inline constexpr std::string_view kLineNumberName = "LINE#";

struct BuildInput {
    const ReportTemplate* layout = nullptr;
    std::string reportName; // named in build errors
    std::string date;       // the value of [DATE]
    // The dataset a master data band names (found without regard to case); nullptr when none.
    std::function<TUserDataset*(std::string_view name)> findDataSet;
    // The program's answer for a name; nothing leaves it to the engine.
    std::function<std::optional<std::string>(const std::string& name)> getValue;
    // Told when page n begins; false cancels, keeping the pages built so far.
    std::function<bool(int page)> progress;
};

struct BuildResult {
    BuiltReport pages;
    bool cancelled = false;
};

// Lays out every template page in turn: page header, the report title on its first
// sheet, column header, one master data band per record with a page break whenever the
// next one would reach the page footer, and the footer at the foot of every sheet. A name
// nobody answers throws BuildError; a dataset's own error propagates as it is.
BuildResult buildReport(const BuildInput& input);

} // namespace skorvin::report
