#include "tlparams/method2_obj.hpp"

namespace tl {

bool TMethod2Obj::LoadFromText(std::string_view text) {
    Formula = text;
    return true;
}

void TMethod2Obj::Assign(const TCustomObjParams& source) {
    TCustomObjParams::Assign(source);
    Formula = static_cast<const TMethod2Obj&>(source).Formula;
}

std::unique_ptr<TCustomObjParams> TMethod2Obj::Create() const {
    return std::make_unique<TMethod2Obj>();
}

} // namespace tl
