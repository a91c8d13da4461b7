#include "ui/widgets/NameOnlyIconProvider.hpp"

#include <QFileInfo>
#include <QIcon>

namespace skorvin::ui {

QMimeType NameOnlyIconProvider::mimeType(const QFileInfo& info) const
{
    const QList<QMimeType> byName = mimeTypes_.mimeTypesForFileName(info.fileName());
    return byName.isEmpty() ? mimeTypes_.mimeTypeForName(QStringLiteral("application/octet-stream")) : byName.front();
}

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const
{
    if (!info.isFile())
        return QFileIconProvider::icon(info.isDir() ? Folder : File);
    const QMimeType type = mimeType(info);
    QIcon themed = QIcon::fromTheme(type.iconName());
    if (themed.isNull())
        themed = QIcon::fromTheme(type.genericIconName());
    return themed.isNull() ? QFileIconProvider::icon(File) : themed;
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const
{
    // Only a file's type is guessed from its contents; a folder's, a drive's or a link's is not.
    if (!info.isFile())
        return QFileIconProvider::type(info);
    const QMimeType type = mimeType(info);
    return type.comment().isEmpty() ? type.name() : type.comment();
}

} // namespace skorvin::ui
