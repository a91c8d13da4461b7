#include "ui/Dialogs.hpp"

#include "ui/GbkText.hpp"

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

class QtDialogs final : public Dialogs {
public:
    void message(QWidget* owner, const QString& caption, const QString& text, Icon icon) override
    {
        QMessageBox box(toQtIcon(icon), caption, text, QMessageBox::Ok, owner);
        // The central error box only blocks its own window; the other boxes block the whole program.
        box.setWindowModality(icon == Icon::Stop && owner ? Qt::WindowModal : Qt::ApplicationModal);
        box.exec();
    }

    bool confirm(QWidget* owner, const QString& caption, const QString& text) override
    {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel, owner);
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok;
    }

    bool ask(QWidget* owner, const QString& caption, const QString& text, bool defaultYes) override
    {
        QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
        box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    QString saveFileName(QWidget* owner, const QString& proposedName, const QString& filter) override
    {
        return QFileDialog::getSaveFileName(owner, QString(), proposedName, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }

    QString openFileName(QWidget* owner, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(owner, QString(), QString(), filter);
    }
};

Dialogs* installed = nullptr;

} // namespace

QString Dialogs::openFileName(QWidget*, const QString&)
{
    return {};
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
