// OrgTree: the organisation tree without widgets (root, provinces, cities, exam sites).
#pragma once

#include "exam/CandidateList.hpp"

#include <string>
#include <vector>

namespace skorvin::exam {

struct OrgNode {
    std::string text; // code, "-", name
    int imageIndex = 0;
    int selectedImageIndex = 0;
    int level = 0;   // depth: 0 national, 1 province, 2 city, 3 exam site
    int parent = -1; // index of the parent, -1 for a top-level node
    std::vector<int> children;
};

// The organisation tree without widgets. Nodes keep the order they were added
// in, which is the flat order a tree view shows when every node is added after
// its parent and before any node of a later branch, as BuildOrgTree does.
class OrgTree {
public:
    static constexpr int kNoParent = -1;

    // Adds a node under parent (kNoParent for a top-level node); returns its index.
    int addNode(int parent, std::string text, int imageIndex, int selectedImageIndex);

    int size() const { return static_cast<int>(nodes_.size()); }
    bool empty() const { return nodes_.empty(); }
    const OrgNode& node(int index) const { return nodes_.at(static_cast<std::size_t>(index)); }
    const std::vector<OrgNode>& nodes() const { return nodes_; }

    // What the list statement needs of the node at index.
    SelectedNode selection(int index) const;

private:
    std::vector<OrgNode> nodes_;
};

} // namespace skorvin::exam
