#include "platform/Exception.hpp"
#include "report/PrintPlan.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace skorvin::report;

namespace {

struct SequenceCase {
    std::string pageText;
    int pageCount;
    PageParity parity;
    std::vector<int> expected;
};

std::vector<int> sequenceFor(const SequenceCase& c)
{
    return pageSequence(c.pageCount, parsePageNumbers(c.pageText, c.pageCount), c.parity);
}

} // namespace

TEST(PrintPlan, PageTextToPageSequence)
{
    const auto all = PageParity::All;
    const std::vector<SequenceCase> cases = {
        {"1,3,5-7", 10, all, {1, 3, 5, 6, 7}},
        {"7,1", 10, all, {1, 7}},                          // the order written does not matter
        {"3,3,2-4", 10, all, {2, 3, 4}},                   // nor do repeats
        {"8-", 10, all, {8, 9, 10}},                       // an open range runs to the last page
        {"5-3", 10, all, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, // nothing chosen: every page
        {"1-3-5", 10, all, {3, 4, 5}},                     // a second "-" restarts at the number before it
        {" 1 , 3 - 4 ", 10, all, {1, 3, 4}},
        {"", 3, all, {1, 2, 3}},
        {"   ", 3, all, {1, 2, 3}},
        {"0,11,12-20", 10, all, {}}, // only pages that do not exist: nothing to send
        {"9-2000000000", 10, all, {9, 10}},
        {"$A", 12, all, {10}}, // whole numbers as the conversion reads them
        {"", 5, PageParity::Odd, {1, 3, 5}},
        {"", 5, PageParity::Even, {2, 4}},
        {"2-5", 10, PageParity::Odd, {3, 5}},
        {"", 0, all, {}},
    };
    for (const SequenceCase& c : cases)
        EXPECT_EQ(sequenceFor(c), c.expected) << '"' << c.pageText << "\" of " << c.pageCount;
}

TEST(PrintPlan, APartThatIsNotAWholeNumberIsRefused)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a", "'a' is not a valid integer value"},     {"1,x-3", "'x' is not a valid integer value"},
        {"1,,3", "'' is not a valid integer value"},   {"-3", "'' is not a valid integer value"},
        {"1.5", "'1.5' is not a valid integer value"}, {"99999999999", "'99999999999' is not a valid integer value"},
    };
    for (const auto& [text, message] : cases) {
        try {
            parsePageNumbers(text, 10);
            ADD_FAILURE() << '"' << text << "\" was accepted";
        } catch (const skorvin::EConvertError& refused) {
            EXPECT_EQ(refused.message(), message);
        }
    }
}

TEST(PrintPlan, SelectionMergesRanges)
{
    PageSelection chosen;
    chosen.add(5, 7);
    chosen.add(1, 2);
    chosen.add(3, 4);
    chosen.add(std::numeric_limits<int>::max() - 1, std::numeric_limits<int>::max());
    for (int page : {1, 2, 3, 4, 5, 6, 7, std::numeric_limits<int>::max()})
        EXPECT_TRUE(chosen.contains(page)) << page;
    for (int page : {0, 8, std::numeric_limits<int>::max() - 2})
        EXPECT_FALSE(chosen.contains(page)) << page;
}

TEST(PrintPlan, CopiesAndCollation)
{
    struct Case {
        int copies;
        bool collate;
        CopyPlan expected;
    };
    const Case cases[] = {
        {2, true, {2, 1}}, {2, false, {1, 2}}, {1, true, {1, 1}}, {0, true, {1, 1}}, {-3, false, {1, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(planCopies(c.copies, c.collate), c.expected) << c.copies << (c.collate ? " collated" : "");
}
