// TReport: a report template loaded, filled with values, built into pages and previewed.
#pragma once

#include "report/ReportBuilder.hpp"
#include "report/ReportTemplate.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skorvin::report {

class TUserDataset;

// A report: the template last loaded, the datasets its bands may name, and the program's
// value callback. It builds pages; showing them is the windows' business.
class TReport {
public:
    explicit TReport(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }

    // Loads the template at path (GBK). Returns false when no file is there, and the report
    // then holds no template. A file that cannot be read throws Exception ("Cannot open
    // file ..."); a damaged or newer one throws TemplateFormatError. Either leaves no template.
    bool LoadFromFile(const std::string& path);
    // Holds this template in place of the one loaded (tests, benchmarks).
    void setTemplate(ReportTemplate layout) { template_ = std::move(layout); }
    bool hasTemplate() const { return template_.has_value(); }
    // The template held, for changes before the next build (page setup); nullptr when none.
    ReportTemplate* layout() { return template_ ? &*template_ : nullptr; }

    // The print job's title; none unless set.
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    // The first text object with this name, page by page, without regard to case; nullptr when none.
    TextObject* FindObject(std::string_view name);

    // A dataset the template's master data bands may name; the report does not own it.
    void addDataSet(TUserDataset* dataSet) { dataSets_.push_back(dataSet); }
    TUserDataset* findDataSet(std::string_view name) const;

    // Asked for every name in brackets, first as written, then in upper case; nothing leaves
    // the name to the engine's own names.
    std::function<std::optional<std::string>(const std::string& name)> OnGetValue;

    // The value of [DATE]; today's date (YYYY-MM-DD) unless set.
    void setDate(std::string date) { date_ = std::move(date); }

    // Builds the pages of the template held (none without a template). progress is told
    // when page n begins and returns false to cancel. Throws BuildError.
    BuildResult PrepareReport(const std::function<bool(int page)>& progress = {});

private:
    std::string name_;
    std::string title_;
    std::optional<ReportTemplate> template_;
    std::vector<TUserDataset*> dataSets_;
    std::optional<std::string> date_;
};

} // namespace skorvin::report
