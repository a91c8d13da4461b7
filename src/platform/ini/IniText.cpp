#include "platform/ini/IniText.hpp"
#include "platform/Text.hpp"

#include <cstddef>

namespace skorvin::ini {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Bytes taken by the character at i. Only GBK needs care: its trail bytes run from
// 0x40, so they can look like "[", "]" or an ASCII letter. UTF-8 continuation bytes
// are all 0x80 or above and never do.
std::size_t charLength(std::string_view s, std::size_t i, Encoding encoding)
{
    return encoding == Encoding::Gbk ? text::charLength(s, i) : 1;
}

bool sameName(std::string_view a, std::string_view b, Encoding encoding)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = charLength(a, i, encoding);
        if (n == 1) {
            if (text::upperAscii(a[i]) != text::upperAscii(b[i]))
                return false;
        } else if (a.substr(i, n) != b.substr(i, n)) {
            return false;
        }
        i += n;
    }
    return true;
}

struct Line {
    enum class Kind { Blank, Comment, Section, Key, Other };
    Kind kind = Kind::Blank;
    std::size_t begin = 0; // first byte of the line
    std::size_t end = 0;   // end of its content, before the line end
    std::size_t next = 0;  // first byte of the following line
    std::string_view name; // section or key name, trimmed
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

Line parseLine(std::string_view content, std::size_t begin, std::size_t end, Encoding encoding)
{
    Line line;
    line.begin = begin;
    line.end = end;
    const std::string_view text = content.substr(begin, end - begin);
    const std::string_view body = trimBlanks(text);
    if (body.empty())
        return line;
    if (body.front() == ';') {
        line.kind = Line::Kind::Comment;
        return line;
    }
    if (body.front() == '[') {
        std::size_t close = 1;
        while (close < body.size() && body[close] != ']')
            close += charLength(body, close, encoding);
        line.kind = Line::Kind::Section;
        line.name = trimBlanks(body.substr(1, close - 1));
        return line;
    }
    // "=" is below 0x40 and so never a trail byte: a plain search is safe.
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        line.kind = Line::Kind::Other;
        return line;
    }
    line.kind = Line::Kind::Key;
    line.name = trimBlanks(text.substr(0, equals));
    std::size_t vb = begin + equals + 1;
    while (vb < end && isBlank(content[vb]))
        ++vb;
    std::size_t ve = end;
    while (ve > vb && isBlank(content[ve - 1]))
        --ve;
    line.valueBegin = vb;
    line.valueEnd = ve;
    return line;
}

// The lines of a text one at a time: a file of millions of short lines costs no more
// memory than its bytes. CR LF, LF alone and CR alone all end a line, mixed freely.
class LineReader {
public:
    LineReader(std::string_view content, Encoding encoding) : content_(content), encoding_(encoding) {}

    bool next(Line& line)
    {
        if (begin_ >= content_.size())
            return false;
        std::size_t end = begin_;
        while (end < content_.size() && content_[end] != '\r' && content_[end] != '\n')
            ++end;
        std::size_t after = end;
        if (after < content_.size()) {
            if (content_[after] == '\r' && after + 1 < content_.size() && content_[after + 1] == '\n')
                after += 2;
            else
                after += 1;
        }
        line = parseLine(content_, begin_, end, encoding_);
        line.next = after;
        begin_ = after;
        return true;
    }

private:
    std::string_view content_;
    Encoding encoding_;
    std::size_t begin_ = 0;
};

// Where the first section of a name lies, and its key of a name: found in one pass.
struct Found {
    std::optional<Line> header;
    std::optional<Line> key;
    // The section's last line that holds something (its header when nothing does).
    Line lastEntry;
};

Found find(std::string_view content, std::string_view section, std::string_view key, Encoding encoding)
{
    Found found;
    LineReader reader(content, encoding);
    Line line;
    while (reader.next(line)) {
        if (line.kind == Line::Kind::Section) {
            // Only the first section of that name is searched.
            if (found.header)
                break;
            if (sameName(line.name, section, encoding)) {
                found.header = line;
                found.lastEntry = line;
            }
            continue;
        }
        if (!found.header)
            continue;
        if (line.kind != Line::Kind::Blank && line.kind != Line::Kind::Comment)
            found.lastEntry = line;
        if (!found.key && line.kind == Line::Kind::Key && sameName(line.name, key, encoding))
            found.key = line;
    }
    return found;
}

std::string readValue(std::string_view content, const Line& line)
{
    std::string_view value = content.substr(line.valueBegin, line.valueEnd - line.valueBegin);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string_view firstLineEnd(std::string_view content)
{
    const std::size_t at = content.find_first_of("\r\n");
    if (at == std::string_view::npos)
        return "\r\n";
    if (content[at] == '\r')
        return at + 1 < content.size() && content[at + 1] == '\n' ? "\r\n" : "\r";
    return "\n";
}

} // namespace

bool canHold(std::string_view section, std::string_view key, std::string_view value)
{
    const auto breaks = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    if (breaks(section) || breaks(key) || breaks(value))
        return false;
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (section.empty() || key.empty() || key.find('=') != std::string_view::npos || key.front() == ';' ||
        key.front() == '[' || section.find(']') != std::string_view::npos)
        return false;
    // A lead byte with nothing after it would take the closing "]" as its trail byte.
    std::size_t last = 0;
    for (std::size_t i = 0; i < section.size(); i += charLength(section, i, Encoding::Gbk))
        last = i;
    const auto c = static_cast<unsigned char>(section[last]);
    return last + 1 < section.size() || c < 0x81 || c > 0xFE;
}

std::optional<std::string> findValue(std::string_view content, std::string_view section, std::string_view key,
                                     Encoding encoding)
{
    section = trimBlanks(section);
    key = trimBlanks(key);
    const Found found = find(content, section, key, encoding);
    if (!found.key)
        return std::nullopt;
    return readValue(content, *found.key);
}

std::string withValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value,
                      Encoding encoding)
{
    section = trimBlanks(section);
    key = trimBlanks(key);
    value = trimBlanks(value);
    const std::string_view eol = firstLineEnd(content);
    const std::string entry = std::string(key) + "=" + std::string(value);
    const Found found = find(content, section, key, encoding);

    if (!found.header) {
        std::string out(content);
        if (!content.empty() && content.back() != '\r' && content.back() != '\n')
            out += eol;
        out += "[" + std::string(section) + "]" + std::string(eol) + entry + std::string(eol);
        return out;
    }

    if (const auto& line = found.key) {
        if (readValue(content, *line) == value)
            return std::string(content);
        std::string out(content.substr(0, line->valueBegin));
        out += value;
        out += content.substr(line->valueEnd);
        return out;
    }

    // After the section's last line that holds something, so that blank lines and
    // comments in front of the next section stay in front of it.
    const Line& previous = found.lastEntry;
    std::string out(content.substr(0, previous.next));
    if (previous.next == previous.end)
        out += eol;
    out += entry + std::string(eol);
    out += content.substr(previous.next);
    return out;
}

} // namespace skorvin::ini
