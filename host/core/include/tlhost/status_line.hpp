// How the host shows the driver's status lines.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace tl::host {

// "14:03:07 Losses1: Начало работы"
std::string FormatStatusLine(const std::tm& local_time, std::string_view scenario, std::string_view line);
// Prints one status line, stamped with the current local time, to stdout.
void PrintStatusLine(std::string_view scenario, std::string_view line);

} // namespace tl::host
