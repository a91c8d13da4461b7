#pragma once

#include <filesystem>
#include <string>

namespace skorvin::test {

// The SQLite ODBC driver by its file, so that the tests do not depend on how the
// machine registered it; its registered name when the file is elsewhere.
inline std::string sqliteOdbcDriver()
{
    for (const char* candidate :
         {"/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so", "/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so",
          "/usr/lib/odbc/libsqlite3odbc.so", "/usr/lib64/libsqlite3odbc.so", "/usr/local/lib/libsqlite3odbc.so"})
        if (std::filesystem::exists(candidate))
            return candidate;
    return "SQLite3";
}

} // namespace skorvin::test
