#include "platform/RegionalDate.hpp"

#include "platform/Gbk.hpp"
#include "platform/Text.hpp"

#include <cstdlib>
#include <ctime>

#include "platform/WindowsApi.hpp"
#ifndef _WIN32
#include <langinfo.h>
#include <locale.h>
#endif

namespace skorvin {

namespace {

// The usual short date format of Chinese systems.
constexpr char kFallbackFormat[] = "yyyy/M/d";

std::string number(int value, std::size_t width)
{
    std::string digits = std::to_string(value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

#ifdef _WIN32

RegionalDateSettings readSettings()
{
    RegionalDateSettings settings{kFallbackFormat, '/'};
    char buffer[128] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buffer, sizeof buffer) > 1)
        settings.ShortDateFormat = buffer;
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, buffer, sizeof buffer) > 1)
        settings.DateSeparator = buffer[0];
    return settings;
}

#else

// The locale the C library takes for LC_TIME from the environment.
std::string timeLocaleName()
{
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return "C";
}

bool isPlainCLocale(const std::string& name)
{
    return name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

RegionalDateSettings readSettings()
{
    RegionalDateSettings settings{kFallbackFormat, '/'};
    if (isPlainCLocale(timeLocaleName()))
        return settings;
    // A locale object of its own: the process's locale is the host's and stays as it is.
    const locale_t user = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (user == static_cast<locale_t>(nullptr))
        return settings;
    std::string format = nl_langinfo_l(D_FMT, user);
    const std::string codeset = nl_langinfo_l(CODESET, user);
    freelocale(user);
    if (!gbk::isAscii(format)) {
        if (codeset == "UTF-8")
            format = gbk::fromUtf8(format);
        else if (codeset.rfind("GB", 0) != 0)
            return settings;
    }
    std::string picture = pictureFromCFormat(format);
    if (!picture.empty())
        settings.ShortDateFormat = std::move(picture);
    return settings;
}

#endif

} // namespace

const RegionalDateSettings& regionalDateSettings()
{
    static const RegionalDateSettings settings = readSettings();
    return settings;
}

namespace {
// Read while the library is loaded, as the other regional values were, not on first use.
[[maybe_unused]] const RegionalDateSettings& readAtLoad = regionalDateSettings();
} // namespace

Date today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string formatDate(std::string_view picture, char separator, const Date& date)
{
    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = picture.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? picture.size() : close;
            out.append(picture.substr(i + 1, end - i - 1));
            i = end + 1;
            continue;
        }
        if (text::isLeadByte(c) && i + 1 < picture.size()) {
            // A double-byte character: its second byte may look like a field letter.
            out.append(picture.substr(i, 2));
            i += 2;
            continue;
        }
        const char field = c == 'm' ? 'M' : c;
        if (field == 'd' || field == 'M' || field == 'y') {
            std::size_t run = 1;
            while (i + run < picture.size() && (picture[i + run] == c))
                ++run;
            i += run;
            if (field == 'd')
                out += number(date.day, run == 1 ? 1 : 2);
            else if (field == 'M')
                out += number(date.month, run == 1 ? 1 : 2);
            else
                out += run <= 2 ? number(date.year % 100, 2) : number(date.year, 4);
            continue;
        }
        out += c == '/' ? separator : c;
        ++i;
    }
    return out;
}

std::string shortDateToday()
{
    const RegionalDateSettings& settings = regionalDateSettings();
    return formatDate(settings.ShortDateFormat, settings.DateSeparator, today());
}

std::string pictureFromCFormat(std::string_view cFormat)
{
    std::string picture;
    std::string literal;
    const auto putLiteral = [&] {
        if (!literal.empty())
            picture += '"' + literal + '"';
        literal.clear();
    };
    for (std::size_t i = 0; i < cFormat.size(); ++i) {
        const char c = cFormat[i];
        if (c != '%') {
            if (c == '"')
                return {};
            if (c == '/') {
                putLiteral();
                picture += '/';
            } else {
                literal += c;
            }
            continue;
        }
        if (++i >= cFormat.size())
            return {};
        // Flags and modifiers: "-" drops the leading zero; the others change nothing here.
        bool unpadded = false;
        while (i < cFormat.size() && std::string_view("-_0^#EO").find(cFormat[i]) != std::string_view::npos) {
            unpadded = unpadded || cFormat[i] == '-' || cFormat[i] == '_';
            ++i;
        }
        if (i >= cFormat.size())
            return {};
        std::string field;
        switch (cFormat[i]) {
        case 'Y':
            field = "yyyy";
            break;
        case 'y':
            field = "yy";
            break;
        case 'm':
            field = unpadded ? "M" : "MM";
            break;
        case 'd':
            field = unpadded ? "d" : "dd";
            break;
        case 'e':
            field = "d";
            break;
        case 'F':
            field = "yyyy\"-\"MM\"-\"dd";
            break;
        case 'D':
            field = "MM/dd/yy";
            break;
        case '%':
            literal += '%';
            continue;
        default:
            return {};
        }
        putLiteral();
        picture += field;
    }
    putLiteral();
    return picture;
}

} // namespace skorvin
