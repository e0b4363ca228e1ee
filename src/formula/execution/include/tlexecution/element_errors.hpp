// Where the errors of single elements go: the run files each under its element, stamped with the
// current stamp, and lists them when it ends. The run goes on.
#pragma once

#include "tldata/element_address.hpp"

#include <string_view>

namespace tl {

class ElementErrors {
public:
    virtual ~ElementErrors() = default;
    virtual void AddElementError(const ElementAddress& element, std::string_view message) = 0;
};

} // namespace tl
