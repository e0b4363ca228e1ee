// The driver's log files: Windows-1251, every line ended by CR LF, no byte-order mark, the whole
// file replaced at each write.
#pragma once

#include <cstdio>
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

// The first `bytes` bytes of an open file, made by AppendLogLine.
struct LogBytesFile {
    std::FILE* file = nullptr;
    size_t bytes = 0;
};

// Writes the bytes of `head`, then the bytes made by AppendLogLine block after block, to `path`;
// false as for WriteLogFile.
bool WriteLogBytes(const std::string& path, LogBytesFile head, std::span<const std::string> blocks) noexcept;

} // namespace tl
