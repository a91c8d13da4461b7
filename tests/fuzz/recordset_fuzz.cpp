// The client recordset as a state machine: random opens, closes, moves, filters, sorts,
// searches, edits, posts, deletes and clones over a real SQLite file, with the view and
// the position checked after every step against what the rows say, and every search of
// the number index against what a sorted clone finds.
#include "platform/Exception.hpp"
#include "platform/connection/TADOConnection.hpp"
#include "platform/recordset/FilterExpression.hpp"
#include "platform/recordset/TCustomADODataSet.hpp"

#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using skorvin::EDatabaseError;
using skorvin::ado::FieldValue;
using skorvin::ado::FilterExpression;
using skorvin::ado::TADOConnection;
using skorvin::ado::TCustomADODataSet;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Candidates with repeated numbers, NULL and empty scores, and one name GBK cannot hold.
const char* const kSchema = "create table t_omr (zkzh text, tttt text, xm text);"
                            "insert into t_omr values ('4003', '35', 'C'), ('4001', null, '张三'), ('4002', '', 'B'),"
                            "('4005', '27.5', 'E'), ('4004', null, 'D😀'), ('4003', '40', 'F'), (null, '1', 'G'),"
                            "('4010', '9', ''), ('4007', null, null), ('4006', '35', 'H'), ('4008', '', '张三'),"
                            "('4009', '0', 'I');";

const char* const kStatements[] = {
    "select zkzh, tttt, xm from t_omr order by zkzh",
    "select xm, zkzh, tttt from t_omr",
    "select zkzh, tttt from t_omr where zkzh = 'none'",
};
const char* const kFilters[] = {
    " tttt = null or tttt=''",
    " tttt <> null and tttt<>''",
    "zkzh >= '4005'",
    "xm LIKE '张*'",
    "tttt > 30",
    "",
    "score = 1",
    "(",
};
struct Sort {
    const char* text;
    const char* field; // null: the order read
    bool descending;
};
const Sort kSorts[] = {{"zkzh", "zkzh", false}, {"tttt DESC", "tttt", true}, {"[xm] ASC", "xm", false},
                       {"", nullptr, false},    {"nofield", nullptr, false}, {"zkzh sideways", nullptr, false}};
const char* const kFields[] = {"zkzh", "tttt", "xm", "score"};
const std::optional<std::string> kValues[] = {std::nullopt, "", "35", "4003", "张三", "?", "4011"};

TADOConnection& connection()
{
    static TADOConnection* instance = [] {
        char folder[] = "/tmp/recordset-fuzz-XXXXXX";
        require(mkdtemp(folder) != nullptr);
        const std::string file = std::string(folder) + "/exam.sqlite";
        sqlite3* db = nullptr;
        require(sqlite3_open(file.c_str(), &db) == SQLITE_OK);
        require(sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) == SQLITE_OK);
        sqlite3_close(db);
        auto* c = new TADOConnection("Provider=SQLite;Data Source=" + file);
        c->open();
        return c;
    }();
    return *instance;
}

int compare(const FieldValue& a, const FieldValue& b)
{
    if (!a || !b)
        return a.has_value() - b.has_value();
    return a->compare(*b);
}

// What the list's view must hold: the snapshot's rows that are not deleted and pass the filter in force.
std::vector<TCustomADODataSet::Bookmark> expectedView(const TCustomADODataSet& list)
{
    auto all = list.cloneReadOnly();
    std::unique_ptr<FilterExpression> filter;
    if (list.filtered()) {
        filter = std::make_unique<FilterExpression>(list.filter());
        if (filter->empty())
            filter.reset();
        else
            filter->bind(list.fieldNames());
    }
    std::vector<TCustomADODataSet::Bookmark> rows;
    std::vector<FieldValue> values(list.fieldNames().size());
    std::vector<FilterExpression::Value> fields(values.size());
    for (int r = 0; r < all->recordCount(); ++r) {
        for (std::size_t f = 0; f < values.size(); ++f) {
            values[f] = all->viewValue(r, static_cast<int>(f));
            fields[f] = values[f] ? FilterExpression::Value(*values[f]) : std::nullopt;
        }
        if (!filter || filter->matches(fields.data()))
            rows.push_back(all->bookmarkAt(r));
    }
    return rows;
}

// sort: the order the view was last given, null when it is the order read or no longer
// known (a post keeps the view's order, so an edited row may stand out of it).
void checkInvariants(const TCustomADODataSet& list, const Sort* sort, bool sortedOrder)
{
    if (!list.active()) {
        require(list.bof() && list.eof() && list.isEmpty() && list.currentViewRow() == -1);
        return;
    }
    const int count = list.recordCount();
    const int current = list.currentViewRow();
    require(list.isEmpty() == (count == 0));
    if (count == 0) {
        require(current == -1 && list.bof() && list.eof() && list.recNo() == -1);
        return;
    }
    require(current >= 0 && current < count && list.recNo() == current + 1);
    require(!(list.bof() && list.eof()));
    static_cast<void>(list.fieldValue(0));
    static_cast<void>(list.bookmark());

    std::vector<TCustomADODataSet::Bookmark> view;
    for (int r = 0; r < count; ++r) {
        view.push_back(list.bookmarkAt(r));
        for (int f = 0; f < static_cast<int>(list.fieldNames().size()); ++f)
            static_cast<void>(list.viewValue(r, f));
    }
    auto expected = expectedView(list);
    auto sortedView = view;
    std::sort(sortedView.begin(), sortedView.end());
    require(sortedView == expected);

    if (!sort || !sort->field) {
        require(view == expected); // the order read
    } else if (sortedOrder) {
        const int field = list.fieldIndex(sort->field);
        for (int r = 1; r < count; ++r) {
            const int c = compare(list.viewValue(r - 1, field), list.viewValue(r, field));
            require(sort->descending ? c >= 0 : c <= 0);
        }
    }
}

