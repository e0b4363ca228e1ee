// Integer arithmetic with the wrap-around of 32-bit Pascal code compiled without overflow
// checks; division by zero is the caller's to catch.
#pragma once

#include <cstdint>
#include <limits>

namespace tl::script {

inline int32_t IntAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t IntSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t IntMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
inline int32_t IntNeg(int32_t a) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(a));
}
// Truncates toward zero: -7 div 2 = -3. The one overflowing case wraps instead of trapping.
inline int32_t IntDiv(int32_t a, int32_t b) {
    if (b == -1) {
        return IntNeg(a);
    }
    return a / b;
}
// Takes the sign of the dividend: -7 mod 2 = -1.
inline int32_t IntMod(int32_t a, int32_t b) {
    if (b == -1) {
        return 0;
    }
    return a % b;
}

} // namespace tl::script
