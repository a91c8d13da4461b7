#include "ui/seams/Dialogs.hpp"

#include "ui/common/GbkText.hpp"

#include <QApplication>

namespace skorvin::ui {

QString Dialogs::openFileName(QWidget*, const QString&)
{
    return {};
}

Dialogs::SaveChoice Dialogs::saveFileOfType(QWidget* owner, const QString& proposedName, const QString& filters)
{
    return {saveFileName(owner, proposedName, filters), filters.section(QStringLiteral(";;"), 0, 0)};
}

QWidget* ownerWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

void ShowInfo(const QString& text)
{
    Replaceable<Dialogs>::inForce().message(ownerWindow(), QStringLiteral("信息"), text, Dialogs::Icon::Information);
}

void ShowInfo(const std::string& gbkText)
{
    ShowInfo(toQString(gbkText));
}

void ShowError(const QString& text)
{
    Replaceable<Dialogs>::inForce().message(ownerWindow(), QStringLiteral("错误"), text, Dialogs::Icon::Error);
}

void ShowError(const std::string& gbkText)
{
    ShowError(toQString(gbkText));
}

} // namespace skorvin::ui
