#pragma once

#include <gtest/gtest.h>

namespace skorvin::test {

// The ODBC tests run against real drivers: the SQLite ODBC driver and psqlODBC. Debian
// has neither for Windows, so a Windows build skips them; they need a native Windows
// machine with those drivers installed.
#ifdef _WIN32
inline constexpr bool kOdbcDriversHere = false;
#else
inline constexpr bool kOdbcDriversHere = true;
#endif
inline constexpr char kNoOdbcDriver[] =
    "needs a native Windows ODBC driver (SQLite ODBC, psqlODBC); none exists for Wine here";

// Skips every test of a program whose tests go through ODBC drivers. GoogleTest counts
// tests that an environment skipped as passed, so the message also carries the mark by
// which CTest tells a skipped test.
class NeedsNativeOdbcDriver : public testing::Environment {
public:
    void SetUp() override
    {
        if (!kOdbcDriversHere)
            GTEST_SKIP() << "[  SKIPPED ] " << kNoOdbcDriver;
    }
};

} // namespace skorvin::test
