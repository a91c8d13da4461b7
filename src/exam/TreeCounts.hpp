// TreeCounts: what the organisation tree shows after each node's text, done of total.
#pragma once

#include <cstdint>
#include <optional>

namespace skorvin::exam {

// Candidates of a node's whole subtree: how many are done (a score entered) of how many.
struct NodeCount {
    std::int64_t done = 0;
    std::int64_t total = 0;

    // Nothing is left to do under the node.
    bool complete() const { return done >= total; }
    friend bool operator==(const NodeCount&, const NodeCount&) = default;
};

// A count per node of the organisation tree, by the node's index. The tree reads it and
// nothing else, so that another count (a second keying's, say) can stand in for it.
class TreeCounts {
public:
    virtual ~TreeCounts() = default;
    // nullopt while the node has no count (none read yet, or the read failed).
    virtual std::optional<NodeCount> count(int node) const = 0;
};

} // namespace skorvin::exam
