#pragma once

#include "report/BuiltReport.hpp"

#include <QByteArray>
#include <QString>

#include <string>

namespace skorvin::report {

// The newest built-report (.rpages) format this engine reads and the one it writes.
constexpr std::uint32_t kBuiltReportVersion = 1;

// The CRC-32 that ends the file, over every byte before it.
std::uint32_t builtReportChecksum(const char* data, std::size_t size);

// The file's bytes for a built report.
QByteArray writeBuiltReport(const BuiltReport& report);
// A built report from a file's bytes. A file that is not a built report, is damaged or
// truncated, or is of a newer version throws BuiltReportFileError.
BuiltReport readBuiltReport(const QByteArray& bytes);

// Saves to path through a temporary file (CheckedSaveFile), so a failed save (a full disk
// included) leaves the old file whole. Throws Exception when the file cannot be written.
void saveBuiltReport(const BuiltReport& report, const QString& path);
// Loads from path; throws BuiltReportFileError (also for a file that cannot be read).
BuiltReport loadBuiltReport(const QString& path);

} // namespace skorvin::report
