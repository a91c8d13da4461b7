#include "plain/DemoDb.hpp"

#include "plain/GbkPath.hpp"

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
    return "Provider=SQLite;Data Source=" + gbkName(path_);
}

} // namespace skorvin::test
