#include "platform/recordset/FilterExpression.hpp"
#include "platform/Exception.hpp"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace skorvin;
using namespace skorvin::ado;

namespace {

using Value = FilterExpression::Value;
using Row = std::array<Value, 3>;

// "张三" in GBK.
const std::string kZhangSan = "\xD5\xC5\xC8\xFD";

const std::vector<std::string> kFields = {"zkzh", "tttt", "xm"};

// Scores of every kind the list meets: none, empty, whole, half, one digit (9 sorts after 35
// as text but below it as a number), and text that is no number.
const std::vector<Row> kRows = {
    Row{"41", std::nullopt, kZhangSan}, Row{"42", "", "Li"},          Row{"43", "35", "smith"},
    Row{"44", "27.5", "SMITHERS"},      Row{"45", "9", std::nullopt}, Row{"46", "abc", "O'Malley"},
};

std::string matching(const std::string& criteria)
{
    FilterExpression filter(criteria);
    filter.bind(kFields);
    std::string out;
    for (const auto& row : kRows)
        if (filter.matches(row.data()))
            out += (out.empty() ? "" : " ") + std::string(*row[0]);
    return out;
}

TEST(FilterExpression, SelectsTheRowsItsCriteriaAdmit)
{
    const std::pair<std::string, std::string> cases[] = {
        // The list's two filter texts, exactly as the window sets them.
        {" tttt = null or tttt=''", "41 42"},
        {" tttt <> null and tttt<>''", "43 44 45 46"},
        {"tttt = NULL", "41"},
        {"tttt <> Null", "42 43 44 45 46"},
        {"tttt = ''", "42"},
        {"tttt <> ''", "43 44 45 46"},
        // Names without regard to letter case, bracketed names, blanks anywhere between parts.
        {"TTTT = '35'", "43"},
        {"[tttt]='35'", "43"},
        {"   zkzh=  '41'   ", "41"},
        // Numbers compare numerically with numeric text, quoted values byte by byte.
        {"tttt > 10", "43 44 46"},
        {"tttt > '10'", "43 44 45 46"},
        {"tttt >= 27.5 and tttt <= 35", "43 44"},
        {"tttt < 10", "42 45"},
        {"tttt = $35", "43"},
        {"tttt = 3.5e1", "43"},
        {"tttt = 35.0", "43"},
        {"xm > 'Z'", "41 43"},
        {"xm = '" + kZhangSan + "'", "41"},
        {"xm = 'O''Malley'", "46"},
        {"zkzh = #41#", "41"},
        {"zkzh = #'41'#", "41"},
        {"xm <> 'Li'", "41 43 44 46"},
        // LIKE: trailing or both-end wildcards, ASCII letter case ignored.
        {"xm like 'smith*'", "43 44"},
        {"xm LIKE 'SMITH%'", "43 44"},
        {"xm like '%mit%'", "43 44"},
        {"xm like '*'", "41 42 43 44 46"},
        {"xm like 'li'", "42"},
        {"xm like '" + kZhangSan.substr(0, 2) + "*'", "41"},
        // AND binds before OR; groups of ANDs may be ORed.
        {"zkzh = '41' or zkzh = '42' and tttt = ''", "41 42"},
        {"zkzh = '42' and tttt = '' or zkzh = '45'", "42 45"},
        {"(zkzh >= '43' and tttt < '4') or zkzh = '41'", "41 43 44"},
        {"(zkzh = '41' or zkzh = '42') or zkzh = '43'", "41 42 43"},
        {"(zkzh > '41' and zkzh < '44') and tttt <> ''", "43"},
        {"(tttt = null and zkzh = '41') or (tttt = null and zkzh = '42')", "41"},
        {"((zkzh = '46'))", "46"},
        {"", "41 42 43 44 45 46"},
    };
    for (const auto& [criteria, expected] : cases)
        EXPECT_EQ(matching(criteria), expected) << criteria;
}

TEST(FilterExpression, RefusesWhatItCannotReadNamingTheText)
{
    const std::string refused[] = {
        "(zkzh = '41' or zkzh = '42') and tttt = null",
        "tttt = null and (zkzh = '41' or zkzh = '42')",
        "tttt is null",
        "tttt == '1'",
        "tttt != '1'",
        "tttt = 'abc",
        "tttt = abc",
        "tttt > null",
        "xm like null",
        "xm like '*mith'",
        "xm like 'S*th'",
        "xm like 35",
        "(tttt = '1'",
        "tttt = '1')",
        "tttt = '1' and",
        "tttt = '1' xm = '2'",
        "tttt = 1.2.3",
        "tttt = #41",
        "= '1'",
        "tttt",
        std::string(100000, '(') + "tttt = '1'" + std::string(100000, ')'),
    };
    for (const auto& criteria : refused) {
        try {
            matching(criteria);
            ADD_FAILURE() << "accepted: " << criteria;
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.message().rfind("Cannot use the filter \"" + criteria + "\": ", 0), 0u)
                << e.message().substr(0, 200);
        }
    }
}

TEST(FilterExpression, UnknownFieldIsRefusedWhenBound)
{
    FilterExpression filter("nosuch = '1'");
    try {
        filter.bind(kFields);
        ADD_FAILURE() << "bound to a field that does not exist";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.message(), "Cannot use the filter \"nosuch = '1'\": Field 'nosuch' not found");
    }
}

TEST(FilterExpression, LetterCaseFoldsOnlySingleByteCharacters)
{
    // 0xB0 0x41 and 0xB0 0x61 are two different Chinese characters whose trail bytes
    // happen to be "A" and "a": LIKE must not take them for the same.
    const std::vector<std::string> fields = {"xm"};
    const std::array<Value, 1> upper = {std::string_view("\xB0\x41")};
    const std::array<Value, 1> lower = {std::string_view("\xB0\x61")};
    FilterExpression filter("xm like '\xB0\x61*'");
    filter.bind(fields);
    EXPECT_TRUE(filter.matches(lower.data()));
    EXPECT_FALSE(filter.matches(upper.data()));

    // A contains-pattern is tried at character starts only, never from a trail byte.
    FilterExpression contains("xm like '*A*'");
    contains.bind(fields);
    EXPECT_FALSE(contains.matches(upper.data()));
}

} // namespace
