#include "memory_result_set.hpp"

#include "bound_value.hpp"
#include "value_conversion.hpp"

#include <algorithm>
#include <bit>
#include <cstring>
#include <fmt/format.h>
#include <iterator>
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

constexpr int32_t kFirstFillRows = 64;
constexpr size_t kMaxRuns = 256;
constexpr size_t kTextBlockBytes = 64 * 1024;

} // namespace

MemoryResultSet::MemoryResultSet(std::vector<std::string> column_names) : names_(std::move(column_names)) {
    vtbl = &kVtbl;
    status_column_ = FieldIndex("tvkstatus");
}

void MemoryResultSet::GrowFill(int32_t capacity) {
    const size_t columns = std::max<size_t>(names_.size(), 1);
    const auto rows = static_cast<size_t>(capacity);
    auto cells = std::make_unique_for_overwrite<uint64_t[]>(columns * rows);
    auto kinds = std::make_unique<Kind[]>(columns * rows); // all Null
    const auto filled = static_cast<size_t>(fill_rows_);
    const auto old_rows = static_cast<size_t>(fill_capacity_);
    for (size_t c = 0; filled > 0 && c < names_.size(); ++c) {
        std::memcpy(cells.get() + c * rows, fill_cells_.get() + c * old_rows, filled * sizeof(uint64_t));
        std::memcpy(kinds.get() + c * rows, fill_kinds_.get() + c * old_rows, filled * sizeof(Kind));
    }
    fill_cells_ = std::move(cells);
    fill_kinds_ = std::move(kinds);
    fill_capacity_ = capacity;
}

void MemoryResultSet::Put(int32_t column, uint64_t bits, Kind kind) {
    if (fill_rows_ == fill_capacity_) {
        GrowFill(std::max(kFirstFillRows, std::min(fill_capacity_ * 2, kChunkRows)));
    }
    const size_t slot =
        static_cast<size_t>(column) * static_cast<size_t>(fill_capacity_) + static_cast<size_t>(fill_rows_);
    fill_cells_[slot] = bits;
    fill_kinds_[slot] = kind;
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
    if (value.size() > std::numeric_limits<uint32_t>::max()) {
        throw Error("a text of the result set exceeds 4 GiB");
    }
    // Stored as its length, its bytes and a NUL, in a block that never moves: a reader of a
    // published set may hold a text while later rows are added.
    const size_t need = sizeof(uint32_t) + value.size() + 1;
    if (need > text_left_) {
        const size_t block = std::max(kTextBlockBytes, need);
        text_blocks_.push_back(std::make_unique_for_overwrite<char[]>(block));
        text_at_ = text_blocks_.back().get();
        text_left_ = block;
        text_bytes_ += block;
    }
    const auto length = static_cast<uint32_t>(value.size());
    std::memcpy(text_at_, &length, sizeof length);
    char* text = text_at_ + sizeof length;
    std::memcpy(text, value.data(), value.size());
    text[value.size()] = '\0';
    text_at_ += need;
    text_left_ -= need;
    Put(column, reinterpret_cast<uintptr_t>(text), Kind::Text);
}

void MemoryResultSet::FinishRow() {
    if (row_count_ == std::numeric_limits<int32_t>::max()) {
        throw Error("the result set has too many rows");
    }
    if (fill_rows_ == fill_capacity_) {
        GrowFill(std::max(kFirstFillRows, std::min(fill_capacity_ * 2, kChunkRows))); // a row without cells
    }
    ++fill_rows_;
    ++row_count_;
    if (fill_rows_ == kChunkRows) {
        SealFill();
        if (publishing_) {
            Publish(false);
        }
    }
}

void MemoryResultSet::Finish() {
    if (fill_rows_ > 0) {
        SealFill();
    }
    // Every row is in a chunk now; a reader of a published set never looks at these buffers.
    fill_cells_.reset();
    fill_kinds_.reset();
    fill_capacity_ = 0;
    if (publishing_) {
        Publish(true);
    }
}

void MemoryResultSet::Abort() {
    {
        std::lock_guard lock(publish_mutex_);
        ended_ = true;
    }
    published_more_.notify_all();
}

void MemoryResultSet::Publish(bool end) {
    {
        std::lock_guard lock(publish_mutex_);
        published_.store(row_count_, std::memory_order_release);
        ended_ = ended_ || end;
    }
    published_more_.notify_all();
}

