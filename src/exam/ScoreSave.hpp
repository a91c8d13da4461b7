#pragma once

#include "platform/connection/FieldValue.hpp"

#include <optional>
#include <string>

namespace skorvin::ado {
class TADOConnection;
class TADOQuery;
} // namespace skorvin::ado

// Storing one score in the examination database: what the database holds for the
// candidate now, and the update with its check that the candidate is still there.
namespace skorvin::exam {

// The score the database holds for a candidate, read with the update's own quoting:
// nullopt when t_omr has no such candidate, the empty text for a NULL or empty score.
std::optional<std::string> readStoredScore(ado::TADOConnection& connection, const std::string& zkzh);
// The same, keeping a NULL score apart from the empty text.
std::optional<ado::FieldValue> readStoredValue(ado::TADOConnection& connection, const std::string& zkzh);

// Runs the score update through query (its previous statement cleared first). True when the
// candidate's row is in the database, false when it is gone. A driver that counts no rows for
// every update (SQL Server under SET NOCOUNT ON) or reports no count is not taken at its word:
// the row is looked up before the save is called failed. A NULL score is written as NULL.
bool storeScore(ado::TADOQuery& query, const ado::FieldValue& score, const std::string& zkzh);

} // namespace skorvin::exam
