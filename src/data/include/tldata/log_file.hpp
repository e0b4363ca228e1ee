// The driver's log files: Windows-1251, every line ended by CR LF, no byte-order mark, the whole
// file replaced at each write.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

// Writes the UTF-8 lines to `path`; false when the file cannot be written (nothing is thrown:
// a log that cannot be written must never stop a task from ending).
bool WriteLogFile(const std::string& path, const std::vector<std::string>& lines) noexcept;

// Appends the UTF-8 line to `bytes` as the file holds it: in Windows-1251, ended by CR LF.
void AppendLogLine(std::string& bytes, std::string_view line);

// Writes bytes made by AppendLogLine, block after block, to `path`; false as for WriteLogFile.
bool WriteLogBytes(const std::string& path, std::span<const std::string> blocks) noexcept;

} // namespace tl
