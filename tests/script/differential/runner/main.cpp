// Runs one case of the script differential corpus through the script runner and compares its
// standard output, byte for byte, with the expected output.
//
//   differential_runner <script runner> <case.pas> <expected.out>
//
// Exit status 0 when the output matches and the runner ended with status 0; 1 otherwise, with a
// readable report on standard output; 2 for a usage or file error.
#include "line_diff.hpp"
#include "process.hpp"

#include <cstdio>
#include <exception>
#include <fmt/format.h>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Run(int argc, char** argv) {
    if (argc != 4) {
        fmt::print(stderr, "usage: {} <script runner> <case.pas> <expected.out>\n", argv[0]);
        return 2;
    }
    const std::string engine = argv[1];
    const std::string case_path = argv[2];
    const std::string expected_path = argv[3];

    auto expected = ReadFile(expected_path);
    if (!expected) {
        fmt::print(stderr, "cannot read the expected output {}\n", expected_path);
        return 2;
    }
    auto result = tl::differential::RunProcess({engine, case_path});
    if (!result.failure.empty()) {
        fmt::print(stderr, "{}\n", result.failure);
        return 2;
    }

    bool status_ok = result.signal == 0 && result.exit_code == 0;
    std::string diff = tl::differential::LineDiff(*expected, result.out);
    if (status_ok && diff.empty()) {
        return 0;
    }
    fmt::print("case {}\n", case_path);
    if (!status_ok) {
        fmt::print("the script runner ended with {} (expected exit status 0)\n",
                   tl::differential::DescribeEnd(result));
    }
    if (!diff.empty()) {
        fmt::print("output differs from {}\n{}", expected_path, diff);
    }
    if (!result.err.empty()) {
        fmt::print("standard error:\n{}", result.err);
        if (result.err.back() != '\n') {
            fmt::print("\n");
        }
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        fmt::print(stderr, "differential_runner: {}\n", e.what());
        return 2;
    }
}
