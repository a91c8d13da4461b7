#pragma once

#include "platform/connection/FieldValue.hpp"

#include <memory>
#include <string>
#include <vector>

namespace skorvin::journal {
class JournalFile;
struct JournalFilter;
struct JournalRecord;
} // namespace skorvin::journal

namespace skorvin::exam {

// One save, undo, verification or adjudication as the journal keeps it (GBK text); the time,
// the computer and the user are added when it is recorded (the computer and the user as they
// were when the window opened).
struct JournalEvent {
    // Verify: a re-keyed score matched the stored one. Adopt and Keep settle a re-keyed score that
    // did not: the re-keyed score written, or the stored one kept.
    enum class Action { Save, Undo, Verify, Adopt, Keep };
    enum class Outcome { Saved, Refused, Failed };
    Action action = Action::Save;
    Outcome outcome = Outcome::Saved;
    std::string organisation; // the node's text of the organisation in view
    std::string number;
    ado::FieldValue before; // the database's score when it was read, NULL kept apart
    ado::FieldValue after;  // the score written, or the one that would have been
    std::string detail;     // why it was refused, or the provider's text of a failure
};

// A save of this window that an undo can take back.
struct UndoableSave {
    std::string organisation;
    std::string number;
    ado::FieldValue before; // what the undo writes back
    std::string after;      // what the database must still hold for the undo to go ahead unasked
};

// The trail of one score window: every save and undo appended to the journal file, and this
// window's saves not yet undone, last on top. A journal that cannot be opened or written turns
// itself off with the reason and never stops a save.
class ScoreJournal {
public:
    // Opens (or creates) the journal at path (GBK); a failure leaves the journal off.
    explicit ScoreJournal(std::string path);
    ~ScoreJournal();
    ScoreJournal(const ScoreJournal&) = delete;
    ScoreJournal& operator=(const ScoreJournal&) = delete;

    const std::string& path() const { return path_; }
    bool on() const { return file_ != nullptr; }
    // Why the journal is off (GBK); empty while it is on.
    const std::string& offReason() const { return offReason_; }
    // True the first time it is asked after the journal went off, so the operator is told once.
    bool takeOffNotice();

    // Appends the event stamped with the local time, this computer and its user. A failure turns
    // the journal off; the event is then lost, and so are the ones after it.
    void record(const JournalEvent& event);

    // Turns the journal off with the reason (GBK), unless it is off already: a read of the file
    // failed elsewhere, and its entries can no longer be trusted to arrive.
    void turnOff(const std::string& reason);

    // The entries the filter lets through, newest first; none while the journal is off. A read
    // that fails turns the journal off with the reason and gives none.
    std::vector<journal::JournalRecord> entries(const journal::JournalFilter& filter);

    void pushSave(UndoableSave save) { saves_.push_back(std::move(save)); }
    // This window's last save not undone; nullptr when there is none.
    const UndoableSave* lastSave() const { return saves_.empty() ? nullptr : &saves_.back(); }
    void popSave() { saves_.pop_back(); }

private:
    std::string path_;
    // Asked once per window: the user lookup reads the account database, too slow for every save.
    std::string computer_;
    std::string user_;
    std::unique_ptr<journal::JournalFile> file_;
    std::string offReason_;
    bool offNoticeTaken_ = false;
    std::vector<UndoableSave> saves_;
};

} // namespace skorvin::exam
