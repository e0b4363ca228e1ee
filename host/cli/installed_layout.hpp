// Where tlhost finds what it loads, in the build tree and in the installed layout.
#pragma once

#include <string>

namespace tl::host {

// libtlosses.so beside tlhost when it is there (the build tree), else where the installed layout
// keeps it (the private library directory, see cmake/Install.cmake).
std::string DefaultDriverPath();

} // namespace tl::host
