// OrgTree: the organisation tree without widgets (root, provinces, cities, exam sites).
#include "exam/OrgTree.hpp"

#include <utility>

namespace skorvin::exam {

int OrgTree::addNode(int parent, std::string text, int imageIndex, int selectedImageIndex)
{
    OrgNode added;
    added.text = std::move(text);
    added.imageIndex = imageIndex;
    added.selectedImageIndex = selectedImageIndex;
    added.parent = parent;
    added.level = parent == kNoParent ? 0 : node(parent).level + 1;
    const int index = size();
    nodes_.push_back(std::move(added));
    if (parent != kNoParent)
        nodes_[static_cast<std::size_t>(parent)].children.push_back(index);
    return index;
}

SelectedNode OrgTree::selection(int index) const
{
    const OrgNode& selected = node(index);
    SelectedNode result;
    result.level = selected.level;
    result.text = selected.text;
    if (selected.parent != kNoParent)
        result.parentText = node(selected.parent).text;
    return result;
}

} // namespace skorvin::exam
