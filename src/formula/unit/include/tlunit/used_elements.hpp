// The elements that formulas name during a collection pass, each once, in the order first named.
#pragma once

#include "tldata/element_address.hpp"

#include <set>
#include <span>
#include <vector>

namespace tl {

class UsedElements {
public:
    // False when the element is already listed.
    bool Add(const ElementAddress& address);
    void Clear();

    std::span<const ElementAddress> Items() const { return order_; }
    size_t Count() const { return order_.size(); }

private:
    std::vector<ElementAddress> order_;
    std::set<ElementAddress> seen_;
};

} // namespace tl
