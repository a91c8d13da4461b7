#pragma once

#include <map>
#include <string>

namespace skorvin::ado {

// "Key=Value;Key2=Value2" as ADO reads it: keys without regard to letter case and
// surrounding blanks, values trimmed; a value in double quotes may hold ";".
class ConnectionString {
public:
    explicit ConnectionString(const std::string& text);
    // The value of a key, or the empty text.
    std::string value(const std::string& key) const;
    bool has(const std::string& key) const;

    // The text with the values of Password and PWD replaced by "***", for showing it to people;
    // a value in double quotes or braces is replaced whole, whatever ";" it holds.
    static std::string withoutPasswords(const std::string& text);

private:
    std::map<std::string, std::string> values_; // keys lower-cased
};

} // namespace skorvin::ado
