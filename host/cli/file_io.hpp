// Files the commands read and write, "-" standing for standard input or output.
#pragma once

#include <string>

namespace tl::host {

// The whole file; HostError when it cannot be read.
std::string ReadInputFile(const std::string& path);
// The text into the file (replacing it), or onto standard output for "" and "-"; HostError when it
// cannot be written.
void WriteOutputFile(const std::string& path, const std::string& text);

} // namespace tl::host
