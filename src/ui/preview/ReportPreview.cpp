#include "ui/preview/ReportPreview.hpp"

#include "report/BuiltReportFile.hpp"
#include "report/PaperSetup.hpp"
#include "report/TReport.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/common/HandlerGuard.hpp"
#include "ui/preview/ReportFileDialog.hpp"
#include "ui/preview/ReportPrintDialog.hpp"
#include "ui/preview/ReportPrinting.hpp"
#include "ui/preview/ReportRunner.hpp"
#include "ui/preview/ReportWindows.hpp"
#include "ui/seams/Beeper.hpp"
#include "ui/seams/Dialogs.hpp"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace skorvin::ui {

namespace {

// Lives as long as the library, so a later preview, also in a later ShowForm, opens alike.
PreviewZoom& chosenZoom()
{
    static PreviewZoom zoom;
    return zoom;
}

// The placement is the user's, kept between uses and between runs.
const QString kStoreOrganisation = QStringLiteral("Skorvin");
const QString kStoreApplication = QStringLiteral("ReportPreview");
const QString kGeometryKey = QStringLiteral("geometry");
const QString kMaximizedKey = QStringLiteral("maximized");

const QString kReportFilter = QStringLiteral("报表文件 (*.rpages)");

// The name with the extension ".rpages" in place of whatever extension was typed.
QString withReportExtension(const QString& name)
{
    const QString suffix = QFileInfo(name).suffix();
    QString stem = suffix.isEmpty() ? name : name.left(name.size() - suffix.size() - 1);
    return stem + QStringLiteral(".rpages");
}

} // namespace

ReportPreview::ReportPreview(report::BuiltReport pages, report::TReport* source, QWidget* parent)
    : QDialog(parent), pages_(std::move(pages)), source_(source),
      printers_(Replaceable<Printers>::inForce().installed())
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("预览"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("ToolBar"));
    btnZoom_ = toolButton("btnZoom", QStringLiteral("放缩"), QString());
    btnZoom_->setPopupMode(QToolButton::InstantPopup);
    tools->addWidget(btnZoom_);
    tools->addWidget(
        toolButton("btnOpen", QStringLiteral("打开报表"), QStringLiteral("打开"), &ReportPreview::openClick));
    tools->addWidget(
        toolButton("btnSave", QStringLiteral("保存报表"), QStringLiteral("保存"), &ReportPreview::saveClick));
    btnPrint_ = toolButton("btnPrint", QStringLiteral("打印报表"), QStringLiteral("打印"), &ReportPreview::printClick);
    tools->addWidget(btnPrint_);
    btnPageSetup_ = toolButton("btnPageSetup", QStringLiteral("页面设置"), QStringLiteral("页面设置"),
                               &ReportPreview::pageSetupClick);
    tools->addWidget(btnPageSetup_);
    tools->addWidget(
        toolButton("btnFind", QStringLiteral("查找文本"), QStringLiteral("查找"), &ReportPreview::findClick));
    QToolButton* close = toolButton("btnClose", QStringLiteral("关闭预览"), QStringLiteral("关闭"));
    connect(close, &QToolButton::clicked, this, &ReportPreview::reject);
    tools->addWidget(close);

    view_ = new ReportPageView(pages_, this);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(view_, 1);
    layout->addWidget(status_);
    status_->setContentsMargins(6, 2, 6, 2);

    buildZoomMenu();
    connect(view_, &ReportPageView::currentPageChanged, this, &ReportPreview::showPageStatus);
    // A fitting zoom's scale follows the view's size (the window opening maximised, a resize).
    connect(view_, &ReportPageView::effectivePercentChanged, this, &ReportPreview::showZoom);
    applyZoom(chosenZoom());
    showPageStatus();
    enableTools();
    restorePlacement();
    view_->setFocus();
}

ReportPreview::~ReportPreview() = default;

PreviewZoom ReportPreview::lastZoom()
{
    return chosenZoom();
}

