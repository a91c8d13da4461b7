// Keying in one score: the two boxes' key filters, finding the candidate in the
// list, the checks on the score and the save.
#include "ui/frmSkorvin_UNIT.hpp"

#include "exam/CandidateList.hpp"
#include "exam/ScoreEntry.hpp"
#include "exam/ScoreSave.hpp"
#include "exam/ScoreSettings.hpp"
#include "platform/Exception.hpp"
#include "platform/Text.hpp"
#include "ui/Dialogs.hpp"
#include "ui/GbkText.hpp"
#include "ui/HandlerGuard.hpp"
#include "ui/TDataGrid.hpp"

#include <QLineEdit>

namespace skorvin::ui {

namespace {

std::string boxText(const QLineEdit* box)
{
    return toGbk(box->text());
}

// The box's text as it will be once a typed character has replaced its selection.
std::string textAfterTyping(const QLineEdit* box)
{
    QString text = box->text();
    if (box->hasSelectedText())
        text.remove(box->selectionStart(), box->selectedText().size());
    return toGbk(text);
}

} // namespace

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
    if (key != exam::kEnter)
        return;
    // A number found moves the focus on to the score box, which shows that candidate's own
    // score, so that a score never carries over from one candidate to another.
    LocateCandidate();
    edtFS->setText(toQString(Main_AdoSet.fieldText("tttt")));
    focusAndSelect(edtFS);
}

void TfrmSkorvin::edtFSKeyPress(char& key)
{
    // Read on every key, so a change in the settings dialog applies to the very next one.
    const exam::ScoreSettings settings = exam::ReadScoreSettings(exam::scoreSettingsPath());
    // Selected text is typed over, so it is judged without the selection.
    key = exam::filterScoreKey(textAfterTyping(edtFS), key, settings.Xs);
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
    // The settings may have changed since the score was typed, and Delete can leave ".5".
    if (!exam::isScoreText(score, settings.Xs)) {
        ShowError(toGbk(QStringLiteral("您输入的分数格式不正确！请重新输入！")));
        focusAndSelect(edtFS);
        Abort();
    }
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
    const std::string number = Main_AdoSet.fieldText("zkzh");
    // A number shown with "?" for what GBK cannot hold could name another candidate.
    if (!Main_AdoSet.fieldTextExact("zkzh")) {
        ShowError(
            toGbk(QStringLiteral("准考证号 %1 含有无法转换的字符，不能保存该考生的分数！").arg(toQString(number))));
        focusAndSelect(edtZKZ);
        Abort();
    }
    if (!confirmReplacingStoredScore(number, score))
        Abort();
    if (!exam::StoreScore(Save_ADOQ, score, number)) {
        // The candidate left the database after the list was read: nothing was stored.
        ShowError(toGbk(QStringLiteral("未能保存：数据库中没有该考生")));
        Abort();
    }

    // The database has the score; the list's own copy of the row follows it.
    putListScore(score);
    DataGrid1->markCurrentRow();
    LoadRecordToEdits();
}

bool TfrmSkorvin::confirmReplacingStoredScore(const std::string& number, const std::string& score)
{
    const auto stored = exam::ReadStoredScore(*Save_ADOQ.connection(), number);
    if (!stored) {
        ShowError(toGbk(QStringLiteral("未能保存：数据库中没有该考生")));
        return false;
    }
    // Another operator saved since the list was read: nobody is overwritten unasked.
    if (*stored == Main_AdoSet.fieldText("tttt"))
        return true;
    const QString before = stored->empty() ? QStringLiteral("（空）") : toQString(*stored);
    const QString question = QStringLiteral("考生 %1 在数据库中的分数已是 %2，与列表不同。是否用 %3 替换 %2？")
                                 .arg(toQString(number), before, toQString(score));
    if (dialogs().ask(ownerWindow(), QStringLiteral("确认"), question, false))
        return true;
    putListScore(*stored);
    focusAndSelect(edtFS);
    return false;
}

void TfrmSkorvin::putListScore(const std::string& score)
{
    Main_AdoSet.edit();
    Main_AdoSet.setFieldValue("tttt", score);
    try {
        Main_AdoSet.post();
    } catch (const std::exception&) {
        // A list left without rows has nothing to show the row in; any other failure is reported.
        if (!(Main_AdoSet.bof() && Main_AdoSet.eof()))
            throw;
    }
}

} // namespace skorvin::ui
