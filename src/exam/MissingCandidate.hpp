#pragma once

#include "exam/OrgTree.hpp"

#include <string>

namespace skorvin::ado {
class TADOConnection;
class TCustomADODataSet;
} // namespace skorvin::ado

namespace skorvin::exam {

// Why an admission number is not in the list shown, so that the operator is told what to do
// instead of guessing.
struct MissingCandidate {
    enum class Kind {
        Hidden,    // the list holds the candidate, the display choice hides the row
        Elsewhere, // the database lists the candidate under another organisation, or after the list was read
        Nowhere,   // no level-4 candidate present at the examination has the number
    };
    Kind kind = Kind::Nowhere;
    std::string stored;    // Hidden: the score the database holds (GBK, "" for none)
    bool scored = false;   // Hidden: the listed row has a score, so 已登分 shows it; else 未登分
    int organisation = -1; // Elsewhere: the tree node the number's codes name (the deepest that matches)
};

// The one statement that answers for a number: the candidate's score, when the database has a
// level-4 candidate of that number who was not absent. The number goes in as a quoted literal.
std::string missingCandidateSql(const std::string& number);

// Runs that statement for the (trimmed) number and tells the cases apart with what the window
// already holds: the list's snapshot (every row, whatever the display choice hides) and the
// organisation tree. Database errors propagate.
MissingCandidate explainMissingCandidate(ado::TADOConnection& connection, const ado::TCustomADODataSet& list,
                                         const OrgTree& tree, int siteCodeLen, const std::string& number);

} // namespace skorvin::exam
