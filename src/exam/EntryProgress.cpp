// EntryProgress: entered and total listed candidates of every organisation node, for the tree.
#include "exam/EntryProgress.hpp"

#include "exam/CandidateList.hpp"

#include "platform/Numbers.hpp"
#include "platform/Text.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <algorithm>

namespace skorvin::exam {

namespace {

bool entered(const ado::FieldValue& score)
{
    return score && !score->empty();
}

} // namespace

std::string EntryProgress::countSql(int siteCodeLen)
{
    // The candidates the list statement takes, grouped by the site code in their number;
    // "entered" is what the display choice 已登分 shows.
    const std::string site = "SubString(zkzh,5," + std::to_string(siteCodeLen) + ")";
    return "select " + site + " dm,count(*) n,count(case when tttt<>'' then 1 end) yf from t_omr where " +
           kListedCandidates + " group by " + site;
}

void EntryProgress::read(ado::TADOConnection& connection, const OrgTree& tree, int siteCodeLen)
{
    nodes_.clear();
    roots_.clear();
    provinces_.clear();
    sites_.clear();
    parents_.clear();
    siteCodeLen_ = siteCodeLen;
    for (int index = 0; index < tree.size(); ++index) {
        const OrgNode& node = tree.node(index);
        parents_.push_back(node.parent);
        if (node.level == 0)
            roots_.push_back(index);
        else if (node.level == 1)
            provinces_[text::left(node.text, 2)].push_back(index);
        else if (node.level == 3)
            sites_[text::left(node.text, siteCodeLen)].push_back(index);
    }

    ado::TADOQuery query;
    query.setConnection(&connection);
    query.setSql(countSql(siteCodeLen));
    query.open();
    std::vector<NodeCount> counts(static_cast<std::size_t>(tree.size()));
    for (; !query.eof(); query.next()) {
        const std::int64_t total = toInt(query.fieldText("n"));
        const std::int64_t done = toInt(query.fieldText("yf"));
        for (const int node : nodesOf(query.fieldText("dm"))) {
            counts[static_cast<std::size_t>(node)].total += total;
            counts[static_cast<std::size_t>(node)].done += done;
        }
    }
    nodes_ = std::move(counts);
    notify();
}

void EntryProgress::clear()
{
    nodes_.clear();
    notify();
}

void EntryProgress::scoreChanged(const std::string& zkzh, const ado::FieldValue& before, const ado::FieldValue& after)
{
    const int change = static_cast<int>(entered(after)) - static_cast<int>(entered(before));
    if (change == 0 || nodes_.empty())
        return;
    for (const int node : nodesOfCandidate(zkzh))
        nodes_[static_cast<std::size_t>(node)].done += change;
    notify();
}

std::optional<NodeCount> EntryProgress::count(int node) const
{
    if (node < 0 || static_cast<std::size_t>(node) >= nodes_.size())
        return std::nullopt;
    return nodes_[static_cast<std::size_t>(node)];
}

std::vector<int> EntryProgress::nodesOfCandidate(const std::string& zkzh) const
{
    return nodes_.empty() ? std::vector<int>{} : nodesOf(text::mid(zkzh, 5, siteCodeLen_));
}

std::vector<int> EntryProgress::nodesOf(const std::string& siteCode) const
{
    std::vector<int> nodes = roots_;
    if (const auto province = provinces_.find(text::left(siteCode, 2)); province != provinces_.end())
        nodes.insert(nodes.end(), province->second.begin(), province->second.end());
    const auto sites = sites_.find(siteCode);
    if (sites == sites_.end())
        return nodes;
    for (const int site : sites->second) {
        nodes.push_back(site);
        // A city lists the candidates of every site code it has once, however many of its
        // sites carry that code.
        const int city = parents_[static_cast<std::size_t>(site)];
        if (city != OrgTree::kNoParent && std::find(nodes.begin(), nodes.end(), city) == nodes.end())
            nodes.push_back(city);
    }
    return nodes;
}

void EntryProgress::notify() const
{
    if (changed)
        changed();
}

} // namespace skorvin::exam
