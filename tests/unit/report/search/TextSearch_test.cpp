#include "platform/Gbk.hpp"
#include "report/BuiltReport.hpp"
#include "report/TextSearch.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace skorvin::report;
using skorvin::gbk::fromUtf8;

TEST(TextSearch, CaseAndCharacterBoundaries)
{
    // 癆 is B0 41: its second byte is "A".
    struct Case {
        const char* text; // UTF-8, converted to GBK
        const char* sought;
        bool matchCase;
        bool found;
    };
    const Case cases[] = {
        {"王小明", "小明", false, true},
        {"Wang Xiaoming", "XIAOMING", false, true},
        {"Wang Xiaoming", "XIAOMING", true, false},
        {"Wang Xiaoming", "Xiaoming", true, true},
        {"癆", "a", false, false}, // never the second byte of a character, upper-cased or not
        {"癆", "A", true, false},
        {"癆A", "A", true, true}, // but the letter after it
        {"x癆", "xa", false, false},
        {"abc", "", false, false},
        {"ab", "abc", false, false},
        {"李华 Li Hua", "华 LI", false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(containsText(fromUtf8(c.text), fromUtf8(c.sought), c.matchCase), c.found)
            << c.text << " / " << c.sought << (c.matchCase ? " (case)" : "");
}

TEST(TextSearch, WalksPagesAndPiecesInDrawingOrder)
{
    BuiltReport pages;
    pages.addStyle({});
    const std::vector<std::vector<const char*>> sheets = {{"王小明", "李华", "王小明"}, {"张伟"}, {"陈静", "王小明"}};
    for (const auto& sheet : sheets) {
        pages.beginPage(21000, 29700);
        for (const char* text : sheet)
            pages.addPiece({0, 0, 1000, 500}, fromUtf8(text), 0);
    }
    const std::string name = fromUtf8("王小明");
    struct Case {
        int startPage;
        int afterPiece;
        std::optional<TextMatch> expected;
    };
    const Case cases[] = {
        {0, -1, TextMatch{0, 0}}, {0, 0, TextMatch{0, 2}}, {0, 2, TextMatch{2, 1}},
        {1, -1, TextMatch{2, 1}}, {2, 1, std::nullopt},    {3, -1, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findText(pages, name, false, c.startPage, c.afterPiece), c.expected)
            << c.startPage << "/" << c.afterPiece;
}