int32_t MemoryResultSet::WaitBeyond(int32_t row) const {
    std::unique_lock lock(publish_mutex_);
    published_more_.wait(lock, [&] { return ended_ || PublishedRows() > row; });
    return PublishedRows();
}

int32_t MemoryResultSet::RowCount() const {
    if (!publishing_) {
        return row_count_;
    }
    std::unique_lock lock(publish_mutex_);
    published_more_.wait(lock, [&] { return ended_; });
    return PublishedRows();
}

const MemoryResultSet::Chunk& MemoryResultSet::FindChunk(int32_t row) const {
    std::unique_lock lock(publish_mutex_, std::defer_lock);
    if (publishing_) {
        lock.lock();
    }
    // The last chunk that begins at or before the row.
    const auto after = std::upper_bound(chunks_.begin(), chunks_.end(), row,
                                        [](int32_t r, const auto& chunk) { return r < chunk->first_row; });
    read_chunk_ = std::prev(after)->get();
    return *read_chunk_;
}

void MemoryResultSet::Append(MemoryResultSet&& tail) {
    if (tail.names_ != names_) {
        throw Error("the rows appended to a result set have other columns");
    }
    if (tail.publishing_) {
        throw Error("a published result set cannot be appended to another");
    }
    if (tail.row_count_ > std::numeric_limits<int32_t>::max() - row_count_) {
        throw Error("the result set has too many rows");
    }
    if (tail.fill_rows_ > 0) {
        tail.SealFill();
    }
    if (fill_rows_ > 0) {
        SealFill();
    }
    {
        std::unique_lock lock(publish_mutex_, std::defer_lock);
        if (publishing_) {
            lock.lock();
        }
        chunks_.reserve(chunks_.size() + tail.chunks_.size());
        for (auto& chunk : tail.chunks_) {
            chunk->first_row += row_count_;
            chunks_.push_back(std::move(chunk));
        }
    }
    for (auto& block : tail.text_blocks_) {
        text_blocks_.push_back(std::move(block));
    }
    text_bytes_ += tail.text_bytes_;
    row_count_ += tail.row_count_;
    sealed_rows_ = row_count_;
    tail.chunks_.clear();
    tail.text_blocks_.clear();
    tail.text_at_ = nullptr;
    tail.text_left_ = 0;
    tail.text_bytes_ = 0;
    tail.row_count_ = 0;
    tail.sealed_rows_ = 0;
    tail.row_ = 0;
    tail.read_chunk_ = nullptr;
    if (publishing_) {
        Publish(false);
    }
}

namespace {

// What each form of one column of a chunk costs, and what the column holds.
struct ColumnScan {
    bool constant = true;
    bool int32 = true;
    bool real = true;
    size_t runs = 1;
};

} // namespace

