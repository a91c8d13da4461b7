#include "plain/ScratchDb.hpp"

#include "platform/Gbk.hpp"

#include <fstream>

namespace skorvin::test {

ScratchDb::ScratchDb() : connection_("Provider=SQLite;Data Source=" + (dir_ / "exam.sqlite").string())
{
    // The connection never creates a database; an empty file is an empty SQLite database.
    std::ofstream(dir_ / "exam.sqlite", std::ios::binary);
    connection_.open();
    // Nothing here must survive a power cut; without syncing, laying out rows is quick.
    connection_.execute("PRAGMA synchronous = OFF");
}

void ScratchDb::run(std::initializer_list<std::string> utf8Statements)
{
    for (const std::string& statement : utf8Statements)
        connection_.execute(gbk::fromUtf8(statement));
}

} // namespace skorvin::test