// Moves and searches on a read-only clone; it keeps its own view, which may still hold
// rows the list deleted, so only its own promises are checked.
void stepClone(TCustomADODataSet& clone, FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0:
        clone.moveBy(input.ConsumeIntegralInRange(-4, 4));
        break;
    case 1:
        clone.setSort(input.PickValueInArray(kSorts).text);
        break;
    case 2:
        clone.findEqual(input.PickValueInArray(kFields), input.PickValueInArray(kValues).value_or(""));
        break;
    case 3:
        static_cast<void>(clone.fieldTextExact(input.PickValueInArray(kFields)));
        break;
    default:
        clone.edit(); // read-only: refused
        require(false);
    }
}

// The index search finds what a fresh clone sorted on the field finds, whatever the filter,
// the posts and the deletes have done to the rows.
void seekAsTheSortedCloneFinds(const TCustomADODataSet& list, FuzzedDataProvider& input)
{
    const char* field = input.PickValueInArray(kFields);
    const std::string value = input.PickValueInArray(kValues).value_or("");
    const auto found = list.seekEqual(field, value);
    auto sorted = list.cloneReadOnly();
    sorted->setSort(field);
    const bool inClone = sorted->findEqual(field, value);
    require(found.has_value() == inClone);
    require(!inClone || *found == sorted->bookmark());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    TCustomADODataSet list("Main_AdoSet");
    list.setConnection(&connection());
    list.setCommandText(kStatements[0]);
    std::vector<std::unique_ptr<TCustomADODataSet>> clones;
    const Sort* sort = nullptr;
    bool sortedOrder = false;

    for (int step = 0; step < 64 && input.remaining_bytes() > 0; ++step) {
        try {
            switch (input.ConsumeIntegralInRange(0, 20)) {
            case 0:
                list.open();
                break;
            case 1:
                list.close();
                sort = nullptr;
                break;
            case 2:
                list.first();
                break;
            case 3:
                list.last();
                break;
            case 4:
                list.next();
                break;
            case 5:
                list.prior();
                break;
            case 6:
                list.moveBy(input.ConsumeIntegralInRange(-8, 8));
                break;
            case 7:
                list.setFilter(input.ConsumeBool() ? std::string(input.PickValueInArray(kFilters))
                                                   : input.ConsumeRandomLengthString(24));
                break;
            case 8:
                list.setFiltered(input.ConsumeBool());
                break;
            case 9: {
                const Sort& wanted = kSorts[input.ConsumeIntegralInRange<std::size_t>(0, std::size(kSorts) - 1)];
                list.setSort(wanted.text);
                sort = &wanted;
                sortedOrder = true;
                break;
            }
            case 10:
                list.findEqual(input.PickValueInArray(kFields), input.PickValueInArray(kValues).value_or(""));
                break;
            case 11:
                sortedOrder = false;
                list.edit();
                list.setFieldValue(input.PickValueInArray(kFields), input.PickValueInArray(kValues));
                break;
            case 12:
                list.post();
                break;
            case 13:
                list.cancel();
                break;
            case 14:
                list.deleteRecord();
                break;
            case 15: {
                std::vector<TCustomADODataSet::Bookmark> marks;
                const int count = list.recordCount();
                for (int r = 0; r < count; ++r)
                    if (input.ConsumeIntegralInRange(0, 3) == 0)
                        marks.push_back(list.bookmarkAt(r));
                if (input.ConsumeBool())
                    marks.push_back(input.ConsumeIntegralInRange<TCustomADODataSet::Bookmark>(0, 14));
                list.deleteRecords(marks);
                break;
            }
            case 16:
                list.gotoBookmark(input.ConsumeIntegralInRange<TCustomADODataSet::Bookmark>(0, 14));
                break;
            case 17:
                if (clones.size() < 3)
                    clones.push_back(list.cloneReadOnly());
                break;
            case 18:
                if (!clones.empty())
                    stepClone(*clones[input.ConsumeIntegralInRange<std::size_t>(0, clones.size() - 1)], input);
                break;
            case 19:
                seekAsTheSortedCloneFinds(list, input);
                break;
            default:
                list.setCommandText(input.PickValueInArray(kStatements));
                break;
            }
        } catch (const EDatabaseError&) {
            // Refusals are part of the contract; the state must still hold together.
        }
        checkInvariants(list, sort, sortedOrder);
    }
    return 0;
}
