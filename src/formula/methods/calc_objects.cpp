#include "tlmethods/calc_objects.hpp"

#include <algorithm>

namespace tl {
namespace {

struct ByAddress {
    bool operator()(const TCalcObject& object, const ElementAddress& address) const {
        return object.address < address;
    }
};

} // namespace

bool TCalcObjects::Add(const ElementAddress& address, std::unique_ptr<TCustomObjParams> params) {
    const auto at = std::lower_bound(objects_.begin(), objects_.end(), address, ByAddress{});
    if (at != objects_.end() && at->address == address) {
        return false;
    }
    objects_.insert(at, TCalcObject{address, false, std::move(params)});
    return true;
}

TCalcObjects::Index TCalcObjects::Find(const ElementAddress& address) const {
    const auto at = std::lower_bound(objects_.begin(), objects_.end(), address, ByAddress{});
    if (at == objects_.end() || at->address != address) {
        return kNone;
    }
    return static_cast<Index>(at - objects_.begin());
}

void TCalcObjects::ClearProcessed() {
    for (TCalcObject& object : objects_) {
        object.processed = false;
    }
}

} // namespace tl
