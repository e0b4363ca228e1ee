// The one result-set implementation: every backend fills it row by row while its query runs.
//
// Storage is row by row in chunks of a power-of-two number of rows (about 64 KiB of cells each), so
// that a growing set never moves what it already holds: per cell 8 bytes (an integer, the bits of a
// real, or the offset and length of a text) and one kind byte that doubles as the null flag. All
// text of the set lives in one arena, each value followed by a NUL so that the C side can read it
// in place.
#pragma once

#include "tlplatform/db_connection.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tl::db {

class MemoryResultSet final : public ResultSet {
public:
    explicit MemoryResultSet(std::vector<std::string> column_names);

    // Filling: one Add call per column, in column order, then FinishRow.
    void AddNull(int32_t column);
    void AddInteger(int32_t column, int64_t value);
    void AddReal(int32_t column, double value);
    void AddText(int32_t column, std::string_view value);
    void FinishRow();

    int32_t RowCount() const override { return row_count_; }
    int32_t ColumnCount() const override { return static_cast<int32_t>(names_.size()); }
    std::string ColumnName(int32_t column) const override;

    int32_t FieldIndex(std::string_view name) const override;
    double AsDateTime(int32_t field) const override;
    double AsDouble(int32_t field) const override;
    int32_t AsInteger(int32_t field) const override;
    int64_t AsInt64(int32_t field) const override;
    std::string AsText(int32_t field) const override;
    bool IsNull(int32_t field) const override { return CellKind(field) == Kind::Null; }
    bool IsEmpty() const override { return row_count_ == 0; }
    void First() override { row_ = 0; }
    void Next() override {
        if (row_ < row_count_) {
            ++row_;
        }
    }
    bool Eof() const override { return row_ >= row_count_; }
    int64_t StatusWord() const override { return AsInt64(status_column_); }

    // The field as NUL-terminated text, valid until the next call or until the set is freed.
    const char* AsCString(int32_t field);

    // True when `set` is a MemoryResultSet (it carries this class's C function table).
    static bool Owns(const TlResultSet* set);

private:
    enum class Kind : uint8_t { Null, Integer, Real, Text };

    struct Chunk {
        std::unique_ptr<uint64_t[]> cells;
        std::unique_ptr<Kind[]> kinds; // all Null until filled
    };

    // Index of the cell of `row` and `field` within its chunk.
    size_t Slot(int32_t row, int32_t field) const {
        return (static_cast<size_t>(row) & chunk_mask_) * names_.size() + static_cast<size_t>(field);
    }
    const Chunk& ChunkOf(int32_t row) const { return chunks_[static_cast<size_t>(row) >> chunk_shift_]; }
    // Points the fill pointers at the row being filled, making its chunk when it is the first.
    void StartRow();
    void Put(int32_t column, uint64_t cell, Kind kind) {
        if (fill_cells_ == nullptr) {
            StartRow();
        }
        fill_cells_[column] = cell;
        fill_kinds_[column] = kind;
    }

    Kind CellKind(int32_t field) const;
    uint64_t Cell(int32_t field) const { return ChunkOf(row_).cells[Slot(row_, field)]; }
    std::string_view Text(uint64_t cell) const;

    std::vector<std::string> names_;
    std::vector<Chunk> chunks_;
    unsigned chunk_shift_ = 0;
    size_t chunk_mask_ = 0;
    uint64_t* fill_cells_ = nullptr; // the cells of the row being filled, null between rows
    Kind* fill_kinds_ = nullptr;
    std::string arena_;
    std::string scratch_;
    int32_t row_count_ = 0;
    int32_t row_ = 0;
    int32_t status_column_ = -1;
};

} // namespace tl::db
