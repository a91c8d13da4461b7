// KDTree: the organisation tree (root, provinces, cities, exam sites) and selecting a node by level and code.
#include "exam/KDTree.hpp"

#include "platform/Text.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <utility>

namespace skorvin::exam {

namespace {

// Tree images: each level has a normal image and the one shown while selected.
constexpr int kRootImage = 1, kRootSelected = 0;
constexpr int kProvinceImage = 3, kProvinceSelected = 2;
constexpr int kCityImage = 5, kCitySelected = 4;
constexpr int kSiteImage = 7, kSiteSelected = 6;

// Opens query with its first parameter set to value, after closing it.
void reopenWith(ado::TADOQuery& query, std::string value)
{
    query.close();
    query.setParameter(0, std::move(value));
    query.open();
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text::left(text, static_cast<int>(prefix.size())) == prefix;
}

} // namespace

int OrgTree::addNode(int parent, std::string text, int imageIndex, int selectedImageIndex)
{
    OrgNode added;
    added.text = std::move(text);
    added.imageIndex = imageIndex;
    added.selectedImageIndex = selectedImageIndex;
    added.parent = parent;
    added.level = parent == kNoParent ? 0 : node(parent).level + 1;
    const int index = size();
    nodes_.push_back(std::move(added));
    if (parent != kNoParent)
        nodes_[static_cast<std::size_t>(parent)].children.push_back(index);
    return index;
}

SelectedNode OrgTree::selection(int index) const
{
    const OrgNode& selected = node(index);
    SelectedNode result;
    result.level = selected.level;
    result.text = selected.text;
    if (selected.parent != kNoParent)
        result.parentText = node(selected.parent).text;
    return result;
}

void BuildOrgTree(OrgTree& tree, ado::TADOConnection& connection)
{
    ado::TADOQuery root, provinces, cities, sites;
    root.setSql("select dwmc from t_scbjg where jb=0 ");
    provinces.setSql("select dm,dwmc from v_ssjg order by dm");
    cities.setSql("select dm,dwmc from v_dsjg where dm like :dm order by dm");
    sites.setSql("select dm,dwmc from v_kdjg where szds=:dsdm order by dm");
    for (ado::TADOQuery* query : {&root, &provinces, &cities, &sites})
        query->setConnection(&connection);

    root.open();
    const std::string rootText = root.isEmpty() ? std::string("00-Zuvo") : "00-" + root.fieldText("dwmc");
    const int rootIndex = tree.addNode(OrgTree::kNoParent, rootText, kRootImage, kRootSelected);

    provinces.open();
    for (; !provinces.eof(); provinces.next()) {
        const std::string provinceCode = provinces.fieldText("dm");
        const int provinceIndex = tree.addNode(rootIndex, provinceCode + "-" + provinces.fieldText("dwmc"),
                                               kProvinceImage, kProvinceSelected);
        reopenWith(cities, provinceCode + "%");
        for (; !cities.eof(); cities.next()) {
            const std::string cityCode = cities.fieldText("dm");
            // A city shows only its own two characters; the province node supplies the rest.
            const int cityIndex = tree.addNode(provinceIndex, text::right(cityCode, 2) + "-" + cities.fieldText("dwmc"),
                                               kCityImage, kCitySelected);
            reopenWith(sites, cityCode);
            for (; !sites.eof(); sites.next())
                tree.addNode(cityIndex, sites.fieldText("dm") + "-" + sites.fieldText("dwmc"), kSiteImage,
                             kSiteSelected);
        }
    }
}

int SelectOrgNode(const OrgTree& tree, std::int32_t level, const std::string& code)
{
    if (level == 0)
        return tree.empty() ? -1 : 0;
    if (level < 1 || level > 3)
        return -1;
    for (int index = 0; index < tree.size(); ++index) {
        const OrgNode& candidate = tree.node(index);
        if (candidate.level != level)
            continue;
        if (level != 2 && startsWith(candidate.text, code))
            return index;
        // City nodes carry the city's own two characters; the parent gives the province.
        if (level == 2 && text::left(candidate.text, 2) == text::right(code, 2) &&
            text::left(tree.node(candidate.parent).text, 2) == text::left(code, 2))
            return index;
    }
    return -1;
}

} // namespace skorvin::exam
