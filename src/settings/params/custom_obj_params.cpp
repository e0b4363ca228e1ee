#include "tlparams/custom_obj_params.hpp"

#include "tlparams/method1_obj.hpp"
#include "tlparams/method2_obj.hpp"

#include <stdexcept>
#include <string>
#include <typeinfo>

namespace tl {

bool TCustomObjParams::LoadFromText(std::string_view) {
    return false;
}

void TCustomObjParams::Assign(const TCustomObjParams& source) {
    if (typeid(source) != typeid(*this)) {
        throw std::invalid_argument(
            "a parameter record can only take the values of a record of its own class");
    }
}

std::unique_ptr<TCustomObjParams> TCustomObjParams::Create() const {
    return std::unique_ptr<TCustomObjParams>(new TCustomObjParams());
}

std::unique_ptr<TCustomObjParams> CreateObjParams(int method) {
    switch (method) {
    case 0:
        return std::make_unique<TMethod1Obj>();
    case 1:
        return std::make_unique<TMethod2Obj>();
    default:
        throw std::out_of_range("calculation method " + std::to_string(method) + " does not exist");
    }
}

} // namespace tl