void MemoryResultSet::SealFill() {
    const auto rows = static_cast<size_t>(fill_rows_);
    const auto capacity = static_cast<size_t>(fill_capacity_);
    auto owned = std::make_unique<Chunk>();
    Chunk& chunk = *owned;
    chunk.first_row = sealed_rows_;
    chunk.rows = fill_rows_;
    chunk.columns.resize(names_.size());
    std::vector<ColumnScan> scans(names_.size());
    size_t bytes = 0;
    for (size_t c = 0; c < names_.size(); ++c) {
        const uint64_t* cells = fill_cells_.get() + c * capacity;
        const Kind* kinds = fill_kinds_.get() + c * capacity;
        ColumnScan& scan = scans[c];
        for (size_t r = 0; r < rows; ++r) {
            const bool same = kinds[r] == kinds[0] && cells[r] == cells[0];
            scan.constant = scan.constant && same;
            if (r > 0 && (kinds[r] != kinds[r - 1] || cells[r] != cells[r - 1])) {
                ++scan.runs;
            }
            scan.int32 = scan.int32 && kinds[r] == Kind::Integer &&
                         static_cast<int64_t>(cells[r]) >= std::numeric_limits<int32_t>::min() &&
                         static_cast<int64_t>(cells[r]) <= std::numeric_limits<int32_t>::max();
            scan.real = scan.real && kinds[r] == Kind::Real;
        }
        Column& column = chunk.columns[c];
        size_t best = rows * (sizeof(uint64_t) + sizeof(Kind));
        column.form = Form::Generic;
        const auto consider = [&](bool possible, Form form, size_t size) {
            if (possible && size < best) {
                best = size;
                column.form = form;
            }
        };
        consider(scan.int32, Form::Int32, rows * sizeof(int32_t));
        consider(scan.real, Form::Real, rows * sizeof(double));
        consider(scan.runs <= kMaxRuns, Form::Runs, rows + scan.runs * (sizeof(uint64_t) + sizeof(Kind)));
        consider(scan.constant, Form::Constant, 0);
        bytes += (best + 7) & ~size_t{7};
    }
    chunk.bytes = std::make_unique_for_overwrite<uint8_t[]>(std::max<size_t>(bytes, 1));
    chunk.size = bytes;
    uint8_t* out = chunk.bytes.get();
    for (size_t c = 0; c < names_.size(); ++c) {
        const uint64_t* cells = fill_cells_.get() + c * capacity;
        const Kind* kinds = fill_kinds_.get() + c * capacity;
        Column& column = chunk.columns[c];
        size_t size = 0;
        switch (column.form) {
        case Form::Constant:
            column.constant = {kinds[0], cells[0]};
            break;
        case Form::Int32: {
            auto* ints = reinterpret_cast<int32_t*>(out);
            for (size_t r = 0; r < rows; ++r) {
                ints[r] = static_cast<int32_t>(static_cast<int64_t>(cells[r]));
            }
            column.ints = ints;
            size = rows * sizeof(int32_t);
            break;
        }
        case Form::Real: {
            auto* reals = reinterpret_cast<double*>(out);
            for (size_t r = 0; r < rows; ++r) {
                reals[r] = std::bit_cast<double>(cells[r]);
            }
            column.reals = reals;
            size = rows * sizeof(double);
            break;
        }
        case Form::Runs: {
            const size_t runs = scans[c].runs;
            auto* run_cells = reinterpret_cast<uint64_t*>(out);
            auto* run_kinds = reinterpret_cast<Kind*>(out + runs * sizeof(uint64_t));
            auto* run_of_row = reinterpret_cast<uint8_t*>(run_kinds + runs);
            size_t run = 0;
            run_cells[0] = cells[0];
            run_kinds[0] = kinds[0];
            for (size_t r = 0; r < rows; ++r) {
                if (r > 0 && (kinds[r] != kinds[r - 1] || cells[r] != cells[r - 1])) {
                    ++run;
                    run_cells[run] = cells[r];
                    run_kinds[run] = kinds[r];
                }
                run_of_row[r] = static_cast<uint8_t>(run);
            }
            column.cells = run_cells;
            column.kinds = run_kinds;
            column.runs = run_of_row;
            size = rows + runs * (sizeof(uint64_t) + sizeof(Kind));
            break;
        }
        case Form::Generic: {
            auto* generic_cells = reinterpret_cast<uint64_t*>(out);
            auto* generic_kinds = reinterpret_cast<Kind*>(out + rows * sizeof(uint64_t));
            std::memcpy(generic_cells, cells, rows * sizeof(uint64_t));
            std::memcpy(generic_kinds, kinds, rows * sizeof(Kind));
            column.cells = generic_cells;
            column.kinds = generic_kinds;
            size = rows * (sizeof(uint64_t) + sizeof(Kind));
            break;
        }
        }
        out += (size + 7) & ~size_t{7};
    }
    {
        std::unique_lock lock(publish_mutex_, std::defer_lock);
        if (publishing_) {
            lock.lock();
        }
        chunks_.push_back(std::move(owned));
    }
    sealed_rows_ += fill_rows_;
    // The next chunk fills the same buffers from their start.
    for (size_t c = 0; c < names_.size(); ++c) {
        std::memset(fill_kinds_.get() + c * capacity, 0, rows * sizeof(Kind));
    }
    fill_rows_ = 0;
}

MemoryResultSet::Cell MemoryResultSet::Decode(const Chunk& chunk, int32_t field) const {
    const auto r = static_cast<size_t>(row_ - chunk.first_row);
    const Column& column = chunk.columns[static_cast<size_t>(field)];
    switch (column.form) {
    case Form::Constant:
        return column.constant;
    case Form::Int32:
        return {Kind::Integer, static_cast<uint64_t>(static_cast<int64_t>(column.ints[r]))};
    case Form::Real:
        return {Kind::Real, std::bit_cast<uint64_t>(column.reals[r])};
    case Form::Runs: {
        const uint8_t run = column.runs[r];
        return {column.kinds[run], column.cells[run]};
    }
    case Form::Generic:
        break;
    }
    return {column.kinds[r], column.cells[r]};
}

