// The score window's journal keys: Ctrl+Z takes back this window's last save, Ctrl+J opens the
// journal window; and the one notice that journaling is off. An undo asked about, and the
// journal window closed, leave the focus in 准考证号.
#include "ui/score/frmSkorvin_UNIT.hpp"

#include "ui/common/GbkText.hpp"
#include "ui/common/HandlerGuard.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/journal/JournalWindow.hpp"
#include "ui/score/WindowShortcuts.hpp"
#include "ui/seams/Beeper.hpp"
#include "ui/seams/Dialogs.hpp"

#include <QLineEdit>

namespace skorvin::ui {

void TfrmSkorvin::connectJournalKeys(WindowShortcuts& shortcuts)
{
    shortcuts.add(Qt::Key_Z, Qt::ControlModifier, [this] {
        // Nothing to undo only beeps, wherever the operator is typing.
        const bool asks = session_.journal().lastSave() != nullptr;
        runGuarded([this] { undoLastSave(); });
        tellJournalOff();
        if (asks)
            focusAndSelect(edtZKZ);
    });
    shortcuts.add(Qt::Key_J, Qt::ControlModifier, [this] { runGuarded([this] { openJournal(); }); });
}

void TfrmSkorvin::undoLastSave()
{
    using Kind = exam::ScoreEntrySession::ChangeOutcome::Kind;
    const exam::UndoableSave* last = session_.journal().lastSave();
    if (!last) {
        beep();
        return;
    }
    const exam::UndoableSave save = *last;
    const QString number = toQString(save.number);
    if (!Replaceable<Dialogs>::inForce().ask(ownerWindow(), QStringLiteral("确认"),
                                             QStringLiteral("撤销考生 %1 的分数 %2，恢复为 %3？")
                                                 .arg(number, scoreText(save.after), scoreText(save.before)),
                                             true))
        return;
    // Someone changed the score since the save: only the operator's Yes takes it back.
    const auto outcome = askThenForce([this](bool force) { return session_.undoLastSave(force); },
                                      [&](const exam::ScoreEntrySession::ChangeOutcome& conflict) {
                                          return QStringLiteral("考生 %1 的分数在保存后已被改为 %2。是否仍恢复为 %3？")
                                              .arg(number, scoreText(conflict.stored), scoreText(save.before));
                                      });
    if (outcome.kind == Kind::Conflict) {
        session_.keepStoredOnUndo(outcome.stored);
        LoadRecordToEdits();
        return;
    }
    if (outcome.kind == Kind::Gone) {
        ShowError(QStringLiteral("未能撤销：数据库中没有该考生"));
        return;
    }
    LoadRecordToEdits();
    UpdateRowStatus();
}

void TfrmSkorvin::openJournal()
{
    // A journal the window cannot read is one the saves cannot be trusted to reach either.
    const auto readFailed = [this](const std::string& reason) {
        runGuarded([this, &reason] {
            session_.journal().turnOff(reason);
            tellJournalOff();
        });
    };
    auto* journal = new JournalWindow(session_.journal().path(), readFailed, this);
    journal->setAttribute(Qt::WA_DeleteOnClose);
    connect(journal, &QDialog::finished, this, [this] { focusAndSelect(edtZKZ); });
    journal->open();
    journal->activateWindow();
}

void TfrmSkorvin::tellJournalOff()
{
    if (session_.journal().takeOffNotice())
        ShowInfo(
            QStringLiteral("登分日志已停用，登分照常进行。原因：%1").arg(toQString(session_.journal().offReason())));
}

} // namespace skorvin::ui
