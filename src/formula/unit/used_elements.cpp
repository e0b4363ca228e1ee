#include "tlunit/used_elements.hpp"

namespace tl {

bool UsedElements::Add(const ElementAddress& address) {
    if (!seen_.insert(address).second) {
        return false;
    }
    order_.push_back(address);
    return true;
}

void UsedElements::Clear() {
    order_.clear();
    seen_.clear();
}

} // namespace tl
