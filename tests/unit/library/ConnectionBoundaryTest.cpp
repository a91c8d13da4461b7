// The connection across the library boundary: the demo host's connection behind the boundary
// interface, and the library's own TADOConnection over that interface, run against a real
// database. What the library reads and writes must be what it would through the host's
// connection itself: rows, NULLs, row counts, texts that lost characters, errors.
#include "host/connection/HostConnection.hpp"
#include "library/HostConnectionBackend.hpp"
#include "plain/ScratchDb.hpp"
#include "platform/Exception.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace skorvin;

namespace {

class ConnectionBoundary : public ::testing::Test {
protected:
    ConnectionBoundary()
    {
        db_.run({"create table t_omr (zkzh varchar(20), tttt varchar(10), qk varchar(2))",
                 "insert into t_omr values ('400100000001', null, null)",
                 "insert into t_omr values ('400100000002', '27.5', null)",
                 // char(128512) is an emoji, which has no GBK form.
                 "insert into t_omr values ('40010000000' || char(128512), '', null)"});
    }

    test::ScratchDb db_;
    host::HostConnection boundary_{db_.connection()};
    ado::TADOConnection library_{std::make_unique<library::HostConnectionBackend>(boundary_)};
};

TEST_F(ConnectionBoundary, RowsAndNullsArriveAsTheHostReadThem)
{
    ado::TADODataSet list("Main_AdoSet");
    list.setConnection(&library_);
    list.setCommandText("select zkzh, tttt from t_omr where zkzh like ? order by zkzh");
    list.setParameter(0, std::string("4001%"));
    list.open();
    ASSERT_EQ(list.recordCount(), 3);
    EXPECT_EQ(list.fieldValue("tttt"), ado::FieldValue());
    EXPECT_TRUE(list.fieldTextExact("zkzh"));
    list.next();
    EXPECT_EQ(list.fieldText("zkzh"), "400100000002");
    EXPECT_EQ(list.fieldValue("tttt"), ado::FieldValue("27.5"));
    list.next();
    // The emoji arrives as "?", and the library still knows the number is not exact.
    EXPECT_EQ(list.fieldText("zkzh"), "40010000000?");
    EXPECT_FALSE(list.fieldTextExact("zkzh"));
    EXPECT_EQ(list.fieldValue("tttt"), ado::FieldValue(""));
}

TEST_F(ConnectionBoundary, StatementsChangeTheHostsDatabaseAndCountTheirRows)
{
    EXPECT_EQ(
        library_.execute("update t_omr set tttt=? where zkzh=?", {std::string("30"), std::string("400100000001")}), 1);
    EXPECT_EQ(library_.execute("update t_omr set tttt='1' where zkzh='none'"), 0);
    EXPECT_EQ(library_.execute("update t_omr set tttt=? where zkzh like '4001%'", {ado::FieldValue()}), 3);
    ado::TADOQuery check;
    check.setConnection(&db_.connection());
    check.setSql("select count(*) as n from t_omr where tttt is null");
    check.open();
    EXPECT_EQ(check.fieldText("n"), "3");
}

TEST_F(ConnectionBoundary, FailuresCarryTheProvidersText)
{
    try {
        library_.execute("update t_missing set tttt='1'");
        FAIL() << "the statement ran";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(e.message().find("t_missing"), std::string::npos) << e.message();
        EXPECT_NE(e.message().back(), '.');
    }
    ado::TADODataSet list;
    list.setConnection(&library_);
    list.setCommandText("select nothing from t_omr");
    EXPECT_THROW(list.open(), EDatabaseError);
    EXPECT_FALSE(list.active());
    // The connection goes on working after a failure, and closing it leaves the host's open.
    library_.close();
    EXPECT_EQ(library_.execute("update t_omr set tttt='2' where zkzh='400100000002'"), 1);
}

} // namespace
