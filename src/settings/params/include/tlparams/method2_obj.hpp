// The record of the arbitrary-formula method: the element's formula text itself.
#pragma once

#include "tlparams/custom_obj_params.hpp"

#include <string>

namespace tl {

class TMethod2Obj : public TCustomObjParams {
public:
    std::string Formula;

    std::string SaveToText() const override { return Formula; }
    bool LoadFromText(std::string_view text) override;
    void Assign(const TCustomObjParams& source) override;
    bool IsComplete() const override { return !Formula.empty(); }
    std::unique_ptr<TCustomObjParams> Create() const override;
};

} // namespace tl
