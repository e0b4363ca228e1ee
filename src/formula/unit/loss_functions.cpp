// T3_LossesW_A, T2_LossesW_A, Line_LossesW_A and Line_LossesW_R: the loss formulas with the
// interval length of the current context standing in for a time of 0.
#include "tlunit/loss_formulas.hpp"
#include "unit_functions.hpp"

namespace tl {

void T3LossesFunction(script::CallFrame& f) {
    const ThreeWindingLoad load{f.Float(0), f.Float(1), f.Float(2), f.Float(3), f.Float(4),  f.Float(5),
                                f.Float(6), f.Float(7), f.Float(8), f.Float(9), f.Float(10), f.Float(11)};
    f.ReturnFloat(ThreeWindingLosses(load, StateOf(f).interval_hours));
}

void T2LossesFunction(script::CallFrame& f) {
    const TwoWindingLoad load{f.Float(0), f.Float(1), f.Float(2), f.Float(3), f.Float(4), f.Float(5)};
    f.ReturnFloat(TwoWindingLosses(load, StateOf(f).interval_hours));
}

// Active and reactive line losses differ only in which resistance and no-load losses are given.
void LineLossesFunction(script::CallFrame& f) {
    const LineLoad load{f.Float(0), f.Float(1), f.Float(2), f.Float(3), f.Float(4), f.Float(5)};
    f.ReturnFloat(LineLosses(load, StateOf(f).interval_hours));
}

} // namespace tl
