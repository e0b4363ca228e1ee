// Writes the reference workload's source to standard output:
//
//   ref_workload_gen <lua|script> <stored|printed> <elements>
#include "workload.hpp"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fmt/format.h>
#include <string_view>

int main(int argc, char** argv) {
    try {
        if (argc != 4) {
            fmt::print(stderr, "usage: {} <lua|script> <stored|printed> <elements>\n", argv[0]);
            return 2;
        }
        std::string_view language = argv[1];
        std::string_view output = argv[2];
        int elements = std::atoi(argv[3]);
        if ((language != "lua" && language != "script") || (output != "stored" && output != "printed") ||
            elements <= 0) {
            fmt::print(stderr, "usage: {} <lua|script> <stored|printed> <elements>\n", argv[0]);
            return 2;
        }
        fmt::print("{}", tl::bench::RenderWorkload(
                             language == "lua" ? tl::bench::Language::Lua : tl::bench::Language::Script,
                             output == "stored" ? tl::bench::Output::Stored : tl::bench::Output::Printed,
                             elements));
        return 0;
    } catch (const std::exception& e) {
        fmt::print(stderr, "ref_workload_gen: {}\n", e.what());
        return 1;
    }
}
