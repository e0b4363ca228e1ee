// The one result-set implementation: every backend fills it row by row while its query runs.
//
// Storage is column-wise: per cell 8 bytes (an integer, the bits of a real, or the offset and length
// of a text) and one kind byte that doubles as the null flag; all text of the set lives in one
// arena, each value followed by a NUL so that the C side can read it in place.
#pragma once

#include "tlplatform/db_connection.hpp"

#include <cstdint>
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
    int32_t ColumnCount() const override { return static_cast<int32_t>(columns_.size()); }
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

    struct Column {
        std::string name;
        std::vector<uint64_t> cells;
        std::vector<Kind> kinds;
    };

    Kind CellKind(int32_t field) const;
    uint64_t Cell(int32_t field) const {
        return columns_[static_cast<size_t>(field)].cells[static_cast<size_t>(row_)];
    }
    std::string_view Text(uint64_t cell) const;

    std::vector<Column> columns_;
    std::string arena_;
    std::string scratch_;
    int32_t row_count_ = 0;
    int32_t row_ = 0;
    int32_t status_column_ = -1;
};

} // namespace tl::db
