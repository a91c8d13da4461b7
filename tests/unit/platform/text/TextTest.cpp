#include "platform/Text.hpp"
#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/Numbers.hpp"
#include "platform/Utf8.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

using namespace skorvin;

namespace {

// "中文" in GBK: two characters, four bytes.
const std::string kChinese = "\xD6\xD0\xCE\xC4";

struct SliceCase {
    const char* what;
    std::string got;
    std::string expected;
};

TEST(Text, SlicesCountBytes)
{
    const SliceCase cases[] = {
        {"left 0", text::left("abc", 0), ""},
        {"left negative", text::left("abc", -3), ""},
        {"left beyond end", text::left("abc", 9), "abc"},
        {"left of Chinese counts bytes", text::left(kChinese, 2), "\xD6\xD0"},
        {"right 2", text::right("11-Name", 2), "me"},
        {"right beyond end", text::right("5", 2), "5"},
        {"right 0", text::right("abc", 0), ""},
        {"mid from 5", text::mid("411105012345678", 5, 2), "05"},
        {"mid start before 1 counts as 1", text::mid("abcdef", -4, 2), "ab"},
        {"mid start past end", text::mid("abc", 4, 2), ""},
        {"mid count past end", text::mid("abc", 2, 99), "bc"},
        {"mid count 0", text::mid("abc", 1, 0), ""},
        {"trim blanks and control bytes", text::trim(" \t\r\n12.5 \x01"), "12.5"},
        {"trim keeps inner blanks", text::trim("  a b  "), "a b"},
        {"trim only blanks", text::trim(" \t "), ""},
        {"trim keeps Chinese bytes", text::trim(" " + kChinese + " "), kChinese},
        {"quoted doubles quotes", text::quoted("O'Ma'lley"), "'O''Ma''lley'"},
        {"quoted empty", text::quoted(""), "''"},
        {"format", text::format("'%s' is not a valid integer value", "x"), "'x' is not a valid integer value"},
        {"format two", text::format("Cannot create file \"%s\". %s", "/a", "why"), "Cannot create file \"/a\". why"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what;
}

TEST(Text, PositionIsOneBasedAndZeroWhenAbsent)
{
    EXPECT_EQ(text::pos("-", "11-Name"), 3);
    EXPECT_EQ(text::pos(".", "12"), 0);
    EXPECT_EQ(text::pos("", "abc"), 0);
    EXPECT_EQ(text::pos("-", kChinese + "-x"), 5);
}

TEST(Text, ComparesUnsignedBytesShorterFirst)
{
    EXPECT_LT(text::compare("2.50", "3.00"), 0);
    EXPECT_LT(text::compare("", "3.00"), 0);
    EXPECT_EQ(text::compare("3.00", "3.00"), 0);
    EXPECT_GT(text::compare("3.1", "3.00"), 0);
    EXPECT_LT(text::compare("10.00", "3.00"), 0);
    EXPECT_LT(text::compare("3.0", "3.00"), 0);
    // A GBK lead byte sorts above every ASCII byte.
    EXPECT_GT(text::compare(kChinese, "z"), 0);
    EXPECT_GT(text::compare("a", "B"), 0); // case-sensitive: 0x61 sorts after 0x42
}

// Names compare without case, but a GBK byte is never a letter: under a single-byte
// C locale tolower would turn 0xC0 into 0xE0 and make two different characters equal.
TEST(Text, CaseIsIgnoredForAsciiLettersOnly)
{
    EXPECT_EQ(text::lowerAscii("Provider=SQLOLEDB;" + kChinese), "provider=sqloledb;" + kChinese);
    EXPECT_EQ(text::lowerAscii("\xC0\xDE@[`{"), "\xC0\xDE@[`{");
    EXPECT_TRUE(text::equalsNoCase("ZKZH", "zkzh"));
    EXPECT_FALSE(text::equalsNoCase("zkzh", "zkz"));
    EXPECT_FALSE(text::equalsNoCase("\xC0\xA1", "\xE0\xA1"));
    EXPECT_FALSE(text::equalsNoCase("@", "`")); // 0x40 and 0x60 differ by the case bit only
}

TEST(Gbk, RoundTripsChineseAndAscii)
{
    const std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87"; // 中文
    EXPECT_EQ(gbk::fromUtf8(utf8), kChinese);
    EXPECT_EQ(gbk::toUtf8(kChinese), utf8);
    EXPECT_EQ(gbk::toUtf8("zkzh 4110"), "zkzh 4110");
    const std::string title =
        "\xE5\x9B\x9B\xE7\xBA\xA7\xE4\xB8\xBB\xE8\xA7\x82\xE9\xA2\x98\xE7\x99\xBB\xE5\x88\x86"; // 四级主观题登分
    EXPECT_EQ(gbk::toUtf8(gbk::fromUtf8(title)), title);
    EXPECT_EQ(gbk::fromUtf8(title).size(), 14u);
}

TEST(Gbk, BrokenInputNeverCrashes)
{
    EXPECT_EQ(gbk::toUtf8("\xD6"), "\xEF\xBF\xBD");    // lone lead byte at the end
    EXPECT_EQ(gbk::fromUtf8("\xE4\xB8"), "?");         // cut UTF-8 sequence: one "?"
    EXPECT_EQ(gbk::fromUtf8("\xF0\x9F\x98\x80"), "?"); // emoji: no GBK form
    EXPECT_EQ(gbk::fromUtf8("a\xFFz"), "a?z");
}

// Text from the database: whatever is not well-formed UTF-8 becomes "?", never ASCII, and
// the caller learns that the text is not what the database holds.
TEST(Gbk, OneRuleForInvalidUtf8AndTextGbkLacks)
{
    const struct {
        const char* what;
        std::string utf8;
        std::string gbk;
        bool exact;
    } cases[] = {
        {"ASCII", "4110'0101", "4110'0101", true},
        {"Chinese", "\xE5\x88\x86", "\xB7\xD6", true},
        {"a question mark that is there", "41?0", "41?0", true},
        {"overlong apostrophe", "41\xC0\xA7", "41?", false},
        {"overlong slash in three bytes", "\xE0\x80\xAF", "?", false},
        {"encoded surrogate", "\xED\xA0\x80", "?", false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "?", false},
        {"lone continuation byte", "\x80x", "?x", false},
        {"byte that never starts a sequence", "\xFE", "?", false},
        {"sequence cut short by a letter, which stays",
         "\xE5\x88"
         "A",
         "?A", false},
        {"sequence cut short at the end", "1\xE5\x88", "1?", false},
        {"emoji GBK lacks", "4110\xF0\x9F\x98\x80", "4110?", false},
        {"U+FFFD itself, which GBK lacks", "\xEF\xBF\xBD", "?", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bool exact = !c.exact;
        EXPECT_EQ(gbk::fromUtf8(c.utf8, exact), c.gbk);
        EXPECT_EQ(exact, c.exact);
        EXPECT_EQ(gbk::fromUtf8(c.utf8), c.gbk);
    }
}

// Every character of the Basic Multilingual Plane, alone and between ASCII: GBK gives it back
// whole, or it is one "?" and the text is marked inexact.
TEST(Gbk, EveryBmpCharacterComesBackOrIsOneQuestionMark)
{
    for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        std::string utf8;
        utf8::append(utf8, cp);
        bool exact = false;
        const std::string gbk = gbk::fromUtf8("a" + utf8 + "b", exact);
        if (exact)
            ASSERT_EQ(gbk::toUtf8(gbk), "a" + utf8 + "b") << "U+" << std::hex << static_cast<unsigned>(cp);
        else
            ASSERT_EQ(gbk, "a?b") << "U+" << std::hex << static_cast<unsigned>(cp);
    }
}

// A reader converts field after field into one buffer: nothing of a longer text before stays.
TEST(Gbk, ConvertingIntoAUsedBufferKeepsNothingOfIt)
{
    std::string buffer;
    bool exact = false;
    gbk::fromUtf8Into(buffer, "\xE5\x9B\x9B\xE7\xBA\xA7\xE4\xB8\xBB\xE8\xA7\x82 long text", exact);
    gbk::fromUtf8Into(buffer, "\xE5\x88\x86", exact);
    EXPECT_EQ(buffer, "\xB7\xD6");
    EXPECT_TRUE(exact);
    gbk::fromUtf8Into(buffer, "\xF0\x9F\x98\x80", exact);
    EXPECT_EQ(buffer, "?");
    EXPECT_FALSE(exact);
    gbk::fromUtf8Into(buffer, "", exact);
    EXPECT_EQ(buffer, "");
    EXPECT_TRUE(exact);
}

struct IntCase {
    const char* input;
    std::optional<int> expected;
};

TEST(Numbers, StrictWholeNumbers)
{
    const IntCase cases[] = {
        {"0", 0},
        {"42", 42},
        {"  7", 7},
        {"-12", -12},
        {"+3", 3},
        {"$1F", 31},
        {"0x10", 16},
        {"0X1f", 31},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"1 ", std::nullopt},
        {"1.0", std::nullopt},
        {"x", std::nullopt},
        {"\t1", std::nullopt},
        {"+-1", std::nullopt},
        {"1e2", std::nullopt},
        {"$G", std::nullopt},
    };
    for (const auto& c : cases) {
        if (c.expected) {
            EXPECT_EQ(toInt(c.input), *c.expected) << "'" << c.input << "'";
        } else {
            try {
                toInt(c.input);
                ADD_FAILURE() << "accepted '" << c.input << "'";
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.message(), std::string("'") + c.input + "' is not a valid integer value");
            }
        }
    }
}

struct FloatCase {
    const char* input;
    std::optional<double> expected;
};

TEST(Numbers, DecimalNumbersUseThePoint)
{
    const FloatCase cases[] = {
        {"40", 40.0},
        {"40.5", 40.5},
        {" 12.5 ", 12.5},
        {"12.", 12.0},
        {".5", 0.5},
        {"-1.25", -1.25},
        {"+2", 2.0},
        {"1e2", 100.0},
        {"1.5E-1", 0.15},
        {"0", 0.0},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {".", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"12,5", std::nullopt},
        {"1.2.3", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {"0x10", std::nullopt},
        {"\t1", std::nullopt},
        {"1 2", std::nullopt},
        {"-", std::nullopt},
        {"1e999", std::nullopt},
    };
    for (const auto& c : cases) {
        if (c.expected) {
            EXPECT_DOUBLE_EQ(toFloat(c.input), *c.expected) << "'" << c.input << "'";
        } else {
            try {
                toFloat(c.input);
                ADD_FAILURE() << "accepted '" << c.input << "'";
            } catch (const EConvertError& e) {
                EXPECT_EQ(e.message(), std::string("'") + c.input + "' is not a valid floating point value");
            }
        }
    }
}

} // namespace
