// A position in the script text: line and column count from 1; file 0 is the main text, higher
// numbers are included files in the order they were read.
#pragma once

#include <cstdint>

namespace tl::script {

struct SourcePos {
    int32_t line = 0;
    int32_t column = 0;
    int32_t file = 0;
};

} // namespace tl::script
