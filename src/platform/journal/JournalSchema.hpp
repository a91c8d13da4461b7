#pragma once

#include <string>

struct sqlite3;

namespace skorvin::journal {

// Makes db (an open journal file) safe to read and write: SQLite's defensive settings, no
// function of the file's schema trusted, values of a sane length. Then creates the journal's
// table, index and triggers in an empty file, or checks that the file holds exactly these: a
// file with anything else (a trigger, a view, a table of another's) is not ours, and nothing of
// it runs. Throws EJournalError with the reason (GBK); utf8Path names the file in the message.
void openJournalSchema(sqlite3* db, const std::string& utf8Path);

} // namespace skorvin::journal
