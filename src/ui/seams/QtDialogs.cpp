// The real message boxes and file dialogs behind the Dialogs seam.
#include "ui/seams/Dialogs.hpp"

#include "ui/widgets/MessageBoxCopy.hpp"
#include "ui/widgets/NameOnlyIconProvider.hpp"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <vector>

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

    int choose(QWidget* owner, const QString& caption, const QString& text, const QStringList& buttons,
               int defaultButton) override
    {
        Box box(QMessageBox::Question, caption, text, QMessageBox::NoButton, owner);
        std::vector<QAbstractButton*> added;
        for (const QString& label : buttons)
            added.push_back(box.addButton(label, QMessageBox::AcceptRole));
        auto* fallback = qobject_cast<QPushButton*>(added.at(static_cast<std::size_t>(defaultButton)));
        box.setDefaultButton(fallback);
        // Esc is the default's answer too: nothing else is ever chosen by leaving the box.
        box.setEscapeButton(fallback);
        box.exec();
        const auto pressed = std::find(added.begin(), added.end(), box.clickedButton());
        return pressed == added.end() ? defaultButton : static_cast<int>(pressed - added.begin());
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

} // namespace

template <> Dialogs& Replaceable<Dialogs>::real()
{
    static QtDialogs qt;
    return qt;
}

} // namespace skorvin::ui
