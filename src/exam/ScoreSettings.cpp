// ScoreSettings: the maximum score (Up) and decimal places (Xs) in the host's kavrint.ini, section ScoreSet.
#include "exam/ScoreSettings.hpp"

#include "platform/Text.hpp"
#include "platform/ini/TIniFile.hpp"

#include <atomic>

namespace skorvin::exam {

namespace {

constexpr const char* kSection = "ScoreSet";

// Counts the writes of this process, so that a window sees the settings dialog's change
// however close in time to its last read it was made.
std::atomic<unsigned> settingsWrites{0};

} // namespace

ScoreSettings ReadScoreSettings(const std::string& iniPath)
{
    const ini::TIniFile file(iniPath);
    return {file.ReadString(kSection, "Xs", "1"), file.ReadString(kSection, "Up", "40")};
}

const ScoreSettings& ScoreSettingsFile::read()
{
    const unsigned writes = settingsWrites.load();
    // The stamp is taken before the read: a change during the read shows at the next call.
    const std::optional<ini::FileStamp> stamp = ini::settledStamp(path_);
    if (!stamp || stamp != stamp_ || writes != writes_) {
        values_ = ReadScoreSettings(path_);
        stamp_ = stamp;
        writes_ = writes;
    }
    return values_;
}

void WriteScoreSettings(const std::string& iniPath, const std::string& xs, const std::string& up)
{
    // Counted first, so that a write that fails halfway is also read again.
    ++settingsWrites;
    ini::TIniFile file(iniPath);
    file.WriteString(kSection, "Xs", text::trim(xs));
    file.WriteString(kSection, "Up", text::trim(up));
}

} // namespace skorvin::exam
