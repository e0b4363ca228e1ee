#include "tlsettings/task_names.hpp"

#include <stdexcept>

namespace tl {
namespace {

std::string_view ElementWord(int method) {
    if (method != 0 && method != 1) {
        throw std::out_of_range("element section index out of range");
    }
    return method == 0 ? "Devices1" : "Devices2";
}

} // namespace

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
    return std::string(task_key) + std::string(ElementWord(method)) + "\\";
}

std::string ElementSectionOfTaskSection(std::string_view task_section, int method) {
    constexpr std::string_view kObject = "Object";
    const std::string_view word = ElementWord(method);
    std::string result;
    size_t start = 0;
    for (size_t found = task_section.find(kObject); found != std::string_view::npos;
         found = task_section.find(kObject, start)) {
        result.append(task_section.substr(start, found - start)).append(word);
        start = found + kObject.size();
    }
    result.append(task_section.substr(start));
    return result;
}

} // namespace tl
