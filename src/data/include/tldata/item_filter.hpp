// TSQLItemParamContainer: the element filter of a data request, a sorted set of element
// addresses with the condition text built from it, e.g.
//   ((object = 5 and objtype = 99 and item in (1, 2)) or (object = 7 and objtype = 98 and item in (3)))
#pragma once

#include "tldata/element_address.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tl {

class TSQLItemParamContainer {
public:
    // Adds the address unless it is present; true when added.
    bool Add(const ElementAddress& address);
    bool Add(int32_t object, int32_t type, int32_t item) { return Add(ElementAddress{object, type, item}); }
    void Clear();

    bool Empty() const { return items_.empty(); }
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    bool Contains(const ElementAddress& address) const;
    // In order: object code, element type, item.
    std::span<const ElementAddress> Items() const { return items_; }

    // Consecutive addresses of one object and type form a group "(object = O and objtype = T and
    // item in (i1, i2))"; the groups are joined by " or " and enclosed in parentheses. Empty for
    // an empty set. Built once until the set changes.
    const std::string& FilterText() const;

private:
    std::vector<ElementAddress> items_;
    mutable std::string text_;
    mutable bool text_valid_ = false;
};

} // namespace tl
