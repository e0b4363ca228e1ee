// Arithmetic functions, with the semantics of the like-named Pascal routines.
#include "builtins.hpp"
#include "int_ops.hpp"

#include <cmath>

namespace tl::script {
namespace {

// Round and Trunc give 64-bit results in Pascal; stored into an Integer they keep the low
// 32 bits. Beyond 64 bits there is no result at all.
int32_t ToInteger(CallFrame& f, double value) {
    if (!(std::fabs(value) < 9.2233720368547758e18)) {
        RaiseInvalidOp(f);
    }
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(value))));
}

// Halves go to the even neighbour: Round(2.5) = 2, Round(3.5) = 4, Round(-2.5) = -2. Computed
// without the floating-point environment, whose rounding mode the host may have changed.
double RoundHalfEven(double x) {
    double floor = std::floor(x);
    double diff = x - floor;
    if (diff > 0.5) {
        return floor + 1;
    }
    if (diff < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

void FnAbsI(CallFrame& f) {
    int32_t v = f.Int(0);
    f.ReturnInt(v < 0 ? IntNeg(v) : v);
}
void FnAbsF(CallFrame& f) {
    f.ReturnFloat(std::fabs(f.Float(0)));
}
void FnSqrI(CallFrame& f) {
    f.ReturnInt(IntMul(f.Int(0), f.Int(0)));
}
void FnSqrF(CallFrame& f) {
    f.ReturnFloat(CheckedMath(f, f.Float(0) * f.Float(0)));
}
void FnSqrt(CallFrame& f) {
    f.ReturnFloat(CheckedMath(f, std::sqrt(f.Float(0))));
}
void FnRound(CallFrame& f) {
    f.ReturnInt(ToInteger(f, RoundHalfEven(f.Float(0))));
}
void FnTrunc(CallFrame& f) {
    f.ReturnInt(ToInteger(f, std::trunc(f.Float(0))));
}
void FnInt(CallFrame& f) {
    f.ReturnFloat(std::trunc(f.Float(0)));
}
void FnFrac(CallFrame& f) {
    double x = f.Float(0);
    f.ReturnFloat(x - std::trunc(x));
}
void FnExp(CallFrame& f) {
    f.ReturnFloat(CheckedMath(f, std::exp(f.Float(0))));
}
// Logarithms of zero divide by zero; of negative numbers they are invalid.
double CheckedLog(CallFrame& f, double x, double (*log)(double)) {
    if (x == 0) {
        RaiseZeroDivide(f);
    }
    if (!(x > 0)) {
        RaiseInvalidOp(f);
    }
    return log(x);
}
void FnLn(CallFrame& f) {
    f.ReturnFloat(CheckedLog(f, f.Float(0), std::log));
}
void FnLog10(CallFrame& f) {
    f.ReturnFloat(CheckedLog(f, f.Float(0), std::log10));
}
void FnLog2(CallFrame& f) {
    f.ReturnFloat(CheckedLog(f, f.Float(0), std::log2));
}
// LogN(base, x) = ln x / ln base; a base of 1 divides by zero (0 / 0 for x = 1 is invalid).
void FnLogN(CallFrame& f) {
    double ln_x = CheckedLog(f, f.Float(1), std::log);
    double ln_base = CheckedLog(f, f.Float(0), std::log);
    if (ln_base == 0) {
        if (ln_x == 0) {
            RaiseInvalidOp(f);
        }
        RaiseZeroDivide(f);
    }
    f.ReturnFloat(CheckedMath(f, ln_x / ln_base));
}
void FnPower(CallFrame& f) {
    double base = f.Float(0);
    double exponent = f.Float(1);
    if (base == 0 && exponent < 0) {
        RaiseZeroDivide(f);
    }
    f.ReturnFloat(CheckedMath(f, std::pow(base, exponent)));
}
void FnMaxI(CallFrame& f) {
    f.ReturnInt(f.Int(0) > f.Int(1) ? f.Int(0) : f.Int(1));
}
void FnMaxF(CallFrame& f) {
    f.ReturnFloat(f.Float(0) > f.Float(1) ? f.Float(0) : f.Float(1));
}
void FnMinI(CallFrame& f) {
    f.ReturnInt(f.Int(0) < f.Int(1) ? f.Int(0) : f.Int(1));
}
void FnMinF(CallFrame& f) {
    f.ReturnFloat(f.Float(0) < f.Float(1) ? f.Float(0) : f.Float(1));
}
void FnPi(CallFrame& f) {
    f.ReturnFloat(3.14159265358979323846);
}
void FnInc(CallFrame& f) {
    int32_t& v = f.IntRef(0);
    v = IntAdd(v, f.ArgCount() > 1 ? f.Int(1) : 1);
}
void FnDec(CallFrame& f) {
    int32_t& v = f.IntRef(0);
    v = IntSub(v, f.ArgCount() > 1 ? f.Int(1) : 1);
}

} // namespace

void RegisterMathBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(
        registry,
        {
            {"Abs", {kI}, ValueType::Integer, FnAbsI},      {"Abs", {kF}, ValueType::Float, FnAbsF},
            {"Sqr", {kI}, ValueType::Integer, FnSqrI},      {"Sqr", {kF}, ValueType::Float, FnSqrF},
            {"Sqrt", {kF}, ValueType::Float, FnSqrt},       {"Round", {kF}, ValueType::Integer, FnRound},
            {"Trunc", {kF}, ValueType::Integer, FnTrunc},   {"Int", {kF}, ValueType::Float, FnInt},
            {"Frac", {kF}, ValueType::Float, FnFrac},       {"Exp", {kF}, ValueType::Float, FnExp},
            {"Ln", {kF}, ValueType::Float, FnLn},           {"Log10", {kF}, ValueType::Float, FnLog10},
            {"Log2", {kF}, ValueType::Float, FnLog2},       {"LogN", {kF, kF}, ValueType::Float, FnLogN},
            {"Power", {kF, kF}, ValueType::Float, FnPower}, {"Max", {kI, kI}, ValueType::Integer, FnMaxI},
            {"Max", {kF, kF}, ValueType::Float, FnMaxF},    {"Min", {kI, kI}, ValueType::Integer, FnMinI},
            {"Min", {kF, kF}, ValueType::Float, FnMinF},    {"Pi", {}, ValueType::Float, FnPi},
            {"Inc", {kVarI}, ValueType::Void, FnInc},       {"Inc", {kVarI, kI}, ValueType::Void, FnInc},
            {"Dec", {kVarI}, ValueType::Void, FnDec},       {"Dec", {kVarI, kI}, ValueType::Void, FnDec},
        });
}

} // namespace tl::script
