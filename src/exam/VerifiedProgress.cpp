// VerifiedProgress: what the organisation tree counts in 复核, verified of entered.
#include "exam/VerifiedProgress.hpp"

#include "exam/CandidateList.hpp"
#include "platform/Text.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

namespace skorvin::exam {

namespace {

// Numbers per statement: well inside every backend's limit on a statement's length.
constexpr std::size_t kBatch = 500;

std::string storedScoresSql(std::map<std::string, std::string>::const_iterator from,
                            std::map<std::string, std::string>::const_iterator to)
{
    // The list statement's own conditions, so that only candidates the counts hold are counted.
    std::string sql = std::string("select zkzh,tttt from t_omr where ") + kListedCandidates + " and zkzh in (";
    for (auto it = from; it != to; ++it) {
        if (it != from)
            sql += ',';
        sql += text::quoted(it->first);
    }
    return sql + ")";
}

} // namespace

void VerifiedProgress::read(ado::TADOConnection& connection, const std::map<std::string, std::string>& confirmed,
                            const std::function<bool(const std::string& number, const std::string& stored)>& verified)
{
    verified_.clear();
    std::vector<std::int64_t> counts(static_cast<std::size_t>(entered_.nodeCount()));
    if (counts.empty()) {
        notify();
        return;
    }
    for (auto from = confirmed.begin(); from != confirmed.end();) {
        auto to = from;
        for (std::size_t n = 0; n < kBatch && to != confirmed.end(); ++n)
            ++to;
        ado::TADOQuery query;
        query.setConnection(&connection);
        query.setSql(storedScoresSql(from, to));
        query.open();
        for (; !query.eof(); query.next()) {
            const std::string number = query.fieldText("zkzh");
            if (verified(number, query.fieldText("tttt")))
                for (const int node : entered_.nodesOfCandidate(number))
                    ++counts[static_cast<std::size_t>(node)];
        }
        from = to;
    }
    verified_ = std::move(counts);
    notify();
}

void VerifiedProgress::clear()
{
    verified_.clear();
    notify();
}

void VerifiedProgress::candidateChanged(const std::string& zkzh, bool wasVerified, bool isVerified)
{
    if (wasVerified == isVerified || verified_.empty())
        return;
    for (const int node : entered_.nodesOfCandidate(zkzh))
        verified_[static_cast<std::size_t>(node)] += isVerified ? 1 : -1;
    notify();
}

std::optional<NodeCount> VerifiedProgress::count(int node) const
{
    const auto entered = entered_.count(node);
    if (!entered || static_cast<std::size_t>(node) >= verified_.size())
        return std::nullopt;
    return NodeCount{verified_[static_cast<std::size_t>(node)], entered->done};
}

void VerifiedProgress::notify() const
{
    if (changed)
        changed();
}

} // namespace skorvin::exam
