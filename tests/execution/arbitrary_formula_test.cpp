// The arbitrary formula against recorders of its log, status lines, element errors and rows.
#include "tldata/passes.hpp"
#include "tlexecution/arbitrary_formula.hpp"
#include "tlparams/method2_obj.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace tl {
namespace {

using Lines = std::vector<std::string>;

class Recorder : public RunReport, public ElementErrors, public ResultSink {
public:
    void LogLine(std::string_view line) override { log.emplace_back(line); }
    void SendStatus(std::string_view line) override { status.emplace_back(line); }
    void AddElementError(const ElementAddress& element, std::string_view message) override {
        errors.push_back(FormatAddress(element) + " " + std::string(message));
    }
    void Add(const ResultRow& row) override { rows.push_back(row); }

    Lines log;
    Lines status;
    Lines errors;
    std::vector<ResultRow> rows;
};

class ArbitraryFormulaTest : public ::testing::Test {
protected:
    void Element(const ElementAddress& address, std::string text) {
        auto params = std::make_unique<TMethod2Obj>();
        params->Formula = std::move(text);
        objects_.Add(address, std::move(params));
    }
    bool Prepare(std::string_view common = "") {
        return formula_.Prepare(common, data_filter_, momentary_filter_);
    }

    TCalcObjects objects_;
    TStateContainer states_{nullptr};
    Recorder recorder_;
    RunTimings timings_;
    ArbitraryFormula formula_{{objects_, states_, recorder_, recorder_, timings_}};
    TSQLItemParamContainer data_filter_;
    TSQLItemParamContainer momentary_filter_;
};

TEST_F(ArbitraryFormulaTest, ACollectionPassWithExecutionErrorsFailsButStillAsksForWhatTheFormulasRead) {
    // percent reports its error and execution goes on to the functions after it.
    Element({5, 0, 1}, "%Result0% := W(5, 1); %Result1% := percent(1, 200) + Pa(5, 98, 1) + DI(5, 2)");
    EXPECT_FALSE(Prepare());
    EXPECT_EQ(recorder_.status, (Lines{"Ошибка выполнения (См. файл tlosses.log)"}));
    // The log from the line after the banner to the end.
    const auto errors = std::find(recorder_.log.begin(), recorder_.log.end(),
                                  "-------------------Ошибки выполнения----------------------");
    ASSERT_NE(errors, recorder_.log.end());
    EXPECT_EQ(Lines(errors + 1, recorder_.log.end()),
              (Lines{"Ошибка: Функция percent (проценты вне диапазона 0 - 100)", "",
                     "------------------Мощность по устройствам-----------------", "$0005(5).0.1", "",
                     "------------------Мгновенные величины----------------------",
                     "$0005(5).99.258 => SubDevice: [$0005(5).98.1.2]", "",
                     "------------------ОИ/ДВ----------------------", "$0005(5).97.2"}));
    EXPECT_TRUE(data_filter_.Contains({5, 0, 1}));
    EXPECT_TRUE(momentary_filter_.Contains({5, 99, 0x0102}));
    ASSERT_EQ(states_.Count(), 1);
    EXPECT_EQ(states_.Item(0).Address(), (ElementAddress{5, 97, 2}));
    EXPECT_FALSE(formula_.Module().Collecting());
}

TEST_F(ArbitraryFormulaTest, PrintedNumbersAreReadBackAsTheEngineWroteThem) {
    struct Case {
        const char* formula;
        double value0;
        double value1;
    } const cases[] = {
        {"%Result0% := 1 / 3; %Result1% := -2 / 3", 1.0 / 3, -2.0 / 3},
        {"%Result0% := -1.5E-300; %Result1% := 6.02E23", -1.5e-300, 6.02e23},
        {"%Result1% := 123456789.125", 0, 123456789.125},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Element({1, 0, static_cast<int32_t>(i)}, cases[i].formula);
    }
    ASSERT_TRUE(Prepare());
    const TDataList none;
    const DateTime stamp = EncodeDateTime({2014, 11, 1, 1, 0, 0, 0});
    std::this_thread::sleep_for(std::chrono::milliseconds(2)); // a received stamp of Prepare's time shows
    const DateTime before = Now();
    formula_.ExecuteInterval(8, stamp, none, none, 0, true, recorder_);
    const DateTime after = Now();
    ASSERT_EQ(recorder_.rows.size(), std::size(cases));
    EXPECT_TRUE(recorder_.errors.empty()) << recorder_.errors.front();
    for (size_t i = 0; i < std::size(cases); ++i) {
        const ResultRow& row = recorder_.rows[i];
        SCOPED_TRACE(cases[i].formula);
        // 15 significant digits survive the text.
        EXPECT_NEAR(row.value0, cases[i].value0, 1e-14 * std::fabs(cases[i].value0));
        EXPECT_NEAR(row.value1, cases[i].value1, 1e-14 * std::fabs(cases[i].value1));
        EXPECT_EQ(std::make_tuple(row.par_number, row.data_date, row.object, row.type, row.item, row.status),
                  std::make_tuple(30018, stamp, 1, 0, static_cast<int32_t>(i), kStatusBit));
        EXPECT_TRUE(row.rcv_stamp >= before && row.rcv_stamp <= after); // the time the row was built
    }
}

} // namespace
} // namespace tl
