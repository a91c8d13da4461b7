#include "platform/RegionalDate.hpp"
#include "platform/Gbk.hpp"

#include <gtest/gtest.h>

#include <vector>

using namespace skorvin;

namespace {

TEST(RegionalDate, PicturesWithTheirSeparator)
{
    struct Case {
        const char* picture; // UTF-8
        char separator;
        const char* expected;
    };
    const Date date{2025, 4, 5};
    const std::vector<Case> cases = {
        {"yyyy/M/d", '/', "2025/4/5"},
        {"yyyy/M/d", '-', "2025-4-5"},
        {"yyyy/MM/dd", '.', "2025.04.05"},
        {"dd/mm/yy", '/', "05/04/25"},
        {"M/d/yyyy", '/', "4/5/2025"},
        {"yyyy\"年\"M\"月\"d\"日\"", '/', "2025年4月5日"},
        {"yyyy'-'MM'-'dd", '/', "2025-04-05"},
        // Unquoted, the second bytes of 癲, 癕 and 皔 ("d", "M", "y") are no fields.
        {"d癲M癕y皔", '/', "5癲4癕25皔"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        EXPECT_EQ(formatDate(gbk::fromUtf8(c.picture), c.separator, date), gbk::fromUtf8(c.expected));
    }
    EXPECT_EQ(formatDate("d/M/yyyy", '/', Date{2025, 12, 31}), "31/12/2025");
}

TEST(RegionalDate, CLibraryDateFormats)
{
    struct Case {
        const char* cFormat; // UTF-8
        const char* picture;
    };
    const std::vector<Case> cases = {
        {"%m/%d/%y", "MM/dd/yy"},
        {"%d.%m.%Y", "dd\".\"MM\".\"yyyy"},
        {"%Y-%m-%d", "yyyy\"-\"MM\"-\"dd"},
        {"%Y年%m月%d日", "yyyy\"年\"MM\"月\"dd\"日\""},
        {"%-d/%-m/%Y", "d/M/yyyy"},
        {"%e/%m/%Y", "d/MM/yyyy"},
        {"%F", "yyyy\"-\"MM\"-\"dd"},
        {"%D", "MM/dd/yy"},
        {"%Ey", "yy"},
        {"%d %b %Y", ""},
        {"%a %d", ""},
        {"%", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cFormat);
        EXPECT_EQ(pictureFromCFormat(gbk::fromUtf8(c.cFormat)), gbk::fromUtf8(c.picture));
    }
}

// The tests run in the C locale, which has no regional settings of its own.
TEST(RegionalDate, WithoutRegionalSettingsTheChineseDefault)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows always has regional settings: the user's own";
#endif
    EXPECT_EQ(regionalDateSettings().ShortDateFormat, "yyyy/M/d");
    EXPECT_EQ(regionalDateSettings().DateSeparator, '/');
}

} // namespace
