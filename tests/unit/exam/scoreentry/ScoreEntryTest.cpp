#include "exam/ScoreEntry.hpp"
#include "platform/Exception.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace skorvin;
using namespace skorvin::exam;

namespace {

TEST(AdmissionKeyFilter, KeepsDigitsCapitalAEnterAndBackspaceOnly)
{
    const std::string kept = std::string("0123456789A") + kEnter + kBackspace;
    for (char key : kept)
        EXPECT_EQ(filterAdmissionKey(key), key) << int(key);
    for (char key : std::string("aBZz .-+\t'\"%"))
        EXPECT_EQ(filterAdmissionKey(key), kNoKey) << key;
}

struct ScoreKeyCase {
    const char* boxText;
    char key;
    const char* xs;
    bool kept;
};

TEST(ScoreKeyFilter, FollowsTheDecimalPlaces)
{
    const ScoreKeyCase cases[] = {
        // Xs = 1: 1, 2, ., 5 gives 12.5; then the fraction is full.
        {"", '1', "1", true},
        {"1", '2', "1", true},
        {"12", '.', "1", true},
        {"12.", '5', "1", true},
        {"12.5", '3', "1", false},
        {"12.5", kBackspace, "1", true},
        {"12.5", kEnter, "1", true},
        {"12.5", '.', "1", false},
        // Xs = 0: no point at all.
        {"12", '.', "0", false},
        {"12", '7', "0", true},
        // Xs = 2 allows two places.
        {"12.5", '5', "2", true},
        {"12.55", '5', "2", false},
        // A point never starts a score, blanks do not count as text.
        {"", '.', "1", false},
        {"   ", '.', "1", false},
        // A second point is refused.
        {"1.", '.', "2", false},
        // Other keys never get through.
        {"1", 'a', "1", false},
        {"1", '-', "1", false},
        {"1", ' ', "1", false},
        // The rule looks at the whole text, wherever the caret is: a digit typed in front
        // of a full fraction is refused too.
        {"2.5", '1', "1", false},
        // Trailing blanks are not digits after the point.
        {"12. ", '5', "1", true},
    };
    for (const auto& c : cases) {
        const char expected = c.kept ? c.key : kNoKey;
        EXPECT_EQ(filterScoreKey(c.boxText, c.key, c.xs), expected)
            << "text '" << c.boxText << "' key " << int(c.key) << " Xs " << c.xs;
    }
}

TEST(ScoreKeyFilter, DecimalPlacesThatAreNotAWholeNumberFailForEveryKey)
{
    for (const char* xs : {"", "x", "1.5"}) {
        try {
            filterScoreKey("1", '2', xs);
            ADD_FAILURE() << "accepted Xs '" << xs << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.message(), std::string("'") + xs + "' is not a valid integer value");
        }
    }
}

// Text can reach the score box past its key filter (Delete in the middle, a settings change
// after typing); the save accepts only what the filter could have built.
TEST(ScoreText, AcceptsOnlyWhatTheKeyFilterCanBuild)
{
    const struct {
        const char* text;
        const char* xs;
        bool accepted;
    } cases[] = {
        {"12.5", "1", true}, {"40", "1", true},      {" 7 ", "1", true},   {"12.", "1", true},    {"12.", "0", true},
        {"0", "0", true},    {"12.34", "2", true},   {"-5", "1", false},   {"1e1", "1", false},   {"+3", "1", false},
        {".5", "1", false},  {"12.345", "1", false}, {"12.5", "0", false}, {"1.2.3", "2", false}, {"1 2", "1", false},
        {"", "1", false},    {"12,5", "1", false},   {"A1", "1", false},   {"１２", "1", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isScoreText(c.text, c.xs), c.accepted) << "'" << c.text << "' Xs " << c.xs;
    EXPECT_THROW(isScoreText("12", "x"), EConvertError);
}

TEST(ScoreText, EverythingTheKeyFilterBuildsIsAccepted)
{
    const std::string keys = "0123456789..a-+ e";
    unsigned seed = 12345;
    for (const char* xs : {"0", "1", "2"}) {
        for (int sequence = 0; sequence < 500; ++sequence) {
            std::string box;
            for (int n = 0; n < 8; ++n) {
                seed = seed * 1103515245u + 12345u;
                const char key = keys[(seed >> 16) % keys.size()];
                if (filterScoreKey(box, key, xs) == key)
                    box += key;
            }
            if (!box.empty()) {
                EXPECT_TRUE(isScoreText(box, xs)) << "'" << box << "' Xs " << xs;
            }
        }
    }
}

TEST(ScoreToStore, TrimsAndDropsOneTrailingPoint)
{
    EXPECT_EQ(scoreTextToStore("12."), "12");
    EXPECT_EQ(scoreTextToStore(" 12.5 "), "12.5");
    EXPECT_EQ(scoreTextToStore("40"), "40");
    EXPECT_EQ(scoreTextToStore("12. "), "12");
    EXPECT_EQ(scoreTextToStore(""), "");
}

// Two scores are the same when they are the same number, exactly: no rounding makes 12.5 and
// 12.50001 one score, and a stored text that is not a score only matches itself.
TEST(SameScore, ComparesScoresAsNumbers)
{
    const struct {
        const char* a;
        const char* b;
        bool same;
    } cases[] = {
        {"12", "12", true},   {"12", "12.0", true},        {"12", "12.", true},      {"12.50", "12.5", true},
        {"007", "7", true},   {"0", "0.0", true},          {"0", "000", true},       {" 12 ", "12", true},
        {"12", "21", false},  {"12.5", "125", false},      {"12.5", "12.05", false}, {"1", "10", false},
        {"10", "1.0", false}, {"12.5", "12.50001", false}, {"abc", "abc", true},     {"12a", "12", false},
        {"", "0", false},     {".5", "0.5", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sameScore(c.a, c.b), c.same) << c.a << " / " << c.b;
        EXPECT_EQ(sameScore(c.b, c.a), c.same) << c.b << " / " << c.a;
    }
}

TEST(Maximum, EqualIsAcceptedAboveIsRefused)
{
    EXPECT_FALSE(exceedsMaximum("40", "40"));
    EXPECT_TRUE(exceedsMaximum("40.5", "40"));
    EXPECT_FALSE(exceedsMaximum("12.", "40"));
    EXPECT_FALSE(exceedsMaximum(" 0 ", "40"));
    EXPECT_TRUE(exceedsMaximum("101", "100"));
    EXPECT_THROW(exceedsMaximum("12", ""), EConvertError);
}

} // namespace
