#pragma once

#include <string_view>

namespace tl::dialogs {

// Blanks and tabs around a line of the text resources, and the CR of a CR LF line end.
inline std::string_view TrimLine(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace tl::dialogs
