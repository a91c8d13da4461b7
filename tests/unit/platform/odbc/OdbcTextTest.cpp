// Text between the system (GBK), the wide ODBC calls (UTF-16) and driver messages.
#include "OdbcFixture.hpp"

#include "platform/connection/OdbcHandle.hpp"
#include "platform/connection/OdbcText.hpp"

#include <gtest/gtest.h>

namespace skorvin::test {
namespace {

using namespace ado::odbctext;

TEST(OdbcText, Utf8AndUtf16ConvertBothWays)
{
    const struct {
        const char* utf8;
        std::u16string utf16;
    } cases[] = {
        {"", u""},
        {"4110100101", u"4110100101"},
        {"北京市-海淀区", u"\u5317\u4EAC\u5E02-\u6D77\u6DC0\u533A"},
        {"é·€", u"\u00E9\u00B7\u20AC"},
        {"\xF0\x9F\x98\x80x", u"\U0001F600x"}, // outside the basic plane: a surrogate pair
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8ToUtf16(c.utf8), c.utf16) << c.utf8;
        EXPECT_EQ(utf16ToUtf8(c.utf16), c.utf8) << c.utf8;
    }
}

TEST(OdbcText, BrokenSequencesBecomeTheReplacementCharacter)
{
    EXPECT_EQ(utf8ToUtf16("a\xE5\x8C"), u"a\uFFFD");   // cut short at the end
    EXPECT_EQ(utf8ToUtf16("\xE5\x8Cz"), u"\uFFFDz");   // cut short before a letter
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD");     // overlong "/"
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD"); // an encoded surrogate
    EXPECT_EQ(utf8ToUtf16("\xFF"), u"\uFFFD");         // never a lead byte
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xD800') + u"a"), "\xEF\xBF\xBD"
                                                                "a");     // lone high surrogate
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD"); // lone low surrogate
}

TEST(OdbcText, GbkRoundTripsThroughUtf16)
{
    for (const char* utf8 : {"", "select dm from v_ssjg", "考生“张三”的分数：85.5", "00-全国"}) {
        const auto gbkBytes = gbkText(utf8);
        EXPECT_EQ(fromGbk(gbkBytes), utf8ToUtf16(utf8)) << utf8;
        EXPECT_EQ(toGbk(utf8ToUtf16(utf8)), gbkBytes) << utf8;
    }
    // A character GBK cannot hold is replaced, never dropped silently.
    EXPECT_EQ(toGbk(u"a\U0001F600b"), "a?b");
}

TEST(OdbcText, DriverPrefixesAreDroppedFromMessages)
{
    const struct {
        const char* raw;
        const char* shown;
    } cases[] = {
        {"[unixODBC][Driver Manager]Data source name not found and no default driver specified",
         "Data source name not found and no default driver specified"},
        {"[SQLite]no such table: t_bm (1)", "no such table: t_bm (1)"},
        {"[Microsoft][ODBC Driver 17 for SQL Server][SQL Server]Invalid object name 't_bm'.",
         "Invalid object name 't_bm'."},
        {"[FreeTDS][SQL Server]Login failed for user 'sa'.", "Login failed for user 'sa'."},
        {"Syntax error near [dm]", "Syntax error near [dm]"},
        {"[unterminated prefix", "[unterminated prefix"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ado::odbc::withoutDriverPrefixes(c.raw), c.shown);
}

} // namespace
} // namespace skorvin::test
