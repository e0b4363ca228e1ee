// W, P, W2, P2 and the momentary functions against hand-built rows.
#include "data_test_support.hpp"
#include "tlscript/call_frame.hpp"
#include "tlscript/engine.hpp"
#include "unit_test_support.hpp"

#include <ostream>

namespace tl::test {
namespace {

const ElementAddress kChannel{26, 0, 1};

struct EnergyCase {
    int index;
    double w; // stored 100
    double p;
};

void PrintTo(const EnergyCase& c, std::ostream* out) {
    *out << "index " << c.index;
}

class EnergyAndPower : public UnitTest, public ::testing::WithParamInterface<EnergyCase> {};

// Short intervals store average power (energy is its share of an hour); days and longer store
// energy (power is twice it).
TEST_P(EnergyAndPower, ConvertTheStoredValueByInterval) {
    const EnergyCase c = GetParam();
    data.Add(Row(kChannel, 100));
    data.Add(Row({26, 99, 1}, 1));
    SetInterval(c.index, At(2024, 1, 1));
    EXPECT_DOUBLE_EQ(Eval("W(26, 1)"), c.w);
    EXPECT_DOUBLE_EQ(Eval("P(26, 1)"), c.p);
    EXPECT_DOUBLE_EQ(Eval("W2(26, 0, 1)"), c.w);
    EXPECT_DOUBLE_EQ(Eval("P2(26, 0, 1)"), c.p);
}

INSTANTIATE_TEST_SUITE_P(Intervals, EnergyAndPower,
                         ::testing::Values(EnergyCase{0, 5, 100}, EnergyCase{1, 100.0 / 60, 100},
                                           EnergyCase{6, 100.0 / 6, 100}, EnergyCase{7, 50, 100},
                                           EnergyCase{8, 100, 100}, EnergyCase{9, 100, 200},
                                           EnergyCase{10, 100, 200}, EnergyCase{12, 100, 200}));

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

TEST_F(UnitTest, WithoutAContextEverythingReadsZero) {
    data.Add(Row(kChannel, 100));
    momentary.Add(Row({26, 99, 1}, 5));
    EXPECT_EQ(Eval("W(26, 1) + P2(26, 0, 1) + M(26, 99, 0, 1) + Pabc(26, 99, 0)"), 0);
    SetInterval(8);
    EXPECT_EQ(Eval("W(26, 1)"), 100);
    module.ClearScriptContext();
    EXPECT_EQ(Eval("W(26, 1)"), 0);
}

// Each value sits on the element its key names; a wrong key reads another value or none.
struct MomentaryKeyCase {
    const char* call;
    double expected;
};

void PrintTo(const MomentaryKeyCase& c, std::ostream* out) {
    *out << c.call;
}

class MomentaryKey : public UnitTest, public ::testing::WithParamInterface<MomentaryKeyCase> {};

TEST_P(MomentaryKey, SubDevicesAndCodesSelectTheElement) {
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
    EXPECT_EQ(Eval(GetParam().call), GetParam().expected) << GetParam().call;
}

INSTANTIATE_TEST_SUITE_P(
    Calls, MomentaryKey,
    ::testing::Values(MomentaryKeyCase{"M(26, 98, 2, 5)", 5}, MomentaryKeyCase{"Qabc(26, 98, 2)", 5},
                      MomentaryKeyCase{"Pb(26, 98, 2)", 3}, MomentaryKeyCase{"M(26, otSubDevice, 2, 3)", 3},
                      MomentaryKeyCase{"M(26, 99, $0300, 23)", 23}, MomentaryKeyCase{"F(26, 99, $10300)", 23},
                      MomentaryKeyCase{"M(26, 98, $1FF, 1)", 255}, MomentaryKeyCase{"M(26, 98, 5, 98)", 98},
                      MomentaryKeyCase{"ANGLEuca(7, otDevice, 0)", 73},
                      MomentaryKeyCase{"M(26, 99, 0, 99)", 0}, MomentaryKeyCase{"M(26, 99, $0205, 0)", 0},
                      MomentaryKeyCase{"M(26, 98, 2, -1)", 0}, MomentaryKeyCase{"Qabc(26, 99, 2)", 0}));

TEST_F(UnitTest, MomentaryValuesNeedTheAcceptedDiscretenessAndAList) {
    momentary.Add(Row({26, 99, 5}, 5));
    ScriptContext context;
    context.momentary = &momentary;
    context.interval_index = 7;
    module.SetScriptContext(context);
    EXPECT_EQ(Eval("M(26, 99, 0, 5)"), 0);
    context.momentary_accepted = true;
    module.SetScriptContext(context);
    EXPECT_EQ(Eval("M(26, 99, 0, 5)"), 5);
    context.momentary = nullptr;
    module.SetScriptContext(context);
    EXPECT_EQ(Eval("M(26, 99, 0, 5)"), 0);
}

struct LatestCase {
    const char* name;
    std::vector<TDataRow> rows; // in the order added
    double expected;
};

void PrintTo(const LatestCase& c, std::ostream* out) {
    *out << c.name;
}

class LatestMomentary : public UnitTest, public ::testing::WithParamInterface<LatestCase> {};

TEST_P(LatestMomentary, TheLatestRowWinsUnlessWithinAMillisecond) {
    for (const TDataRow& row : GetParam().rows) {
        momentary.Add(row);
    }
    SetInterval(7);
    EXPECT_EQ(Eval("Ua(5, 99, 0)"), GetParam().expected);
}

const ElementAddress kUa{5, 99, 13};

INSTANTIATE_TEST_SUITE_P(
    Rows, LatestMomentary,
    ::testing::Values(
        LatestCase{"later", {Row(kUa, 1, At(2024, 1, 1, 10)), Row(kUa, 2, At(2024, 1, 1, 10, 20))}, 2},
        LatestCase{"later_season_first",
                   {Row(kUa, 1, At(2024, 1, 1, 10), 1), Row(kUa, 2, At(2024, 1, 1, 10, 20), 0)},
                   2},
        LatestCase{"one_ms", {Row(kUa, 1, At(2024, 1, 1, 10)), Row(kUa, 2, At(2024, 1, 1, 10, 0, 0, 1))}, 1},
        LatestCase{"two_ms", {Row(kUa, 1, At(2024, 1, 1, 10)), Row(kUa, 2, At(2024, 1, 1, 10, 0, 0, 2))}, 2},
        LatestCase{"chain",
                   {Row(kUa, 1, At(2024, 1, 1, 10)), Row(kUa, 2, At(2024, 1, 1, 10, 10)),
                    Row(kUa, 3, At(2024, 1, 1, 10, 10, 0, 1))},
                   2}),
    [](const auto& param_info) { return std::string(param_info.param.name); });

// Each execution answers a momentary value once; later calls repeat it even if the rows change.
TEST_F(UnitTest, MomentaryAnswersHoldUntilTheContextIsSetAgain) {
    module.Engine().RegisterFunction({"TestUnit",
                                      "AddLateRow",
                                      {},
                                      script::ValueType::Void,
                                      [](script::CallFrame& f) {
                                          auto* self = static_cast<UnitTest*>(f.UserData());
                                          self->momentary.Add(Row(kUa, 30, At(2024, 1, 1, 10, 30)));
                                      },
                                      0,
                                      this});
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
