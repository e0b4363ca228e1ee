// The run log of a task (written to tlosses.log when the task is freed) and its closing section:
// the elements whose calculation failed for some stamps.
#pragma once

#include "tlcommon/date_time.hpp"

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

// The lines are kept as the file's bytes (Windows-1251, CR LF), in blocks: the log of a large run
// holds the whole run script and hundreds of thousands of short lines, which as separate strings
// would take twice the memory, and one growing buffer would copy itself at every doubling. A
// filled block goes to an unnamed temporary file, so that the log of a run of ten thousand
// formulas (several megabytes before the first query) does not stay in memory for the whole run;
// where no temporary file can be written, the blocks stay in memory.
class RunLog {
public:
    RunLog() = default;
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    void Add(std::string_view utf8_line);
    bool Empty() const { return blocks_.empty() && spilled_ == 0; }
    // Replaces the file with the lines; false when it cannot be written.
    bool WriteTo(const std::string& path) const noexcept;

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    bool HasRoom(size_t bytes) const {
        return !blocks_.empty() && blocks_.back().capacity() - blocks_.back().size() >= bytes;
    }
    // Moves the blocks to the temporary file, keeping one emptied block for reuse; after a failure
    // the blocks stay in memory from then on.
    void Spill();

    static constexpr size_t kBlockBytes = 256 * 1024;
    std::vector<std::string> blocks_;
    std::unique_ptr<std::FILE, FileCloser> spill_;
    size_t spilled_ = 0; // the bytes at the start of the file that hold the first lines
    bool spill_failed_ = false;
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
