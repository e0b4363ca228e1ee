#include "tldata/item_filter.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <iterator>

namespace tl {

bool TSQLItemParamContainer::Add(const ElementAddress& address) {
    const auto at = std::lower_bound(items_.begin(), items_.end(), address);
    if (at != items_.end() && *at == address) {
        return false;
    }
    items_.insert(at, address);
    text_valid_ = false;
    return true;
}

void TSQLItemParamContainer::Clear() {
    items_.clear();
    text_valid_ = false;
}

bool TSQLItemParamContainer::Contains(const ElementAddress& address) const {
    return std::binary_search(items_.begin(), items_.end(), address);
}

const std::string& TSQLItemParamContainer::FilterText() const {
    if (text_valid_) {
        return text_;
    }
    text_.clear();
    auto out = std::back_inserter(text_);
    for (size_t first = 0; first < items_.size();) {
        const ElementAddress& head = items_[first];
        size_t end = first + 1;
        while (end < items_.size() && items_[end].object == head.object && items_[end].type == head.type) {
            ++end;
        }
        text_ += first == 0 ? "(" : " or ";
        fmt::format_to(out, "(object = {} and objtype = {} and item in (", head.object, head.type);
        for (size_t i = first; i < end; ++i) {
            if (i != first) {
                text_ += ", ";
            }
            fmt::format_to(out, "{}", items_[i].item);
        }
        text_ += "))";
        first = end;
    }
    if (!text_.empty()) {
        text_ += ')';
    }
    text_valid_ = true;
    return text_;
}

} // namespace tl
