// ScoreSettings: the maximum score (Up) and decimal places (Xs) in the host's kavrint.ini, section ScoreSet.
#pragma once

#include "platform/ini/FileStore.hpp"

#include <optional>
#include <string>

namespace skorvin::exam {

// The two values that govern score entry, as the settings file holds them (text).
struct ScoreSettings {
    std::string Xs; // decimal places a score may have
    std::string Up; // maximum score of the subjective questions
};

// Reads section "ScoreSet": Xs (default "1") and Up (default "40"). Opens the file
// afresh on every call and keeps nothing, so it is cheap enough to call on every key.
ScoreSettings ReadScoreSettings(const std::string& iniPath);

// The score settings of one file for a window that asks on every key: read again only when
// the file may have changed since (its stamp differs, it has none, or this process wrote
// score settings meanwhile), so a change applies to the very next key without a read per key.
class ScoreSettingsFile {
public:
    explicit ScoreSettingsFile(std::string iniPath) : path_(std::move(iniPath)) {}
    const ScoreSettings& read();

private:
    std::string path_;
    std::optional<ini::FileStamp> stamp_; // of the file when values_ were read; none: read again
    unsigned writes_ = 0;                 // the process's score settings writes when values_ were read
    ScoreSettings values_;
};

// Writes Xs and then Up, each trimmed, into section "ScoreSet". Throws
// EIniFileException "Unable to write to <path>"; Xs may be written already when Up fails.
void WriteScoreSettings(const std::string& iniPath, const std::string& xs, const std::string& up);

} // namespace skorvin::exam
