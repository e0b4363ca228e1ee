// The momentary values already answered during one execution, so that every call for the same
// element returns the same value even if the rows change meanwhile. Sorted by element; clearing
// keeps the storage, so a warm cache does not allocate.
#pragma once

#include "tldata/element_address.hpp"

#include <algorithm>
#include <optional>
#include <vector>

namespace tl {

class MomentaryCache {
public:
    void Clear() { values_.clear(); }

    std::optional<double> Find(const ElementAddress& key) const {
        const auto found = LowerBound(key);
        if (found != values_.end() && found->key == key) {
            return found->value;
        }
        return std::nullopt;
    }

    void Store(const ElementAddress& key, double value) {
        const auto found = LowerBound(key);
        if (found != values_.end() && found->key == key) {
            return;
        }
        values_.insert(found, Entry{key, value});
    }

private:
    struct Entry {
        ElementAddress key;
        double value = 0;
    };

    std::vector<Entry>::const_iterator LowerBound(const ElementAddress& key) const {
        return std::lower_bound(values_.begin(), values_.end(), key,
                                [](const Entry& entry, const ElementAddress& k) { return entry.key < k; });
    }

    std::vector<Entry> values_;
};

} // namespace tl
