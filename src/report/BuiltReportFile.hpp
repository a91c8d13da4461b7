#pragma once

#include "report/BuiltReport.hpp"

#include <QByteArray>

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

// Saves to path (GBK) through a temporary file, so a failed save leaves the old file whole.
// Throws Exception when the file cannot be written.
void saveBuiltReport(const BuiltReport& report, const std::string& path);
// Loads from path (GBK); throws BuiltReportFileError (also for a file that cannot be read).
BuiltReport loadBuiltReport(const std::string& path);

} // namespace skorvin::report
