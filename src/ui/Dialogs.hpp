#pragma once

#include <QString>

#include <memory>
#include <string>

class QWidget;

namespace skorvin::ui {

// Every modal box and file dialog the windows show goes through this seam, so that
// tests install a recorder and no test ever blocks on a modal loop.
class Dialogs {
public:
    enum class Icon { Information, Error, Stop, Question };

    virtual ~Dialogs() = default;
    // A message box with one OK button.
    virtual void message(QWidget* owner, const QString& caption, const QString& text, Icon icon) = 0;
    // OK/Cancel question; true for OK.
    virtual bool confirm(QWidget* owner, const QString& caption, const QString& text) = 0;
    // Yes/No question with the Question icon; Enter answers the default. True for Yes.
    virtual bool ask(QWidget* owner, const QString& caption, const QString& text, bool defaultYes) = 0;
    // Save-file dialog; it does not ask before a file is replaced (a caller that wants
    // the question asks it). An empty text when the operator cancels.
    virtual QString saveFileName(QWidget* owner, const QString& proposedName, const QString& filter) = 0;
    struct SaveChoice {
        QString fileName; // empty when the operator cancels
        QString filter;   // the file type chosen, one of the filters
    };
    // The save-file dialog offering file types (filters separated by ";;", the first one
    // chosen when it opens). The default asks saveFileName and answers the first type, for
    // stand-ins that only ever choose it.
    virtual SaveChoice saveFileOfType(QWidget* owner, const QString& proposedName, const QString& filters);
    // Open-file dialog for an existing file; an empty text when the operator cancels. The
    // default cancels, for stand-ins that never meet the dialog.
    virtual QString openFileName(QWidget* owner, const QString& filter);
};

// The implementation in force: real Qt boxes unless a test installed another.
Dialogs& dialogs();
// Installs an implementation (tests); nullptr restores the real one.
void setDialogs(Dialogs* replacement);

// The window the library's boxes belong to: the modal window in front (normally the
// score window, itself owned by the host window), else the active window.
QWidget* ownerWindow();

// Caption "信息", information icon (GBK text).
void ShowInfo(const std::string& text);
// Caption "错误", error icon (GBK text).
void ShowError(const std::string& text);

} // namespace skorvin::ui
