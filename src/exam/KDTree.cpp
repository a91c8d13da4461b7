// KDTree: building the organisation tree from the database and selecting a node by level and code.
#include "exam/KDTree.hpp"

#include "platform/Text.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

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

constexpr const char* kRootSql = "select dwmc from t_scbjg where jb=0 ";
constexpr const char* kProvincesSql = "select dm,dwmc from v_ssjg order by dm";

std::string rootText(const ado::TADOQuery& root)
{
    return root.isEmpty() ? std::string("00-Zuvo") : "00-" + root.fieldText("dwmc");
}

// A city shows only its own two characters; the province node supplies the rest.
std::string cityText(const std::string& code, const std::string& name)
{
    return text::right(code, 2) + "-" + name;
}

// A code that every server matches as plain text: digits without a leading zero (so that a
// number column compares it as its text), or NULL. LIKE 'code%' is then "begins with the
// code" and = is "the same bytes", whatever the collation, the case rules or the wildcards.
bool plainCode(const ado::FieldValue& code)
{
    if (!code)
        return true;
    const std::string& digits = *code;
    const bool allDigits =
        !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    return allDigits && (digits.size() == 1 || digits.front() != '0');
}

// One organisation as read: its code (NULL kept apart from empty), its name and, for an exam
// site, the code of its city.
struct OrgRow {
    ado::FieldValue dm;
    std::string dwmc;
    ado::FieldValue szds;
};

std::vector<OrgRow> readRows(ado::TADOConnection& connection, const char* sql, bool withCity)
{
    ado::TADOQuery query;
    query.setConnection(&connection);
    query.setSql(sql);
    query.open();
    std::vector<OrgRow> rows;
    rows.reserve(static_cast<std::size_t>(query.recordCount()));
    for (; !query.eof(); query.next())
        rows.push_back(
            {query.fieldValue("dm"), query.fieldText("dwmc"), withCity ? query.fieldValue("szds") : ado::FieldValue()});
    return rows;
}

// Every organisation, read with one statement per level and put together in memory as the
// statement per province and per city would have put it: the rows of each level come in the
// server's order of dm, and choosing among them keeps that order.
struct Organisations {
    std::string root;
    std::vector<OrgRow> provinces, cities, sites;

    bool plainCodes() const
    {
        const auto plain = [](const std::vector<OrgRow>& rows, ado::FieldValue OrgRow::*code) {
            return std::all_of(rows.begin(), rows.end(), [code](const OrgRow& row) { return plainCode(row.*code); });
        };
        return plain(provinces, &OrgRow::dm) && plain(cities, &OrgRow::dm) && plain(sites, &OrgRow::szds);
    }

    void addTo(OrgTree& tree) const
    {
        // A city's sites by its code, each list in the order read.
        std::map<std::string, std::vector<const OrgRow*>> sitesOf;
        for (const OrgRow& site : sites)
            if (site.szds)
                sitesOf[*site.szds].push_back(&site);
        const int rootIndex = tree.addNode(OrgTree::kNoParent, root, kRootImage, kRootSelected);
        for (const OrgRow& province : provinces) {
            const std::string provinceCode = province.dm.value_or("");
            const int provinceIndex =
                tree.addNode(rootIndex, provinceCode + "-" + province.dwmc, kProvinceImage, kProvinceSelected);
            for (const OrgRow& city : cities) {
                // dm like 'code%': a NULL code is never like anything.
                if (!city.dm || !startsWith(*city.dm, provinceCode))
                    continue;
                const int cityIndex =
                    tree.addNode(provinceIndex, cityText(*city.dm, city.dwmc), kCityImage, kCitySelected);
                const auto found = sitesOf.find(*city.dm);
                if (found == sitesOf.end())
                    continue;
                for (const OrgRow* site : found->second)
                    tree.addNode(cityIndex, site->dm.value_or("") + "-" + site->dwmc, kSiteImage, kSiteSelected);
            }
        }
    }
};

Organisations readOrganisations(ado::TADOConnection& connection)
{
    Organisations all;
    ado::TADOQuery root;
    root.setConnection(&connection);
    root.setSql(kRootSql);
    root.open();
    all.root = rootText(root);
    all.provinces = readRows(connection, kProvincesSql, false);
    all.cities = readRows(connection, "select dm,dwmc from v_dsjg order by dm", false);
    all.sites = readRows(connection, "select dm,dwmc,szds from v_kdjg order by dm", true);
    return all;
}

// The tree read statement by statement: the city statement run again for every province
// and the site statement for every city, each node added as its row is read.
void buildByStatements(OrgTree& tree, ado::TADOConnection& connection)
{
    ado::TADOQuery root, provinces, cities, sites;
    root.setSql(kRootSql);
    provinces.setSql(kProvincesSql);
    cities.setSql("select dm,dwmc from v_dsjg where dm like :dm order by dm");
    sites.setSql("select dm,dwmc from v_kdjg where szds=:dsdm order by dm");
    for (ado::TADOQuery* query : {&root, &provinces, &cities, &sites})
        query->setConnection(&connection);

    root.open();
    const int rootIndex = tree.addNode(OrgTree::kNoParent, rootText(root), kRootImage, kRootSelected);

    provinces.open();
    for (; !provinces.eof(); provinces.next()) {
        const std::string provinceCode = provinces.fieldText("dm");
        const int provinceIndex = tree.addNode(rootIndex, provinceCode + "-" + provinces.fieldText("dwmc"),
                                               kProvinceImage, kProvinceSelected);
        reopenWith(cities, provinceCode + "%");
        for (; !cities.eof(); cities.next()) {
            const std::string cityCode = cities.fieldText("dm");
            const int cityIndex =
                tree.addNode(provinceIndex, cityText(cityCode, cities.fieldText("dwmc")), kCityImage, kCitySelected);
            reopenWith(sites, cityCode);
            for (; !sites.eof(); sites.next())
                tree.addNode(cityIndex, sites.fieldText("dm") + "-" + sites.fieldText("dwmc"), kSiteImage,
                             kSiteSelected);
        }
    }
}

} // namespace

void BuildOrgTree(OrgTree& tree, ado::TADOConnection& connection)
{
    // Four statements instead of one per province and city (about 490 on the national
    // database). A failure, or a code the server might match otherwise than as plain text,
    // goes statement by statement instead, which fails at the same statement with the same
    // nodes added before it.
    std::optional<Organisations> all;
    try {
        all = readOrganisations(connection);
    } catch (const std::exception&) {
    }
    if (all && all->plainCodes())
        all->addTo(tree);
    else
        buildByStatements(tree, connection);
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
