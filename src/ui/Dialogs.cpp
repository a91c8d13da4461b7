#include "ui/Dialogs.hpp"

#include "ui/GbkText.hpp"
#include "ui/MessageBoxCopy.hpp"
#include "ui/NameOnlyIconProvider.hpp"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace skorvin::ui {

namespace {

QMessageBox::Icon toQtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Error:
    case Dialogs::Icon::Stop:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Every file dialog of the library: Qt's own, never the desktop's (which, in process, reads the
// files it lists as Qt's default provider does), with icons and types from names alone. Windows'
// dialog stays: a lock there belongs to the handle that took it, and no other handle drops it.
QString runFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const QString& name, const QString& filter,
                      QString* chosenFilter = nullptr)
{
    NameOnlyIconProvider icons;
    QFileDialog dialog(owner, QString(), name, filter);
    dialog.setIconProvider(&icons);
#ifndef _WIN32
    dialog.setOption(QFileDialog::DontUseNativeDialog);
#endif
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, mode == QFileDialog::AcceptSave);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

// Every box copies its caption and text with Ctrl+C.
class Box : public QMessageBox {
public:
    Box(Icon icon, const QString& caption, const QString& text, StandardButtons buttons, QWidget* owner)
        : QMessageBox(icon, caption, text, buttons, owner)
    {
        new MessageBoxCopy(this);
    }
};

class QtDialogs final : public Dialogs {
public:
    void message(QWidget* owner, const QString& caption, const QString& text, Icon icon) override
    {
        Box box(toQtIcon(icon), caption, text, QMessageBox::Ok, owner);
        // The central error box only blocks its own window; the other boxes block the whole program.
        box.setWindowModality(icon == Icon::Stop && owner ? Qt::WindowModal : Qt::ApplicationModal);
        box.exec();
    }

    bool confirm(QWidget* owner, const QString& caption, const QString& text) override
    {
        Box box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel, owner);
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
    }

    bool ask(QWidget* owner, const QString& caption, const QString& text, bool defaultYes) override
    {
        Box box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
        box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    QString saveFileName(QWidget* owner, const QString& proposedName, const QString& filter) override
    {
        return runFileDialog(owner, QFileDialog::AcceptSave, proposedName, filter);
    }

    SaveChoice saveFileOfType(QWidget* owner, const QString& proposedName, const QString& filters) override
    {
        SaveChoice choice;
        choice.fileName = runFileDialog(owner, QFileDialog::AcceptSave, proposedName, filters, &choice.filter);
        return choice;
    }

    QString openFileName(QWidget* owner, const QString& filter) override
    {
        return runFileDialog(owner, QFileDialog::AcceptOpen, QString(), filter);
    }
};

Dialogs* installed = nullptr;

} // namespace

QString Dialogs::openFileName(QWidget*, const QString&)
{
    return {};
}

Dialogs::SaveChoice Dialogs::saveFileOfType(QWidget* owner, const QString& proposedName, const QString& filters)
{
    return {saveFileName(owner, proposedName, filters), filters.section(QStringLiteral(";;"), 0, 0)};
}

Dialogs& dialogs()
{
    static QtDialogs real;
    return installed ? *installed : real;
}

void setDialogs(Dialogs* replacement)
{
    installed = replacement;
}

QWidget* ownerWindow()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

void ShowInfo(const std::string& text)
{
    dialogs().message(ownerWindow(), QStringLiteral("信息"), toQString(text), Dialogs::Icon::Information);
}

void ShowError(const std::string& text)
{
    dialogs().message(ownerWindow(), QStringLiteral("错误"), toQString(text), Dialogs::Icon::Error);
}

} // namespace skorvin::ui
