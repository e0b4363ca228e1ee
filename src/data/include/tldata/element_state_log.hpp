// The module-wide log of the element-state container: one line list per loaded module, never
// cleared, written beside the module as "<module name>_modi.log".
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tl {

// The module's path with its extension replaced by "_modi.log" ("_modi.log" appended when the
// file name has no extension; dots in directory names do not count).
std::string ModiLogFileName(std::string_view module_path);

class ElementStateLog {
public:
    explicit ElementStateLog(std::string file_name) : file_name_(std::move(file_name)) {}

    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_; }

    // When switched on, appends the line and, with `save`, writes every line since module load (a
    // file that cannot be written is left as it is). Switched off, nothing is kept or written.
    void ModiLog(std::string_view line, bool save);

    const std::string& FileName() const { return file_name_; }
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::string file_name_;
    std::vector<std::string> lines_;
    bool enabled_ = true;
};

} // namespace tl
