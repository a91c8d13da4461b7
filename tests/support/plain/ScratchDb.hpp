#pragma once

#include "plain/TempDir.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <initializer_list>
#include <string>

namespace skorvin::test {

// An empty SQLite database in its own temporary folder, open through the
// system's connection, for tests that lay out just the rows they need.
class ScratchDb {
public:
    ScratchDb();

    ado::TADOConnection& connection() { return connection_; }
    // Runs each statement, written in UTF-8 for readable sources.
    void run(std::initializer_list<std::string> utf8Statements);

private:
    TempDir dir_;
    ado::TADOConnection connection_;
};

} // namespace skorvin::test
