// Totals: the count, filled count, sum and average of a value over the rows a report prints.
#include "report/Totals.hpp"

#include "platform/Gbk.hpp"
#include "platform/Numbers.hpp"
#include "platform/Text.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace skorvin::report {

namespace {

// More decimals than any score has; beyond them a sum would only show the error of doubles.
constexpr int kMaxDecimals = 6;

bool isLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

[[noreturn]] void malformed(std::string_view expression)
{
    throw TotalError(gbk::fromUtf8("无法识别的合计 [") + std::string(expression) +
                     gbk::fromUtf8("]：应写作 COUNT、FILLED、SUM 或 AVG(名称, PAGE 或 REPORT)"));
}

// Digits after the decimal point of a number's text, up to an exponent.
int decimalsOf(std::string_view number)
{
    const std::size_t point = number.find('.');
    if (point == std::string_view::npos)
        return 0;
    std::size_t end = point + 1;
    while (end < number.size() && number[end] >= '0' && number[end] <= '9')
        ++end;
    return static_cast<int>(std::min<std::size_t>(end - point - 1, kMaxDecimals));
}

std::string fixed(double value, int decimals)
{
    std::array<char, 64> buffer{};
    // Adding 0.0 turns a negative zero into zero, which prints without its sign.
    std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value + 0.0);
    return buffer.data();
}

} // namespace

std::optional<TotalCall> parseTotal(std::string_view expression)
{
    std::size_t wordEnd = 0;
    while (wordEnd < expression.size() && isLetter(expression[wordEnd]))
        ++wordEnd;
    const std::string word = text::upperAscii(expression.substr(0, wordEnd));
    static constexpr std::array<std::pair<std::string_view, TotalKind>, 4> kFunctions{{
        {"COUNT", TotalKind::Count},
        {"FILLED", TotalKind::Filled},
        {"SUM", TotalKind::Sum},
        {"AVG", TotalKind::Average},
    }};
    const auto function =
        std::find_if(kFunctions.begin(), kFunctions.end(), [&word](const auto& entry) { return entry.first == word; });
    const std::string_view rest = expression.substr(wordEnd);
    const std::string afterWord = text::trim(rest);
    if (function == kFunctions.end() || afterWord.empty() || afterWord.front() != '(')
        return std::nullopt;
    if (afterWord.back() != ')')
        malformed(expression);
    const std::string_view arguments = std::string_view(afterWord).substr(1, afterWord.size() - 2);
    const std::size_t comma = arguments.find(',');
    if (comma == std::string_view::npos || arguments.find_first_of(",()", comma + 1) != std::string_view::npos ||
        arguments.substr(0, comma).find_first_of("()") != std::string_view::npos)
        malformed(expression);
    TotalCall call;
    call.kind = function->second;
    call.valueName = text::trim(arguments.substr(0, comma));
    const std::string scope = text::upperAscii(text::trim(arguments.substr(comma + 1)));
    if (call.valueName.empty() || (scope != "PAGE" && scope != "REPORT"))
        malformed(expression);
    call.scope = scope == "PAGE" ? TotalScope::Page : TotalScope::Report;
    return call;
}

void Totals::add(std::string_view value)
{
    ++rows_;
    const std::string trimmed = text::trim(value);
    if (trimmed.empty())
        return;
    ++filled_;
    const std::optional<double> number = parseFloat(trimmed);
    if (!number) {
        if (notANumber_.empty())
            notANumber_ = trimmed;
        return;
    }
    sum_ += *number;
    decimals_ = std::max(decimals_, decimalsOf(trimmed));
}

std::string Totals::text(TotalKind kind) const
{
    if ((kind == TotalKind::Sum || kind == TotalKind::Average) && !notANumber_.empty())
        throw TotalError(gbk::fromUtf8("值“") + notANumber_ + gbk::fromUtf8("”不是数字，不能合计"));
    switch (kind) {
    case TotalKind::Count:
        return std::to_string(rows_);
    case TotalKind::Filled:
        return std::to_string(filled_);
    case TotalKind::Sum:
        return fixed(sum_, decimals_);
    case TotalKind::Average:
        return filled_ == 0 ? std::string() : fixed(sum_ / static_cast<double>(filled_), 2);
    }
    return {};
}

} // namespace skorvin::report
