// TCalcObjects: the elements a run calculates, each with its parameter record, kept ascending by
// object code, element type and item so that a partner is found by binary search.
#pragma once

#include "tldata/element_address.hpp"
#include "tlparams/custom_obj_params.hpp"

#include <cstdint>
#include <memory>
#include <vector>

namespace tl {

struct TCalcObject {
    ElementAddress address;
    bool processed = false;
    std::unique_ptr<TCustomObjParams> params;
};

class TCalcObjects {
public:
    using Index = int32_t;
    static constexpr Index kNone = -1;

    // Inserts the element in order; false (the record is dropped) when the address is present.
    bool Add(const ElementAddress& address, std::unique_ptr<TCustomObjParams> params);
    void Clear() { objects_.clear(); }

    Index Count() const { return static_cast<Index>(objects_.size()); }
    bool Empty() const { return objects_.empty(); }
    TCalcObject& At(Index index) { return objects_.at(static_cast<size_t>(index)); }
    const TCalcObject& At(Index index) const { return objects_.at(static_cast<size_t>(index)); }
    Index Find(const ElementAddress& address) const;

    void ClearProcessed();

private:
    std::vector<TCalcObject> objects_;
};

} // namespace tl
