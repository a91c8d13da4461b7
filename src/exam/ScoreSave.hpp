#pragma once

#include "platform/connection/FieldValue.hpp"

#include <optional>
#include <string>

namespace skorvin::ado {
class TADOConnection;
class TADOQuery;
} // namespace skorvin::ado

// Changing one score in the examination database as a compare-and-set: the change goes ahead
// only while the database still holds the score it was decided on. Save, undo and any later
// change of a stored score go through applyScore.
namespace skorvin::exam {

// The score the database holds for a candidate, NULL kept apart from the empty text; nullopt
// when t_omr has no such candidate. The number is a quoted literal.
std::optional<ado::FieldValue> readStoredValue(ado::TADOConnection& connection, const std::string& zkzh);

// The statement that stores one score: both values as quoted literals, a NULL score as NULL.
std::string scoreUpdateSql(const ado::FieldValue& score, const std::string& zkzh);

// One score to change: the candidate, the score the change was decided on, the score to write.
struct ScoreChange {
    std::string zkzh;
    std::string expected;  // what the database must hold for an unforced change; NULL reads as ""
    ado::FieldValue score; // NULL writes the column's NULL
};

struct ScoreApplied {
    enum class Kind {
        Applied,  // the database holds change.score
        Conflict, // the database holds another score than expected; nothing was written
        Gone,     // the candidate is not in the database
    };
    Kind kind = Kind::Applied;
    ado::FieldValue stored; // the score read before the change (Conflict: the one kept); NULL when gone
};

// Reads the stored score, compares it with change.expected unless force, and runs the update
// through query (its previous statement cleared first). A driver that counts no rows for every
// update (SQL Server under SET NOCOUNT ON) is not taken at its word: the row is looked up again
// before the change is called Gone. Database errors propagate with the provider's text.
ScoreApplied applyScore(ado::TADOQuery& query, const ScoreChange& change, bool force);

} // namespace skorvin::exam
