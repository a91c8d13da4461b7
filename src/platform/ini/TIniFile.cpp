// TIniFile: one key of one section of an initialisation file, read and written as the profile functions do.
#include "platform/ini/TIniFile.hpp"

#include "platform/Exception.hpp"
#include "platform/Gbk.hpp"
#include "platform/Text.hpp"
#include "platform/ini/FileStore.hpp"
#include "platform/ini/IniText.hpp"

#include <cstddef>
#include <optional>

namespace skorvin::ini {

namespace {

constexpr std::size_t kMaxValueBytes = 2047;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// A file that starts with the UTF-8 byte-order mark holds UTF-8 text; any other file
// holds the system's own bytes and is taken as it is.
bool hasUtf8Mark(std::string_view content)
{
    return content.substr(0, kUtf8Mark.size()) == kUtf8Mark;
}

std::string cutToLimit(std::string value)
{
    if (value.size() <= kMaxValueBytes)
        return value;
    std::size_t end = 0;
    while (end < kMaxValueBytes) {
        const auto c = static_cast<unsigned char>(value[end]);
        const std::size_t n = c >= 0x81 && c <= 0xFE ? 2 : 1;
        if (end + n > kMaxValueBytes)
            break;
        end += n;
    }
    value.resize(end);
    return value;
}

} // namespace

std::string TIniFile::ReadString(std::string_view section, std::string_view ident, std::string_view defaultValue) const
{
    // The default comes back as the profile functions give it: without its trailing spaces.
    const auto fallback = [defaultValue] {
        return std::string(defaultValue.substr(0, defaultValue.find_last_not_of(' ') + 1));
    };
    const std::optional<std::string> content = readFileBytes(fileName_);
    if (!content)
        return fallback();
    std::optional<std::string> value;
    if (hasUtf8Mark(*content)) {
        value = findValue(std::string_view(*content).substr(kUtf8Mark.size()), gbk::toUtf8(section), gbk::toUtf8(ident),
                          Encoding::Utf8);
        if (value)
            value = gbk::fromUtf8(*value);
    } else {
        value = findValue(*content, section, ident);
    }
    return value ? cutToLimit(std::move(*value)) : fallback();
}

void TIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value)
{
    const std::string failure = text::format("Unable to write to %s", fileName_);
    if (!canHold(section, ident, value))
        throw EIniFileException(failure);

    const std::optional<std::string> existing = readFileBytes(fileName_);
    // A file that is there but cannot be read must not be replaced by a single key.
    if (!existing && fileExists(fileName_))
        throw EIniFileException(failure);
    const std::string content = existing.value_or(std::string());
    std::string updated;
    if (hasUtf8Mark(content)) {
        updated =
            std::string(kUtf8Mark) + withValue(std::string_view(content).substr(kUtf8Mark.size()), gbk::toUtf8(section),
                                               gbk::toUtf8(ident), gbk::toUtf8(value), Encoding::Utf8);
    } else {
        updated = withValue(content, section, ident, value);
    }
    if (updated == content)
        return;
    if (!replaceFileBytes(fileName_, updated))
        throw EIniFileException(failure);
}

} // namespace skorvin::ini
