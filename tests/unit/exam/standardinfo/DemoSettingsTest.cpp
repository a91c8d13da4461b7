#include "exam/StandardInfo.hpp"
#include "plain/DemoDb.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <gtest/gtest.h>

using namespace skorvin;
using namespace skorvin::exam;

namespace {

TEST(DemoSettings, TheDemoDatabaseOpensOnItsProvinceWithItsGeneration)
{
    for (int generation : {1, 2}) {
        demodb::Options options = test::DemoDb::smallOptions();
        options.generation = generation;
        options.settings.kc = std::nullopt;
        const test::DemoDb demo(options);
        ado::TADOConnection connection(demo.connectionString());
        connection.open();

        const TSysSetting setting(connection);
        EXPECT_EQ(setting.jb, 1);
        EXPECT_EQ(setting.dm, "11");
        EXPECT_EQ(setting.kc, "");
        EXPECT_EQ(setting.date, "2026-09-20");
        EXPECT_EQ(setting.time, "09:00");
        EXPECT_EQ(CheckDbVersion(connection), generation);
    }
}

} // namespace
