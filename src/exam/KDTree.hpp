// KDTree: building the organisation tree from the database and selecting a node by level and code.
#pragma once

#include "exam/OrgTree.hpp"

#include <cstdint>
#include <string>

namespace skorvin::ado {
class TADOConnection;
}

namespace skorvin::exam {

// Appends the national root, provinces, cities and exam sites read from the
// database. A database error ends the building there: the nodes added so far
// stay and the error propagates. Where every code is plain digits, one statement
// per level reads the whole tree.
void BuildOrgTree(OrgTree& tree, ado::TADOConnection& connection);

// Index of the first node, in flat order, that belongs to the organisation of
// this level and code; -1 when none does.
int SelectOrgNode(const OrgTree& tree, std::int32_t level, const std::string& code);

} // namespace skorvin::exam
