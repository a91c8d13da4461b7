#pragma once

#include "platform/journal/JournalFile.hpp"

#include <filesystem>
#include <string>
#include <vector>

// The journal as the operator reads it: its columns' headings and texts, and the CSV file.
namespace skorvin::exam {

// A kind of entry as the operator filters by it: its text (GBK) and the actions it covers.
struct JournalKind {
    std::string text;
    std::vector<std::string> actions;
};
// 登分 (saves), 撤销 (undos), 复核 (verifications) and 裁定 (adjudications), in that order.
const std::vector<JournalKind>& journalKinds();

// The columns' headings (GBK).
const std::vector<std::string>& journalHeadings();
// The texts of one entry in the columns' order (GBK); a NULL score is the empty text. A damaged
// entry reads "（已损坏）" in the first column and why in the last.
std::vector<std::string> journalRowTexts(const journal::JournalRecord& record);

// Writes the entries to fileName as CSV in UTF-8 with a byte-order mark, a heading row and
// CRLF line ends; a field holding a comma, a quote or a line break is quoted. The file is
// made as the list export makes its own (TFileStream): EFCreateError when it cannot be made,
// EWriteError when a write fails (a full disk), with what was written left in it.
void writeJournalCsv(const std::filesystem::path& fileName, const std::vector<journal::JournalRecord>& records);

} // namespace skorvin::exam
