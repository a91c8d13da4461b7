#include "exam/ScoreSave.hpp"

#include "exam/CandidateList.hpp"
#include "platform/Text.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

namespace skorvin::exam {

std::optional<std::string> readStoredScore(ado::TADOConnection& connection, const std::string& zkzh)
{
    const auto value = readStoredValue(connection, zkzh);
    if (!value)
        return std::nullopt;
    return value->value_or(std::string());
}

std::optional<ado::FieldValue> readStoredValue(ado::TADOConnection& connection, const std::string& zkzh)
{
    ado::TADOQuery read;
    read.setConnection(&connection);
    read.setSql("select tttt from t_omr where zkzh=" + text::quoted(zkzh));
    read.open();
    if (read.isEmpty())
        return std::nullopt;
    return read.fieldValue("tttt");
}

bool storeScore(ado::TADOQuery& query, const ado::FieldValue& score, const std::string& zkzh)
{
    query.clearSql();
    // An undo gives back a score that was never keyed in: the column's NULL.
    query.setSql(score ? scoreUpdateSql(*score, zkzh) : "update t_omr set tttt=NULL where zkzh=" + text::quoted(zkzh));
    if (query.execSql() > 0)
        return true;
    ado::TADOConnection* connection = query.connection();
    return connection && readStoredScore(*connection, zkzh).has_value();
}

} // namespace skorvin::exam
