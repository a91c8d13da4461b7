// Keying in one score: the two boxes' key filters, finding the candidate in the
// list, the checks on the score and the save.
#include "ui/frmSkorvin_UNIT.hpp"

#include "exam/CandidateList.hpp"
#include "exam/ScoreEntry.hpp"
#include "exam/ScoreSettings.hpp"
#include "platform/Exception.hpp"
#include "platform/Text.hpp"
#include "ui/Dialogs.hpp"
#include "ui/GbkText.hpp"
#include "ui/HandlerGuard.hpp"
#include "ui/TDataGrid.hpp"

#include <QKeyEvent>
#include <QLineEdit>

#include <optional>

namespace skorvin::ui {

namespace {

// Any character the filters refuse; stands for keys outside ASCII and for Ctrl or Alt
// combinations (so Ctrl+V pastes nothing into a box, as its key filter wants).
constexpr char kOtherCharacter = 1;

// The character a key press types, or nothing for keys that type none (arrows, Delete, F-keys).
std::optional<char> typedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return exam::kEnter;
    if (event.key() == Qt::Key_Backspace)
        return exam::kBackspace;
    const QString text = event.text();
    if (text.isEmpty() || event.key() == Qt::Key_Escape || event.key() == Qt::Key_Tab)
        return std::nullopt;
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return kOtherCharacter;
    const char16_t unit = text.at(0).unicode();
    if (text.size() != 1 || unit < 0x20 || unit >= 0x7F)
        return kOtherCharacter;
    return static_cast<char>(unit);
}

std::string boxText(const QLineEdit* box) { return toGbk(box->text()); }

} // namespace

bool TfrmSkorvin::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == edtZKZ || watched == edtFS)) {
        const auto typed = typedCharacter(*static_cast<QKeyEvent*>(event));
        if (typed)
            return !filterKey(static_cast<QLineEdit*>(watched), *typed);
    }
    return QDialog::eventFilter(watched, event);
}

// Runs the box's key filter; true when the box should take the key. A filter that
// fails or aborts loses the key; Enter is used up by the filter itself.
bool TfrmSkorvin::filterKey(QLineEdit* box, char typed)
{
    char result = exam::kNoKey;
    runGuarded([&] {
        char key = typed;
        if (box == edtZKZ)
            edtZKZKeyPress(key);
        else
            edtFSKeyPress(key);
        result = key;
    });
    return result != exam::kNoKey && result != exam::kEnter;
}

void TfrmSkorvin::edtZKZKeyPress(char& key)
{
    key = exam::filterAdmissionKey(key);
    // A number found moves the focus on to the score box.
    if (key == exam::kEnter)
        LocateCandidate();
}

void TfrmSkorvin::edtFSKeyPress(char& key)
{
    // Read on every key, so a change in the settings dialog applies to the very next one.
    const exam::ScoreSettings settings = exam::ReadScoreSettings(exam::scoreSettingsPath());
    key = exam::filterScoreKey(boxText(edtFS), key, settings.Xs);
    if (key == exam::kEnter)
        spbtnSaveClick();
}

bool TfrmSkorvin::LocateCandidate()
{
    DataGrid1->unmarkCurrentRow();
    bool found = false;
    try {
        // The sorted copy ignores the display filter, so every row of the list is searched.
        auto copy = Main_AdoSet.cloneReadOnly();
        copy->setSort("zkzh");
        if (copy->findEqual("zkzh", text::trim(boxText(edtZKZ)))) {
            Main_AdoSet.gotoBookmark(copy->bookmark());
            found = !Main_AdoSet.bof() && !Main_AdoSet.eof();
        }
    } catch (const std::exception&) {
        // A closed list, a row the filter hides: the number is simply not there.
        found = false;
    }
    if (!found) {
        ShowInfo(toGbk(QStringLiteral("您输入的考生准考证号码不存在！请确认后重新输入！")));
        focusAndSelect(edtZKZ);
        Abort();
    }
    focusAndSelect(edtFS);
    DataGrid1->markCurrentRow();
    return true;
}

bool TfrmSkorvin::ValidateEntry()
{
    if (text::trim(boxText(edtZKZ)).empty()) {
        ShowInfo(toGbk(QStringLiteral("请输入准考证号码！")));
        focusAndSelect(edtZKZ);
        Abort();
    }
    const std::string score = text::trim(boxText(edtFS));
    if (score.empty()) {
        ShowInfo(toGbk(QStringLiteral("请输入分数！")));
        edtFS->setFocus(Qt::OtherFocusReason);
        Abort();
    }
    const exam::ScoreSettings settings = exam::ReadScoreSettings(exam::scoreSettingsPath());
    if (exam::exceedsMaximum(score, settings.Up)) {
        ShowError(toGbk(QStringLiteral("您输入的分数大于了满分值！请重新输入！")));
        focusAndSelect(edtFS);
        Abort();
    }
    return true;
}

void TfrmSkorvin::spbtnSaveClick()
{
    ValidateEntry();
    LocateCandidate();
    if (Main_AdoSet.isEmpty())
        return;
    const std::string score = exam::scoreTextToStore(boxText(edtFS));

    Save_ADOQ.clearSql();
    Save_ADOQ.setSql(exam::ScoreUpdateSql(score, Main_AdoSet.fieldText("zkzh")));
    if (Save_ADOQ.execSql() == 0) {
        // The candidate left the database after the list was read: nothing was stored.
        ShowError(toGbk(QStringLiteral("未能保存：数据库中没有该考生")));
        Abort();
    }

    // The database has the score; the list's own copy of the row follows it.
    Main_AdoSet.edit();
    Main_AdoSet.setFieldValue("tttt", score);
    try {
        Main_AdoSet.post();
    } catch (const std::exception&) {
        // A list left without rows has nothing to show the row in; any other failure is reported.
        if (!(Main_AdoSet.bof() && Main_AdoSet.eof()))
            throw;
    }
    DataGrid1->markCurrentRow();
    LoadRecordToEdits();
}

} // namespace skorvin::ui
