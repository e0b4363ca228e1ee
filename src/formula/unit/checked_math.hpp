// Floating-point arithmetic that remembers a failure: a division by zero, or any result that is
// not finite (overflow, an invalid operation), as the loss formulas must never produce one.
#pragma once

#include <cmath>

namespace tl {

class CheckedMath {
public:
    double Add(double a, double b) { return Check(a + b); }
    double Sub(double a, double b) { return Check(a - b); }
    double Mul(double a, double b) { return Check(a * b); }
    double Square(double a) { return Mul(a, a); }
    double Div(double a, double b) {
        if (b == 0) {
            failed_ = true;
            return 0;
        }
        return Check(a / b);
    }

    bool Failed() const { return failed_; }
    // The value, or 0 after any failure.
    double Result(double value) const { return failed_ ? 0 : value; }

private:
    double Check(double value) {
        if (!std::isfinite(value)) {
            failed_ = true;
        }
        return value;
    }

    bool failed_ = false;
};

} // namespace tl
