// VerifiedProgress: what the organisation tree counts in 复核, verified of entered.
#pragma once

#include "exam/EntryProgress.hpp"
#include "exam/TreeCounts.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace skorvin::ado {
class TADOConnection;
}

namespace skorvin::exam {

// Of the entered candidates under each node, how many are verified: their confirmed score is
// the score the database holds. Read once from the confirmed scores and the stored scores of
// those candidates, then kept current by this window's verifications, saves and undos.
class VerifiedProgress final : public TreeCounts {
public:
    // The entered counts come from entered, which outlives this.
    explicit VerifiedProgress(const EntryProgress& entered) : entered_(entered) {}

    // Counts the candidates of confirmed (number → confirmed score) for whom verified(number,
    // stored score) holds, reading the stored scores of the listed ones. Counts known before are
    // dropped first, so a database error (which propagates) leaves none.
    void read(ado::TADOConnection& connection, const std::map<std::string, std::string>& confirmed,
              const std::function<bool(const std::string& number, const std::string& stored)>& verified);
    void clear();
    // True between a read and the next clear.
    bool active() const { return !verified_.empty(); }

    // A candidate went from verified or not to verified or not.
    void candidateChanged(const std::string& zkzh, bool wasVerified, bool isVerified);

    // Verified of entered; nullopt while either count is missing.
    std::optional<NodeCount> count(int node) const override;

    // Called after every read, clear and change.
    std::function<void()> changed;

private:
    void notify() const;

    const EntryProgress& entered_;
    std::vector<std::int64_t> verified_; // by node; empty while nothing is read
};

} // namespace skorvin::exam
