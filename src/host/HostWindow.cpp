#include "host/HostWindow.hpp"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace skorvin::host {

HostWindow::HostWindow(ShowFormProc showForm, const QString& version, const QString& connectionText,
                       ado::TADOConnection& connection)
    : showForm_(showForm), connection_(connection)
{
    setObjectName(QStringLiteral("HostWindow"));
    setWindowTitle(QStringLiteral("考务管理演示程序"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* database = new QLabel(QStringLiteral("考试数据库：") + connectionText, central);
    database->setTextInteractionFlags(Qt::TextSelectableByMouse);
    database->setWordWrap(true);
    auto* open = new QPushButton(QStringLiteral("四级主观题登分..."), central);
    auto* quit = new QPushButton(QStringLiteral("退出"), central);
    layout->addWidget(database);
    layout->addStretch();
    layout->addWidget(open);
    layout->addWidget(quit);
    setCentralWidget(central);
    statusBar()->showMessage(QStringLiteral("SkorvinDLL V") + version);
    resize(480, 240);

    connect(open, &QPushButton::clicked, this, &HostWindow::openScoreWindow);
    connect(quit, &QPushButton::clicked, this, &QWidget::close);
}

void HostWindow::openScoreWindow()
{
    // The six reserved arguments mean nothing to this host; it passes zeros.
    showForm_(static_cast<std::uintptr_t>(winId()), 0, 0, 0, 0, 0, 0, &connection_);
}

} // namespace skorvin::host
