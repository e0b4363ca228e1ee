// How a variant is bound to a statement, whatever the backend.
#pragma once

#include "tlosses/abi.h"

#include <cstdint>
#include <string_view>

namespace tl::db {

struct BoundValue {
    enum class Kind { Null, Integer, Real, Text };
    Kind kind = Kind::Null;
    int64_t integer = 0;
    double real = 0.0;
    std::string_view text; // borrowed from the variant
};

// DATETIME and DOUBLE bind as reals, INT32, INT64 and BOOL as integers, STRING as text (a NULL
// string pointer as null). Throws Error for an unknown kind.
BoundValue BindVariant(const TlVariant& value);

// The status column `tvkstatus` (any case).
bool IsStatusColumn(std::string_view column);
// A value for the status column: as BindVariant, except that a DOUBLE is the 64-bit status word
// carried in the double's eight bytes, bound as that integer.
BoundValue BindStatusWord(const TlVariant& value);

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// A table or column name that can be written into SQL as it is: a letter or "_", then letters,
// digits and "_".
bool IsPlainIdentifier(std::string_view name);

} // namespace tl::db
