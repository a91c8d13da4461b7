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
    journal_.record({JournalEvent::Action::Verify,
                     JournalEvent::Outcome::Saved,
                     organisation_,
                     outcome.number,
                     outcome.stored,
                     outcome.keyed,
                     {}});
    verifications_->confirm(outcome.number, outcome.stored);
    followStored(outcome.stored);
    return outcome;
}

ScoreEntrySession::ChangeOutcome ScoreEntrySession::adjudicate(const VerifyOutcome& differs, Adjudication choice,
                                                               bool replaceStored)
{
    if (choice == Adjudication::Keep) {
        journal_.record({JournalEvent::Action::Keep,
                         JournalEvent::Outcome::Saved,
                         organisation_,
                         differs.number,
                         differs.stored,
                         differs.keyed,
                         {}});
        verifications_->confirm(differs.number, differs.stored);
        followStored(differs.stored);
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
        verifications_->confirm(differs.number, differs.keyed);
    return outcome;
}

bool ScoreEntrySession::verified(const std::string& number, const std::string& score)
{
    if (text::trim(score).empty())
        return false;
    const auto confirmed = verifications_->confirmed(number);
    return confirmed && sameScore(*confirmed, score);
}

void ScoreEntrySession::followStored(const std::string& stored)
{
    if (Main_AdoSet.fieldText("tttt") != stored)
        putListScore(stored);
}

} // namespace skorvin::exam
