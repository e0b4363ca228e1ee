// W, P, W2, P2 and the momentary functions against hand-built rows.
#include "data_test_support.hpp"
#include "tlscript/call_frame.hpp"
#include "tlscript/engine.hpp"
#include "unit_test_support.hpp"

#include <tuple>

namespace tl::test {
namespace {

const ElementAddress kUa{5, 99, 13};

// Short intervals store average power (energy is its share of an hour); days and longer store
// energy (power is twice it). The passes from the half-hour on run in the formula scenarios.
TEST_F(UnitTest, EnergyAndPowerConvertTheStoredValueByInterval) {
    data.Add(Row({26, 0, 1}, 100));
    data.Add(Row({26, 99, 1}, 1));
    const std::tuple<int, double, double> cases[] = {
        {0, 5, 100}, {1, 100.0 / 60, 100}, {6, 100.0 / 6, 100}, {9, 100, 200}};
    for (const auto& [index, w, p] : cases) {
        SCOPED_TRACE(index);
        SetInterval(index, At(2024, 1, 1));
        EXPECT_DOUBLE_EQ(Eval("W(26, 1)"), w);
        EXPECT_DOUBLE_EQ(Eval("P(26, 1)"), p);
        EXPECT_DOUBLE_EQ(Eval("W2(26, 0, 1)"), w);
        EXPECT_DOUBLE_EQ(Eval("P2(26, 0, 1)"), p);
    }
}

TEST_F(UnitTest, EnergyReadsTheFirstRowOfTheAddressedElementOnly) {
    data.Add(Row({26, 0, 1}, 7, 0, 1)); // the same element in the other season, later in list order
    data.Add(Row({26, 0, 1}, 3, 0, 0));
    data.Add(Row({26, 99, 1}, 11));
    data.Add(Row({26, 0, 2}, 13));
    SetInterval(8);
    EXPECT_EQ(Eval("W(26, 1)"), 3);
    EXPECT_EQ(Eval("W2(26, 99, 1)"), 11);
    EXPECT_EQ(Eval("P2(26, 0, 2)"), 13);
    EXPECT_EQ(Eval("W(26, 3)"), 0);
    EXPECT_EQ(Eval("W2(27, 0, 1)"), 0);
}

TEST_F(UnitTest, WithoutAContextEnergiesAndMomentaryValuesReadZeroAndStatesUnknown) {
    data.Add(Row({26, 0, 1}, 100));
    momentary.Add(Row({26, 99, 1}, 5));
    EXPECT_EQ(Eval("W(26, 1) + P2(26, 0, 1) + M(26, 99, 0, 1) + Pabc(26, 99, 0)"), 0);
    EXPECT_EQ(Eval("DI(12, 1) + MO(500)"), -2);
    SetInterval(8);
    EXPECT_EQ(Eval("W(26, 1)"), 100);
    module.ClearScriptContext();
    EXPECT_EQ(Eval("W(26, 1)"), 0);
}

// Each value sits on the element its key names; a wrong key reads another value or none.
TEST_F(UnitTest, MomentarySubDevicesAndCodesSelectTheElement) {
    momentary.Add(Row({26, 99, 0x0203}, 3));
    momentary.Add(Row({26, 99, 0x0205}, 5));
    momentary.Add(Row({26, 99, 0x0317}, 23));
    momentary.Add(Row({26, 99, 0xFF01}, 255));
    momentary.Add(Row({26, 99, 0x0562}, 98));
    momentary.Add(Row({7, 99, 73}, 73));
    // Where calls with a code outside 1..98 would read if they were not refused.
    momentary.Add(Row({26, 99, 99}, -99));
    momentary.Add(Row({26, 99, 0x0200}, -200));
    momentary.Add(Row({26, 99, -1}, -1));
    SetInterval(7);
    const std::pair<const char*, double> cases[] = {
        {"M(26, 98, 2, 5)", 5},          {"Qabc(26, 98, 2)", 5},       {"Pb(26, 98, 2)", 3},
        {"M(26, otSubDevice, 2, 3)", 3}, {"M(26, 99, $0300, 23)", 23}, {"F(26, 99, $10300)", 23},
        {"M(26, 98, $1FF, 1)", 255},     {"M(26, 98, 5, 98)", 98},     {"ANGLEuca(7, otDevice, 0)", 73},
        {"M(26, 99, 0, 99)", 0},         {"M(26, 99, $0205, 0)", 0},   {"M(26, 98, 2, -1)", 0},
        {"Qabc(26, 99, 2)", 0}};
    for (const auto& [call, expected] : cases) {
        EXPECT_EQ(Eval(call), expected) << call;
    }
}

TEST_F(UnitTest, TheLatestMomentaryRowWinsUnlessWithinAMillisecond) {
    // what the rows show, the rows in the order added, the value read
    const std::tuple<const char*, std::vector<TDataRow>, double> cases[] = {
        {"later stamp in the other season, listed first",
         {Row(kUa, 1, At(2024, 1, 1, 10), 1), Row(kUa, 2, At(2024, 1, 1, 10, 20), 0)},
         2},
        {"one ms later", {Row(kUa, 1, At(2024, 1, 1, 10)), Row(kUa, 2, At(2024, 1, 1, 10, 0, 0, 1))}, 1},
        {"two ms later", {Row(kUa, 1, At(2024, 1, 1, 10)), Row(kUa, 2, At(2024, 1, 1, 10, 0, 0, 2))}, 2},
        {"chain",
         {Row(kUa, 1, At(2024, 1, 1, 10)), Row(kUa, 2, At(2024, 1, 1, 10, 10)),
          Row(kUa, 3, At(2024, 1, 1, 10, 10, 0, 1))},
         2},
    };
    for (const auto& [name, rows, expected] : cases) {
        momentary.Clear();
        for (const TDataRow& row : rows) {
            momentary.Add(row);
        }
        SetInterval(7);
        EXPECT_EQ(Eval("Ua(5, 99, 0)"), expected) << name;
    }
}

// Each execution answers a momentary value once; later calls repeat it even if the rows change.
TEST_F(UnitTest, MomentaryAnswersHoldUntilTheContextIsSetAgain) {
    const script::NativeFunction add_late_row = [](script::CallFrame& f) {
        static_cast<TDataList*>(f.UserData())->Add(Row(kUa, 30, At(2024, 1, 1, 10, 30)));
    };
    module.Engine().RegisterFunction(
        {"TestUnit", "AddLateRow", {}, script::ValueType::Void, add_late_row, 0, &momentary});
    momentary.Add(Row(kUa, 10, At(2024, 1, 1, 10)));
    momentary.Add(Row(kUa, 20, At(2024, 1, 1, 10, 20)));
    SetInterval(7);
    Run("Keep(Ua(5, 99, 0)); AddLateRow; Keep(Ua(5, 99, 0)); Keep(M(5, 99, 0, 13));");
    EXPECT_EQ(kept, (std::vector<double>{20, 20, 20}));
    EXPECT_EQ(Eval("Ua(5, 99, 0)"), 20);
    SetInterval(7);
    EXPECT_EQ(Eval("Ua(5, 99, 0)"), 30);
}

} // namespace
} // namespace tl::test
