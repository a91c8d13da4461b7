// CandidateList: the list statement BuildCandidateSql, its refresh, the display filters.
#include "exam/CandidateList.hpp"

#include "platform/Text.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

namespace skorvin::exam {

namespace {

// Level-4 candidates who are not absent, with their names where t_bm has them.
constexpr const char* kHead = " select b.zkzh,b.tttt,a.xm from (select * from t_omr  where zkzh like '4%' and  "
                              "(UPPER(qk)<>'Q' or qk Is Null)) b left join t_bm a on a.zkzh=b.zkzh  ";
constexpr const char* kOrder = " order by b.zkzh";

} // namespace

std::string BuildCandidateSql(ModuleState& state, const SelectedNode& node)
{
    const bool firstGeneration = state.SchemaGeneration == 1;
    std::string sql = kHead;
    state.CurrentLevel = node.level;
    switch (node.level) {
    case 0:
        state.CurrentCode = "00";
        sql += "order by b.zkzh";
        break;
    case 1:
        state.CurrentCode = text::left(node.text, 2);
        sql += "where  SubString(b.zkzh,5,2)=" + text::quoted(state.CurrentCode) + kOrder;
        break;
    case 2:
        // A city node shows only its own two characters; the province in front makes the full code.
        state.CurrentCode = text::left(node.parentText, 2) + text::left(node.text, 2);
        sql += firstGeneration ? "where SubSTring(b.zkzh,5,4) in (select dm from v_kdjg where szds="
                               : "where SubSTring(b.zkzh,5,6) in (select dm from v_kdjg where szds=";
        sql += text::quoted(state.CurrentCode) + ")" + kOrder;
        break;
    case 3:
        state.CurrentCode = text::left(node.text, state.SiteCodeLen);
        sql += firstGeneration ? "where SubString(b.zkzh,5,4)=" : "where SubString(b.zkzh,5,6)=";
        sql += text::quoted(state.CurrentCode) + kOrder;
        break;
    default:
        // The tree has four levels only; a deeper node narrows nothing.
        break;
    }
    return sql;
}

void RefreshCandidateList(ado::TCustomADODataSet& list, ModuleState& state, const SelectedNode& node)
{
    if (list.active())
        list.close();
    list.setCommandText(BuildCandidateSql(state, node));
    list.open();
}

void ApplyStatusFilter(ado::TCustomADODataSet& list, int index)
{
    switch (index) {
    case 0:
        list.setFilter(" tttt = null or tttt=''");
        list.setFiltered(true);
        break;
    case 1:
        list.setFilter(" tttt <> null and tttt<>''");
        list.setFiltered(true);
        break;
    case 2:
        list.setFiltered(false);
        break;
    default:
        break;
    }
}

} // namespace skorvin::exam
