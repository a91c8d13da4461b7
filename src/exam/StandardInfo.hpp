// StandardInfo: the examination settings TSysSetting (t_setting), the report title, the schema generation.
#pragma once

#include <cstdint>
#include <string>

namespace skorvin::ado {
class TADOConnection;
}

namespace skorvin::exam {

// The examination settings of this installation, read once from t_setting.
// Each key is read on its own: a missing table, a missing key, a NULL value or a
// "jb" that is not a whole number leaves that field at its default and never
// reaches the caller; the keys after it are still read.
struct TSysSetting {
    std::int32_t jb = 0; // level of this installation's organisation
    std::string dm;      // code of this installation's organisation
    std::string kc;
    std::string date; // examination date, YYYY-MM-DD
    std::string time;

    explicit TSysSetting(ado::TADOConnection& connection);
};

// "YYYY年M月全国计算机等级考试" from a date of the form YYYY-MM-DD (GBK); byte positions,
// so a short or odd date gives what those positions hold.
std::string ComposeReportTitle(const std::string& date);

// Schema generation from t_version: 1 when its version text sorts before "3.00"
// byte by byte (empty and "10.00" included), else 2. Database errors propagate.
std::int32_t CheckDbVersion(ado::TADOConnection& connection);

// Characters of an exam-site code: 4 in generation 1, 6 in every other.
std::int32_t SiteCodeLength(std::int32_t generation);

} // namespace skorvin::exam
