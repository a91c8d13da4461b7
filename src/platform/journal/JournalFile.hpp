#pragma once

#include "platform/Exception.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace skorvin::journal {

// A journal that cannot be opened, written or read; the message says why (GBK text).
class EJournalError : public Exception {
public:
    using Exception::Exception;
};

// One line of the journal. Texts are GBK; a score is nullopt when the database held NULL
// (before) or when there is none to tell (a refusal before anything was read).
struct JournalRecord {
    std::int64_t id = 0; // given by the file on append; later entries have larger ids
    std::string time;    // "2026-12-10 14:03:05 +0800"
    std::string host;
    std::string user;
    std::string organisation;
    std::string number;
    std::optional<std::string> before;
    std::optional<std::string> after;
    std::string action;  // "save", "undo", "verify", "adopt" or "keep"
    std::string outcome; // "saved", "refused" or "failed"
    std::string detail;  // why it was refused, the provider's text of a failure
    // A row that cannot be read as an entry of ours (damaged file, forged values): only its id
    // and, in detail, why are meaningful.
    bool damaged = false;
};

// What the journal window shows; an empty member does not filter.
struct JournalFilter {
    std::string number;               // contained in the admission number
    std::string fromDate;             // "YYYY-MM-DD", inclusive
    std::string toDate;               // "YYYY-MM-DD", inclusive
    std::string organisation;         // exactly this organisation
    std::vector<std::string> actions; // the action is one of these
};

// What the journal window lists: the ids the filter lets through, newest first, and how many of
// them are damaged.
struct JournalListing {
    std::vector<std::int64_t> ids;
    std::size_t damaged = 0;
};

// The journal's SQLite file: created when missing, in WAL mode so that several windows append
// while others read, one transaction per entry so that a killed writer loses at most the entry
// it was writing. Entries are only ever appended: the file refuses updates and deletes. A file
// that holds anything besides the journal is refused whole (see JournalSchema); in a damaged
// file the rows that can still be read are read, and the others come back marked damaged.
class JournalFile {
public:
    // Opens or creates the file at path (GBK). Throws EJournalError with the reason.
    explicit JournalFile(const std::string& path);
    ~JournalFile();
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    // Appends one entry (its id is ignored) and returns the id it got. Throws EJournalError.
    std::int64_t append(const JournalRecord& record);
    // The entries the filter lets through, newest first, damaged ones marked. Throws
    // EJournalError when the file cannot be read.
    std::vector<JournalRecord> query(const JournalFilter& filter) const;
    // The ids of the entries the filter lets through, newest first, with the count of damaged
    // ones: a window reads the entries it shows one by one with entry(). Throws EJournalError.
    JournalListing list(const JournalFilter& filter) const;
    // The entry with this id; marked damaged when it cannot be read or is not there. Throws
    // EJournalError when the file cannot be read.
    JournalRecord entry(std::int64_t id) const;
    // The organisations named in the journal, sorted. Throws EJournalError.
    std::vector<std::string> organisations() const;

private:
    std::vector<std::int64_t> ids(const JournalFilter& filter) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* insert_ = nullptr;
};

} // namespace skorvin::journal
