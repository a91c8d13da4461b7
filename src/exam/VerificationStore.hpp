#pragma once

#include <map>
#include <optional>
#include <string>

namespace skorvin::exam {

// Where verifications are kept: for each candidate, the score its last verification or
// adjudication confirmed (GBK). A candidate counts as verified while the database still holds
// that score, so a later save of another score, or an undo, leaves it unverified again.
class VerificationStore {
public:
    virtual ~VerificationStore() = default;

    // The score last confirmed for number; nullopt when none was.
    virtual std::optional<std::string> confirmed(const std::string& number) = 0;
    // Every candidate with a confirmed score, by number.
    virtual const std::map<std::string, std::string>& confirmedScores() = 0;
    // number's score was confirmed just now.
    virtual void confirm(const std::string& number, const std::string& score) = 0;
};

} // namespace skorvin::exam
