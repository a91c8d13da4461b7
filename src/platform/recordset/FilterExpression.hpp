#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace skorvin::ado {

// ADO filter criteria, read once and then tested against rows:
//   FieldName Operator Value, clauses joined by AND / OR, parentheses to group.
// FieldName: a name (letter case ignored) or a [bracketed] one. Operator: < > <= >= <> = LIKE.
// Value: 'text' (inner quote doubled), #text#, a number (decimal point, "$", exponent), or Null.
// AND binds before OR, and an OR group may not be AND-joined to another clause: "(A OR B) AND C"
// is refused, "(A AND C) OR (B AND C)" says the same. Blanks around every part are ignored.
//
// "= Null" holds only for NULL, "<> Null" only for a value; any other comparison with NULL is
// false, so "<> ''" holds for a non-empty text only. Text compares byte by byte; a number
// compares numerically with a field whose text is a number. LIKE takes * or % at the end or
// at both ends and ignores ASCII letter case.
class FilterExpression {
public:
    using Value = std::optional<std::string_view>;

    // Throws EDatabaseError naming the criteria when they cannot be read. Blank criteria filter nothing.
    explicit FilterExpression(std::string criteria);
    ~FilterExpression();
    FilterExpression(FilterExpression&&) noexcept;
    FilterExpression& operator=(FilterExpression&&) noexcept;

    const std::string& criteria() const { return criteria_; }
    bool empty() const;

    // Resolves the field names against a row layout; throws EDatabaseError for a name it lacks.
    void bind(const std::vector<std::string>& fieldNames);
    // Tests one row (its fields in the bound layout's order). bind() must have succeeded.
    bool matches(const Value* fields) const;

    struct Node;

private:
    std::string criteria_;
    std::unique_ptr<Node> root_; // null for blank criteria
};

} // namespace skorvin::ado
