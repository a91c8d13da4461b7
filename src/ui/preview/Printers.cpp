#include "ui/preview/Printers.hpp"

#include "platform/Gbk.hpp"
#include "report/CheckedSaveFile.hpp"
#include "report/PagePrinter.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/preview/ReportFileDialog.hpp"
#include "ui/seams/Dialogs.hpp"

#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace skorvin::ui {

namespace {

std::string cannotPrint(const QString& where)
{
    return gbk::fromUtf8("打印失败：") + toGbk(where);
}

// The PDF is written beside its final name and put in place only when finished, so an
// aborted job leaves no file and a failed one (a full disk too) leaves an older file whole.
class PdfFileJob final : public PrintJob {
public:
    PdfFileJob(const QString& fileName, const QString& title, int copies) : file_(fileName), copies_(copies)
    {
        file_.openForWriting();
        writer_ = std::make_unique<QPdfWriter>(&file_);
        writer_->setResolution(600);
        writer_->setTitle(title);
        writer_->setCreator(QStringLiteral("Skorvin"));
        pages_ = std::make_unique<report::PagePrinter>(*writer_, cannotPrint(fileName));
    }

    void printPage(const report::BuiltReport& pages, int pageIndex) override
    {
        for (int copy = 0; copy < copies_; ++copy)
            pages_->print(pages, pageIndex);
    }

    void finish() override
    {
        pages_->finish();
        file_.commitChecked();
    }

    void abort() override { file_.cancelWriting(); }

private:
    report::CheckedSaveFile file_;
    int copies_;
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<report::PagePrinter> pages_;
};

class PdfFilePrinter final : public Printer {
public:
    QString name() const override { return QStringLiteral("打印到 PDF 文件"); }

    std::unique_ptr<PrintJob> startJob(QWidget* owner, const QString& title, int copies) override
    {
        const QString fileName =
            chooseReportFile(owner, title, QStringLiteral("PDF 文件 (*.pdf)"), [](const QString& name) {
                const bool pdf = QFileInfo(name).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0;
                return pdf ? name : name + QStringLiteral(".pdf");
            });
        if (fileName.isEmpty())
            return nullptr;
        return std::make_unique<PdfFileJob>(fileName, title, copies);
    }

    bool hasProperties() const override { return false; }
    void showProperties(QWidget*) override {}
};

class SystemJob final : public PrintJob {
public:
    SystemJob(QPrinter& printer, const QString& title, int copies) : printer_(printer)
    {
        printer_.setDocName(title);
        printer_.setCopyCount(copies);
        printer_.setFullPage(true);
        pages_ = std::make_unique<report::PagePrinter>(printer_, cannotPrint(printer_.printerName()));
    }

    void printPage(const report::BuiltReport& pages, int pageIndex) override { pages_->print(pages, pageIndex); }
    void finish() override { pages_->finish(); }
    void abort() override { printer_.abort(); }

private:
    QPrinter& printer_;
    std::unique_ptr<report::PagePrinter> pages_;
};

class SystemPrinter final : public Printer {
public:
    explicit SystemPrinter(const QPrinterInfo& info) : printer_(info, QPrinter::HighResolution) {}

    QString name() const override { return printer_.printerName(); }

    std::unique_ptr<PrintJob> startJob(QWidget*, const QString& title, int copies) override
    {
        return std::make_unique<SystemJob>(printer_, title, copies);
    }

    // Qt's dialog for a printer's own paper settings; what it keeps serves this printer's jobs.
    bool hasProperties() const override { return true; }
    void showProperties(QWidget* owner) override
    {
        QPageSetupDialog dialog(&printer_, owner);
        dialog.exec();
    }

private:
    QPrinter printer_;
};

QPageLayout toLayout(const report::PaperSetup& paper)
{
    const bool landscape = paper.orientation == report::Orientation::Landscape;
    const QSizeF upright = landscape ? QSizeF(paper.height / 100.0, paper.width / 100.0)
                                     : QSizeF(paper.width / 100.0, paper.height / 100.0);
    return QPageLayout(QPageSize(upright, QPageSize::Millimeter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(paper.marginLeft / 100.0, paper.marginTop / 100.0, paper.marginRight / 100.0,
                                 paper.marginBottom / 100.0),
                       QPageLayout::Millimeter, QMarginsF());
}

report::PaperSetup fromLayout(const QPageLayout& layout)
{
    const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    return {report::millimetres(paper.width()),
            report::millimetres(paper.height()),
            layout.orientation() == QPageLayout::Landscape ? report::Orientation::Landscape
                                                           : report::Orientation::Portrait,
            report::millimetres(margins.left()),
            report::millimetres(margins.top()),
            report::millimetres(margins.right()),
            report::millimetres(margins.bottom())};
}

class QtPrinters final : public Printers {
public:
    PrinterList installed() override
    {
        PrinterList list;
        const QString chosen = QPrinterInfo::defaultPrinterName();
        for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
            if (info.printerName() == chosen)
                list.current = static_cast<int>(list.printers.size());
            list.printers.push_back(std::make_unique<SystemPrinter>(info));
        }
        list.printers.push_back(pdfFilePrinter());
        return list;
    }

    bool pageSetup(QWidget* owner, report::PaperSetup& paper) override
    {
        // The default printer's paper sizes; a PDF's where there is no printer.
        QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
        if (printer.printerName().isEmpty())
            printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageLayout(toLayout(paper));
        QPageSetupDialog dialog(&printer, owner);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        paper = fromLayout(printer.pageLayout());
        return true;
    }
};

} // namespace

template <> Printers& Replaceable<Printers>::real()
{
    static QtPrinters qt;
    return qt;
}

std::unique_ptr<Printer> pdfFilePrinter()
{
    return std::make_unique<PdfFilePrinter>();
}

} // namespace skorvin::ui
