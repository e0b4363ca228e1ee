// The driver's log files: Windows-1251, every line ended by CR LF, no byte-order mark, the whole
// file replaced at each write.
#pragma once

#include <string>
#include <vector>

namespace tl {

// Writes the UTF-8 lines to `path`; false when the file cannot be written (nothing is thrown:
// a log that cannot be written must never stop a task from ending).
bool WriteLogFile(const std::string& path, const std::vector<std::string>& lines) noexcept;

} // namespace tl
