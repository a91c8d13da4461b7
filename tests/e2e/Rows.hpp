#pragma once

#include "platform/connection/TADOConnection.hpp"

#include <string>
#include <vector>

namespace skorvin::test {

// The rows a statement returns through the system's connection, every field as
// GBK text with NULL kept apart.
using Rows = std::vector<std::vector<ado::FieldValue>>;
Rows queryRows(ado::TADOConnection& connection, const std::string& sql);

// The first field of the first row as a number (a count(*) statement).
long long queryCount(ado::TADOConnection& connection, const std::string& sql);

} // namespace skorvin::test
