// Re-keying blind (复核): a second operator keys the same sheets without seeing the first entry,
// and every difference stops the cycle until the operator says which score stands.
#include "ui/score/frmSkorvin_UNIT.hpp"

#include "ui/common/GbkText.hpp"
#include "ui/grid/TDataGrid.hpp"
#include "ui/score/OrgTreeProgress.hpp"
#include "ui/seams/Dialogs.hpp"
#include "ui/widgets/BusyCursor.hpp"
#include "ui/widgets/TRadioGroup.hpp"

#include <QLabel>
#include <QLineEdit>

namespace skorvin::ui {

namespace {

const QString kCaption = QStringLiteral("四级主观题登分");
constexpr int kNotEntered = 0; // the display choices 未登分 and 已登分
constexpr int kEntered = 1;

} // namespace

void TfrmSkorvin::toggleVerifying()
{
    verifying_ = !verifying_;
    setWindowTitle(verifying_ ? kCaption + QStringLiteral(" — 复核") : kCaption);
    // The mode takes the keys' place, so the row count beside it stays whole at the window's size.
    StatusMode->setVisible(verifying_);
    StatusKeys->setVisible(!verifying_);
    {
        // The tree counts verified of entered in 复核, entered of all otherwise.
        const BusyCursor busy;
        session_.countVerified(verifying_);
        TreeView1Progress->setCounts(verifying_ ? static_cast<const exam::TreeCounts&>(session_.verifiedProgress())
                                                : session_.progress());
        fitTreeColumn();
    }
    if (verifying_) {
        DataGrid1->setShownText("tttt", [](const ado::FieldValue& score) {
            return score && !score->empty() ? QStringLiteral("已登分") : QString();
        });
        DataGrid1->setTickedRows([this](int viewRow) { return rowVerified(viewRow); });
        // Only an entered score can be verified; the choice made before comes back afterwards
        // (a changed choice lists anew as the operator's click does).
        if (RadioGroup1->itemIndex() == kNotEntered) {
            choiceBeforeVerifying_ = kNotEntered;
            RadioGroup1->setItemIndex(kEntered);
        }
    } else {
        DataGrid1->setShownText("tttt", {});
        DataGrid1->setTickedRows({});
        if (choiceBeforeVerifying_ >= 0)
            RadioGroup1->setItemIndex(choiceBeforeVerifying_);
        choiceBeforeVerifying_ = -1;
    }
    LoadRecordToEdits();
    UpdateRowStatus();
}

QString TfrmSkorvin::scoreBoxText(const exam::ScoreEntrySession::Candidate& candidate) const
{
    return verifying_ ? QString() : toQString(candidate.score);
}

bool TfrmSkorvin::rowVerified(int viewRow)
{
    // Asked while the indicator paints: a row that cannot be read is simply not ticked.
    try {
        if (!Main_AdoSet.active() || Main_AdoSet.controlsDisabled() || viewRow >= Main_AdoSet.recordCount())
            return false;
        const ado::FieldValue number = Main_AdoSet.viewValue(viewRow, DataGrid1->columnFieldIndex(0));
        const ado::FieldValue score = Main_AdoSet.viewValue(viewRow, DataGrid1->columnFieldIndex(2));
        return number && score && session_.verified(*number, *score);
    } catch (const std::exception&) {
        return false;
    }
}

void TfrmSkorvin::verifyScore()
{
    using Kind = exam::ScoreEntrySession::VerifyOutcome::Kind;
    if (!ValidateEntry() || !LocateCandidate())
        return;
    const auto outcome = [this] {
        const BusyCursor busy;
        return session_.verifyCurrent(toGbk(edtFS->text()));
    }();
    switch (outcome.kind) {
    case Kind::Verified:
        DataGrid1->markCurrentRow();
        DataGrid1->updateTicks();
        LoadRecordToEdits();
        return;
    case Kind::Differs:
        adjudicate(outcome);
        return;
    case Kind::NotEntered:
        ShowInfo(QStringLiteral("该考生尚未登分，不能复核"));
        break;
    case Kind::InexactNumber:
        ShowError(
            QStringLiteral("准考证号 %1 含有无法转换的字符，不能复核该考生的分数！").arg(toQString(outcome.number)));
        break;
    case Kind::Gone:
        ShowError(QStringLiteral("未能复核：数据库中没有该考生"));
        break;
    }
    focusAndSelect(edtZKZ);
}

void TfrmSkorvin::adjudicate(const exam::ScoreEntrySession::VerifyOutcome& differs)
{
    using Choice = exam::ScoreEntrySession::Adjudication;
    using Kind = exam::ScoreEntrySession::ChangeOutcome::Kind;
    enum Button { Adopt, Keep, KeyAgain };
    const QString stored = toQString(differs.stored);
    const QString keyed = toQString(differs.keyed);
    const int button = Replaceable<Dialogs>::inForce().choose(
        ownerWindow(), QStringLiteral("复核不一致"),
        QStringLiteral("考生 %1：原登分数为 %2，本次输入 %3。以哪个分数为准？")
            .arg(toQString(differs.number), stored, keyed),
        {QStringLiteral("采用本次"), QStringLiteral("保留原分"), QStringLiteral("重新输入")}, KeyAgain);
    if (button == Keep) {
        session_.adjudicate(differs, Choice::Keep, false);
    } else if (button == Adopt) {
        const auto outcome = askThenForce(
            [&](bool force) { return session_.adjudicate(differs, Choice::Adopt, force); },
            [&](const exam::ScoreEntrySession::ChangeOutcome& conflict) {
                return QStringLiteral("考生 %1 在数据库中的分数已是 %2，与复核时读到的 %3 不同。是否用 %4 替换 %2？")
                    .arg(toQString(conflict.number), scoreText(conflict.stored), stored, keyed);
            });
        if (outcome.kind == Kind::Conflict) {
            // The operator kept the score another operator stored.
            session_.keepStoredScore(outcome.stored);
            focusAndSelect(edtFS);
            return;
        }
        if (outcome.kind == Kind::Gone) {
            ShowError(QStringLiteral("未能保存：数据库中没有该考生"));
            focusAndSelect(edtZKZ);
            return;
        }
    } else {
        // 重新输入: nothing recorded, the score keyed again over the one selected.
        focusAndSelect(edtFS);
        return;
    }
    DataGrid1->markCurrentRow();
    DataGrid1->updateTicks();
    LoadRecordToEdits();
}

} // namespace skorvin::ui
