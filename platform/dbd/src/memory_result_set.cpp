#include "memory_result_set.hpp"

#include "bound_value.hpp"
#include "value_conversion.hpp"

#include <algorithm>
#include <bit>
#include <fmt/format.h>
#include <limits>

namespace tl::db {
namespace {

MemoryResultSet* Self(TlResultSet* set) {
    return static_cast<MemoryResultSet*>(static_cast<ResultSet*>(set));
}

int32_t CFieldIndex(TlResultSet* self, const char* name) noexcept {
    return name == nullptr ? -1 : Self(self)->FieldIndex(name);
}
double CAsDateTime(TlResultSet* self, int32_t field) noexcept {
    return Self(self)->AsDateTime(field);
}
double CAsDouble(TlResultSet* self, int32_t field) noexcept {
    return Self(self)->AsDouble(field);
}
int32_t CAsInteger(TlResultSet* self, int32_t field) noexcept {
    return Self(self)->AsInteger(field);
}
bool CIsNull(TlResultSet* self, int32_t field) noexcept {
    return Self(self)->IsNull(field);
}
bool CIsEmpty(TlResultSet* self) noexcept {
    return Self(self)->IsEmpty();
}
void CFirst(TlResultSet* self) noexcept {
    Self(self)->First();
}
void CNext(TlResultSet* self) noexcept {
    Self(self)->Next();
}
bool CEof(TlResultSet* self) noexcept {
    return Self(self)->Eof();
}
int64_t CStatusWord(TlResultSet* self) noexcept {
    return Self(self)->StatusWord();
}

constexpr TlResultSetVtbl kVtbl = {CFieldIndex, CAsDateTime, CAsDouble, CAsInteger, CIsNull,
                                   CIsEmpty,    CFirst,      CNext,     CEof,       CStatusWord};

} // namespace

MemoryResultSet::MemoryResultSet(std::vector<std::string> column_names) : names_(std::move(column_names)) {
    vtbl = &kVtbl;
    constexpr size_t kChunkCellBytes = 64 * 1024;
    const size_t row_bytes = std::max<size_t>(names_.size(), 1) * sizeof(uint64_t);
    chunk_shift_ = 4; // at least 16 rows a chunk
    while (chunk_shift_ < 16 && (row_bytes << (chunk_shift_ + 1)) <= kChunkCellBytes) {
        ++chunk_shift_;
    }
    chunk_mask_ = (size_t{1} << chunk_shift_) - 1;
    status_column_ = FieldIndex("tvkstatus");
}

void MemoryResultSet::StartRow() {
    const size_t index = static_cast<size_t>(row_count_) >> chunk_shift_;
    if (index == chunks_.size()) {
        const size_t cells = (chunk_mask_ + 1) * names_.size();
        chunks_.push_back(
            {std::make_unique_for_overwrite<uint64_t[]>(cells), std::make_unique<Kind[]>(cells)});
    }
    const size_t slot = Slot(row_count_, 0);
    fill_cells_ = chunks_[index].cells.get() + slot;
    fill_kinds_ = chunks_[index].kinds.get() + slot;
}

void MemoryResultSet::AddNull(int32_t column) {
    Put(column, 0, Kind::Null);
}

void MemoryResultSet::AddInteger(int32_t column, int64_t value) {
    Put(column, static_cast<uint64_t>(value), Kind::Integer);
}

void MemoryResultSet::AddReal(int32_t column, double value) {
    Put(column, std::bit_cast<uint64_t>(value), Kind::Real);
}

void MemoryResultSet::AddText(int32_t column, std::string_view value) {
    if (arena_.size() + value.size() + 1 > std::numeric_limits<uint32_t>::max()) {
        throw Error("the result set's text exceeds 4 GiB");
    }
    const uint64_t offset = arena_.size();
    arena_.append(value);
    arena_.push_back('\0');
    Put(column, offset << 32 | value.size(), Kind::Text);
}

void MemoryResultSet::FinishRow() {
    if (row_count_ == std::numeric_limits<int32_t>::max()) {
        throw Error("the result set has too many rows");
    }
    if (fill_cells_ == nullptr) {
        StartRow(); // a row without cells still has its (null) place
    }
    fill_cells_ = nullptr;
    fill_kinds_ = nullptr;
    ++row_count_;
}

std::string MemoryResultSet::ColumnName(int32_t column) const {
    if (column < 0 || column >= ColumnCount()) {
        return {};
    }
    return names_[static_cast<size_t>(column)];
}

int32_t MemoryResultSet::FieldIndex(std::string_view name) const {
    for (size_t i = 0; i < names_.size(); ++i) {
        if (EqualsIgnoringAsciiCase(names_[i], name)) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

MemoryResultSet::Kind MemoryResultSet::CellKind(int32_t field) const {
    if (field < 0 || field >= ColumnCount() || row_ >= row_count_) {
        return Kind::Null;
    }
    return ChunkOf(row_).kinds[Slot(row_, field)];
}

std::string_view MemoryResultSet::Text(uint64_t cell) const {
    return std::string_view(arena_).substr(cell >> 32, cell & 0xFFFFFFFFu);
}

double MemoryResultSet::AsDouble(int32_t field) const {
    switch (CellKind(field)) {
    case Kind::Integer:
        return static_cast<double>(static_cast<int64_t>(Cell(field)));
    case Kind::Real:
        return std::bit_cast<double>(Cell(field));
    case Kind::Text:
        return ParseNumber(Text(Cell(field))).value_or(0.0);
    case Kind::Null:
        break;
    }
    return 0.0;
}

double MemoryResultSet::AsDateTime(int32_t field) const {
    if (CellKind(field) == Kind::Text) {
        const std::string_view text = Text(Cell(field));
        if (const auto number = ParseNumber(text)) {
            return *number;
        }
        return ParseDateTimeText(text).value_or(0.0);
    }
    return AsDouble(field);
}

int64_t MemoryResultSet::AsInt64(int32_t field) const {
    switch (CellKind(field)) {
    case Kind::Integer:
        return static_cast<int64_t>(Cell(field));
    case Kind::Real:
        return RoundToInt64(std::bit_cast<double>(Cell(field)));
    case Kind::Text: {
        const std::string_view text = Text(Cell(field));
        if (const auto whole = ParseInteger(text)) {
            return *whole;
        }
        return RoundToInt64(ParseNumber(text).value_or(0.0));
    }
    case Kind::Null:
        break;
    }
    return 0;
}

int32_t MemoryResultSet::AsInteger(int32_t field) const {
    return SaturateToInt32(AsInt64(field));
}

std::string MemoryResultSet::AsText(int32_t field) const {
    switch (CellKind(field)) {
    case Kind::Integer:
        return fmt::format("{}", static_cast<int64_t>(Cell(field)));
    case Kind::Real:
        return fmt::format("{}", std::bit_cast<double>(Cell(field)));
    case Kind::Text:
        return std::string(Text(Cell(field)));
    case Kind::Null:
        break;
    }
    return {};
}

const char* MemoryResultSet::AsCString(int32_t field) {
    if (CellKind(field) == Kind::Text) {
        return arena_.data() + (Cell(field) >> 32);
    }
    scratch_ = AsText(field);
    return scratch_.c_str();
}

bool MemoryResultSet::Owns(const TlResultSet* set) {
    return set != nullptr && set->vtbl == &kVtbl;
}

} // namespace tl::db
