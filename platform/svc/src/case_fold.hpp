// Case folding of setting names, so that sections and keys compare without regard to letter case
// as in the Windows settings stores the metering system grew up with.
#pragma once

#include <string>
#include <string_view>

namespace tl::svc {

// Lower-cases the Latin letters A-Z and the Cyrillic capitals (U+0400-U+042F, Ё included) of a
// UTF-8 text; every other byte stays as it is.
std::string FoldCase(std::string_view utf8);

} // namespace tl::svc
