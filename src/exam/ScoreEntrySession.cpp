#include "exam/ScoreEntrySession.hpp"

#include "exam/ScoreEntry.hpp"
#include "exam/ScoreSave.hpp"
#include "exam/StandardInfo.hpp"
#include "exam/TDataGridExport.hpp"
#include "exam/TDataGridExportAsWorkbook.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/Text.hpp"

namespace skorvin::exam {

namespace {

// Runs a step that fills event in, and journals event however the step ends: a failure
// with the provider's text, before it goes on to the caller.
template <typename Step> auto journaled(ScoreJournal& journal, JournalEvent& event, Step step) -> decltype(step())
{
    try {
        auto outcome = step();
        journal.record(event);
        return outcome;
    } catch (const std::exception& e) {
        event.outcome = JournalEvent::Outcome::Failed;
        event.detail = e.what();
        journal.record(event);
        throw;
    }
}

} // namespace

ScoreEntrySession::ScoreEntrySession(ModuleState& state, std::string settingsPath)
    : state_(state), settingsPath_(std::move(settingsPath)), journal_(ScoreJournal::pathBeside(settingsPath_))
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

ScoreEntrySession::Start ScoreEntrySession::start(OrgTree& tree)
{
    if (!state_.HostConnection)
        throw EDatabaseError("Missing Connection or ConnectionString");
    BuildOrgTree(tree, *state_.HostConnection);
    const TSysSetting settings(*state_.HostConnection);
    state_.CurrentLevel = settings.jb;
    state_.CurrentCode = settings.dm;
    return {SelectOrgNode(tree, state_.CurrentLevel, state_.CurrentCode), ComposeReportTitle(settings.date)};
}

void ScoreEntrySession::selectNode(const SelectedNode& node, int displayChoice)
{
    organisation_ = node.text;
    RefreshCandidateList(Main_AdoSet, state_, node);
    applyDisplayChoice(displayChoice);
}

void ScoreEntrySession::applyDisplayChoice(int index)
{
    ApplyStatusFilter(Main_AdoSet, index);
}

ScoreSettings ScoreEntrySession::settings() const
{
    return ReadScoreSettings(settingsPath_);
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

ScoreEntrySession::SaveOutcome ScoreEntrySession::storeCurrent(const std::string& scoreBoxText, bool replaceStored)
{
    const std::string score = scoreTextToStore(scoreBoxText);
    JournalEvent event{JournalEvent::Action::Save, JournalEvent::Outcome::Saved, organisation_, {}, {}, score, {}};
    return journaled(journal_, event, [&] { return storeAndJournal(score, replaceStored, event); });
}

ScoreEntrySession::SaveOutcome ScoreEntrySession::storeAndJournal(const std::string& score, bool replaceStored,
                                                                  JournalEvent& event)
{
    using Kind = SaveOutcome::Kind;
    SaveOutcome outcome{Kind::Saved, Main_AdoSet.fieldText("zkzh"), {}};
    event.number = outcome.number;
    event.outcome = JournalEvent::Outcome::Refused;
    // A number shown with "?" for what GBK cannot hold could name another candidate.
    if (!Main_AdoSet.fieldTextExact("zkzh")) {
        outcome.kind = Kind::InexactNumber;
        event.detail = "inexact number";
        return outcome;
    }
    if (!Save_ADOQ.connection())
        throw EDatabaseError("Save_ADOQ: Missing Connection or ConnectionString");
    const auto stored = readStoredValue(*Save_ADOQ.connection(), outcome.number);
    event.outcome = JournalEvent::Outcome::Failed;
    if (!stored) {
        outcome.kind = Kind::Gone;
        event.detail = "candidate not in database";
        return outcome;
    }
    event.before = *stored;
    // Another operator saved since the list was read: nobody is overwritten unasked.
    if (!replaceStored && stored->value_or("") != Main_AdoSet.fieldText("tttt")) {
        outcome.kind = Kind::Conflict;
        outcome.stored = stored->value_or("");
        event.outcome = JournalEvent::Outcome::Refused;
        event.detail = "stored score differs from the list";
        return outcome;
    }
    if (!storeScore(Save_ADOQ, score, outcome.number)) {
        outcome.kind = Kind::Gone;
        event.detail = "candidate not in database";
        return outcome;
    }
    event.outcome = JournalEvent::Outcome::Saved;
    journal_.pushSave({organisation_, outcome.number, *stored, score});
    // The database has the score; the list's own copy of the row follows it.
    putListScore(score);
    return outcome;
}

ScoreEntrySession::UndoOutcome ScoreEntrySession::undoLastSave(bool replaceStored)
{
    const UndoableSave* last = journal_.lastSave();
    if (!last)
        throw EDatabaseError("No save to undo");
    const UndoableSave save = *last;
    JournalEvent event{
        JournalEvent::Action::Undo, JournalEvent::Outcome::Failed, save.organisation, save.number, {}, save.before, {}};
    return journaled(journal_, event, [&] { return undoAndJournal(save, replaceStored, event); });
}

ScoreEntrySession::UndoOutcome ScoreEntrySession::undoAndJournal(const UndoableSave& save, bool replaceStored,
                                                                 JournalEvent& event)
{
    using Kind = UndoOutcome::Kind;
    if (!Save_ADOQ.connection())
        throw EDatabaseError("Save_ADOQ: Missing Connection or ConnectionString");
    const auto stored = readStoredValue(*Save_ADOQ.connection(), save.number);
    // Nothing is left to take back once the candidate is gone.
    if (!stored) {
        journal_.popSave();
        event.detail = "candidate not in database";
        return {Kind::Gone, {}};
    }
    event.before = *stored;
    // Someone changed the score since this window saved it: their score is never silently undone.
    if (!replaceStored && stored->value_or("") != save.after) {
        event.outcome = JournalEvent::Outcome::Refused;
        event.detail = "stored score changed since the save";
        return {Kind::Conflict, stored->value_or("")};
    }
    if (!storeScore(Save_ADOQ, save.before, save.number)) {
        journal_.popSave();
        event.detail = "candidate not in database";
        return {Kind::Gone, {}};
    }
    journal_.popSave();
    event.outcome = JournalEvent::Outcome::Saved;
    putRowScore(save.number, save.before);
    return {Kind::Undone, {}};
}

void ScoreEntrySession::keepStoredOnUndo(const std::string& stored)
{
    if (const UndoableSave* last = journal_.lastSave()) {
        const std::string number = last->number;
        journal_.popSave();
        putRowScore(number, stored);
    }
}

void ScoreEntrySession::keepStoredScore(const std::string& stored)
{
    putListScore(stored);
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

std::optional<std::string> ScoreEntrySession::reportValue(const std::string& name) const
{
    // Exactly these three; every other name is the engine's to resolve.
    if (name == "ZKZH")
        return text::trim(Main_AdoSet.fieldText("zkzh"));
    if (name == "XM")
        return text::trim(Main_AdoSet.fieldText("xm"));
    if (name == "FS")
        return text::trim(Main_AdoSet.fieldText("tttt"));
    return std::nullopt;
}

} // namespace skorvin::exam
