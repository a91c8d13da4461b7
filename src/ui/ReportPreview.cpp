#include "ui/ReportPreview.hpp"

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

} // namespace

ReportPreview::ReportPreview(report::BuiltReport pages, QWidget* parent) : QDialog(parent), pages_(std::move(pages))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(QStringLiteral("预览"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    auto* tools = new QToolBar(this);
    tools->setObjectName(QStringLiteral("ToolBar"));
    btnZoom_ = toolButton("btnZoom", QStringLiteral("放缩"), QString());
    btnZoom_->setPopupMode(QToolButton::InstantPopup);
    tools->addWidget(btnZoom_);
    // Opening, saving, printing, page setup and finding come with the printing of the pages.
    struct Later {
        const char* name;
        QString hint;
        QString caption;
    };
    for (const Later& later : {Later{"btnOpen", QStringLiteral("打开报表"), QStringLiteral("打开")},
                               Later{"btnSave", QStringLiteral("保存报表"), QStringLiteral("保存")},
                               Later{"btnPrint", QStringLiteral("打印报表"), QStringLiteral("打印")},
                               Later{"btnPageSetup", QStringLiteral("页面设置"), QStringLiteral("页面设置")},
                               Later{"btnFind", QStringLiteral("查找文本"), QStringLiteral("查找")}}) {
        QToolButton* button = toolButton(later.name, later.hint, later.caption);
        button->setEnabled(false);
        tools->addWidget(button);
    }
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
    applyZoom(chosenZoom());
    showPageStatus();
    restorePlacement();
    view_->setFocus();
}

ReportPreview::~ReportPreview() = default;

PreviewZoom ReportPreview::lastZoom()
{
    return chosenZoom();
}

QToolButton* ReportPreview::toolButton(const char* name, const QString& hint, const QString& caption)
{
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setText(caption);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // The keys belong to the page view.
    button->setFocusPolicy(Qt::NoFocus);
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
    QDialog::keyPressEvent(event);
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
