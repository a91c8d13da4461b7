// Totals: the count, filled count, sum and average of a value over the rows a report prints.
#pragma once

#include "platform/Exception.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skorvin::report {

enum class TotalKind : std::uint8_t { Count, Filled, Sum, Average };
enum class TotalScope : std::uint8_t { Page, Report };

// A total written in brackets, such as [SUM(FS, PAGE)].
struct TotalCall {
    TotalKind kind = TotalKind::Count;
    TotalScope scope = TotalScope::Page;
    std::string valueName; // trimmed, as written

    bool operator==(const TotalCall&) const = default;
};

// A total written wrongly, or a value that cannot be summed (GBK message).
class TotalError : public Exception {
public:
    using Exception::Exception;
};

// Reads FUNCTION(VALUE, SCOPE): COUNT, FILLED, SUM or AVG, a value name, PAGE or REPORT,
// words in any letter case, blanks around each part. Nothing for an expression that does
// not begin with one of the four words and "(" (it is a plain name); any other form of a
// call throws TotalError.
std::optional<TotalCall> parseTotal(std::string_view expression);

// The running totals of one value over the rows added.
class Totals {
public:
    // One printed row's value; a blank value counts as a row without one.
    void add(std::string_view value);
    void clear() { *this = Totals(); }

    // As printed: the counts whole, the sum with as many decimals as the most precise value
    // added, the average (of the rows with a value) with two; the average of none is empty.
    // A sum or average over a value that is not a decimal number throws TotalError.
    std::string text(TotalKind kind) const;

private:
    std::int64_t rows_ = 0;
    std::int64_t filled_ = 0;
    double sum_ = 0;
    int decimals_ = 0;
    std::string notANumber_; // the first value that is not a decimal number, when there is one
};

} // namespace skorvin::report
