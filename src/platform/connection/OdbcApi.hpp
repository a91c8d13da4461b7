#pragma once

// The ODBC headers; on Windows they need the system's types first.
#include "platform/WindowsApi.hpp"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

namespace skorvin::ado::odbc {

// SQLWCHAR is unsigned short under unixODBC and wchar_t on Windows; both hold UTF-16.
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "the wide ODBC calls must carry UTF-16");

} // namespace skorvin::ado::odbc
