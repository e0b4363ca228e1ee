#include "tldriver/task_names.hpp"

#include <stdexcept>

namespace tl {

std::string ScenarioName(std::string_view task_key) {
    if (!task_key.empty() && task_key.back() == '\\') {
        task_key.remove_suffix(1);
    }
    const size_t cut = task_key.find_last_of("\\:");
    return std::string(cut == std::string_view::npos ? task_key : task_key.substr(cut + 1));
}

std::string TaskSection(std::string_view scenario_name) {
    return "\\Scripts\\" + std::string(scenario_name) + "\\Object\\";
}

std::string ElementSection(std::string_view task_key, int method) {
    if (method != 0 && method != 1) {
        throw std::out_of_range("element section index out of range");
    }
    return std::string(task_key) + (method == 0 ? "Devices1\\" : "Devices2\\");
}

} // namespace tl
