#include "exam/ScoreEntrySession.hpp"

#include "exam/ExportGrid.hpp"
#include "exam/JournalVerifications.hpp"
#include "exam/ScoreEntry.hpp"
#include "exam/StandardInfo.hpp"
#include "exam/TDataGridExport.hpp"
#include "exam/TDataGridExportAsWorkbook.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/Text.hpp"

namespace skorvin::exam {

namespace {

JournalEvent::Outcome journalOutcome(ScoreApplied::Kind kind)
{
    switch (kind) {
    case ScoreApplied::Kind::Applied:
        return JournalEvent::Outcome::Saved;
    case ScoreApplied::Kind::Conflict:
        return JournalEvent::Outcome::Refused;
    case ScoreApplied::Kind::Gone:
        break;
    }
    return JournalEvent::Outcome::Failed;
}

std::string journalDetail(ScoreApplied::Kind kind, JournalEvent::Action action)
{
    switch (kind) {
    case ScoreApplied::Kind::Applied:
        break;
    case ScoreApplied::Kind::Conflict:
        if (action == JournalEvent::Action::Adopt)
            return "stored score changed since the comparison";
        return action == JournalEvent::Action::Save ? "stored score differs from the list"
                                                    : "stored score changed since the save";
    case ScoreApplied::Kind::Gone:
        return "candidate not in database";
    }
    return {};
}

ScoreEntrySession::ChangeOutcome::Kind changeKind(ScoreApplied::Kind kind)
{
    using Kind = ScoreEntrySession::ChangeOutcome::Kind;
    switch (kind) {
    case ScoreApplied::Kind::Applied:
        return Kind::Applied;
    case ScoreApplied::Kind::Conflict:
        return Kind::Conflict;
    case ScoreApplied::Kind::Gone:
        break;
    }
    return Kind::Gone;
}

// The sheet walks the list with its controls frozen; afterwards the list goes back to the row it
// was on, with the same rows around it (as after the export), and the controls follow it again.
class FrozenControls {
public:
    FrozenControls(ado::TCustomADODataSet& list, ExportGrid& grid) : list_(list), grid_(grid)
    {
        list_.disableControls();
        grid_.SaveGridPosition();
    }
    ~FrozenControls()
    {
        try {
            grid_.RestoreGridPosition();
        } catch (const std::exception&) {
            // A list the walk could not leave on a row keeps the row it is on.
        }
        list_.enableControls();
    }
    FrozenControls(const FrozenControls&) = delete;
    FrozenControls& operator=(const FrozenControls&) = delete;

private:
    ado::TCustomADODataSet& list_;
    ExportGrid& grid_;
};

} // namespace

ScoreEntrySession::ScoreEntrySession(ModuleState& state, const HostFiles& files)
    : state_(state), settings_(files.settings), journal_(files.journal),
      verifications_(std::make_unique<JournalVerifications>(journal_))
{
}

void ScoreEntrySession::bind()
{
    // Both components borrow the host's connection; the session opens none of its own.
    Main_AdoSet.setConnection(state_.HostConnection);
    Save_ADOQ.setConnection(state_.HostConnection);
    if (!state_.HostConnection)
        throw EDatabaseError("Missing Connection or ConnectionString");
    state_.SchemaGeneration = CheckDbVersion(*state_.HostConnection);
    state_.SiteCodeLen = SiteCodeLength(state_.SchemaGeneration);
}

int ScoreEntrySession::start(OrgTree& tree)
{
    if (!state_.HostConnection)
        throw EDatabaseError("Missing Connection or ConnectionString");
    BuildOrgTree(tree, *state_.HostConnection);
    const TSysSetting settings(*state_.HostConnection);
    state_.CurrentLevel = settings.jb;
    state_.CurrentCode = settings.dm;
    reportTitle_ = ComposeReportTitle(settings.date);
    return SelectOrgNode(tree, state_.CurrentLevel, state_.CurrentCode);
}

void ScoreEntrySession::readProgress(const OrgTree& tree)
{
    if (!state_.HostConnection)
        throw EDatabaseError("Missing Connection or ConnectionString");
    try {
        progress_.read(*state_.HostConnection, tree, state_.SiteCodeLen);
    } catch (const std::exception&) {
        // The counts are an aid: a server that cannot count leaves the tree without them,
        // and the window works on.
        progress_.clear();
    }
    if (countingVerified_)
        readVerifiedProgress();
}

void ScoreEntrySession::selectNode(const SelectedNode& node, int displayChoice)
{
    organisation_ = node.text;
    // Before the list opens, so that its rows are checked once.
    rereadMaximum();
    RefreshCandidateList(Main_AdoSet, state_, node);
    applyDisplayChoice(displayChoice);
}

void ScoreEntrySession::reread(const OrgTree& tree, const std::optional<SelectedNode>& node, int displayChoice)
{
    const std::optional<Candidate> was = current();
    readProgress(tree);
    if (!node)
        return;
    selectNode(*node, displayChoice);
    if (was)
        locate(was->number);
}

void ScoreEntrySession::applyDisplayChoice(int index)
{
    ApplyStatusFilter(Main_AdoSet, index);
}

ScoreSettings ScoreEntrySession::settings() const
{
    return settings_.read();
}

void ScoreEntrySession::rereadMaximum()
{
    aboveMaximum_.setMaximum(settings().Up);
}

char ScoreEntrySession::filterScoreKey(const std::string& textAfterTyping, char key) const
{
    return exam::filterScoreKey(textAfterTyping, key, settings().Xs);
}

bool ScoreEntrySession::locate(const std::string& number)
{
    try {
        // The search ignores the display filter, so every row of the list is searched; it is
        // a binary search over the number index the list keeps, not a sorted copy per Enter.
        const auto found = Main_AdoSet.seekEqual("zkzh", text::trim(number));
        if (!found)
            return false;
        Main_AdoSet.gotoBookmark(*found);
        return !Main_AdoSet.bof() && !Main_AdoSet.eof();
    } catch (const std::exception&) {
        // A closed list, a row the filter hides: the number is simply not there.
        return false;
    }
}

MissingCandidate ScoreEntrySession::explainMissing(const std::string& number, const OrgTree& tree) const
{
    if (!state_.HostConnection)
        throw EDatabaseError("Missing Connection or ConnectionString");
    return explainMissingCandidate(*state_.HostConnection, Main_AdoSet, tree, state_.SiteCodeLen, number);
}

ScoreEntrySession::Check ScoreEntrySession::validate(const std::string& number, const std::string& score) const
{
    if (text::trim(number).empty())
        return Check::NumberMissing;
    if (text::trim(score).empty())
        return Check::ScoreMissing;
    const ScoreSettings now = settings();
    // The settings may have changed since the score was typed, and Delete can leave ".5".
    if (!isScoreText(score, now.Xs))
        return Check::ScoreMalformed;
    if (exceedsMaximum(score, now.Up))
        return Check::AboveMaximum;
    return Check::Ok;
}

ScoreEntrySession::ChangeOutcome ScoreEntrySession::storeCurrent(const std::string& scoreBoxText, bool replaceStored)
{
    const std::string score = scoreTextToStore(scoreBoxText);
    const std::string number = Main_AdoSet.fieldText("zkzh");
    JournalEvent event{
        JournalEvent::Action::Save, JournalEvent::Outcome::Refused, organisation_, number, {}, score, {}};
    // A number shown with "?" for what GBK cannot hold could name another candidate.
    if (!Main_AdoSet.fieldTextExact("zkzh")) {
        event.detail = "inexact number";
        journal_.record(event);
        return {ChangeOutcome::Kind::InexactNumber, number, {}};
    }
    return writeScore(event, {number, Main_AdoSet.fieldText("tttt"), score}, replaceStored);
}

ScoreEntrySession::ChangeOutcome ScoreEntrySession::writeScore(const JournalEvent& event, const ScoreChange& change,
                                                               bool force)
{
    const ScoreApplied applied = applyJournaled(event, change, force);
    if (applied.kind == ScoreApplied::Kind::Applied) {
        journal_.pushSave({organisation_, change.zkzh, applied.stored, *change.score});
        // The database has the score; the list's own copy of the row follows it, and the counts
        // move from the score the list showed, which is the one they counted.
        putListScore(change.score);
        scoreMoved(change.zkzh, change.expected, change.score);
    }
    return {changeKind(applied.kind), change.zkzh, applied.stored.value_or("")};
}

ScoreEntrySession::ChangeOutcome ScoreEntrySession::undoLastSave(bool replaceStored)
{
    const UndoableSave* last = journal_.lastSave();
    if (!last)
        throw EDatabaseError("No save to undo");
    const UndoableSave save = *last;
    JournalEvent event{
        JournalEvent::Action::Undo, JournalEvent::Outcome::Failed, save.organisation, save.number, {}, save.before, {}};
    const ScoreApplied applied = applyJournaled(event, {save.number, save.after, save.before}, replaceStored);
    // A refused undo stays on the list; once the candidate is gone nothing is left to take back.
    if (applied.kind != ScoreApplied::Kind::Conflict)
        journal_.popSave();
    if (applied.kind == ScoreApplied::Kind::Applied) {
        putRowScore(save.number, save.before);
        scoreMoved(save.number, save.after, save.before);
    }
    return {changeKind(applied.kind), save.number, applied.stored.value_or("")};
}

ScoreApplied ScoreEntrySession::applyJournaled(JournalEvent event, const ScoreChange& change, bool force)
{
    ScoreApplied applied;
    try {
        applied = applyScore(Save_ADOQ, change, force);
    } catch (const std::exception& e) {
        event.outcome = JournalEvent::Outcome::Failed;
        event.detail = e.what();
        journal_.record(event);
        throw;
    }
    event.before = applied.stored;
    event.outcome = journalOutcome(applied.kind);
    event.detail = journalDetail(applied.kind, event.action);
    journal_.record(event);
    return applied;
}

void ScoreEntrySession::keepStoredOnUndo(const std::string& stored)
{
    if (const UndoableSave* last = journal_.lastSave()) {
        const UndoableSave save = *last;
        journal_.popSave();
        putRowScore(save.number, stored);
        scoreMoved(save.number, save.after, stored);
    }
}

void ScoreEntrySession::keepStoredScore(const std::string& stored)
{
    const std::string number = Main_AdoSet.fieldText("zkzh");
    const std::string listed = Main_AdoSet.fieldText("tttt");
    putListScore(stored);
    scoreMoved(number, listed, stored);
}

void ScoreEntrySession::putRowScore(const std::string& number, const ado::FieldValue& score)
{
    // A candidate of another organisation is not in the list: the list stays where it is.
    if (!listHolds(number))
        return;
    if (locate(number)) {
        putListScore(score);
        return;
    }
    // The display choice hides the row; it is put while nothing is hidden, and is current
    // afterwards when the choice shows it.
    Main_AdoSet.setFiltered(false);
    if (locate(number))
        putListScore(score);
    Main_AdoSet.setFiltered(true);
    locate(number);
}

bool ScoreEntrySession::listHolds(const std::string& number) const
{
    try {
        return Main_AdoSet.seekEqual("zkzh", number).has_value();
    } catch (const std::exception&) {
        return false; // a closed list holds nobody
    }
}

void ScoreEntrySession::putListScore(const ado::FieldValue& score)
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

void ScoreEntrySession::exportList(ExportGrid& grid, const std::filesystem::path& fileName)
{
    // Every row of the list, whatever rows are marked.
    ExportGridToFile(exportClassOf<TDataGridExportAsText>, grid, fileName, true);
}

void ScoreEntrySession::exportWorkbook(ExportGrid& grid, const std::filesystem::path& fileName)
{
    // A node's text is its code, "-" and its name ("110101-第一考点").
    const std::size_t dash = organisation_.find('-');
    const std::string code = organisation_.substr(0, dash);
    const std::string name = dash == std::string::npos ? std::string() : organisation_.substr(dash + 1);
    TDataGridExportAsWorkbook exporter;
    exporter.Grid = &grid;
    exporter.SheetName = name.empty() ? organisation_ : name;
    exporter.NumberFields = {"tttt"};
    exporter.ExtraColumns = {{gbk::fromUtf8("机构代码"), code}, {gbk::fromUtf8("机构名称"), name}};
    exporter.SendToFile(fileName, true);
}

std::string ScoreEntrySession::reportHeading(const std::string& nodeText)
{
    const int dash = text::pos("-", nodeText);
    const std::string name = dash > 0 ? text::mid(nodeText, dash + 1, static_cast<int>(nodeText.size())) : "";
    return name + gbk::fromUtf8("四级主观题登分表");
}

SheetFeed ScoreEntrySession::sheetFeed()
{
    const auto trimmed = [this](const char* field) { return text::trim(Main_AdoSet.fieldText(field)); };
    const auto value = [trimmed](const std::string& name) -> std::optional<std::string> {
        // Exactly these three; every other name is the engine's to resolve.
        if (name == "ZKZH")
            return trimmed("zkzh");
        if (name == "XM")
            return trimmed("xm");
        if (name == "FS")
            return trimmed("tttt");
        return std::nullopt;
    };
    return {reportTitle_,
            reportHeading(organisation_),
            Main_AdoSet.recordCount(),
            [this] { Main_AdoSet.first(); },
            [this] { Main_AdoSet.next(); },
            value};
}

void ScoreEntrySession::printList(ExportGrid& grid, const std::function<void(const SheetFeed&)>& print)
{
    const FrozenControls frozen(Main_AdoSet, grid);
    print(sheetFeed());
}

std::optional<ScoreEntrySession::Candidate> ScoreEntrySession::current() const
{
    if (!Main_AdoSet.active() || Main_AdoSet.isEmpty())
        return std::nullopt;
    return Candidate{Main_AdoSet.fieldText("zkzh"), Main_AdoSet.fieldText("xm"), Main_AdoSet.fieldText("tttt")};
}

} // namespace skorvin::exam
