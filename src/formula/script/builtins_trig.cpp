// Trigonometric and hyperbolic functions and their inverses. Values come from the C library;
// arguments outside a function's domain are checked before the call and raise the errors of
// Pascal's Math unit.
#include "builtins.hpp"

#include <cmath>

namespace tl::script {
namespace {

constexpr double kPi = 3.141592653589793;

void FnSin(CallFrame& f) {
    f.ReturnFloat(std::sin(f.Float(0)));
}
void FnCos(CallFrame& f) {
    f.ReturnFloat(std::cos(f.Float(0)));
}
void FnTan(CallFrame& f) {
    f.ReturnFloat(std::tan(f.Float(0)));
}
void FnCotan(CallFrame& f) {
    double tangent = std::tan(f.Float(0));
    if (tangent == 0) {
        RaiseZeroDivide(f);
    }
    f.ReturnFloat(1 / tangent);
}
void FnArcSin(CallFrame& f) {
    if (!(std::fabs(f.Float(0)) <= 1)) {
        RaiseInvalidOp(f);
    }
    f.ReturnFloat(std::asin(f.Float(0)));
}
void FnArcCos(CallFrame& f) {
    if (!(std::fabs(f.Float(0)) <= 1)) {
        RaiseInvalidOp(f);
    }
    f.ReturnFloat(std::acos(f.Float(0)));
}
void FnArcTan(CallFrame& f) {
    f.ReturnFloat(std::atan(f.Float(0)));
}
void FnSinh(CallFrame& f) {
    f.ReturnFloat(CheckedMath(f, std::sinh(f.Float(0))));
}
void FnCosh(CallFrame& f) {
    f.ReturnFloat(CheckedMath(f, std::cosh(f.Float(0))));
}
void FnTanh(CallFrame& f) {
    f.ReturnFloat(std::tanh(f.Float(0)));
}
void FnArcSinh(CallFrame& f) {
    f.ReturnFloat(std::asinh(f.Float(0)));
}
void FnArcCosh(CallFrame& f) {
    if (!(f.Float(0) >= 1)) {
        RaiseInvalidOp(f);
    }
    f.ReturnFloat(std::acosh(f.Float(0)));
}
// At ±1 the result is infinite: ln(0) in the defining formula, a division by zero.
void FnArcTanh(CallFrame& f) {
    double x = std::fabs(f.Float(0));
    if (x == 1) {
        RaiseZeroDivide(f);
    }
    if (!(x < 1)) {
        RaiseInvalidOp(f);
    }
    f.ReturnFloat(std::atanh(f.Float(0)));
}
void FnHypot(CallFrame& f) {
    f.ReturnFloat(CheckedMath(f, std::hypot(f.Float(0), f.Float(1))));
}
void FnDegToRad(CallFrame& f) {
    f.ReturnFloat(f.Float(0) * (kPi / 180));
}
void FnRadToDeg(CallFrame& f) {
    f.ReturnFloat(CheckedMath(f, f.Float(0) * (180 / kPi)));
}

} // namespace

void RegisterTrigBuiltins(FunctionRegistry& registry) {
    RegisterBuiltins(registry, {
                                   {"Sin", {kF}, ValueType::Float, FnSin},
                                   {"Cos", {kF}, ValueType::Float, FnCos},
                                   {"Tan", {kF}, ValueType::Float, FnTan},
                                   {"Cotan", {kF}, ValueType::Float, FnCotan},
                                   {"ArcSin", {kF}, ValueType::Float, FnArcSin},
                                   {"ArcCos", {kF}, ValueType::Float, FnArcCos},
                                   {"ArcTan", {kF}, ValueType::Float, FnArcTan},
                                   {"Sinh", {kF}, ValueType::Float, FnSinh},
                                   {"Cosh", {kF}, ValueType::Float, FnCosh},
                                   {"Tanh", {kF}, ValueType::Float, FnTanh},
                                   {"ArcSinh", {kF}, ValueType::Float, FnArcSinh},
                                   {"ArcCosh", {kF}, ValueType::Float, FnArcCosh},
                                   {"ArcTanh", {kF}, ValueType::Float, FnArcTanh},
                                   {"Hypot", {kF, kF}, ValueType::Float, FnHypot},
                                   {"DegToRad", {kF}, ValueType::Float, FnDegToRad},
                                   {"RadToDeg", {kF}, ValueType::Float, FnRadToDeg},
                               });
}

} // namespace tl::script
