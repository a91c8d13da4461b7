#include "platform/connection/SqlServerOdbc.hpp"

#include "platform/connection/OdbcHandle.hpp"
#include "platform/connection/ProviderError.hpp"

#include "platform/Text.hpp"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace skorvin::ado {

namespace {

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view s, std::string_view suffix)
{
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// The number a driver name carries ("17", "11.0"), as major * 1000 + minor; 0 when none.
int versionOf(std::string_view text)
{
    const auto digit = std::find_if(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
    int major = 0;
    int minor = 0;
    auto it = digit;
    for (; it != text.end() && std::isdigit(static_cast<unsigned char>(*it)); ++it)
        major = major * 10 + (*it - '0');
    if (it != text.end() && *it == '.')
        for (++it; it != text.end() && std::isdigit(static_cast<unsigned char>(*it)); ++it)
            minor = minor * 10 + (*it - '0');
    return std::min(major, 999) * 1000 + std::min(minor, 999);
}

// Higher is better: the family of a driver name, then its version; family 0 is no SQL Server driver.
std::tuple<int, int> rank(const std::string& name)
{
    const auto n = text::lowerAscii(name);
    if (startsWith(n, "odbc driver ") && endsWith(n, " for sql server"))
        return {4, versionOf(n)};
    if (startsWith(n, "sql server native client"))
        return {3, versionOf(n)};
    if (n == "sql server")
        return {2, 0};
    if (n.find("freetds") != std::string::npos)
        return {1, 0};
    return {0, 0};
}

bool isTrue(const std::string& value)
{
    const auto v = text::lowerAscii(value);
    return v == "true" || v == "yes" || v == "sspi";
}

// ODBC reads a value up to the next ";" unless it is in braces, inside which "}" is doubled.
std::string odbcValue(const std::string& value, bool alwaysBraced = false)
{
    const bool needsBraces = value.find_first_of(";{}") != std::string::npos ||
                             (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!alwaysBraced && !needsBraces)
        return value;
    std::string out = "{";
    for (const char c : value) {
        out += c;
        if (c == '}')
            out += '}';
    }
    return out + "}";
}

// The first of several ADO synonyms that the string carries.
std::string firstOf(const ConnectionString& connection, std::initializer_list<const char*> keys)
{
    for (const char* key : keys)
        if (connection.has(key))
            return connection.value(key);
    return {};
}

} // namespace

bool isSqlServerProvider(const ConnectionString& connection)
{
    const auto provider = text::lowerAscii(connection.value("Provider"));
    return startsWith(provider, "sqloledb") || startsWith(provider, "sqlncli") || startsWith(provider, "msoledbsql");
}

std::string chooseSqlServerDriver(const std::vector<std::string>& installedDrivers)
{
    std::string best;
    std::tuple<int, int> bestRank{0, 0};
    for (const auto& name : installedDrivers) {
        const auto r = rank(name);
        if (std::get<0>(r) > 0 && r > bestRank) {
            best = name;
            bestRank = r;
        }
    }
    return best;
}

std::string toSqlServerOdbc(const ConnectionString& connection, const std::vector<std::string>& installedDrivers)
{
    const auto driver = chooseSqlServerDriver(installedDrivers);
    if (driver.empty())
        throwProviderError("No ODBC driver for SQL Server is installed (looked for ODBC Driver for SQL Server, "
                           "SQL Server Native Client, SQL Server and FreeTDS)");
    const auto [family, version] = rank(driver);
    const bool freeTds = family == 1;

    auto server = firstOf(connection, {"Data Source", "Server", "Address", "Addr", "Network Address"});
    std::string port;
    if (server.empty() || server == "." || text::lowerAscii(server) == "(local)")
        server = freeTds ? "localhost" : "(local)";
    if (freeTds) {
        // FreeTDS takes the port on its own and knows neither the protocol prefix nor "(local)".
        if (startsWith(text::lowerAscii(server), "tcp:"))
            server.erase(0, 4);
        if (const auto comma = server.find(','); comma != std::string::npos) {
            port = server.substr(comma + 1);
            server.erase(comma);
        }
        if (server == "." || text::lowerAscii(server) == "(local)")
            server = "localhost";
    }

    std::string out = "Driver=" + odbcValue(driver, true) + ";Server=" + odbcValue(server);
    if (!port.empty())
        out += ";Port=" + odbcValue(port);
    if (const auto database = firstOf(connection, {"Initial Catalog", "Database"}); !database.empty())
        out += ";Database=" + odbcValue(database);
    if (isTrue(firstOf(connection, {"Integrated Security", "Trusted_Connection"}))) {
        out += ";Trusted_Connection=yes";
    } else {
        out += ";UID=" + odbcValue(firstOf(connection, {"User ID", "UID", "User"}));
        out += ";PWD=" + odbcValue(firstOf(connection, {"Password", "PWD"}));
    }
    const bool encrypt = isTrue(connection.value("Use Encryption for Data"));
    if (freeTds) {
        if (encrypt)
            out += ";Encryption=require";
        // "auto" lets FreeTDS find the newest protocol the server speaks, whatever an
        // old freetds.conf says; a protocol before 7.0 would lose the Chinese texts.
        out += ";TDS_Version=auto";
    } else {
        // Newer drivers encrypt by default; the OLE DB provider did so only when asked.
        if (encrypt)
            out += ";Encrypt=yes";
        else if (family == 4 && version >= 18000)
            out += ";Encrypt=no";
        if (isTrue(connection.value("Trust Server Certificate")))
            out += ";TrustServerCertificate=yes";
    }
    if (const auto app = connection.value("Application Name"); !app.empty())
        out += ";APP=" + odbcValue(app);
    return out;
}

std::vector<std::string> installedOdbcDrivers()
{
    const odbc::Environment env;
    std::vector<std::string> names;
    SQLWCHAR description[512];
    SQLWCHAR attributes[2048];
    SQLSMALLINT descriptionLength = 0;
    SQLSMALLINT attributesLength = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    for (;;) {
        const SQLRETURN rc = SQLDriversW(env.get(), direction, description, 512, &descriptionLength, attributes, 2048,
                                         &attributesLength);
        if (rc == SQL_NO_DATA)
            break;
        env.check(rc, "SQLDrivers");
        const auto length =
            std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(descriptionLength, 0)), 511);
        names.push_back(odbc::narrow(description, length));
        direction = SQL_FETCH_NEXT;
    }
    return names;
}

} // namespace skorvin::ado
