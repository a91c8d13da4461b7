#include "exam/ScoreEntrySession.hpp"

#include "exam/ScoreEntry.hpp"
#include "exam/ScoreSave.hpp"
#include "exam/StandardInfo.hpp"
#include "exam/TDataGridExport.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/Text.hpp"

namespace skorvin::exam {

ScoreEntrySession::ScoreEntrySession(ModuleState& state, std::string settingsPath)
    : state_(state), settingsPath_(std::move(settingsPath))
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
        // The sorted copy ignores the display filter, so every row of the list is searched.
        auto copy = Main_AdoSet.cloneReadOnly();
        copy->setSort("zkzh");
        if (!copy->findEqual("zkzh", text::trim(number)))
            return false;
        Main_AdoSet.gotoBookmark(copy->bookmark());
        return !Main_AdoSet.bof() && !Main_AdoSet.eof();
    } catch (const std::exception&) {
        // A closed list, a row the filter hides: the number is simply not there.
        return false;
    }
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
    using Kind = SaveOutcome::Kind;
    const std::string score = scoreTextToStore(scoreBoxText);
    SaveOutcome outcome{Kind::Saved, Main_AdoSet.fieldText("zkzh"), {}};
    // A number shown with "?" for what GBK cannot hold could name another candidate.
    if (!Main_AdoSet.fieldTextExact("zkzh")) {
        outcome.kind = Kind::InexactNumber;
        return outcome;
    }
    if (!Save_ADOQ.connection())
        throw EDatabaseError("Save_ADOQ: Missing Connection or ConnectionString");
    const auto stored = readStoredScore(*Save_ADOQ.connection(), outcome.number);
    if (!stored) {
        outcome.kind = Kind::Gone;
        return outcome;
    }
    // Another operator saved since the list was read: nobody is overwritten unasked.
    if (!replaceStored && *stored != Main_AdoSet.fieldText("tttt")) {
        outcome.kind = Kind::Conflict;
        outcome.stored = *stored;
        return outcome;
    }
    if (!storeScore(Save_ADOQ, score, outcome.number)) {
        outcome.kind = Kind::Gone;
        return outcome;
    }
    // The database has the score; the list's own copy of the row follows it.
    putListScore(score);
    return outcome;
}

void ScoreEntrySession::keepStoredScore(const std::string& stored)
{
    putListScore(stored);
}

void ScoreEntrySession::putListScore(const std::string& score)
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

void ScoreEntrySession::exportList(ExportGrid& grid, const std::string& fileName)
{
    // Every row of the list, whatever rows are marked.
    ExportGridToFile(exportClassOf<TDataGridExportAsText>, grid, fileName, true);
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
