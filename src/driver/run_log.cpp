#include "tldriver/run_log.hpp"

#include "tldata/case_fold.hpp"
#include "tldata/log_file.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl {

void RunLog::Add(std::string_view utf8_line) {
    // A line never grows in Windows-1251; CR LF follows it.
    const size_t most = utf8_line.size() + 2;
    if (!HasRoom(most)) {
        if (!blocks_.empty()) {
            Spill();
        }
        if (!HasRoom(most)) {
            blocks_.emplace_back().reserve(std::max(kBlockBytes, most));
        }
    }
    AppendLogLine(blocks_.back(), utf8_line);
}

void RunLog::Spill() {
    if (spill_failed_) {
        return;
    }
    if (spill_ == nullptr) {
        spill_.reset(std::tmpfile());
    }
    // Written and flushed in full, or the bytes are not counted: the file then ends in bytes that
    // are never read.
    bool written = spill_ != nullptr && fseeko(spill_.get(), static_cast<off_t>(spilled_), SEEK_SET) == 0;
    size_t bytes = 0;
    for (const std::string& block : blocks_) {
        written = written && std::fwrite(block.data(), 1, block.size(), spill_.get()) == block.size();
        bytes += block.size();
    }
    if (!written || std::fflush(spill_.get()) != 0) {
        spill_failed_ = true;
        return;
    }
    spilled_ += bytes;
    std::string reused = std::move(blocks_.back());
    blocks_.clear();
    if (reused.capacity() <= kBlockBytes) {
        reused.clear();
        blocks_.push_back(std::move(reused));
    }
}

bool RunLog::WriteTo(const std::string& path) const noexcept {
    return WriteLogBytes(path, {spill_.get(), spilled_}, blocks_);
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
