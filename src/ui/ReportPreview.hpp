#pragma once

#include "report/BuiltReport.hpp"
#include "ui/ReportPageView.hpp"

#include <QDialog>

class QLabel;
class QMenu;
class QToolButton;

namespace skorvin::ui {

// The modal preview of a built report (caption "预览"): zoom button and menu, page keys,
// the status label "页 n/m" and the close button. It owns the pages while it is open.
// The zoom last chosen is kept for the library's lifetime; the window's placement for the
// user, in the settings store (maximised the first time). Every control's objectName is set.
class ReportPreview final : public QDialog {
    Q_OBJECT
public:
    explicit ReportPreview(report::BuiltReport pages, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const report::BuiltReport& pages() const { return pages_; }
    ReportPageView* view() const { return view_; }

    // The zoom the next preview opens at (100% until one is chosen).
    static PreviewZoom lastZoom();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void done(int result) override;

private:
    QToolButton* toolButton(const char* name, const QString& hint, const QString& caption);
    void buildZoomMenu();
    void applyZoom(PreviewZoom zoom);
    void showPageStatus();
    void restorePlacement();
    void savePlacement() const;

    report::BuiltReport pages_;
    ReportPageView* view_ = nullptr;
    QToolButton* btnZoom_ = nullptr;
    QMenu* zoomMenu_ = nullptr;
    QLabel* status_ = nullptr;
};

} // namespace skorvin::ui
