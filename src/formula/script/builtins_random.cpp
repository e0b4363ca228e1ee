// Random numbers: a generator of our own whose whole state is the 32-bit RandSeed, so that a
// seed set with SetRandSeed gives the same numbers every time. Each draw steps the seed by the
// golden-ratio constant and mixes it (a Weyl sequence through an avalanching hash): every seed
// starts a sequence of period 2^32.
#include "builtins.hpp"
#include "runtime.hpp"

#include <chrono>
#include <cmath>

namespace tl::script {
namespace {

uint32_t NextRandom(CallFrame& f) {
    uint32_t& seed = f.Context().rand_seed;
    seed += 0x9E3779B9U;
    uint32_t x = seed;
    x ^= x >> 16;
    x *= 0x7FEB352DU;
    x ^= x >> 15;
    x *= 0x846CA68BU;
    x ^= x >> 16;
    return x;
}

// Uniform in [0, 1) with all 53 bits of a Float's mantissa.
double NextUnit(CallFrame& f) {
    uint64_t high = NextRandom(f) >> 5;
    uint64_t low = NextRandom(f) >> 6;
    return static_cast<double>((high << 26) | low) * 0x1.0p-53;
}

// Uniform in [0, range); a negative range gives (range, 0], and 0 gives 0.
int32_t NextInRange(CallFrame& f, int32_t range) {
    int64_t magnitude = range < 0 ? -static_cast<int64_t>(range) : range;
    auto value =
        static_cast<int64_t>((static_cast<uint64_t>(NextRandom(f)) * static_cast<uint64_t>(magnitude)) >> 32);
    return static_cast<int32_t>(range < 0 ? -value : value);
}

void FnRandom(CallFrame& f) {
    f.ReturnFloat(NextUnit(f));
}
void FnRandomRange(CallFrame& f) {
    f.ReturnInt(NextInRange(f, f.Int(0)));
}
// Normally distributed, by the Box-Muller transform of two uniform draws.
void FnRandG(CallFrame& f) {
    double u1 = 1 - NextUnit(f); // (0, 1]: the logarithm stays finite
    double u2 = NextUnit(f);
    double z = std::sqrt(-2 * std::log(u1)) * std::cos(2 * 3.141592653589793 * u2);
    f.ReturnFloat(CheckedMath(f, f.Float(0) + f.Float(1) * z));
}
void FnRandomize(CallFrame& f) {
    auto ticks = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()) ^
                 static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    f.Context().rand_seed = static_cast<uint32_t>(ticks ^ (ticks >> 32));
}
void FnRandSeed(CallFrame& f) {
    f.ReturnInt(static_cast<int32_t>(f.Context().rand_seed));
}
void FnSetRandSeed(CallFrame& f) {
    f.Context().rand_seed = static_cast<uint32_t>(f.Int(0));
}

} // namespace

void RegisterRandomBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(registry, {
                                   {"Random", {}, ValueType::Float, FnRandom},
                                   {"Random", {kI}, ValueType::Integer, FnRandomRange},
                                   {"RandomInt", {kI}, ValueType::Integer, FnRandomRange},
                                   {"RandG", {kF, kF}, ValueType::Float, FnRandG},
                                   {"Randomize", {}, ValueType::Void, FnRandomize},
                                   {"RandSeed", {}, ValueType::Integer, FnRandSeed},
                                   {"SetRandSeed", {kI}, ValueType::Void, FnSetRandSeed},
                               });
}

} // namespace tl::script
