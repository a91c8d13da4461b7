#include "exam/ScoreSave.hpp"

#include "exam/CandidateList.hpp"
#include "platform/Text.hpp"
#include "platform/ado/TCustomADODataSet.hpp"

namespace skorvin::exam {

std::optional<std::string> readStoredScore(ado::TADOConnection& connection, const std::string& zkzh)
{
    ado::TADOQuery read;
    read.setConnection(&connection);
    read.setSql("select tttt from t_omr where zkzh=" + text::quoted(zkzh));
    read.open();
    if (read.isEmpty())
        return std::nullopt;
    return read.fieldText("tttt");
}

bool storeScore(ado::TADOQuery& query, const std::string& score, const std::string& zkzh)
{
    query.clearSql();
    query.setSql(scoreUpdateSql(score, zkzh));
    if (query.execSql() > 0)
        return true;
    ado::TADOConnection* connection = query.connection();
    return connection && readStoredScore(*connection, zkzh).has_value();
}

} // namespace skorvin::exam