MemoryResultSet::Cell MemoryResultSet::Load(int32_t field) const {
    // Reading row after row of one chunk: a row inside the chunk last read was visible when the
    // reader moved to it, and a sealed chunk no longer changes.
    const Chunk* chunk = read_chunk_;
    if (chunk != nullptr &&
        static_cast<uint32_t>(row_ - chunk->first_row) < static_cast<uint32_t>(chunk->rows) &&
        static_cast<uint32_t>(field) < static_cast<uint32_t>(names_.size())) [[likely]] {
        return Decode(*chunk, field);
    }
    if (field < 0 || field >= ColumnCount() || row_ >= VisibleAfter(row_)) {
        return {};
    }
    if (!publishing_ && row_ >= sealed_rows_) {
        const size_t slot = static_cast<size_t>(field) * static_cast<size_t>(fill_capacity_) +
                            static_cast<size_t>(row_ - sealed_rows_);
        return {fill_kinds_[slot], fill_cells_[slot]};
    }
    return Decode(ChunkOf(row_), field);
}

size_t MemoryResultSet::HeldBytes() const {
    size_t bytes = text_bytes_;
    for (const auto& chunk : chunks_) {
        bytes += chunk->size + chunk->columns.capacity() * sizeof(Column);
    }
    const size_t fill = static_cast<size_t>(fill_capacity_) * names_.size();
    return bytes + fill * (sizeof(uint64_t) + sizeof(Kind));
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

std::string_view MemoryResultSet::Text(uint64_t cell) const {
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(cell));
    uint32_t length = 0;
    std::memcpy(&length, text - sizeof length, sizeof length);
    return {text, length};
}

double MemoryResultSet::AsDouble(int32_t field) const {
    const Cell cell = Load(field);
    switch (cell.kind) {
    case Kind::Integer:
        return static_cast<double>(static_cast<int64_t>(cell.bits));
    case Kind::Real:
        return std::bit_cast<double>(cell.bits);
    case Kind::Text:
        return ParseNumber(Text(cell.bits)).value_or(0.0);
    case Kind::Null:
        break;
    }
    return 0.0;
}

double MemoryResultSet::AsDateTime(int32_t field) const {
    const Cell cell = Load(field);
    if (cell.kind == Kind::Text) {
        const std::string_view text = Text(cell.bits);
        if (const auto number = ParseNumber(text)) {
            return *number;
        }
        return ParseDateTimeText(text).value_or(0.0);
    }
    return AsDouble(field);
}

int64_t MemoryResultSet::AsInt64(int32_t field) const {
    const Cell cell = Load(field);
    switch (cell.kind) {
    case Kind::Integer:
        return static_cast<int64_t>(cell.bits);
    case Kind::Real:
        return RoundToInt64(std::bit_cast<double>(cell.bits));
    case Kind::Text: {
        const std::string_view text = Text(cell.bits);
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
    // Integer cells, the columns of every data row, without the general conversion.
    const Cell cell = Load(field);
    if (cell.kind == Kind::Integer) {
        return SaturateToInt32(static_cast<int64_t>(cell.bits));
    }
    return SaturateToInt32(AsInt64(field));
}

std::string MemoryResultSet::AsText(int32_t field) const {
    const Cell cell = Load(field);
    switch (cell.kind) {
    case Kind::Integer:
        return fmt::format("{}", static_cast<int64_t>(cell.bits));
    case Kind::Real:
        return fmt::format("{}", std::bit_cast<double>(cell.bits));
    case Kind::Text:
        return std::string(Text(cell.bits));
    case Kind::Null:
        break;
    }
    return {};
}

const char* MemoryResultSet::AsCString(int32_t field) {
    const Cell cell = Load(field);
    if (cell.kind == Kind::Text) {
        return reinterpret_cast<const char*>(static_cast<uintptr_t>(cell.bits));
    }
    scratch_ = AsText(field);
    return scratch_.c_str();
}

bool MemoryResultSet::Owns(const TlResultSet* set) {
    return set != nullptr && set->vtbl == &kVtbl;
}

} // namespace tl::db
