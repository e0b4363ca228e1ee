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
    if (ordered_ && !rows_.empty() && RowLess(row, rows_.back())) {
        ordered_ = false;
    }
    rows_.push_back(row);
}

void TDataList::Order() const {
    if (!ordered_) {
        std::sort(rows_.begin(), rows_.end(), RowLess);
        ordered_ = true;
    }
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

TDataList::Index TDataList::FindNext(Index index) const {
    if (index < 0 || index + 1 >= Count()) {
        return kNone;
    }
    Order();
    const TDataRow& row = rows_[static_cast<size_t>(index)];
    const TDataRow& next = rows_[static_cast<size_t>(index) + 1];
    return next.Address() == row.Address() ? index + 1 : kNone;
}

std::span<const TDataRow> TDataList::RowsOf(const ElementAddress& address) const {
    Order();
    const auto first = std::lower_bound(rows_.begin(), rows_.end(), address, ElementLess);
    auto last = first;
    while (last != rows_.end() && last->Address() == address) {
        ++last;
    }
    return {first, last};
}

} // namespace tl
