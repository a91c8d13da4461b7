#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace skorvin::ado {

// "Key=Value;Key2=Value2" as ADO reads it: keys without regard to letter case and
// surrounding blanks, values trimmed; a value in double quotes may hold ";".
class ConnectionString {
public:
    explicit ConnectionString(const std::string& text);
    // The text as it was given.
    const std::string& text() const { return text_; }
    // The value of a key, or the empty text.
    std::string value(const std::string& key) const;
    bool has(const std::string& key) const;

    // The text with the values of Password and PWD replaced by "***", for showing it to people;
    // a value in double quotes or braces is replaced whole, whatever ";" it holds. A quote or
    // brace never closed hides the rest of the text after a password key; after any other
    // key it ends at the next ";", so that a password behind it is still hidden.
    static std::string withoutPasswords(const std::string& text);
    // The text without the parts that set key (any letter case), the rest as written.
    static std::string without(const std::string& text, const std::string& key);

private:
    // A "Key=Value" part as written, or nothing to leave it out.
    using Part = std::optional<std::string>;
    // The text with each part replaced by what rewrite makes of it (key lower-cased).
    static std::string rewritten(const std::string& text,
                                 const std::function<Part(const std::string& key, std::string part)>& rewrite);

    std::string text_;
    std::map<std::string, std::string> values_; // keys lower-cased
};

} // namespace skorvin::ado
