// Named parameters (":name") rewritten into the positional markers of a backend.
#pragma once

#include "tlosses/abi.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tl::db {

enum class PlaceholderStyle {
    Question, // "?" (SQLite)
    Dollar,   // "$1", "$2", ... (PostgreSQL)
};

struct PositionalSql {
    std::string text;
    // The names in order of occurrence; a name used twice appears twice.
    std::vector<std::string> names;
};

// Replaces every ":name" outside quotes and comments by a positional marker. "::" (a cast) and a
// ":" not followed by a letter or "_" stay as they are.
PositionalSql RewriteNamedParameters(std::string_view sql, PlaceholderStyle style);

// The values to bind: none when the text has no parameters (whatever was given), else exactly one
// per occurrence. Throws Error naming the parameters when the counts differ.
std::span<const TlVariant> ValuesToBind(const PositionalSql& sql, std::span<const TlVariant> values);

} // namespace tl::db
