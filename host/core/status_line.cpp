#include "tlhost/status_line.hpp"

#include <cstdio>
#include <fmt/format.h>

namespace tl::host {

std::string FormatStatusLine(const std::tm& local_time, std::string_view scenario, std::string_view line) {
    return fmt::format("{:02}:{:02}:{:02} {}: {}", local_time.tm_hour, local_time.tm_min, local_time.tm_sec,
                       scenario, line);
}

void PrintStatusLine(std::string_view scenario, std::string_view line) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::string text = FormatStatusLine(local, scenario, line);
    text.push_back('\n');
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace tl::host
