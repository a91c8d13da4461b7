#include "exam/ScoreEntry.hpp"

#include "platform/Numbers.hpp"
#include "platform/Text.hpp"

namespace skorvin::exam {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal score written one way: no leading zeros, no trailing zeros after the point, no bare
// point; any other text trimmed and left as it is. Exact, where a floating-point compare is not.
std::string canonicalScore(std::string_view score)
{
    std::string text = text::trim(score);
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
    const auto digitsOnly = [](const std::string& part) {
        for (char c : part)
            if (!isDigit(c))
                return false;
        return true;
    };
    if (whole.empty() || !digitsOnly(whole) || !digitsOnly(fraction))
        return text;
    const std::size_t firstSignificant = whole.find_first_not_of('0');
    std::string result = firstSignificant == std::string::npos ? "0" : whole.substr(firstSignificant);
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (!fraction.empty())
        result += "." + fraction;
    return result;
}

} // namespace

char filterAdmissionKey(char key)
{
    if (key == kBackspace || key == kEnter || isDigit(key) || key == 'A')
        return key;
    return kNoKey;
}

char filterScoreKey(std::string_view boxText, char key, std::string_view xs)
{
    const int places = toInt(xs);
    const std::string text = text::trim(boxText);
    if (places == 0 && key == '.')
        return kNoKey;
    // A score never starts with a point.
    if (text.empty() && key == '.')
        return kNoKey;
    if (!(key == kBackspace || key == kEnter || key == '.' || isDigit(key)))
        return kNoKey;
    const int point = text::pos(".", text);
    if (point > 0 && key == '.')
        return kNoKey;
    // Once the fraction is full only Backspace and Enter get through, wherever the caret is.
    const int length = static_cast<int>(text.size());
    if (point > 0 && length - point + 1 > places && key != kBackspace && key != kEnter)
        return kNoKey;
    return key;
}

bool isScoreText(std::string_view boxText, std::string_view xs)
{
    const int places = toInt(xs);
    const std::string text = text::trim(boxText);
    if (text.empty() || !isDigit(text.front()))
        return false;
    int decimals = -1; // digits after the point; -1 before any point
    for (char c : text) {
        if (c == '.' && decimals < 0)
            decimals = 0;
        else if (isDigit(c))
            decimals += decimals >= 0 ? 1 : 0;
        else
            return false;
    }
    return decimals <= 0 || decimals <= places;
}

std::string scoreTextToStore(std::string_view boxText)
{
    std::string score = text::trim(boxText);
    if (!score.empty() && score.back() == '.')
        score.pop_back();
    return score;
}

bool sameScore(std::string_view a, std::string_view b)
{
    return canonicalScore(a) == canonicalScore(b);
}

bool exceedsMaximum(std::string_view scoreText, std::string_view up)
{
    const double score = toFloat(text::trim(scoreText));
    const double maximum = toFloat(up);
    return score > maximum;
}

} // namespace skorvin::exam
