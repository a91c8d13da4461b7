#include "platform/recordset/FilterExpression.hpp"

#include "platform/Exception.hpp"
#include "platform/Numbers.hpp"
#include "platform/Text.hpp"

namespace skorvin::ado {

namespace {

enum class Op { Less, Greater, LessEqual, GreaterEqual, NotEqual, Equal, Like };
enum class Kind { Null, Text, Number };
enum class LikeForm { Exact, Prefix, Contains };

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// A whole text that reads as a decimal number: blanks of any kind around it are the
// filter's, the number itself is the one decimal reader's.
bool readNumber(std::string_view s, double& out)
{
    const auto value = parseFloat(text::trim(s));
    if (value)
        out = *value;
    return value.has_value();
}

// ASCII letters fold; a double-byte character is compared whole, so its trail byte never folds.
bool matchesAt(std::string_view text, std::size_t at, std::string_view pattern)
{
    if (text.size() - at < pattern.size())
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char t = text[at + i];
        if (text::isLeadByte(t) && i + 1 < pattern.size()) {
            if (t != pattern[i] || text[at + i + 1] != pattern[i + 1])
                return false;
            ++i;
        } else if (text::lowerAscii(t) != text::lowerAscii(pattern[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

struct FilterExpression::Node {
    enum class Type { Clause, And, Or } type = Type::Clause;
    std::vector<Node> children; // And / Or

    // Clause
    std::string field;
    int fieldIndex = -1;
    Op op = Op::Equal;
    Kind kind = Kind::Text;
    std::string text; // the literal's text (the pattern without wildcards for LIKE)
    double number = 0;
    LikeForm like = LikeForm::Exact;

    bool hasTopLevelOr() const { return type == Type::Or; }

    bool test(const Value* fields) const
    {
        switch (type) {
        case Type::And:
            for (const auto& c : children)
                if (!c.test(fields))
                    return false;
            return true;
        case Type::Or:
            for (const auto& c : children)
                if (c.test(fields))
                    return true;
            return false;
        case Type::Clause:
            break;
        }
        const Value& v = fields[fieldIndex];
        if (kind == Kind::Null)
            return op == Op::Equal ? !v.has_value() : v.has_value();
        if (!v)
            return false;
        if (op == Op::Like)
            return testLike(*v);
        int order;
        double fieldNumber;
        if (kind == Kind::Number && readNumber(*v, fieldNumber))
            order = fieldNumber < number ? -1 : fieldNumber > number ? 1 : 0;
        else
            order = v->compare(text);
        switch (op) {
        case Op::Less:
            return order < 0;
        case Op::Greater:
            return order > 0;
        case Op::LessEqual:
            return order <= 0;
        case Op::GreaterEqual:
            return order >= 0;
        case Op::NotEqual:
            return order != 0;
        default:
            return order == 0;
        }
    }

    bool testLike(std::string_view v) const
    {
        switch (like) {
        case LikeForm::Exact:
            return v.size() == text.size() && matchesAt(v, 0, text);
        case LikeForm::Prefix:
            return matchesAt(v, 0, text);
        case LikeForm::Contains:
            for (std::size_t at = 0; at + text.size() <= v.size(); at += text::charLength(v, at))
                if (matchesAt(v, at, text))
                    return true;
            return false;
        }
        return false;
    }

    void bind(const std::vector<std::string>& names)
    {
        for (auto& c : children)
            c.bind(names);
        if (type != Type::Clause)
            return;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (text::equalsNoCase(names[i], field)) {
                fieldIndex = static_cast<int>(i);
                return;
            }
        throw EDatabaseError("Field '" + field + "' not found");
    }
};

namespace {

using Node = FilterExpression::Node;

class Parser {
public:
    explicit Parser(std::string_view s) : s_(s) {}

    Node parseAll()
    {
        Node root = parseSequence();
        skipBlanks();
        if (i_ < s_.size())
            fail(s_[i_] == ')' ? "a \")\" without its \"(\"" : "AND or OR expected");
        return root;
    }

private:
    [[noreturn]] void fail(const std::string& reason) const
    {
        throw EDatabaseError(reason + " at position " + std::to_string(i_ + 1));
    }

    void skipBlanks()
    {
        while (i_ < s_.size() && isBlank(s_[i_]))
            ++i_;
    }

    // The ASCII word (letters only) at the cursor, without moving it.
    std::string_view peekWord()
    {
        skipBlanks();
        std::size_t e = i_;
        while (e < s_.size() && ((s_[e] >= 'A' && s_[e] <= 'Z') || (s_[e] >= 'a' && s_[e] <= 'z')))
            ++e;
        return s_.substr(i_, e - i_);
    }

    bool takeKeyword(std::string_view keyword)
    {
        const auto word = peekWord();
        if (!text::equalsNoCase(word, keyword))
            return false;
        // The keyword must end there: "ORDER" is not "OR".
        const std::size_t end = i_ + word.size();
        if (end < s_.size() && !isBlank(s_[end]) && s_[end] != '(' && s_[end] != ')' && s_[end] != '\'' &&
            s_[end] != '#' && s_[end] != '[')
            return false;
        i_ = end;
        return true;
    }

    // Terms joined by AND / OR; AND binds first, so the result is an OR of AND groups.
    Node parseSequence()
    {
        std::vector<std::vector<Node>> groups(1);
        groups.back().push_back(parseTerm());
        for (;;) {
            skipBlanks();
            if (takeKeyword("AND")) {
                groups.back().push_back(parseTerm());
            } else if (takeKeyword("OR")) {
                groups.emplace_back();
                groups.back().push_back(parseTerm());
            } else {
                break;
            }
        }
        Node result;
        result.type = Node::Type::Or;
        for (auto& group : groups) {
            if (group.size() == 1) {
                result.children.push_back(std::move(group.front()));
                continue;
            }
            for (const auto& term : group)
                if (term.hasTopLevelOr())
                    throw EDatabaseError("an OR group cannot be joined to another clause with AND");
            Node conjunction;
            conjunction.type = Node::Type::And;
            conjunction.children = std::move(group);
            result.children.push_back(std::move(conjunction));
        }
        if (result.children.size() == 1)
            return std::move(result.children.front());
        return result;
    }

    Node parseTerm()
    {
        skipBlanks();
        if (i_ < s_.size() && s_[i_] == '(') {
            // Parsing and testing recurse once per level: a hostile text must not exhaust the stack.
            if (++depth_ > kMaxDepth)
                fail("parentheses nested too deeply");
            ++i_;
            Node inner = parseSequence();
            --depth_;
            skipBlanks();
            if (i_ >= s_.size() || s_[i_] != ')')
                fail("\")\" expected");
            ++i_;
            return inner;
        }
        return parseClause();
    }

    Node parseClause()
    {
        Node clause;
        clause.field = parseFieldName();
        clause.op = parseOperator();
        parseValue(clause);
        return clause;
    }

    std::string parseFieldName()
    {
        skipBlanks();
        if (i_ >= s_.size())
            fail("a field name expected");
        if (s_[i_] == '[') {
            const auto close = s_.find(']', i_ + 1);
            if (close == std::string_view::npos)
                fail("\"]\" expected");
            std::string name(s_.substr(i_ + 1, close - i_ - 1));
            if (name.empty())
                fail("a field name expected");
            i_ = close + 1;
            return name;
        }
        const std::size_t start = i_;
        while (i_ < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[i_]);
            if (text::isLeadByte(static_cast<char>(c)) && i_ + 1 < s_.size())
                i_ += 2;
            else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')
                ++i_;
            else
                break;
        }
        if (i_ == start)
            fail("a field name expected");
        return std::string(s_.substr(start, i_ - start));
    }

    Op parseOperator()
    {
        skipBlanks();
        auto at = [&](std::size_t k) { return i_ + k < s_.size() ? s_[i_ + k] : '\0'; };
        if (at(0) == '<' && at(1) == '=')
            return i_ += 2, Op::LessEqual;
        if (at(0) == '>' && at(1) == '=')
            return i_ += 2, Op::GreaterEqual;
        if (at(0) == '<' && at(1) == '>')
            return i_ += 2, Op::NotEqual;
        if (at(0) == '<')
            return ++i_, Op::Less;
        if (at(0) == '>')
            return ++i_, Op::Greater;
        if (at(0) == '=')
            return ++i_, Op::Equal;
        if (takeKeyword("LIKE"))
            return Op::Like;
        fail("a comparison operator (< > <= >= <> = LIKE) expected");
    }

    void parseValue(Node& clause)
    {
        skipBlanks();
        if (i_ >= s_.size())
            fail("a value expected");
        const char c = s_[i_];
        if (c == '\'') {
            clause.kind = Kind::Text;
            clause.text = parseQuoted();
        } else if (c == '#') {
            clause.kind = Kind::Text;
            clause.text = parseHashed();
        } else if ((c >= '0' && c <= '9') || c == '.' || c == '$' || c == '-' || c == '+') {
            parseNumber(clause);
        } else if (takeKeyword("NULL")) {
            clause.kind = Kind::Null;
            if (clause.op != Op::Equal && clause.op != Op::NotEqual)
                fail("Null can only be compared with = or <>");
            return;
        } else {
            fail("a value ('text', #text#, a number or Null) expected");
        }
        if (clause.op == Op::Like)
            readLikePattern(clause);
    }

    std::string parseQuoted()
    {
        std::string out;
        ++i_;
        while (i_ < s_.size()) {
            if (s_[i_] == '\'') {
                if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
                    out += '\'';
                    i_ += 2;
                    continue;
                }
                ++i_;
                return out;
            }
            out += s_[i_++];
        }
        fail("the closing quote is missing");
    }

    // #8/24/95# or #'text'#: the text between the marks, without the quotes that wrap it.
    std::string parseHashed()
    {
        const auto close = s_.find('#', i_ + 1);
        if (close == std::string_view::npos)
            fail("the closing # is missing");
        std::string inner(s_.substr(i_ + 1, close - i_ - 1));
        i_ = close + 1;
        if (inner.size() >= 2 && inner.front() == '\'' && inner.back() == '\'')
            inner = inner.substr(1, inner.size() - 2);
        return inner;
    }

    void parseNumber(Node& clause)
    {
        const std::size_t start = i_;
        if (s_[i_] == '-' || s_[i_] == '+')
            ++i_;
        if (i_ < s_.size() && s_[i_] == '$')
            ++i_;
        const std::size_t digits = i_;
        while (i_ < s_.size() && ((s_[i_] >= '0' && s_[i_] <= '9') || s_[i_] == '.'))
            ++i_;
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-'))
                ++i_;
            while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9')
                ++i_;
        }
        std::string written(s_.substr(start, i_ - start));
        std::string plain = std::string(s_.substr(start, digits - start)) + std::string(s_.substr(digits, i_ - digits));
        std::erase(plain, '$');
        if (!readNumber(plain, clause.number) || i_ == digits)
            fail("\"" + written + "\" is not a number");
        if (i_ < s_.size() && !isBlank(s_[i_]) && s_[i_] != ')')
            fail("\"" + written + "\" is not a number");
        clause.kind = Kind::Number;
        clause.text = std::move(plain);
    }

    void readLikePattern(Node& clause)
    {
        if (clause.kind != Kind::Text)
            fail("LIKE needs a quoted pattern");
        auto isWild = [](char ch) { return ch == '*' || ch == '%'; };
        std::string& p = clause.text;
        const bool leading = !p.empty() && isWild(p.front());
        const bool trailing = !p.empty() && isWild(p.back());
        std::size_t b = 0, e = p.size();
        while (b < e && isWild(p[b]))
            ++b;
        while (e > b && isWild(p[e - 1]))
            --e;
        for (std::size_t k = b; k < e; ++k)
            if (isWild(p[k]))
                fail("LIKE takes * or % only at the end or at both ends of the pattern");
        if (leading && !trailing && b < e)
            fail("LIKE takes * or % only at the end or at both ends of the pattern");
        clause.like = leading && b < e ? LikeForm::Contains : trailing || leading ? LikeForm::Prefix : LikeForm::Exact;
        p = p.substr(b, e - b);
    }

    static constexpr int kMaxDepth = 64;

    std::string_view s_;
    std::size_t i_ = 0;
    int depth_ = 0;
};

} // namespace

FilterExpression::FilterExpression(std::string criteria) : criteria_(std::move(criteria))
{
    bool blank = true;
    for (char c : criteria_)
        blank = blank && isBlank(c);
    if (blank)
        return;
    try {
        root_ = std::make_unique<Node>(Parser(criteria_).parseAll());
    } catch (const EDatabaseError& e) {
        throw EDatabaseError("Cannot use the filter \"" + criteria_ + "\": " + e.message());
    }
}

FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;

bool FilterExpression::empty() const
{
    return root_ == nullptr;
}

void FilterExpression::bind(const std::vector<std::string>& fieldNames)
{
    if (!root_)
        return;
    try {
        root_->bind(fieldNames);
    } catch (const EDatabaseError& e) {
        throw EDatabaseError("Cannot use the filter \"" + criteria_ + "\": " + e.message());
    }
}

bool FilterExpression::matches(const Value* fields) const
{
    return !root_ || root_->test(fields);
}

} // namespace skorvin::ado
