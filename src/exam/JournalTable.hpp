#pragma once

#include "platform/journal/JournalFile.hpp"

#include <string>
#include <vector>

// The journal as the operator reads it: its columns' headings and texts, and the CSV file.
namespace skorvin::exam {

// The columns' headings (GBK).
const std::vector<std::string>& journalHeadings();
// The texts of one entry in the columns' order (GBK); a NULL score is the empty text. A damaged
// entry reads "（已损坏）" in the first column and why in the last.
std::vector<std::string> journalRowTexts(const journal::JournalRecord& record);

// Writes the entries to fileName (GBK name) as CSV in UTF-8 with a byte-order mark, a heading
// row and CRLF line ends; a field holding a comma, a quote or a line break is quoted. Throws
// EFCreateError when the file cannot be written.
void writeJournalCsv(const std::string& fileName, const std::vector<journal::JournalRecord>& records);

} // namespace skorvin::exam
