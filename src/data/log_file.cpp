#include "tldata/log_file.hpp"

#include "tlcommon/text_codec.hpp"

#include <cstdio>

namespace tl {

bool WriteLogFile(const std::string& path, const std::vector<std::string>& lines) noexcept {
    try {
        std::string bytes;
        for (const std::string& line : lines) {
            bytes += Utf8ToCp1251(line);
            bytes += "\r\n";
        }
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            return false;
        }
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return std::fclose(file) == 0 && written;
    } catch (...) {
        return false;
    }
}

} // namespace tl
