// ScoreSettings: the maximum score (Up) and decimal places (Xs) in the host's kavrint.ini, section ScoreSet.
#include "exam/ScoreSettings.hpp"

#include "platform/Text.hpp"
#include "platform/ini/TIniFile.hpp"

namespace skorvin::exam {

namespace {

constexpr const char* kSection = "ScoreSet";

} // namespace

ScoreSettings ReadScoreSettings(const std::string& iniPath)
{
    const ini::TIniFile file(iniPath);
    return {file.ReadString(kSection, "Xs", "1"), file.ReadString(kSection, "Up", "40")};
}

void WriteScoreSettings(const std::string& iniPath, const std::string& xs, const std::string& up)
{
    ini::TIniFile file(iniPath);
    file.WriteString(kSection, "Xs", text::trim(xs));
    file.WriteString(kSection, "Up", text::trim(up));
}

} // namespace skorvin::exam
