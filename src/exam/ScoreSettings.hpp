// ScoreSettings: the maximum score (Up) and decimal places (Xs) in the host's kavrint.ini, section ScoreSet.
#pragma once

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

// Writes Xs and then Up, each trimmed, into section "ScoreSet". Throws
// EIniFileException "Unable to write to <path>"; Xs may be written already when Up fails.
void WriteScoreSettings(const std::string& iniPath, const std::string& xs, const std::string& up);

} // namespace skorvin::exam
