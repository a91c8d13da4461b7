#pragma once

#include "ui/seams/Replaceable.hpp"

#include <QString>
#include <QStringList>

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
    // A question answered by one of several buttons, captioned buttons in order; Enter answers
    // defaultButton. The index of the button pressed; Esc or the close box answer defaultButton.
    virtual int choose(QWidget* owner, const QString& caption, const QString& text, const QStringList& buttons,
                       int defaultButton) = 0;
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

// The real implementation (real Qt boxes), in force through Replaceable<Dialogs> unless a test installs another.
template <> Dialogs& Replaceable<Dialogs>::real();

// The window the library's boxes belong to: the modal window in front (normally the
// score window, itself owned by the host window), else the active window.
QWidget* ownerWindow();

// Caption "信息", information icon. The window's own texts are written as QStringLiteral; a
// text that arrives as GBK data (a provider's or the report engine's message) goes as it is.
void ShowInfo(const QString& text);
void ShowInfo(const std::string& gbkText);
// Caption "错误", error icon; the texts as for ShowInfo.
void ShowError(const QString& text);
void ShowError(const std::string& gbkText);

} // namespace skorvin::ui
