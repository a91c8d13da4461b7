#pragma once

#include "exam/VerificationStore.hpp"

namespace skorvin::exam {

class ScoreJournal;

// The verifications of this computer, read from its score journal: the journal's verify, adopt
// and keep entries are the record, so confirm() only keeps what the entry just written says. The
// journal is read once, when a verification is first asked for. With the journal off, the
// confirmations of this window are kept until it closes.
class JournalVerifications final : public VerificationStore {
public:
    explicit JournalVerifications(ScoreJournal& journal) : journal_(journal) {}

    std::optional<std::string> confirmed(const std::string& number) override;
    const std::map<std::string, std::string>& confirmedScores() override;
    void confirm(const std::string& number, const std::string& score) override;

private:
    void load();

    ScoreJournal& journal_;
    bool loaded_ = false;
    std::map<std::string, std::string> scores_;
};

} // namespace skorvin::exam
