// The loss formulas as formulas call them, with expected values worked out by hand.
#include "data_test_support.hpp"
#include "unit_test_support.hpp"

#include <utility>

namespace tl::test {
namespace {

// In a 30-minute interval, so that a time of 0 stands for 0.5 h.
TEST_F(UnitTest, LossFormulasGiveTheWorkedValues) {
    const std::pair<const char*, double> cases[] = {
        // W = 0: nothing else is looked at.
        {"T2_LossesW_A(2, 10, 100, 0, 0, 0)", 0},
        // S = 80 / (0.8 * 1) = 100, k = 1: (2 + 10) * 1.
        {"T2_LossesW_A(2, 10, 100, 0.8, 1, 80)", 12},
        // S = 80 / 1.6 = 50, k = 0.5: 2 * 2 + 10 * 0.25 * 2.
        {"T2_LossesW_A(2, 10, 100, 0.8, 2, 80)", 9},
        // cosf 0.85 and T 0.5: S = 42.5 / 0.425 = 100, k = 1: 0.5 * 2 + 10 * 0.5.
        {"T2_LossesW_A(2, 10, 100, 0, 0, 42.5)", 6},
        {"T2_LossesW_A(2, 10, 0, 0.8, 1, 80)", 0},
        {"T2_LossesW_A(2, 10, 100, 1e200, 1e200, 80)", 0},
        // Three windings: Pk_up 6, Pk_mid 8, Pk_down 4 give the winding shares 5, 3 and 1; every
        // Snom is 10. W_up 0 becomes 30 + 20: (50² / 100 * 5 + 30² / 100 * 3 + 20² / 100 * 1 + 1) * 1.
        {"T3_LossesW_A(1, 6, 8, 4, 10, 10, 10, 1, 1, 0, 30, 20)", 157},
        // (40² / 100 * 5 + 27 + 4 + 1) * 1.
        {"T3_LossesW_A(1, 6, 8, 4, 10, 10, 10, 1, 1, 40, 30, 20)", 112},
        // No energy: 0, not the no-load losses.
        {"T3_LossesW_A(5, 6, 8, 4, 10, 10, 10, 1, 1, 0, 0, 0)", 0},
        {"T3_LossesW_A(1, 6, 8, 4, 10, 0, 10, 1, 1, 40, 30, 20)", 0},
        // cosf 0.85, T 0.5: S_up = 42.5 / 0.5 / 0.85 = 100 on Snom 100: (1 * 5 + 2) * 0.5.
        {"T3_LossesW_A(2, 6, 8, 4, 100, 100, 100, 0, 0, 42.5, 0, 0)", 3.5},
        // Lines: 1240² / 1000.
        {"Line_LossesW_A(1, 1, 0, 1, 0, 1)", 1537.6},
        {"Line_LossesW_R(1, 1, 0, 1, 0, 1)", 1537.6},
        // tau = (1240 + 20000 / 10000)² * 2 = 3085128: (10 * 2 + 2 * 0.5 * 9 * 3085128) / 1000.
        {"Line_LossesW_A(2, 0.5, 10, 3, 20000, 2)", 27766.172},
        // (4 + 2 * 1537600) / 1000.
        {"Line_LossesW_R(1, 2, 4, 1, 0, 1)", 3075.204},
        // T 0 is the half hour: 1537600 * 0.5 / 1000.
        {"Line_LossesW_A(1, 1, 0, 1, 0, 0)", 768.8},
        {"Line_LossesW_A(1e200, 1e200, 0, 1, 0, 1)", 0},
    };
    SetInterval(7, At(2024, 1, 1, 10));
    for (const auto& [call, expected] : cases) {
        EXPECT_NEAR(Eval(call), expected, 1e-9 * (1 + expected)) << call;
    }
}

} // namespace
} // namespace tl::test
