#pragma once

#include <string_view>

namespace skorvin::demodb {

// resources/demo-schema.sql, built into the program: the tables and views, and
// after them the indexes, which are made once the rows are written.
std::string_view schemaTables();
std::string_view schemaIndexes();

} // namespace skorvin::demodb
