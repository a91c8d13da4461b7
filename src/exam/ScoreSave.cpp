#include "exam/ScoreSave.hpp"

#include "platform/Exception.hpp"
#include "platform/Text.hpp"
#include "platform/connection/RowSink.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

namespace skorvin::exam {

namespace {

// The first row's one field, taken as it passes: a recordset of one row would cost a save
// more than the statement itself.
class FirstField final : public ado::RowSink {
public:
    void columns(const std::vector<std::string>&) override {}
    void row(std::span<const std::optional<std::string_view>> fields) override
    {
        if (!value && !fields.empty())
            value = fields.front() ? ado::FieldValue(std::string(*fields.front())) : ado::FieldValue();
    }
    std::optional<ado::FieldValue> value; // nothing until a row came
};

} // namespace

std::optional<ado::FieldValue> readStoredValue(ado::TADOConnection& connection, const std::string& zkzh)
{
    FirstField first;
    connection.query("select tttt from t_omr where zkzh=" + text::quoted(zkzh), {}, first);
    return first.value;
}

std::string scoreUpdateSql(const ado::FieldValue& score, const std::string& zkzh)
{
    // An undo gives back a score that was never keyed in: the column's NULL.
    return "update t_omr set tttt=" + (score ? text::quoted(*score) : std::string("NULL")) +
           " where zkzh=" + text::quoted(zkzh);
}

ScoreApplied applyScore(ado::TADOQuery& query, const ScoreChange& change, bool force)
{
    using Kind = ScoreApplied::Kind;
    ado::TADOConnection* connection = query.connection();
    if (!connection)
        throw EDatabaseError(query.name() + ": Missing Connection or ConnectionString");
    const auto stored = readStoredValue(*connection, change.zkzh);
    if (!stored)
        return {Kind::Gone, std::nullopt};
    // Someone stored another score since the change was decided: nobody is overwritten unasked.
    if (!force && stored->value_or("") != change.expected)
        return {Kind::Conflict, *stored};
    query.clearSql();
    query.setSql(scoreUpdateSql(change.score, change.zkzh));
    if (query.execSql() > 0 || readStoredValue(*connection, change.zkzh))
        return {Kind::Applied, *stored};
    return {Kind::Gone, *stored};
}

} // namespace skorvin::exam