QToolButton* ReportPreview::toolButton(const char* name, const QString& hint, const QString& caption,
                                       void (ReportPreview::*handler)())
{
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // The keys belong to the page view.
    button->setFocusPolicy(Qt::NoFocus);
    if (handler)
        connect(button, &QToolButton::clicked, this,
                [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
    return button;
}

void ReportPreview::buildZoomMenu()
{
    zoomMenu_ = new QMenu(btnZoom_);
    zoomMenu_->setObjectName(QStringLiteral("ZoomMenu"));
    using Mode = PreviewZoom::Mode;
    const std::pair<QString, PreviewZoom> items[] = {
        {QStringLiteral("200%"), {Mode::Percent, 200}},       {QStringLiteral("150%"), {Mode::Percent, 150}},
        {QStringLiteral("100%"), {Mode::Percent, 100}},       {QStringLiteral("75%"), {Mode::Percent, 75}},
        {QStringLiteral("50%"), {Mode::Percent, 50}},         {QStringLiteral("25%"), {Mode::Percent, 25}},
        {QStringLiteral("10%"), {Mode::Percent, 10}},         {QStringLiteral("页宽(&P)"), {Mode::PageWidth, 100}},
        {QStringLiteral("全页(&W)"), {Mode::WholePage, 100}}, {QStringLiteral("双页(&T)"), {Mode::TwoPages, 100}},
    };
    for (const auto& [caption, zoom] : items) {
        const PreviewZoom chosen = zoom;
        connect(zoomMenu_->addAction(caption), &QAction::triggered, this, [this, chosen] {
            chosenZoom() = chosen;
            applyZoom(chosen);
        });
    }
    btnZoom_->setMenu(zoomMenu_);
}

void ReportPreview::applyZoom(PreviewZoom zoom)
{
    view_->setZoom(zoom);
    showZoom();
}

void ReportPreview::showZoom()
{
    btnZoom_->setText(QStringLiteral("%1%").arg(view_->effectivePercent()));
}

void ReportPreview::showPageStatus()
{
    status_->setText(QStringLiteral("页 %1/%2").arg(view_->currentPage()).arg(pages_.pageCount()));
}

void ReportPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        btnZoom_->showMenu();
        event->accept();
        return;
    }
    struct Key {
        int key;
        Qt::KeyboardModifiers modifiers;
        void (ReportPreview::*handler)();
    };
    static const Key keys[] = {
        {Qt::Key_O, Qt::ControlModifier, &ReportPreview::openClick},
        {Qt::Key_S, Qt::ControlModifier, &ReportPreview::saveClick},
        {Qt::Key_P, Qt::ControlModifier, &ReportPreview::printClick},
        {Qt::Key_F, Qt::ControlModifier, &ReportPreview::findClick},
        {Qt::Key_F3, Qt::NoModifier, &ReportPreview::findNext},
    };
    for (const Key& key : keys) {
        if (event->key() == key.key && event->modifiers() == key.modifiers) {
            event->accept();
            runGuarded([this, &key] { (this->*key.handler)(); });
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void ReportPreview::enableTools()
{
    btnPrint_->setEnabled(!printers_.printers.empty());
    btnPageSetup_->setEnabled(!printers_.printers.empty() && source_ && source_->layout());
}

void ReportPreview::pagesReplaced()
{
    lastMatch_.reset();
    view_->reload();
    showPageStatus();
    enableTools();
}

void ReportPreview::openClick()
{
    const QString name = Replaceable<Dialogs>::inForce().openFileName(this, kReportFilter);
    if (name.isEmpty())
        return;
    pages_ = report::loadBuiltReport(name);
    // The pages shown are the file's now; building the report again would replace them.
    source_ = nullptr;
    pagesReplaced();
}

void ReportPreview::saveClick()
{
    const QString title = source_ ? toQString(source_->title()) : QString();
    const QString name = chooseReportFile(this, title, kReportFilter, withReportExtension);
    if (name.isEmpty())
        return;
    report::saveBuiltReport(pages_, name);
}

QString ReportPreview::jobTitle() const
{
    return source_ && !source_->title().empty() ? toQString(source_->title()) : QStringLiteral("Untitled");
}

void ReportPreview::printClick()
{
    if (printers_.printers.empty())
        return;
    std::vector<Printer*> list;
    for (const auto& printer : printers_.printers)
        list.push_back(printer.get());
    const std::optional<PrintChoice> choice =
        Replaceable<ReportWindows>::inForce().choosePrint(this, list, printers_.current);
    if (!choice || choice->printer < 0 || choice->printer >= static_cast<int>(list.size()))
        return;
    PrintPages(this, pages_, view_->currentPage(), jobTitle(), *list[static_cast<std::size_t>(choice->printer)],
               *choice);
}

void ReportPreview::pageSetupClick()
{
    report::ReportTemplate* layout = source_ ? source_->layout() : nullptr;
    if (printers_.printers.empty() || !layout)
        return;
    report::PaperSetup paper = report::paperOf(*layout);
    if (!Replaceable<Printers>::inForce().pageSetup(this, paper))
        return;
    report::applyPaper(*layout, paper);
    std::optional<report::BuiltReport> rebuilt = BuildReportPages(*source_, this);
    if (!rebuilt)
        return;
    pages_ = std::move(*rebuilt);
    pagesReplaced();
}

void ReportPreview::findClick()
{
    const std::optional<FindChoice> choice = Replaceable<ReportWindows>::inForce().chooseFind(this, lastFind_);
    if (!choice)
        return;
    lastFind_ = *choice;
    searched_ = true;
    find(choice->fromFirstPage);
}

void ReportPreview::findNext()
{
    // F3 goes on from the match shown, whatever start the dialog had.
    if (searched_)
        find(false);
}

void ReportPreview::find(bool fromFirstPage)
{
    const int startPage = fromFirstPage ? 0 : std::max(0, view_->currentPage() - 1);
    const int after = !fromFirstPage && lastMatch_ && lastMatch_->pageIndex == startPage ? lastMatch_->pieceIndex : -1;
    const std::optional<report::TextMatch> match =
        report::findText(pages_, toGbk(lastFind_.text), lastFind_.matchCase, startPage, after);
    if (!match) {
        // The view stays; the match shown before no longer stands for this search.
        view_->clearHighlight();
        status_->setText(QStringLiteral("未找到“%1”").arg(lastFind_.text));
        beep();
        return;
    }
    lastMatch_ = match;
    showPageStatus();
    const report::Piece& piece = pages_.pieces(match->pageIndex)[static_cast<std::size_t>(match->pieceIndex)];
    view_->highlight(match->pageIndex, piece.rect);
}

void ReportPreview::done(int result)
{
    savePlacement();
    QDialog::done(result);
}

void ReportPreview::restorePlacement()
{
    const QSettings store(kStoreOrganisation, kStoreApplication);
    const QByteArray geometry = store.value(kGeometryKey).toByteArray();
    if (geometry.isEmpty() || !restoreGeometry(geometry)) {
        resize(800, 600);
        setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    if (store.value(kMaximizedKey).toBool())
        setWindowState(windowState() | Qt::WindowMaximized);
}

void ReportPreview::savePlacement() const
{
    QSettings store(kStoreOrganisation, kStoreApplication);
    store.setValue(kGeometryKey, saveGeometry());
    store.setValue(kMaximizedKey, isMaximized());
}

} // namespace skorvin::ui
