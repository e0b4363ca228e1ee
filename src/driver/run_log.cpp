#include "tldriver/run_log.hpp"

#include "tldata/case_fold.hpp"

#include <fmt/format.h>

namespace tl {

bool TextLess::operator()(const std::string& a, const std::string& b) const {
    return CompareText(a, b) < 0;
}

void IncompleteElements::Add(int32_t object, int32_t type, int32_t item, DateTime stamp,
                             std::string_view message) {
    std::string line = FormatDateTimeSeconds(stamp);
    line += " | Ошибка: ";
    line += message;
    elements_[fmt::format("{}.{}.{}", object, type, item)].insert(std::move(line));
}

std::string IncompleteElements::CloseInto(RunLog& log) const {
    log.Add("");
    log.Add(std::string(kBanner));
    std::string addresses;
    for (const auto& [address, lines] : elements_) {
        log.Add("Элемент: " + address + ": ");
        for (const std::string& line : lines) {
            log.Add("\t\t" + line);
        }
        if (!addresses.empty()) {
            addresses += ", ";
        }
        addresses += address;
    }
    return addresses;
}

} // namespace tl
