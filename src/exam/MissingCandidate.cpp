#include "exam/MissingCandidate.hpp"

#include "exam/CandidateList.hpp"
#include "exam/KDTree.hpp"

#include "platform/Text.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

namespace skorvin::exam {

namespace {

// The node of the deepest organisation whose code the number carries: its exam site, else its
// province, else the national root, which lists everyone.
int organisationOf(const OrgTree& tree, int siteCodeLen, const std::string& number)
{
    const std::string site = text::mid(number, 5, siteCodeLen);
    if (siteCodeLen > 0 && static_cast<int>(site.size()) == siteCodeLen) {
        if (const int node = SelectOrgNode(tree, 3, site); node >= 0)
            return node;
    }
    const std::string province = text::mid(number, 5, 2);
    if (province.size() == 2) {
        if (const int node = SelectOrgNode(tree, 1, province); node >= 0)
            return node;
    }
    return SelectOrgNode(tree, 0, {});
}

} // namespace

std::string missingCandidateSql(const std::string& number)
{
    // The list statement's own conditions, so that a number it can never list is not "hidden".
    return "select tttt from t_omr where zkzh=" + text::quoted(number) + " and " + kListedCandidates;
}

MissingCandidate explainMissingCandidate(ado::TADOConnection& connection, const ado::TCustomADODataSet& list,
                                         const OrgTree& tree, int siteCodeLen, const std::string& number)
{
    const std::string wanted = text::trim(number);
    ado::TADOQuery read;
    read.setConnection(&connection);
    read.setSql(missingCandidateSql(wanted));
    read.open();
    MissingCandidate missing;
    if (read.isEmpty())
        return missing;
    if (list.active()) {
        // The copy sees every row of the snapshot, also those the display choice hides.
        auto copy = list.cloneReadOnly();
        if (copy->findEqual("zkzh", wanted)) {
            missing.kind = MissingCandidate::Kind::Hidden;
            missing.stored = read.fieldText("tttt");
            missing.scored = !copy->fieldText("tttt").empty();
            return missing;
        }
    }
    missing.organisation = organisationOf(tree, siteCodeLen, wanted);
    missing.kind = missing.organisation >= 0 ? MissingCandidate::Kind::Elsewhere : MissingCandidate::Kind::Nowhere;
    return missing;
}

} // namespace skorvin::exam
