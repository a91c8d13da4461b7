#include "exam/JournalVerifications.hpp"

#include "exam/ScoreJournal.hpp"
#include "platform/journal/JournalFile.hpp"

namespace skorvin::exam {

std::optional<std::string> JournalVerifications::confirmed(const std::string& number)
{
    const auto& scores = confirmedScores();
    const auto found = scores.find(number);
    if (found == scores.end())
        return std::nullopt;
    return found->second;
}

const std::map<std::string, std::string>& JournalVerifications::confirmedScores()
{
    load();
    return scores_;
}

void JournalVerifications::confirm(const std::string& number, const std::string& score)
{
    load();
    scores_[number] = score;
}

void JournalVerifications::load()
{
    if (loaded_)
        return;
    loaded_ = true;
    journal::JournalFilter filter;
    filter.actions = {"verify", "adopt", "keep"};
    const auto records = journal_.entries(filter);
    // Newest first: the oldest is applied first, so the last confirmation of a number stands.
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        if (record->damaged || record->outcome != "saved")
            continue;
        // An adoption confirms the score it wrote; a verification and a kept score the one stored.
        const auto& score = record->action == "adopt" ? record->after : record->before;
        if (score)
            scores_[record->number] = *score;
    }
}

} // namespace skorvin::exam
