#include "tldata/element_state_log.hpp"

#include "tldata/log_file.hpp"

namespace tl {

std::string ModiLogFileName(std::string_view module_path) {
    const size_t slash = module_path.find_last_of('/');
    const size_t name_start = slash == std::string_view::npos ? 0 : slash + 1;
    const size_t dot = module_path.find_last_of('.');
    const std::string_view stem =
        dot != std::string_view::npos && dot >= name_start ? module_path.substr(0, dot) : module_path;
    return std::string(stem) + "_modi.log";
}

void ElementStateLog::ModiLog(std::string_view line, bool save) {
    if (!enabled_) {
        return;
    }
    lines_.emplace_back(line);
    if (save) {
        WriteLogFile(file_name_, lines_);
    }
}

} // namespace tl
