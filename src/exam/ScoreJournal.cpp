#include "exam/ScoreJournal.hpp"

#include "platform/Gbk.hpp"
#include "platform/journal/HostIdentity.hpp"
#include "platform/journal/JournalFile.hpp"
#include "platform/journal/LocalTime.hpp"

#include <ctime>

namespace skorvin::exam {

namespace {

const char* actionName(JournalEvent::Action action)
{
    switch (action) {
    case JournalEvent::Action::Save:
        return "save";
    case JournalEvent::Action::Undo:
        return "undo";
    case JournalEvent::Action::Verify:
        return "verify";
    case JournalEvent::Action::Adopt:
        return "adopt";
    case JournalEvent::Action::Keep:
        break;
    }
    return "keep";
}

const char* outcomeName(JournalEvent::Outcome outcome)
{
    switch (outcome) {
    case JournalEvent::Outcome::Saved:
        return "saved";
    case JournalEvent::Outcome::Refused:
        return "refused";
    case JournalEvent::Outcome::Failed:
        break;
    }
    return "failed";
}

} // namespace

ScoreJournal::ScoreJournal(std::string path)
    : path_(std::move(path)), computer_(journal::computerName()), user_(journal::osUserName())
{
    try {
        file_ = std::make_unique<journal::JournalFile>(path_);
    } catch (const std::exception& e) {
        turnOff(e.what());
    }
}

ScoreJournal::~ScoreJournal() = default;

bool ScoreJournal::takeOffNotice()
{
    if (on() || offNoticeTaken_)
        return false;
    offNoticeTaken_ = true;
    return true;
}

void ScoreJournal::record(const JournalEvent& event)
{
    if (!file_)
        return;
    const journal::JournalRecord entry{0,
                                       journal::localTimeWithZone(std::time(nullptr)),
                                       computer_,
                                       user_,
                                       event.organisation,
                                       event.number,
                                       event.before,
                                       event.after,
                                       actionName(event.action),
                                       outcomeName(event.outcome),
                                       event.detail};
    try {
        file_->append(entry);
    } catch (const std::exception& e) {
        turnOff(e.what());
    }
}

std::vector<journal::JournalRecord> ScoreJournal::entries(const journal::JournalFilter& filter)
{
    if (!file_)
        return {};
    try {
        return file_->query(filter);
    } catch (const std::exception& e) {
        turnOff(e.what());
    }
    return {};
}

void ScoreJournal::turnOff(const std::string& reason)
{
    // The first reason is the one the operator is told.
    if (!offReason_.empty())
        return;
    file_.reset();
    offReason_ = reason;
}

} // namespace skorvin::exam
