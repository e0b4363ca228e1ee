#include "driver_test_support.hpp"

#include "tlplatform/wm.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace tl::test {

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::vector<Completion> TakeCompletions(uint32_t window) {
    std::vector<Completion> out;
    TlWmMessage message{};
    while (WmGetMessage(window, &message, 0)) {
        out.push_back(Completion{message.message, static_cast<int64_t>(message.wparam),
                                 static_cast<int64_t>(message.lparam)});
    }
    return out;
}

} // namespace tl::test
