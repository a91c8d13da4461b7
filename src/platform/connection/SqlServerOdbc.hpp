#pragma once

#include "platform/connection/ConnectionString.hpp"

#include <string>
#include <vector>

namespace skorvin::ado {

// True when the string names one of SQL Server's OLE DB providers (SQLOLEDB,
// SQLOLEDB.1, SQLNCLI11, MSOLEDBSQL, ...), which this system reaches through ODBC.
bool isSqlServerProvider(const ConnectionString& connection);

// The best SQL Server driver among the installed ones: the newest "ODBC Driver N
// for SQL Server", then the newest "SQL Server Native Client", then "SQL Server",
// then FreeTDS. Empty when none is installed.
std::string chooseSqlServerDriver(const std::vector<std::string>& installedDrivers);

// The ODBC connection string that reaches the server and database an ADO SQL Server
// string names: Data Source, Initial Catalog, User ID, Password, Integrated
// Security, Use Encryption for Data, Trust Server Certificate, Application Name.
// Throws EDatabaseError when no SQL Server driver is installed.
std::string toSqlServerOdbc(const ConnectionString& connection, const std::vector<std::string>& installedDrivers);

// The names of the drivers the ODBC driver manager has registered.
std::vector<std::string> installedOdbcDrivers();

} // namespace skorvin::ado
