// EntryProgress: entered and total listed candidates of every organisation node, for the tree.
#pragma once

#include "exam/OrgTree.hpp"
#include "exam/TreeCounts.hpp"
#include "platform/connection/FieldValue.hpp"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace skorvin::ado {
class TADOConnection;
}

namespace skorvin::exam {

// The listed candidates (level 4, present, as the list statement takes them) under each node of
// an organisation tree and how many of them have a score, read with one statement grouped by exam
// site and summed up the tree as each node's list statement would select them. Afterwards this
// window's own changes keep it current; another computer's saves show on the next read.
class EntryProgress final : public TreeCounts {
public:
    // Reads the counts for tree, whose sites' codes are siteCodeLen characters. The counts known
    // before are dropped first, so a database error (which propagates) leaves none.
    void read(ado::TADOConnection& connection, const OrgTree& tree, int siteCodeLen);
    void clear();

    // A listed candidate's score went from before to after; NULL and "" are not entered.
    void scoreChanged(const std::string& zkzh, const ado::FieldValue& before, const ado::FieldValue& after);

    std::optional<NodeCount> count(int node) const override;
    // The nodes counted: the tree's size after a read, 0 while nothing is read.
    int nodeCount() const { return static_cast<int>(nodes_.size()); }
    // The nodes whose list takes the candidate with this number; none while nothing is read.
    std::vector<int> nodesOfCandidate(const std::string& zkzh) const;

    // Called after every read, clear and change.
    std::function<void()> changed;

    // The grouped statement for sites of siteCodeLen characters.
    static std::string countSql(int siteCodeLen);

private:
    // The nodes whose list takes the candidates of the site with this code.
    std::vector<int> nodesOf(const std::string& siteCode) const;
    void notify() const;

    int siteCodeLen_ = 0;
    std::vector<NodeCount> nodes_; // empty while nothing is read
    std::vector<int> roots_;
    std::map<std::string, std::vector<int>> provinces_; // by the province's two characters
    std::map<std::string, std::vector<int>> sites_;     // site nodes by their code
    std::vector<int> parents_;                          // each node's parent
};

} // namespace skorvin::exam
