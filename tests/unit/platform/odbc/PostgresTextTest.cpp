// Texts through psqlODBC do not depend on the locale of the host process: the same bytes
// are shown and written under the C locale, a UTF-8 one and a Chinese 8-bit one.
#include "OdbcFixture.hpp"

#include "plain/PostgresDb.hpp"
#include "platform/Exception.hpp"
#include "platform/Text.hpp"
#include "platform/connection/TADOConnection.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace skorvin::test {
namespace {

// The text's UTF-8 bytes as lower-case hex, as the server's encode() writes them.
std::string utf8Hex(const char* utf8)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const char* p = utf8; *p; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        hex += digits[byte >> 4];
        hex += digits[byte & 0x0F];
    }
    return hex;
}

class PostgresText : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (!locale.active())
            GTEST_SKIP() << "locale " << GetParam() << " is not installed";
        if (!postgresServer())
            GTEST_SKIP() << kNoPostgres;
        db = std::make_unique<PostgresDb>();
        // A name with a character GBK lacks, written in ASCII so that no locale touches it.
        db->run("create table t_org (dm text, dwmc text);"
                "insert into t_org values ('1101', U&'\\5317\\4EAC\\5E02'), ('1102', U&'\\5F20\\+01F600\\4E09')");
        connection.setConnectionString(db->connectionString());
        connection.open();
    }

    Rows query(const std::string& sql, const std::vector<ado::FieldValue>& params = {})
    {
        Rows rows;
        connection.query(sql, params, rows);
        return rows;
    }

    LocaleScope locale{GetParam()};
    std::unique_ptr<PostgresDb> db;
    ado::TADOConnection connection;
};

TEST_P(PostgresText, ListsShowChineseAndAQuestionMarkForWhatGbkLacks)
{
    EXPECT_EQ(query("select dm, dwmc from t_org order by dm").rows,
              (std::vector<Row>{{"1101", gbkText("北京市")}, {"1102", gbkText("张?三")}}));
    // Chinese in the statement text and in a parameter finds the row.
    EXPECT_EQ(query("select dm from t_org where dwmc=" + text::quoted(gbkText("北京市"))).rows,
              (std::vector<Row>{{"1101"}}));
    EXPECT_EQ(query("select dm from t_org where dwmc like ?", {gbkText("北京%")}).rows, (std::vector<Row>{{"1101"}}));
}

TEST_P(PostgresText, WrittenTextIsStoredAsTheSameCharacters)
{
    connection.execute("insert into t_org values ('2001', " + text::quoted(gbkText("海淀区第一考点")) + ")");
    connection.execute("insert into t_org values ('2002', ?)", {gbkText("朝阳区·考点“甲”")});
    EXPECT_EQ(query("select encode(convert_to(dwmc, 'UTF8'), 'hex') from t_org where dm like '200%' order by dm").rows,
              (std::vector<Row>{{utf8Hex("海淀区第一考点")}, {utf8Hex("朝阳区·考点“甲”")}}));
}

TEST_P(PostgresText, ErrorsKeepTheChineseOfTheServersMessage)
{
    try {
        query("select dm from " + gbkText("考场"));
        ADD_FAILURE() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find(gbkText("考场")), std::string::npos) << gbk::toUtf8(e.what());
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, PostgresText, ::testing::ValuesIn(kLocales));

} // namespace
} // namespace skorvin::test
