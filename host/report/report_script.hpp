// The page's own script: draws the charts from the page's JSON data with Chart.js.
#pragma once

#include <string_view>

namespace tl::report {

// Sets data-charts on the body to the number of charts drawn, or to "missing" without Chart.js.
extern const std::string_view kReportScript;
extern const std::string_view kReportStyle;

} // namespace tl::report
