#include "tldriver/run_log.hpp"

#include "tldata/case_fold.hpp"
#include "tldata/log_file.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl {

void RunLog::Add(std::string_view utf8_line) {
    // A line never grows in Windows-1251; CR LF follows it.
    const size_t most = utf8_line.size() + 2;
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < most) {
        blocks_.emplace_back().reserve(std::max(kBlockBytes, most));
    }
    AppendLogLine(blocks_.back(), utf8_line);
}

bool RunLog::WriteTo(const std::string& path) const noexcept {
    return WriteLogBytes(path, blocks_);
}

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
    log.Add(kBanner);
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
