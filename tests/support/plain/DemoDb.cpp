#include "plain/DemoDb.hpp"

#include "platform/Gbk.hpp"

namespace skorvin::test {

DemoDb::DemoDb(const demodb::Options& options) : path_(dir_ / "exam.sqlite"), summary_(demodb::create(path_, options))
{
}

demodb::Options DemoDb::smallOptions()
{
    demodb::Options options;
    options.candidates = 200;
    options.orgSize = demodb::OrgSize::Small;
    return options;
}

std::string DemoDb::connectionString() const
{
    return "Provider=SQLite;Data Source=" + gbk::fromUtf8(path_.string());
}

} // namespace skorvin::test
