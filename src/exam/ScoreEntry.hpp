#pragma once

#include <string>
#include <string_view>

// The rules of keying in one score, free of widgets: what each key filter lets
// through, what is stored, and the check against the maximum.
namespace skorvin::exam {

constexpr char kBackspace = 8;
constexpr char kEnter = 13;
// A key replaced by this is dropped.
constexpr char kNoKey = 0;

// Admission number box: Backspace, Enter, digits and the capital "A" only.
char filterAdmissionKey(char key);

// Score box: boxText is the box's text before the key; xs the decimal places setting.
// Throws EConvertError when xs is not a whole number.
char filterScoreKey(std::string_view boxText, char key, std::string_view xs);

// True when the trimmed score is one the score box's filter can build: digits with at most
// one "." that is not first, and no more digits after it than xs now allows (the settings
// may have changed since the score was typed). Throws EConvertError when xs is not a whole number.
bool isScoreText(std::string_view boxText, std::string_view xs);

// The score as it is written: trimmed, and one trailing "." removed (12. is stored as 12).
std::string scoreTextToStore(std::string_view boxText);

// True when two scores are the same number: 12, 12.0, "12." and "012" are one score. A text that
// is not digits with at most one "." (a stored value keyed elsewhere) is compared as trimmed text.
bool sameScore(std::string_view a, std::string_view b);

// True when the trimmed score is above the maximum; equal is accepted.
// Throws EConvertError for a score or maximum that is not a number.
bool exceedsMaximum(std::string_view scoreText, std::string_view up);

} // namespace skorvin::exam
