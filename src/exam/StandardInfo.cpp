// StandardInfo: the examination settings TSysSetting (t_setting), the report title, the schema generation.
#include "exam/StandardInfo.hpp"

#include "platform/Numbers.hpp"
#include "platform/Text.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <exception>
#include <optional>

namespace skorvin::exam {

namespace {

// ParamValue of the first row whose ParamName is exactly key; nullopt when there
// is no such row or its value is NULL.
std::optional<std::string> settingValue(const ado::TCustomADODataSet& settings, const std::string& key)
{
    const int nameField = settings.fieldIndex("ParamName");
    const int valueField = settings.fieldIndex("ParamValue");
    if (nameField < 0 || valueField < 0)
        return std::nullopt;
    const int rows = settings.recordCount();
    for (int row = 0; row < rows; ++row) {
        const ado::FieldValue name = settings.viewValue(row, nameField);
        if (name && *name == key)
            return settings.viewValue(row, valueField);
    }
    return std::nullopt;
}

// Hands the key's value to convert; a missing value, or one that convert refuses,
// leaves the field as it was.
template <typename Convert> void readSetting(const ado::TCustomADODataSet& settings, const char* key, Convert convert)
{
    try {
        if (const std::optional<std::string> value = settingValue(settings, key))
            convert(*value);
    } catch (const std::exception&) {
        // An unreadable setting keeps its default; the others are still read.
    }
}

} // namespace

TSysSetting::TSysSetting(ado::TADOConnection& connection)
{
    ado::TADODataSet settings;
    try {
        settings.setConnection(&connection);
        settings.setCommandText("select * from t_setting");
        settings.open();
    } catch (const std::exception&) {
        // Without a settings table every field keeps its default.
        return;
    }
    readSetting(settings, "jb", [this](const std::string& v) { jb = toInt(v); });
    readSetting(settings, "dm", [this](const std::string& v) { dm = v; });
    readSetting(settings, "kc", [this](const std::string& v) { kc = v; });
    readSetting(settings, "date", [this](const std::string& v) { date = v; });
    readSetting(settings, "time", [this](const std::string& v) { time = v; });
}

std::string ComposeReportTitle(const std::string& date)
{
    std::string month = text::mid(date, 6, 2);
    if (text::left(month, 1) == "0")
        month = text::right(month, 1);
    // "年" and "月全国计算机等级考试"
    return text::left(date, 4) + "\xC4\xEA" + month +
           "\xD4\xC2\xC8\xAB\xB9\xFA\xBC\xC6\xCB\xE3\xBB\xFA\xB5\xC8\xBC\xB6\xBF\xBC\xCA\xD4";
}

std::int32_t CheckDbVersion(ado::TADOConnection& connection)
{
    ado::TADOQuery query;
    query.setConnection(&connection);
    query.setSql("select dbversion from t_version");
    query.open();
    std::string version;
    if (!query.isEmpty())
        version = query.fieldValue(0).value_or(std::string());
    query.close();
    return text::compare(version, "3.00") < 0 ? 1 : 2;
}

std::int32_t SiteCodeLength(std::int32_t generation)
{
    return generation == 1 ? 4 : 6;
}

} // namespace skorvin::exam
