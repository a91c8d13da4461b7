// The settings file's text: any bytes are read without harm, and a key written where it
// can be held reads back as written while every other key reads as before.
#include "platform/Text.hpp"
#include "platform/ini/IniText.hpp"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// What reading gives for a value written: blanks and tabs trimmed, one pair of quotes removed.
std::string readForm(std::string_view value)
{
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// Names that differ here differ for the file too (it folds ASCII letters only).
bool differentNames(std::string_view a, std::string_view b)
{
    return skorvin::text::lowerAscii(skorvin::text::trim(a)) != skorvin::text::lowerAscii(skorvin::text::trim(b));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace skorvin::ini;
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(12);
    const std::string key = input.ConsumeRandomLengthString(12);
    const std::string value = input.ConsumeRandomLengthString(24);
    const std::string otherSection = input.ConsumeRandomLengthString(12);
    const std::string otherKey = input.ConsumeRandomLengthString(12);
    const std::string content = input.ConsumeRemainingBytesAsString();

    for (const Encoding encoding : {Encoding::Gbk, Encoding::Utf8}) {
        const auto before = findValue(content, otherSection, otherKey, encoding);
        if (!canHold(section, key, value))
            continue;
        const std::string updated = withValue(content, section, key, value, encoding);
        require(findValue(updated, section, key, encoding) == readForm(value));
        if (differentNames(section, otherSection) || differentNames(key, otherKey))
            require(findValue(updated, otherSection, otherKey, encoding) == before);
        // Writing what is there already changes nothing.
        require(withValue(updated, section, key, value, encoding) == updated);
    }
    return 0;
}
