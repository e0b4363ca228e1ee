// The driver's one query for the description of parameter 1100 (momentary values). The driver
// reads a missing description as an unsupported discreteness and then drops every momentary value
// of the run without failing it; the host, which sees the answer first, treats a description that
// cannot be read as a failed query instead.
#pragma once

#include "tlplatform/db_connection.hpp"

#include <string>
#include <string_view>

namespace tl::host {

bool IsMomentaryDescriptionQuery(std::string_view sql);
// Why the answer holds no usable description; empty when it does.
std::string MomentaryDescriptionProblem(tl::db::ResultSet& answer);

} // namespace tl::host
