#pragma once

#include <string>

namespace skorvin::exam {

// The name the save dialog proposes for a list export: the organisation node's text,
// "四级登分(", the date, ")". Characters no file name may hold (/ \ : * ? " < > |)
// become "-", so that a date written with "/" does not point into folders that do not
// exist. GBK text; the second byte of a double-byte character is never replaced.
std::string ProposedExportName(const std::string& nodeText, const std::string& date);

// name with every character no file name may hold (/ \ : * ? " < > |) made "-" (GBK text;
// the second byte of a double-byte character is never replaced).
std::string FileNameSafe(std::string name);

} // namespace skorvin::exam
