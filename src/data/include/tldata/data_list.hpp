// TDataRow, one row of the metering `data` table as read, and TDataList, the rows of one stamp
// ordered by element so that formulas find an element's value by binary search.
#pragma once

#include "tlcommon/date_time.hpp"
#include "tlcommon/prefault.hpp"
#include "tldata/element_address.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace tl {

struct TDataRow {
    int64_t status = 0; // the row's status word
    int32_t par_number = 0;
    int32_t type = 0;
    int32_t object = 0;
    int32_t item = 0;
    DateTime stamp = 0;
    double value = 0;
    int32_t season = 0;

    ElementAddress Address() const { return {object, type, item}; }
};

// Rows ordered by object code, element type, item; all rows of one element are kept (the same
// stamp in both seasons, momentary values of several moments), among themselves by season, then
// stamp. Clearing keeps the storage, so a list reused stamp after stamp stops allocating once it
// has held the largest stamp.
//
// Formulas look their elements up in about the order of the list (a run goes through its
// elements in code order, each reading a channel or two of one device), so a lookup starts from
// where the last one ended and widens its steps from there: a few comparisons of neighbouring
// rows instead of a binary search over the whole stamp.
class TDataList {
public:
    using Index = int32_t;
    static constexpr Index kNone = -1;

    void Clear() {
        rows_.clear();
        run_starts_.clear();
        ordered_ = true;
        hint_ = 0;
    }
    void Reserve(size_t rows) { rows_.reserve(rows); }

    // Rows arriving in order are appended as they are; any others put the list in order once,
    // before the next lookup.
    void Add(const TDataRow& row);

    bool Empty() const { return rows_.empty(); }
    Index Count() const { return static_cast<Index>(rows_.size()); }
    const TDataRow& Row(Index index) const;
    std::span<const TDataRow> Rows() const;

    // The first row of the element in list order, or kNone.
    Index Find(const ElementAddress& address) const;
    // All rows of the element.
    std::span<const TDataRow> RowsOf(const ElementAddress& address) const;

private:
    void Order() const;
    // The first row at or after the element, searched outward from hint_.
    size_t LowerBound(const ElementAddress& address) const;

    // Sorted lazily by the const lookups; the module runs its steps on one thread at a time.
    mutable std::vector<TDataRow, PrefaultingAllocator<TDataRow>> rows_;
    mutable bool ordered_ = true;
    // Where each run of rows in order begins but the first: the rows that came before their
    // predecessor.
    mutable std::vector<uint32_t> run_starts_;
    mutable std::vector<TDataRow, PrefaultingAllocator<TDataRow>> merged_; // the other buffer of a merge
    // Where the last lookup ended.
    mutable size_t hint_ = 0;
};

} // namespace tl
