#include "tlhost/task_counters.hpp"

namespace tl::host {

std::vector<std::string> IncompleteElementsOf(std::string_view status_line) {
    constexpr std::string_view kPrefix = "Следующие элементы рассчитаны не полностью: ";
    std::vector<std::string> elements;
    if (!status_line.starts_with(kPrefix)) {
        return elements;
    }
    std::string_view rest = status_line.substr(kPrefix.size());
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        std::string_view address = rest.substr(0, comma);
        while (!address.empty() && address.front() == ' ') {
            address.remove_prefix(1);
        }
        while (!address.empty() && address.back() == ' ') {
            address.remove_suffix(1);
        }
        if (!address.empty()) {
            elements.emplace_back(address);
        }
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return elements;
}

} // namespace tl::host
