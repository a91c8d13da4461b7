#include "ui/preview/ReportFileDialog.hpp"

#include "exam/ExportFileName.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/seams/Dialogs.hpp"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace skorvin::ui {

namespace {

const QString kStoreOrganisation = QStringLiteral("Skorvin");
const QString kStoreApplication = QStringLiteral("ReportFiles");
const QString kFolderKey = QStringLiteral("folder");

} // namespace

QString chooseReportFile(QWidget* owner, const QString& title, const QString& filter,
                         const std::function<QString(const QString&)>& withExtension)
{
    const QString folder = QSettings(kStoreOrganisation, kStoreApplication).value(kFolderKey).toString();
    const QString name = title.isEmpty() ? QString() : withExtension(toQString(exam::FileNameSafe(toGbk(title))));
    QString proposed = name;
    if (!folder.isEmpty())
        proposed = name.isEmpty() ? folder : QDir(folder).filePath(name);
    for (;;) {
        const QString chosen = Replaceable<Dialogs>::inForce().saveFileName(owner, proposed, filter);
        if (chosen.isEmpty())
            return {};
        const QString file = withExtension(chosen);
        QSettings(kStoreOrganisation, kStoreApplication).setValue(kFolderKey, QFileInfo(file).absolutePath());
        if (!QFileInfo::exists(file) ||
            Replaceable<Dialogs>::inForce().ask(
                owner, QStringLiteral("确认"),
                QStringLiteral("%1 已存在。\n要替换它吗？").arg(QFileInfo(file).fileName()), false))
            return file;
        proposed = file;
    }
}

} // namespace skorvin::ui
