// T, CalcDiscret, Parnumber, MO, DI and percent.
#include "data_test_support.hpp"
#include "tlcommon/format_settings.hpp"
#include "tldata/state_container.hpp"
#include "tlscript/engine.hpp"
#include "unit_test_support.hpp"

#include <optional>
#include <ostream>

namespace tl::test {
namespace {

struct HoursCase {
    int index;
    DateTime time;
    double hours;
};

void PrintTo(const HoursCase& c, std::ostream* out) {
    *out << "index " << c.index << " at " << FormatStamp(c.time);
}

class IntervalHours : public UnitTest, public ::testing::WithParamInterface<HoursCase> {};

// Month, quarter and year are those of the day before the interval's end.
TEST_P(IntervalHours, FollowTheCalendarOfTheDayBeforeTheEnd) {
    SetInterval(GetParam().index, GetParam().time);
    EXPECT_DOUBLE_EQ(Eval("T"), GetParam().hours);
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, IntervalHours,
    ::testing::Values(HoursCase{7, At(2023, 5, 5, 10), 0.5}, HoursCase{0, At(2023, 5, 5, 10), 0.05},
                      HoursCase{1, At(2023, 5, 5, 10), 1.0 / 60}, HoursCase{8, At(2023, 5, 5, 10), 1},
                      HoursCase{9, At(2023, 5, 5), 24}, HoursCase{10, At(2023, 2, 1), 31 * 24},
                      HoursCase{10, At(2024, 3, 1), 29 * 24},
                      HoursCase{11, At(2023, 4, 1), (31 + 28 + 31) * 24},
                      HoursCase{11, At(2024, 4, 1), (31 + 29 + 31) * 24},
                      HoursCase{11, At(2024, 1, 1), (31 + 30 + 31) * 24},
                      HoursCase{12, At(2025, 1, 1), 366 * 24}, HoursCase{12, At(2024, 1, 1), 365 * 24}));

struct DiscretCase {
    int index;
    int kind;
    int count;
    int par_number;
};

void PrintTo(const DiscretCase& c, std::ostream* out) {
    *out << "index " << c.index;
}

class IntervalFacts : public UnitTest, public ::testing::WithParamInterface<DiscretCase> {};

TEST_P(IntervalFacts, KindCountAndParameterNumbers) {
    const DiscretCase c = GetParam();
    SetInterval(c.index, At(2024, 1, 1));
    EXPECT_EQ(Eval("CalcDiscret(0)"), c.kind);
    EXPECT_EQ(Eval("CalcDiscret(1)"), c.count);
    EXPECT_EQ(Eval("CalcDiscret(2)"), 0);
    EXPECT_EQ(Eval("Parnumber(0)"), c.par_number);
    EXPECT_EQ(Eval("Parnumber(1)"), c.par_number + 30000);
}

INSTANTIATE_TEST_SUITE_P(Intervals, IntervalFacts,
                         ::testing::Values(DiscretCase{0, 5, 3, 2}, DiscretCase{6, 5, 10, 9},
                                           DiscretCase{7, 5, 30, 12}, DiscretCase{8, 4, 1, 18},
                                           DiscretCase{9, 3, 1, 26}, DiscretCase{10, 2, 1, 36},
                                           DiscretCase{11, 1, 1, 46}, DiscretCase{12, 0, 1, 56}));

// States from an event list: input 12.97.1 off at 09:00 and on at 11:00, measurement object 500
// in state 7 from 09:30.
class ElementStates : public UnitTest {
protected:
    ElementStates() : states(nullptr, false) {
        states.AddItem(12, 97, 1);
        states.AddItem(500, 95, 0);
        db.AddEvent(2, 3002, {12, 97, 1}, At(2024, 1, 10, 9), std::nullopt, std::nullopt);
        db.AddEvent(2, 3001, {12, 97, 1}, At(2024, 1, 10, 11), std::nullopt, std::nullopt);
        db.AddEvent(2, 4002, {500, 96, 7}, At(2024, 1, 10, 9, 30), std::nullopt, std::nullopt);
        std::string sql;
        std::vector<Variant> params;
        EXPECT_TRUE(states.GetSQL(sql, params, At(2024, 1, 10), At(2024, 1, 11)));
        auto answer = db.Query(sql, params);
        states.SetSQLResults(answer.get(), true);
    }

    void AtTime(DateTime time) {
        ScriptContext context;
        context.interval_index = 7;
        context.interval_time = time;
        context.states = &states;
        module.SetScriptContext(context);
    }

    MeteringDb db;
    TStateContainer states;
};

TEST_F(ElementStates, InputsReadOnOffAndObjectsTheirStateCode) {
    AtTime(At(2024, 1, 10, 10));
    EXPECT_EQ(Eval("DI(12, 1)"), 0);
    EXPECT_EQ(Eval("MO(500)"), 7);
    AtTime(At(2024, 1, 10, 11, 30));
    EXPECT_EQ(Eval("DI(12, 1)"), 1);
    AtTime(At(2024, 1, 10, 8, 30));
    EXPECT_EQ(Eval("DI(12, 1)"), -1);
    EXPECT_EQ(Eval("MO(500)"), -1);
    EXPECT_EQ(Eval("DI(12, 2) + MO(501)"), -2);
    module.SetScriptContext({});
    EXPECT_EQ(Eval("DI(12, 1)"), -1);
}

struct PercentCase {
    const char* call;
    char separator;
    std::optional<double> expected; // none: the range error
};

void PrintTo(const PercentCase& c, std::ostream* out) {
    *out << c.call << " with '" << c.separator << "'";
}

class Percent : public UnitTest, public ::testing::WithParamInterface<PercentCase> {
protected:
    void TearDown() override { ResetSystemFormat(); }
};

TEST_P(Percent, WithinRangeGivesTheShareElseAnErrorWithoutStopping) {
    SetSystemDecimalSeparator(GetParam().separator);
    ScriptDataModule with_separator;
    RegisterKeep(with_separator, &kept);
    auto program = with_separator.Engine().Compile(std::string("Keep(") + GetParam().call + "); Keep(-1);");
    ASSERT_FALSE(program->HasCompileErrors()) << program->Messages().ToText();
    program->Execute();
    ASSERT_EQ(kept.size(), 2U); // execution goes on after the error
    if (GetParam().expected) {
        EXPECT_FALSE(program->HasExecutionErrors()) << program->Messages().ToText();
        EXPECT_EQ(kept[0], *GetParam().expected);
        return;
    }
    EXPECT_TRUE(program->HasExecutionErrors());
    EXPECT_EQ(kept[0], 0);
    ASSERT_EQ(program->Messages().Count(), 1U);
    EXPECT_EQ(program->Messages()[0].OneLine(), "Ошибка: Функция percent (проценты вне диапазона 0 - 100)");
}

INSTANTIATE_TEST_SUITE_P(Calls, Percent,
                         ::testing::Values(PercentCase{"percent(200, 50)", '.', 100},
                                           PercentCase{"percent(200, 100)", '.', 200},
                                           PercentCase{"percent(200, 0)", '.', 0},
                                           PercentCase{"percent(200, 50)", ',', 100},
                                           PercentCase{"percent(1 / 3, 100)", '.', 0.333333333333333},
                                           PercentCase{"percent(200, 100.00000000000001)", '.', 200},
                                           PercentCase{"percent(200, 101)", '.', std::nullopt},
                                           PercentCase{"percent(200, -0.5)", ',', std::nullopt}));

} // namespace
} // namespace tl::test
