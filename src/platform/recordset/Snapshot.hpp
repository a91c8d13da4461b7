#pragma once

#include "platform/ByteArena.hpp"
#include "platform/connection/FieldValue.hpp"
#include "platform/connection/RowSink.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skorvin::ado {

// The rows of one opened statement, shared by a dataset and its clones.
// Compact by design, because a national list holds a million rows: every field of
// every row lives in one byte arena as a length (a varint, 0 for NULL) and its
// bytes, and a row is one 32-bit offset. The arena is held in blocks, so that reading
// never copies what it read before. A posted row is re-encoded into a side store, so
// edits never move the arena.
class Snapshot final : public RowSink {
public:
    using Row = std::uint32_t;
    using Value = std::optional<std::string_view>;

    void columns(const std::vector<std::string>& names) override;
    void row(std::span<const std::optional<std::string_view>> fields) override;
    void lossyRow(std::span<const std::optional<std::string_view>> fields, std::span<const bool> lossy) override;
    // Gives back the spare capacity left by reading; call once all rows are in.
    void finish();

    const std::vector<std::string>& fieldNames() const { return names_; }
    int fieldCount() const { return static_cast<int>(names_.size()); }
    // Rows read, deleted ones included; row numbers are 0 .. rowCount()-1 and never change.
    Row rowCount() const { return static_cast<Row>(rowStart_.size()); }

    // All fields of a row into out[0 .. fieldCount()-1]; the views stay valid until that row is replaced.
    void read(Row row, Value* out) const;
    Value value(Row row, int field) const;
    // Stores new values for a row (a post); they are seen by every dataset over this snapshot.
    void replace(Row row, std::span<const FieldValue> values);

    // False for a field whose text lost something on its way from the database (it holds
    // "?" where the database has a character GBK lacks), until a post changes that field.
    bool exact(Row row, int field) const;

    bool deleted(Row row) const { return deleted_[row]; }
    void markDeleted(Row row) { deleted_[row] = true; }

    // Every row (deleted ones included) in ascending order of a field: NULL first, then
    // byte order, ties in the order read. Built on first use and kept until that field is
    // changed by replace().
    const std::vector<Row>& ascendingIndex(int field);
    // The first row not deleted, in the order of ascendingIndex(field), whose field holds exactly
    // wanted (NULL never equal); nullopt when there is none. A binary search over that index.
    std::optional<Row> firstEqual(int field, std::string_view wanted);

    // Bytes held for the rows (arena, offsets, side store, flags), indexes not included.
    std::size_t bytesHeld() const;

private:
    const char* rowBytes(Row row) const;

    std::vector<std::string> names_;
    ByteArena arena_;
    std::string encoded_; // the row being read
    // Offset of each row in arena_; with kEditedBit set, an index into edited_ instead.
    std::vector<std::uint32_t> rowStart_;
    std::vector<std::string> edited_;
    std::vector<bool> deleted_;
    // The fields read with a lossy text, as row * fieldCount() + field, ascending (rows
    // arrive in order). Such texts are rare, so a list of them costs next to nothing.
    std::vector<std::uint64_t> lossyCells_;
    std::map<int, std::vector<Row>> indexes_;
};

} // namespace skorvin::ado
