// Keying in one score: the two boxes' key filters, finding the candidate in the
// list, the checks on the score and the save.
#include "ui/score/frmSkorvin_UNIT.hpp"

#include "exam/ScoreEntry.hpp"
#include "platform/Text.hpp"
#include "ui/common/GbkText.hpp"
#include "ui/common/HandlerGuard.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/seams/Dialogs.hpp"
#include "ui/widgets/BusyCursor.hpp"

#include <QLineEdit>

#include <optional>

namespace skorvin::ui {

namespace {

std::string boxText(const QLineEdit* box)
{
    return toGbk(box->text());
}

// What the operator reads when a number is not in the list shown, and what to do about it; while
// verifying, a stored score is not named.
QString notFoundText(const exam::MissingCandidate& missing, const std::string& number, const exam::OrgTree& tree,
                     bool verifying)
{
    using Kind = exam::MissingCandidate::Kind;
    const QString shown = toQString(text::trim(number));
    switch (missing.kind) {
    case Kind::Hidden:
        if (missing.scored && verifying)
            return QStringLiteral("准考证号 %1 的考生已登分。“显示”选“未登分”时不列出已登分的考生，"
                                  "请在“显示”中选“已登分”或“所有”。")
                .arg(shown);
        if (missing.scored)
            return QStringLiteral("准考证号 %1 的考生已登分，分数为 %2。“显示”选“未登分”时不列出已登分的考生，"
                                  "请在“显示”中选“已登分”或“所有”。")
                .arg(shown, missing.stored.empty() ? QStringLiteral("（空）") : toQString(missing.stored));
        return QStringLiteral("准考证号 %1 的考生尚未登分。“显示”选“已登分”时不列出未登分的考生，"
                              "请在“显示”中选“未登分”或“所有”。")
            .arg(shown);
    case Kind::Elsewhere:
        return QStringLiteral("准考证号 %1 的考生属于“%2”，不在当前列表中。请在机构列表中选择该机构。")
            .arg(shown, toQString(tree.node(missing.organisation).text));
    case Kind::Nowhere:
        break;
    }
    return QStringLiteral("您输入的考生准考证号码不存在！请确认后重新输入！");
}

} // namespace

// Runs the box's key filter on a key. A filter that fails has shown its own box, and Enter is
// used up by the filter itself: neither reaches the box, and neither beeps.
KeyFilteredBox::Verdict TfrmSkorvin::filterKey(QLineEdit* box, const QString& textBefore, char typed)
{
    using Verdict = KeyFilteredBox::Verdict;
    std::optional<char> result; // set only when the filter ran to its end
    runGuarded([&] {
        char key = typed;
        if (box == edtZKZ)
            edtZKZKeyPress(key);
        else
            edtFSKeyPress(toGbk(textBefore), key);
        result = key;
    });
    // Enter in the score box is the same action as 确定.
    if (box == edtFS && result == exam::kEnter)
        saveScore();
    if (!result || *result == exam::kEnter)
        return Verdict::Handled;
    return *result == exam::kNoKey ? Verdict::Refuse : Verdict::Take;
}

void TfrmSkorvin::edtZKZKeyPress(char& key)
{
    key = exam::filterAdmissionKey(key);
    if (key != exam::kEnter || !LocateCandidate())
        return;
    // A number found moves the focus on to the score box, which shows that candidate's own
    // score, so that a score never carries over from one candidate to another.
    edtFS->setText(scoreBoxText(*session_.current()));
    focusAndSelect(edtFS);
}

void TfrmSkorvin::edtFSKeyPress(const std::string& textBefore, char& key)
{
    // The settings are asked for on every key (and read again when the file may have changed),
    // so a change in the settings dialog applies to the very next one.
    key = session_.filterScoreKey(textBefore, key);
}

bool TfrmSkorvin::LocateCandidate()
{
    DataGrid1->unmarkCurrentRow();
    const std::string number = boxText(edtZKZ);
    if (!session_.locate(number)) {
        // Set before the statement runs, so that its failure's error box also leaves the focus here.
        focusAndSelect(edtZKZ);
        ShowInfo(notFoundText(session_.explainMissing(number, orgTree_), number, orgTree_, verifying_));
        focusAndSelect(edtZKZ);
        return false;
    }
    focusAndSelect(edtFS);
    DataGrid1->markCurrentRow();
    return true;
}

void TfrmSkorvin::entryBoxEscape()
{
    // In 分数 Esc takes back what was typed: the located candidate's score as the list holds it.
    if (focusWidget() == edtFS) {
        if (const auto candidate = session_.current())
            edtFS->setText(scoreBoxText(*candidate));
        edtFS->selectAll();
    } else if (focusWidget() == edtZKZ) {
        edtZKZ->selectAll();
    }
}

bool TfrmSkorvin::ValidateEntry()
{
    using Check = exam::ScoreEntrySession::Check;
    switch (session_.validate(boxText(edtZKZ), boxText(edtFS))) {
    case Check::Ok:
        return true;
    case Check::NumberMissing:
        ShowInfo(QStringLiteral("请输入准考证号码！"));
        focusAndSelect(edtZKZ);
        break;
    case Check::ScoreMissing:
        ShowInfo(QStringLiteral("请输入分数！"));
        edtFS->setFocus(Qt::OtherFocusReason);
        break;
    case Check::ScoreMalformed:
        ShowError(QStringLiteral("您输入的分数格式不正确！请重新输入！"));
        focusAndSelect(edtFS);
        break;
    case Check::AboveMaximum:
        ShowError(QStringLiteral("您输入的分数大于了满分值！请重新输入！"));
        focusAndSelect(edtFS);
        break;
    }
    return false;
}

void TfrmSkorvin::saveScore()
{
    runGuarded([this] { verifying_ ? verifyScore() : spbtnSaveClick(); });
    // The save is the moment to hear that journaling is off.
    tellJournalOff();
}

void TfrmSkorvin::spbtnSaveClick()
{
    using Kind = exam::ScoreEntrySession::ChangeOutcome::Kind;
    if (!ValidateEntry() || !LocateCandidate())
        return;
    const std::string score = exam::scoreTextToStore(boxText(edtFS));
    const auto outcome =
        askThenForce([this](bool force) { return session_.storeCurrent(boxText(edtFS), force); },
                     [&score](const exam::ScoreEntrySession::ChangeOutcome& conflict) {
                         return QStringLiteral("考生 %1 在数据库中的分数已是 %2，与列表不同。"
                                               "是否用 %3 替换 %2？")
                             .arg(toQString(conflict.number), scoreText(conflict.stored), toQString(score));
                     });
    switch (outcome.kind) {
    case Kind::Applied:
        DataGrid1->markCurrentRow();
        LoadRecordToEdits();
        return;
    case Kind::Conflict:
        // The operator kept the score another operator stored.
        session_.keepStoredScore(outcome.stored);
        focusAndSelect(edtFS);
        return;
    case Kind::InexactNumber:
        ShowError(
            QStringLiteral("准考证号 %1 含有无法转换的字符，不能保存该考生的分数！").arg(toQString(outcome.number)));
        break;
    case Kind::Gone:
        // The candidate left the database after the list was read: nothing was stored, and
        // the next number is what comes now.
        ShowError(QStringLiteral("未能保存：数据库中没有该考生"));
        break;
    }
    focusAndSelect(edtZKZ);
}

exam::ScoreEntrySession::ChangeOutcome TfrmSkorvin::askThenForce(const ScoreChanger& change,
                                                                 const ConflictQuestion& question)
{
    using Kind = exam::ScoreEntrySession::ChangeOutcome::Kind;
    // A change may wait on a row another session holds, up to the command time-out.
    const auto run = [&change](bool force) {
        const BusyCursor busy;
        return change(force);
    };
    const auto outcome = run(false);
    // Nobody's score is replaced without the operator's Yes; No is the default.
    if (outcome.kind != Kind::Conflict ||
        !Replaceable<Dialogs>::inForce().ask(ownerWindow(), QStringLiteral("确认"), question(outcome), false))
        return outcome;
    return run(true);
}

QString TfrmSkorvin::scoreText(const ado::FieldValue& score)
{
    return score && !score->empty() ? toQString(*score) : QStringLiteral("（空）");
}

} // namespace skorvin::ui
