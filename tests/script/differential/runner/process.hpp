#pragma once

#include <string>
#include <vector>

namespace tl::differential {

// What a finished child process left behind.
struct ProcessResult {
    std::string out;
    std::string err;
    int exit_code = -1;  // valid when signal is 0
    int signal = 0;      // the signal that ended the process, or 0
    std::string failure; // why the process could not be started, or empty
};

// Runs argv[0] with the arguments argv[1..], stdin from /dev/null, and collects its standard
// output and standard error until it ends.
ProcessResult RunProcess(const std::vector<std::string>& argv);

// "exit status 3", "killed by signal 11", or the start failure.
std::string DescribeEnd(const ProcessResult& result);

} // namespace tl::differential
