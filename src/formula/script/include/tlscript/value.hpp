// Storage of script values: every variable, parameter and array element lives in 8-byte slots.
#pragma once

#include "tlscript/str.hpp"

#include <cstdint>

namespace tl::script {

struct ObjRep;

// One storage cell. Integer, Char and Boolean use `i`, Float uses `f`, String holds a counted
// reference, a var parameter holds the address of the caller's slot.
union Slot {
    int32_t i;
    double f;
    StrRep* s;
    Slot* ref;
    ObjRep* o;
    int64_t raw;
};
static_assert(sizeof(Slot) == 8);

// The value types a host function can take and return.
enum class ValueType : uint8_t { Void, Integer, Float, String, Boolean, Char, Variant };

// A Variant takes two slots: the tag, then the value in the slot form of its type.
enum class VariantTag : int32_t { Empty = 0, Integer, Float, String, Boolean, Char };

} // namespace tl::script
