#include "gui/RecordingPrinters.hpp"

namespace skorvin::test {

class RecordedJob final : public ui::PrintJob {
public:
    RecordedJob(RecordingPrinters& owner, std::size_t job) : owner_(owner), job_(job) {}

    void printPage(const report::BuiltReport&, int pageIndex) override
    {
        owner_.jobs_.at(job_).pages.push_back(pageIndex + 1);
    }
    void finish() override { owner_.jobs_.at(job_).finished = true; }
    void abort() override { owner_.jobs_.at(job_).aborted = true; }

private:
    RecordingPrinters& owner_;
    std::size_t job_;
};

class RecordedPrinter final : public ui::Printer {
public:
    RecordedPrinter(RecordingPrinters& owner, QString name) : owner_(owner), name_(std::move(name)) {}

    QString name() const override { return name_; }
    std::unique_ptr<ui::PrintJob> startJob(QWidget*, const QString& title, int copies) override
    {
        owner_.jobs_.push_back({name_, title, copies, {}, false, false});
        return std::make_unique<RecordedJob>(owner_, owner_.jobs_.size() - 1);
    }
    bool hasProperties() const override { return true; }
    void showProperties(QWidget*) override { ++owner_.propertiesShown_; }

private:
    RecordingPrinters& owner_;
    QString name_;
};

RecordingPrinters::RecordingPrinters(QStringList names, bool withPdfFile, int current)
    : previous_(&ui::Replaceable<ui::Printers>::inForce()), names_(std::move(names)), withPdfFile_(withPdfFile),
      current_(current)
{
    ui::Replaceable<ui::Printers>::install(this);
}

RecordingPrinters::~RecordingPrinters()
{
    ui::Replaceable<ui::Printers>::install(previous_);
}

ui::PrinterList RecordingPrinters::installed()
{
    ui::PrinterList list;
    for (const QString& name : names_)
        list.printers.push_back(std::make_unique<RecordedPrinter>(*this, name));
    if (withPdfFile_)
        list.printers.push_back(ui::pdfFilePrinter());
    list.current = current_;
    return list;
}

bool RecordingPrinters::pageSetup(QWidget*, report::PaperSetup& paper)
{
    offered_.push_back(paper);
    if (papers_.empty())
        return false;
    paper = papers_.front();
    papers_.pop_front();
    return true;
}

} // namespace skorvin::test
