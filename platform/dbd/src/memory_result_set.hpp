// The one result-set implementation: every backend fills it row by row while its query runs.
//
// Rows are kept in chunks of up to 4096 rows (every chunk full but the last of each set appended), each
// column of a chunk in the smallest of five forms, chosen when the chunk is full: one value for the whole
// chunk (a parameter number, a season, a null column), up to 256 runs of equal values with a one-byte run
// index per row (the stamps of a data request, element types, status words), 32-bit integers, reals, or, for
// anything else, an 8-byte cell (an integer, the bits of a real, the address of a text) and a kind byte per
// row. A data request's row takes some 25 bytes instead of the 90 of its ten cells. The chunk being filled
// stays in the last form until it is full or Finish is called; reading works at any time. Texts live in
// blocks that never move, each value followed by a NUL so that the C side can read it in place while later
// rows are added.
//
// Published (StartPublishing before the first row), a set is read on one thread while another
// fills it: readers see the rows of the chunks filled so far, and one that reaches the rows not yet
// there (Eof, Next, IsEmpty, a field) waits until the next chunk is done or the set is ended by
// Finish or Abort. The filler fills on, whatever the reader does.
#pragma once

#include "tlplatform/db_connection.hpp"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tl::db {

class MemoryResultSet final : public ResultSet {
public:
    explicit MemoryResultSet(std::vector<std::string> column_names);

    // Filling: one Add call per column, in column order (a column left out reads as null), then
    // FinishRow; Finish after the last row compacts the last chunk.
    void AddNull(int32_t column);
    void AddInteger(int32_t column, int64_t value);
    void AddReal(int32_t column, double value);
    void AddText(int32_t column, std::string_view value);
    void FinishRow();
    void Finish();

    // Moves every row of `tail`, a finished set of the same columns that is not published, to the
    // end of this one, as if they had been added here: the rows filled so far become a chunk of
    // their own and the tail's chunks follow as they are, with no row copied. A set read on two
    // connections at once is put together this way. Throws Error when the columns differ.
    void Append(MemoryResultSet&& tail);

    // Streaming: rows are shown to readers a chunk at a time (call before the first row); Abort
    // ends the set at the rows shown so far.
    void StartPublishing() { publishing_ = true; }
    int32_t PublishedRows() const { return published_.load(std::memory_order_acquire); }
    void Abort();

    // Of a published set, once it is ended.
    int32_t RowCount() const override;
    int32_t ColumnCount() const override { return static_cast<int32_t>(names_.size()); }
    std::string ColumnName(int32_t column) const override;

    int32_t FieldIndex(std::string_view name) const override;
    double AsDateTime(int32_t field) const override;
    double AsDouble(int32_t field) const override;
    int32_t AsInteger(int32_t field) const override;
    int64_t AsInt64(int32_t field) const override;
    std::string AsText(int32_t field) const override;
    bool IsNull(int32_t field) const override { return Load(field).kind == Kind::Null; }
    bool IsEmpty() const override { return VisibleAfter(0) == 0; }
    void First() override { row_ = 0; }
    void Next() override {
        if (row_ < VisibleAfter(row_)) {
            ++row_;
        }
    }
    bool Eof() const override { return row_ >= VisibleAfter(row_); }
    int64_t StatusWord() const override { return AsInt64(status_column_); }

    // The field as NUL-terminated text, valid until the next call or until the set is freed.
    const char* AsCString(int32_t field);

    // Bytes held for the rows (cells and text), for measuring.
    size_t HeldBytes() const;

    // True when `set` is a MemoryResultSet (it carries this class's C function table).
    static bool Owns(const TlResultSet* set);

private:
    enum class Kind : uint8_t { Null, Integer, Real, Text };
    enum class Form : uint8_t { Generic, Constant, Runs, Int32, Real };

    struct Cell {
        Kind kind = Kind::Null;
        uint64_t bits = 0;
    };

    // One column of one chunk; the pointers lead into the chunk's bytes (or the fill buffers).
    struct Column {
        Form form = Form::Generic;
        Cell constant;
        const uint64_t* cells = nullptr; // Generic: per row; Runs: per run
        const Kind* kinds = nullptr;     // likewise
        const uint8_t* runs = nullptr;   // Runs: the run of each row
        const int32_t* ints = nullptr;
        const double* reals = nullptr;
    };

    struct Chunk {
        std::vector<Column> columns;
        std::unique_ptr<uint8_t[]> bytes;
        size_t size = 0;
        int32_t first_row = 0;
        int32_t rows = 0;
    };

    static constexpr unsigned kChunkShift = 12;
    static constexpr int32_t kChunkRows = 1 << kChunkShift;

    // The rows a reader may read, once row `row` is there or the set has ended.
    int32_t VisibleAfter(int32_t row) const {
        if (!publishing_) {
            return row_count_;
        }
        const int32_t published = PublishedRows();
        return row < published ? published : WaitBeyond(row);
    }
    int32_t WaitBeyond(int32_t row) const;
    void Publish(bool end);
    // The chunk that holds `row`, a row of the chunks: mostly the one the last read found.
    const Chunk& ChunkOf(int32_t row) const {
        if (read_chunk_ != nullptr && static_cast<uint32_t>(row - read_chunk_->first_row) <
                                          static_cast<uint32_t>(read_chunk_->rows)) [[likely]] {
            return *read_chunk_;
        }
        return FindChunk(row);
    }
    const Chunk& FindChunk(int32_t row) const;
    Cell Load(int32_t field) const;
    // The field of the current row, which lies in `chunk`.
    Cell Decode(const Chunk& chunk, int32_t field) const;
    void Put(int32_t column, uint64_t bits, Kind kind);
    // Fill buffers of `capacity` rows per column, the rows filled so far kept.
    void GrowFill(int32_t capacity);
    // Encodes the filled rows into a compact chunk and empties the fill buffers.
    void SealFill();
    std::string_view Text(uint64_t cell) const;

    std::vector<std::string> names_;
    // Full (or finished) chunks, in row order; the rows after them are in the fill buffers.
    // Published, the list grows under publish_mutex_ while a reader reads the chunks already there.
    std::vector<std::unique_ptr<Chunk>> chunks_;
    int32_t sealed_rows_ = 0;                   // rows in chunks; the filler's
    mutable const Chunk* read_chunk_ = nullptr; // the reader's current chunk
    // Column-major fill buffers: fill_capacity_ rows per column.
    std::unique_ptr<uint64_t[]> fill_cells_;
    std::unique_ptr<Kind[]> fill_kinds_;
    int32_t fill_capacity_ = 0;
    int32_t fill_rows_ = 0; // rows of the chunk being filled
    // Text values, each after its 32-bit length and followed by a NUL; a text cell holds the
    // address of its bytes.
    std::vector<std::unique_ptr<char[]>> text_blocks_;
    char* text_at_ = nullptr;
    size_t text_left_ = 0;
    size_t text_bytes_ = 0;
    std::string scratch_;
    int32_t row_count_ = 0;
    int32_t row_ = 0;
    int32_t status_column_ = -1;

    bool publishing_ = false;
    std::atomic<int32_t> published_{0};
    mutable std::mutex publish_mutex_;
    mutable std::condition_variable published_more_;
    bool ended_ = false; // under publish_mutex_
};

} // namespace tl::db
