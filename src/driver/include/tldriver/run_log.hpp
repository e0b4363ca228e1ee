// The run log of a task (whole UTF-8 lines, written to tlosses.log when the task is freed) and
// its closing section: the elements whose calculation failed for some stamps.
#pragma once

#include "tlcommon/date_time.hpp"

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

class RunLog {
public:
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    bool Empty() const { return lines_.empty(); }
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

// Ordering of texts without regard to letter case.
struct TextLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

class IncompleteElements {
public:
    static constexpr std::string_view kBanner = "----------------Не рассчитанные объекты-------------------";

    // Records an error of the element (object code, element type, item) at `stamp`:
    // "dd.mm.yyyy HH:nn:ss | Ошибка: <message>". Equal lines are kept once.
    void Add(int32_t object, int32_t type, int32_t item, DateTime stamp, std::string_view message);
    bool Empty() const { return elements_.empty(); }

    // Appends the closing section (an empty line, the banner, each element with its error lines)
    // to the log; returns the element addresses joined by ", " (empty when none failed).
    std::string CloseInto(RunLog& log) const;

private:
    // Address text "%d.%d.%d" -> its error lines, both ordered as text.
    std::map<std::string, std::set<std::string, TextLess>, TextLess> elements_;
};

} // namespace tl
