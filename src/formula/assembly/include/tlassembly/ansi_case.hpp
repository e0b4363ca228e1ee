// Letter case of the system code page (Windows-1251) applied to UTF-8 text: Latin and Cyrillic
// letters change, everything else stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace tl {

std::string AnsiUpperCase(std::string_view utf8);

} // namespace tl
