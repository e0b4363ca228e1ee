// The loss report as one self-contained HTML page: styles, the charting library and the data are
// all inside it, so that it opens offline in any browser and can be mailed as one file.
#pragma once

#include "tlreport/report_data.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace tl::report {

struct PageInfo {
    std::string database;  // shown in the header
    std::string generated; // "yyyy-mm-dd hh:nn:ss"
    std::string chart_js;  // the charting library's script text (Chart.js 3), embedded as it is
};

// Throws std::invalid_argument when the script text would end the page's script element early.
std::string RenderReport(const std::vector<TaskReport>& tasks, const PageInfo& page);

} // namespace tl::report
