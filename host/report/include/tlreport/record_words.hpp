// An element's settings record told in words for the report.
#pragma once

#include "tlparams/method1_obj.hpp"

#include <string>
#include <vector>

namespace tl::report {

// One line per part of a coefficient record: the channel, the line part, the transformer part and
// the state condition, each with its values and units, or "off".
std::vector<std::string> DescribeCoefficients(const TMethod1Obj& record);

} // namespace tl::report
