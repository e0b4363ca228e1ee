#include "file_io.hpp"

#include "tlhost/host_error.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fmt/format.h>
#include <fstream>
#include <iostream>
#include <sstream>

namespace tl::host {

std::string ReadInputFile(const std::string& path) {
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw HostError(fmt::format("cannot read {}: {}", path, std::strerror(errno)));
    }
    text << file.rdbuf();
    return text.str();
}

void WriteOutputFile(const std::string& path, const std::string& text) {
    if (path.empty() || path == "-") {
        fmt::print("{}", text);
        std::fflush(stdout);
        return;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        throw HostError(fmt::format("cannot write {}", path));
    }
}

} // namespace tl::host
