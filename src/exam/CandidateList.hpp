// CandidateList: the list statement BuildCandidateSql, its refresh, the display filters.
#pragma once

#include "exam/ModuleState.hpp"

#include <string>

namespace skorvin::ado {
class TCustomADODataSet;
}

namespace skorvin::exam {

// What the list statement needs of the tree's selected node.
struct SelectedNode {
    int level = 0;          // 0 national, 1 province, 2 city, 3 exam site
    std::string text;       // the node's text, beginning with its code
    std::string parentText; // the parent's text; empty for the root
};

// The condition on t_omr of the candidates the list statement takes (level 4, not absent), for
// the other statements that must count or find exactly those.
inline constexpr const char* kListedCandidates = "zkzh like '4%' and (UPPER(qk)<>'Q' or qk Is Null)";

// The list statement for the selected node; sets state.CurrentLevel and state.CurrentCode.
// Codes go in as quoted literals, so that text columns compare with text on every backend.
std::string BuildCandidateSql(ModuleState& state, const SelectedNode& node);

// Closes the list when open, gives it the statement for node and opens it again.
void RefreshCandidateList(ado::TCustomADODataSet& list, ModuleState& state, const SelectedNode& node);

// Display choice: 0 not entered, 1 entered (filters on), 2 all (filtering off, text kept);
// any other index changes nothing.
void ApplyStatusFilter(ado::TCustomADODataSet& list, int index);

} // namespace skorvin::exam
