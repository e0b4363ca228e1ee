#include "tlunit/loss_formulas.hpp"

#include "checked_math.hpp"

namespace tl {
namespace {

double PowerFactor(double cosf) {
    return cosf == 0 ? kDefaultPowerFactor : cosf;
}

double Hours(double t, double interval_hours) {
    return t == 0 ? interval_hours : t;
}

// (S / Snom)² × Pk with S = W / T / cosf, squares by multiplication.
double WindingLosses(CheckedMath& m, double w, double t, double cosf, double snom, double pk) {
    const double s = m.Div(m.Div(w, t), cosf);
    return m.Mul(m.Div(m.Square(s), m.Square(snom)), pk);
}

} // namespace

double TwoWindingLosses(const TwoWindingLoad& load, double interval_hours) {
    if (load.w == 0) {
        return 0;
    }
    const double cosf = PowerFactor(load.cosf);
    const double t = Hours(load.t, interval_hours);
    CheckedMath m;
    const double s = m.Div(load.w, m.Mul(cosf, t));
    const double k = m.Div(s, load.snom);
    const double result = m.Add(m.Mul(t, load.pxx), m.Mul(m.Mul(load.pk, m.Square(k)), t));
    return m.Result(result);
}

double ThreeWindingLosses(const ThreeWindingLoad& load, double interval_hours) {
    CheckedMath m;
    if (m.Add(m.Add(load.w_up, load.w_mid), load.w_down) == 0) {
        return 0;
    }
    const double w_up = load.w_up == 0 ? m.Add(load.w_mid, load.w_down) : load.w_up;
    // Each winding's share of the pairwise short-circuit losses.
    const double pk1 = m.Div(m.Sub(m.Add(load.pk_mid, load.pk_up), load.pk_down), 2);
    const double pk2 = m.Div(m.Sub(m.Add(load.pk_mid, load.pk_down), load.pk_up), 2);
    const double pk3 = m.Div(m.Sub(m.Add(load.pk_up, load.pk_down), load.pk_mid), 2);
    const double cosf = PowerFactor(load.cosf);
    const double t = Hours(load.t, interval_hours);
    double sum = WindingLosses(m, w_up, t, cosf, load.snom_up, pk1);
    sum = m.Add(sum, WindingLosses(m, load.w_mid, t, cosf, load.snom_mid, pk2));
    sum = m.Add(sum, WindingLosses(m, load.w_down, t, cosf, load.snom_down, pk3));
    sum = m.Add(sum, load.pxx);
    return m.Result(m.Mul(sum, t));
}

double LineLosses(const LineLoad& load, double interval_hours) {
    const double t = Hours(load.t, interval_hours);
    CheckedMath m;
    // 1240 plus the quotient, squared: the loss time of the maximum load.
    const double base = m.Add(1240, m.Div(load.tm, 10000));
    const double tau = m.Mul(m.Square(base), t);
    const double load_part = m.Mul(m.Mul(m.Mul(load.l, load.r0), m.Square(load.i)), tau);
    return m.Result(m.Div(m.Add(m.Mul(load.p0, t), load_part), 1000));
}

} // namespace tl
