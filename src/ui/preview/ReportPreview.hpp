#pragma once

#include "report/BuiltReport.hpp"
#include "report/TextSearch.hpp"
#include "ui/preview/Printers.hpp"
#include "ui/preview/ReportFindDialog.hpp"
#include "ui/preview/ReportPageView.hpp"

#include <QDialog>

class QLabel;
class QMenu;
class QToolButton;

namespace skorvin::report {
class TReport;
}

namespace skorvin::ui {

// The modal preview of a built report (caption "预览"): zoom button and menu, open and save
// of .rpages files, printing, page setup, find (F3 repeats), page keys, the status label
// "页 n/m" and the close button. It owns the pages while it is open.
// The zoom last chosen is kept for the library's lifetime; the window's placement for the
// user, in the settings store (maximised the first time). Every control's objectName is set.
class ReportPreview final : public QDialog {
    Q_OBJECT
public:
    // source: the report that built the pages, built again after a page setup; without one
    // (and once a file was opened) page setup is disabled.
    explicit ReportPreview(report::BuiltReport pages, report::TReport* source = nullptr, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const report::BuiltReport& pages() const { return pages_; }
    ReportPageView* view() const { return view_; }

    // The zoom the next preview opens at (100% until one is chosen).
    static PreviewZoom lastZoom();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    QToolButton* toolButton(const char* name, const QString& hint, const QString& caption,
                            void (ReportPreview::*handler)() = nullptr);
    void openClick();
    void saveClick();
    void printClick();
    void pageSetupClick();
    void findClick();
    void findNext();
    void find(bool fromFirstPage);
    void pagesReplaced();
    void enableTools();
    QString jobTitle() const;
    void buildZoomMenu();
    void applyZoom(PreviewZoom zoom);
    void showZoom();
    void showPageStatus();
    void restorePlacement();
    void savePlacement() const;

    report::BuiltReport pages_;
    report::TReport* source_ = nullptr;
    PrinterList printers_;
    FindChoice lastFind_;
    bool searched_ = false;
    std::optional<report::TextMatch> lastMatch_;
    ReportPageView* view_ = nullptr;
    QToolButton* btnZoom_ = nullptr;
    QMenu* zoomMenu_ = nullptr;
    QToolButton* btnPrint_ = nullptr;
    QToolButton* btnPageSetup_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace skorvin::ui
