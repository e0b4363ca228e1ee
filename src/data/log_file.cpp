#include "tldata/log_file.hpp"

#include "tlcommon/text_codec.hpp"

#include <algorithm>
#include <cstdio>

namespace tl {
namespace {

// Opens `path` for replacing and hands the file to `write`; false when anything fails.
template <class Write>
bool ReplaceFile(const std::string& path, Write&& write) noexcept {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = false;
    try {
        written = write(file);
    } catch (...) {
        written = false;
    }
    return std::fclose(file) == 0 && written;
}

bool WriteBytes(std::FILE* file, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

// Copies the first bytes of `head` from its start.
bool CopyHead(std::FILE* file, LogBytesFile head) {
    if (head.bytes == 0) {
        return true;
    }
    if (head.file == nullptr || std::fseek(head.file, 0, SEEK_SET) != 0) {
        return false;
    }
    std::string buffer(64 * 1024, '\0');
    for (size_t left = head.bytes; left > 0;) {
        const size_t chunk = std::min(left, buffer.size());
        if (std::fread(buffer.data(), 1, chunk, head.file) != chunk ||
            !WriteBytes(file, {buffer.data(), chunk})) {
            return false;
        }
        left -= chunk;
    }
    return true;
}

} // namespace

void AppendLogLine(std::string& bytes, std::string_view line) {
    AppendUtf8AsCp1251(bytes, line);
    bytes += "\r\n";
}

bool WriteLogFile(const std::string& path, const std::vector<std::string>& lines) noexcept {
    return ReplaceFile(path, [&lines](std::FILE* file) {
        std::string bytes;
        for (const std::string& line : lines) {
            bytes.clear();
            AppendLogLine(bytes, line);
            if (!WriteBytes(file, bytes)) {
                return false;
            }
        }
        return true;
    });
}

bool WriteLogBytes(const std::string& path, LogBytesFile head, std::span<const std::string> blocks) noexcept {
    return ReplaceFile(path, [head, blocks](std::FILE* file) {
        if (!CopyHead(file, head)) {
            return false;
        }
        for (const std::string& block : blocks) {
            if (!WriteBytes(file, block)) {
                return false;
            }
        }
        return true;
    });
}

} // namespace tl
