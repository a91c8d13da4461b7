#include "plain/ScratchDb.hpp"

#include "platform/Gbk.hpp"

namespace skorvin::test {

ScratchDb::ScratchDb() : connection_("Provider=SQLite;Data Source=" + (dir_ / "exam.sqlite").string())
{
    connection_.open();
}

void ScratchDb::run(std::initializer_list<std::string> utf8Statements)
{
    for (const std::string& statement : utf8Statements)
        connection_.execute(gbk::fromUtf8(statement));
}

} // namespace skorvin::test
