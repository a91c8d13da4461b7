#pragma once

#include <string>
#include <string_view>

namespace skorvin {

// The operator's regional short date format, as a picture: d/dd day, M/MM (or m/mm)
// month, yy/yyyy year, "/" the date separator, text in quotes as it stands; GBK text.
struct RegionalDateSettings {
    std::string ShortDateFormat;
    char DateSeparator = '/';
};

// Read once, when the library is loaded. Windows: the user's short date format and date
// separator. Elsewhere: the date format of the user's LC_TIME locale (whose separators
// are part of it); without regional settings (the C or POSIX locale) "yyyy/M/d".
const RegionalDateSettings& regionalDateSettings();

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
};

// Today in local time.
Date today();

// The date written with a picture as above, each "/" replaced by the separator.
std::string formatDate(std::string_view picture, char separator, const Date& date);

// Today in the regional short date format.
std::string shortDateToday();

// A C library date format (strftime's, as the locale's D_FMT gives it) as a picture; empty
// when it uses anything but numeric day, month and year fields.
std::string pictureFromCFormat(std::string_view cFormat);

} // namespace skorvin
