// Re-keying a score blind (复核): the comparison with the stored score and its adjudication.
#include "exam/ScoreEntry.hpp"
#include "exam/ScoreEntrySession.hpp"
#include "platform/Exception.hpp"
#include "platform/Text.hpp"

namespace skorvin::exam {

ScoreEntrySession::VerifyOutcome ScoreEntrySession::verifyCurrent(const std::string& scoreBoxText)
{
    using Kind = VerifyOutcome::Kind;
    VerifyOutcome outcome{Kind::Verified, Main_AdoSet.fieldText("zkzh"), {}, scoreTextToStore(scoreBoxText)};
    // A number shown with "?" for what GBK cannot hold could name another candidate.
    if (!Main_AdoSet.fieldTextExact("zkzh")) {
        outcome.kind = Kind::InexactNumber;
        return outcome;
    }
    ado::TADOConnection* connection = Save_ADOQ.connection();
    if (!connection)
        throw EDatabaseError(Save_ADOQ.name() + ": Missing Connection or ConnectionString");
    // Read as the save's compare-and-set reads it: what the database holds now, not the list.
    const auto stored = readStoredValue(*connection, outcome.number);
    if (!stored) {
        outcome.kind = Kind::Gone;
        return outcome;
    }
    outcome.stored = stored->value_or("");
    if (text::trim(outcome.stored).empty()) {
        outcome.kind = Kind::NotEntered;
        return outcome;
    }
    if (!sameScore(outcome.keyed, outcome.stored)) {
        outcome.kind = Kind::Differs;
        return outcome;
    }
    confirmStored(JournalEvent::Action::Verify, outcome);
    return outcome;
}

ScoreEntrySession::ChangeOutcome ScoreEntrySession::adjudicate(const VerifyOutcome& differs, Adjudication choice,
                                                               bool replaceStored)
{
    if (choice == Adjudication::Keep) {
        confirmStored(JournalEvent::Action::Keep, differs);
        return {ChangeOutcome::Kind::Applied, differs.number, differs.stored};
    }
    const JournalEvent event{JournalEvent::Action::Adopt,
                             JournalEvent::Outcome::Refused,
                             organisation_,
                             differs.number,
                             {},
                             differs.keyed,
                             {}};
    const ChangeOutcome outcome = writeScore(event, {differs.number, differs.stored, differs.keyed}, replaceStored);
    if (outcome.kind == ChangeOutcome::Kind::Applied)
        confirm(differs.number, differs.keyed);
    return outcome;
}

bool ScoreEntrySession::verified(const std::string& number, const std::string& score)
{
    if (text::trim(score).empty())
        return false;
    const auto confirmed = verifications_->confirmed(number);
    return confirmed && sameScore(*confirmed, score);
}

void ScoreEntrySession::countVerified(bool on)
{
    countingVerified_ = on;
    if (on)
        readVerifiedProgress();
    else
        verifiedProgress_.clear();
}

void ScoreEntrySession::readVerifiedProgress()
{
    try {
        verifiedProgress_.read(
            *state_.HostConnection, verifications_->confirmedScores(),
            [this](const std::string& number, const std::string& stored) { return verified(number, stored); });
    } catch (const std::exception&) {
        // As the entered counts: an aid the window works on without.
        verifiedProgress_.clear();
    }
}

void ScoreEntrySession::scoreMoved(const std::string& number, const ado::FieldValue& before,
                                   const ado::FieldValue& after)
{
    progress_.scoreChanged(number, before, after);
    // Outside 复核 nothing counts verifications, and the journal's are not read for a save.
    if (verifiedProgress_.active())
        verifiedProgress_.candidateChanged(number, verified(number, before.value_or("")),
                                           verified(number, after.value_or("")));
}

void ScoreEntrySession::confirm(const std::string& number, const std::string& score)
{
    const bool was = verified(number, score);
    verifications_->confirm(number, score);
    verifiedProgress_.candidateChanged(number, was, true);
}

void ScoreEntrySession::confirmStored(JournalEvent::Action action, const VerifyOutcome& compared)
{
    journal_.record(
        {action, JournalEvent::Outcome::Saved, organisation_, compared.number, compared.stored, compared.keyed, {}});
    confirm(compared.number, compared.stored);
    followStored(compared.stored);
}

void ScoreEntrySession::followStored(const std::string& stored)
{
    if (Main_AdoSet.fieldText("tttt") != stored)
        putListScore(stored);
}

} // namespace skorvin::exam
