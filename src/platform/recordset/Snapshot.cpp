#include "platform/recordset/Snapshot.hpp"

#include "platform/Exception.hpp"

#include <algorithm>

namespace skorvin::ado {

namespace {

constexpr std::uint32_t kEditedBit = 0x80000000u;

// Length + 1 as a little-endian base-128 varint; 0 stands for NULL.
void encodeField(std::string& out, const Snapshot::Value& v)
{
    std::uint64_t n = v ? v->size() + 1 : 0;
    while (n >= 0x80) {
        out += static_cast<char>(0x80 | (n & 0x7F));
        n >>= 7;
    }
    out += static_cast<char>(n);
    if (v)
        out.append(v->data(), v->size());
}

const char* decodeField(const char* p, Snapshot::Value& v)
{
    std::uint64_t n = 0;
    int shift = 0;
    for (;;) {
        const auto b = static_cast<unsigned char>(*p++);
        n |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if (b < 0x80)
            break;
        shift += 7;
    }
    if (n == 0) {
        v.reset();
        return p;
    }
    v = std::string_view(p, static_cast<std::size_t>(n - 1));
    return p + (n - 1);
}

} // namespace

void Snapshot::columns(const std::vector<std::string>& names)
{
    names_ = names;
}

void Snapshot::row(std::span<const std::optional<std::string_view>> fields)
{
    encoded_.clear();
    for (const auto& f : fields)
        encodeField(encoded_, f);
    // A row may begin the next block of the arena: leave room for the rest of this one.
    if (arena_.size() + encoded_.size() + ByteArena::kBlockBytes >= kEditedBit)
        throw EDatabaseError("The result is too large to hold in memory");
    rowStart_.push_back(arena_.append(encoded_));
}

void Snapshot::lossyRow(std::span<const std::optional<std::string_view>> fields, std::span<const bool> lossy)
{
    const std::uint64_t first = std::uint64_t{rowCount()} * names_.size();
    row(fields);
    for (std::size_t f = 0; f < lossy.size(); ++f)
        if (lossy[f])
            lossyCells_.push_back(first + f);
}

bool Snapshot::exact(Row row, int field) const
{
    const std::uint64_t cell = std::uint64_t{row} * names_.size() + static_cast<std::uint64_t>(field);
    return !std::binary_search(lossyCells_.begin(), lossyCells_.end(), cell);
}

void Snapshot::finish()
{
    lossyCells_.shrink_to_fit();
    arena_.shrink();
    encoded_ = std::string();
    rowStart_.shrink_to_fit();
    deleted_.assign(rowStart_.size(), false);
}

const char* Snapshot::rowBytes(Row row) const
{
    const auto start = rowStart_[row];
    return start & kEditedBit ? edited_[start & ~kEditedBit].data() : arena_.at(start);
}

void Snapshot::read(Row row, Value* out) const
{
    const char* p = rowBytes(row);
    for (int f = 0; f < fieldCount(); ++f)
        p = decodeField(p, out[f]);
}

Snapshot::Value Snapshot::value(Row row, int field) const
{
    const char* p = rowBytes(row);
    Value v;
    for (int f = 0; f <= field; ++f)
        p = decodeField(p, v);
    return v;
}

void Snapshot::replace(Row row, std::span<const FieldValue> values)
{
    std::vector<Value> old(names_.size());
    read(row, old.data());
    std::string encoded;
    for (const auto& v : values)
        encodeField(encoded, v ? Value(*v) : Value());
    for (std::size_t f = 0; f < values.size(); ++f) {
        const bool same = old[f].has_value() == values[f].has_value() && (!old[f] || *old[f] == *values[f]);
        if (!same) {
            indexes_.erase(static_cast<int>(f));
            // The new text is the program's own, not a lossy copy of the database's.
            const std::uint64_t cell = std::uint64_t{row} * names_.size() + f;
            const auto at = std::lower_bound(lossyCells_.begin(), lossyCells_.end(), cell);
            if (at != lossyCells_.end() && *at == cell)
                lossyCells_.erase(at);
        }
    }
    auto& start = rowStart_[row];
    if (start & kEditedBit) {
        edited_[start & ~kEditedBit] = std::move(encoded);
    } else {
        start = kEditedBit | static_cast<std::uint32_t>(edited_.size());
        edited_.push_back(std::move(encoded));
    }
}

const std::vector<Snapshot::Row>& Snapshot::ascendingIndex(int field)
{
    const auto found = indexes_.find(field);
    if (found != indexes_.end())
        return found->second;

    struct Key {
        std::string_view text;
        Row row;
    };
    std::vector<Row> order;
    order.reserve(rowStart_.size());
    std::vector<Key> keys;
    keys.reserve(rowStart_.size());
    for (Row r = 0; r < rowCount(); ++r) {
        const auto v = value(r, field);
        if (v)
            keys.push_back({*v, r});
        else
            order.push_back(r); // NULL sorts first
    }
    // A list read with "order by" on this field is already in order: no sort needed.
    const auto less = [](const Key& a, const Key& b) {
        const int c = a.text.compare(b.text);
        return c < 0 || (c == 0 && a.row < b.row);
    };
    if (!std::is_sorted(keys.begin(), keys.end(), less))
        std::sort(keys.begin(), keys.end(), less);
    for (const auto& k : keys)
        order.push_back(k.row);
    return indexes_.emplace(field, std::move(order)).first->second;
}

std::optional<Snapshot::Row> Snapshot::firstEqual(int field, std::string_view wanted)
{
    const std::vector<Row>& index = ascendingIndex(field);
    auto at = std::partition_point(index.begin(), index.end(), [&](Row r) {
        const Value v = value(r, field);
        return !v || *v < wanted;
    });
    // Rows of equal text are in the order read; a deleted one is passed over.
    for (; at != index.end(); ++at) {
        const Value v = value(*at, field);
        if (!v || *v != wanted)
            break;
        if (!deleted(*at))
            return *at;
    }
    return std::nullopt;
}

std::size_t Snapshot::bytesHeld() const
{
    std::size_t edited = 0;
    for (const auto& e : edited_)
        edited += e.capacity();
    return arena_.capacityBytes() + rowStart_.capacity() * sizeof(std::uint32_t) + edited +
           edited_.capacity() * sizeof(std::string) + deleted_.capacity() / 8 +
           lossyCells_.capacity() * sizeof(std::uint64_t);
}

} // namespace skorvin::ado
