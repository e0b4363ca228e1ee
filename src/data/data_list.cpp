#include "tldata/data_list.hpp"

#include <algorithm>
#include <stdexcept>
#include <tuple>

namespace tl {
namespace {

bool RowLess(const TDataRow& a, const TDataRow& b) {
    return std::tie(a.object, a.type, a.item, a.season, a.stamp) <
           std::tie(b.object, b.type, b.item, b.season, b.stamp);
}

bool ElementLess(const TDataRow& row, const ElementAddress& address) {
    return std::tie(row.object, row.type, row.item) < std::tie(address.object, address.type, address.item);
}

} // namespace

void TDataList::Add(const TDataRow& row) {
    if (!rows_.empty() && RowLess(row, rows_.back())) {
        ordered_ = false;
        run_starts_.push_back(static_cast<uint32_t>(rows_.size()));
    }
    rows_.push_back(row);
}

// Rows arrive by stamp, each stamp's in element order: a list of momentary values holds a run per
// moment of the window, which merging puts in order in a few sweeps. Rows in no order at all
// make too many runs for that and are sorted.
void TDataList::Order() const {
    if (ordered_) {
        return;
    }
    constexpr size_t kMaxMergedRuns = 64;
    if (run_starts_.size() >= kMaxMergedRuns) {
        std::sort(rows_.begin(), rows_.end(), RowLess);
    } else {
        merged_.resize(rows_.size());
        const auto at = [](auto& rows, size_t i) { return rows.begin() + static_cast<std::ptrdiff_t>(i); };
        // Each sweep merges the runs pairwise into the other buffer: [0, s1), [s1, s2), ...
        run_starts_.insert(run_starts_.begin(), 0);
        while (run_starts_.size() > 1) {
            const size_t runs = run_starts_.size();
            const auto bound = [&](size_t run) { return run < runs ? run_starts_[run] : rows_.size(); };
            size_t kept = 0;
            for (size_t run = 0; run < runs; run += 2) {
                std::merge(at(rows_, bound(run)), at(rows_, bound(run + 1)), at(rows_, bound(run + 1)),
                           at(rows_, bound(run + 2)), at(merged_, bound(run)), RowLess);
                run_starts_[kept++] = run_starts_[run];
            }
            run_starts_.resize(kept);
            rows_.swap(merged_);
        }
        merged_ = {}; // the other buffer is as large as the list: not kept until the next merge
    }
    run_starts_.clear();
    ordered_ = true;
}

const TDataRow& TDataList::Row(Index index) const {
    if (index < 0 || index >= Count()) {
        throw std::out_of_range("data row index out of range");
    }
    Order();
    return rows_[static_cast<size_t>(index)];
}

std::span<const TDataRow> TDataList::Rows() const {
    Order();
    return rows_;
}

TDataList::Index TDataList::Find(const ElementAddress& address) const {
    const std::span<const TDataRow> rows = RowsOf(address);
    return rows.empty() ? kNone : static_cast<Index>(rows.data() - rows_.data());
}

size_t TDataList::LowerBound(const ElementAddress& address) const {
    const size_t count = rows_.size();
    const auto less = [&](size_t i) { return ElementLess(rows_[i], address); };
    // Steps of 1, 2, 4... away from the hint bound the answer to [low, high).
    size_t low = 0;
    size_t high = count;
    const size_t hint = hint_ < count ? hint_ : count - 1;
    size_t step = 1;
    if (less(hint)) {
        low = hint + 1;
        while (low < count) {
            const size_t probe = std::min(low + step - 1, count - 1);
            if (!less(probe)) {
                high = probe;
                break;
            }
            low = probe + 1;
            step *= 2;
        }
    } else {
        high = hint;
        while (high > 0) {
            const size_t probe = high > step ? high - step : 0;
            if (less(probe)) {
                low = probe + 1;
                break;
            }
            high = probe;
            step *= 2;
        }
    }
    const auto begin = rows_.begin();
    return static_cast<size_t>(std::lower_bound(begin + static_cast<std::ptrdiff_t>(low),
                                                begin + static_cast<std::ptrdiff_t>(high), address,
                                                ElementLess) -
                               begin);
}

std::span<const TDataRow> TDataList::RowsOf(const ElementAddress& address) const {
    if (rows_.empty()) {
        return {};
    }
    Order();
    size_t first = LowerBound(address);
    size_t last = first;
    while (last < rows_.size() && rows_[last].Address() == address) {
        ++last;
    }
    hint_ = last;
    return {rows_.data() + first, last - first};
}

} // namespace tl
