// The defined formula on hand-built rows; whole runs with worked values are in the scenarios.
#include "tlcommon/date_time.hpp"
#include "tldata/passes.hpp"
#include "tlmethods/defined_formula.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tl {
namespace {

constexpr int32_t kObject = 100;
const DateTime kStamp = EncodeDateTime({2014, 11, 1, 1, 0, 0, 0});
const DateTime kReceived = EncodeDateTime({2014, 11, 2, 0, 0, 0, 0});

class Report : public RunReport {
public:
    void LogLine(std::string_view) override {}
    void SendStatus(std::string_view line) override { status.emplace_back(line); }
    std::vector<std::string> status;
};

class States : public ElementStates {
public:
    void Track(const ElementAddress& element) override { tracked.push_back(element); }
    int32_t StateAt(const ElementAddress&, DateTime, int32_t) const override { return -1; }
    std::vector<ElementAddress> tracked;
};

class Rows : public ResultSink {
public:
    void Add(const ResultRow& row) override { rows.push_back(row); }
    std::vector<ResultRow> rows;
};

// A channel with an hourly line part (Value0 = 10 per 1000 of active power) and a transformer
// part of 100 kV*A.
std::unique_ptr<TMethod1Obj> Channel(int32_t sensor_type, int32_t secondary) {
    auto params = std::make_unique<TMethod1Obj>();
    params->SensorType = sensor_type;
    params->SecondarySensor = secondary;
    params->r0 = 0.1;
    params->l = 10;
    params->UWork = 10;
    params->UNominal = 10;
    params->Strnom = 100;
    params->Pkz = 2;
    params->Pxx = 0.5;
    params->Ixx = 1;
    params->Ukz = 2;
    return params;
}

class DefinedFormulaTest : public ::testing::Test {
protected:
    void Add(int32_t item, std::unique_ptr<TMethod1Obj> params) {
        ASSERT_TRUE(objects_.Add({kObject, 0, item}, std::move(params)));
    }
    // An active channel and its reactive secondary.
    void AddPair(int32_t active, int32_t reactive) {
        Add(active, Channel(1, reactive));
        Add(reactive, Channel(3, active));
    }
    TMethod1Obj& Params(int32_t item) {
        return static_cast<TMethod1Obj&>(*objects_.At(objects_.Find({kObject, 0, item})).params);
    }
    void Row(int32_t item, double value, int32_t season = 0) {
        data_.Add({0, 18, 0, kObject, item, kStamp, value, season});
    }
    void Compute(int pass = 8) {
        formula_.Prepare(filter_);
        formula_.ComputeStamp(pass, kStamp, data_, kReceived, sink_);
    }
    std::vector<int32_t> RowItems() const {
        std::vector<int32_t> items;
        for (const ResultRow& row : sink_.rows) {
            items.push_back(row.item);
        }
        return items;
    }

    TCalcObjects objects_;
    Report report_;
    States states_;
    Rows sink_;
    TSQLItemParamContainer filter_;
    TDataList data_;
    DefinedFormula formula_{objects_, report_, states_};
};

TEST_F(DefinedFormulaTest, PreparationLoadsSecondaryChannelsTracksStateElementsAndFormsPairs) {
    Add(3, Channel(3, 1)); // reactive, listed before its active partner
    Add(1, Channel(1, 3));
    Add(5, Channel(0, 9)); // partner 9 is not in the list
    Params(1).NotCalcState = true;
    Params(1).StateObjCode = 7;
    Params(1).StateObjType = 97;
    Params(1).StateItem = 2;
    formula_.Prepare(filter_);

    EXPECT_EQ(filter_.FilterText(), "((object = 100 and objtype = 0 and item in (1, 3, 9)))");
    EXPECT_EQ(states_.tracked, (std::vector<ElementAddress>{{7, 97, 2}}));
    ASSERT_EQ(formula_.Pairs().size(), 1u);
    EXPECT_EQ(formula_.Pairs()[0].active.address, (ElementAddress{kObject, 0, 1}));
    EXPECT_EQ(formula_.Pairs()[0].reactive.address, (ElementAddress{kObject, 0, 3}));
}

TEST_F(DefinedFormulaTest, TheFirstMemberOfNeitherKindIsTakenAsTheReactiveOne) {
    Add(1, Channel(7, 2));
    Add(2, Channel(2, 1));
    Row(1, 1000);
    Row(2, 0);
    Compute();
    ASSERT_EQ(formula_.Pairs().size(), 1u);
    EXPECT_EQ(formula_.Pairs()[0].active.address.item, 2);
    EXPECT_EQ(RowItems(), (std::vector<int32_t>{2, 1}));
    // Item 2's row (0) is the active value, item 1's the reactive one: both members see Va 0, Vr 1000.
    EXPECT_NEAR(sink_.rows[0].value0, 10.0, 1e-12);
    EXPECT_NEAR(sink_.rows[1].value0, 10.0, 1e-12);
    // The transformer part goes by each member's own channel: reactive for item 2, none for item 1.
    EXPECT_NEAR(sink_.rows[0].value1, 1.0 + 2.0 * 100.0, 1e-9);
    EXPECT_EQ(sink_.rows[1].value1, 0.0);
}

// The reactive member alone missing runs in the scenarios.
TEST_F(DefinedFormulaTest, AMissingRowSkipsThePairWithOneStatusLineForTheFirstMissingMember) {
    AddPair(1, 2);
    AddPair(5, 6);
    formula_.Prepare(filter_);
    for (const bool reactive_row : {true, false}) {
        report_.status.clear();
        sink_.rows.clear();
        data_.Clear();
        if (reactive_row) {
            Row(2, 0);
        }
        Row(5, 1000);
        Row(6, 0);
        formula_.ComputeStamp(8, kStamp, data_, kReceived, sink_);
        EXPECT_EQ(report_.status, std::vector<std::string>{"Пропущен объект: 100.0.1. Штамп: 01.11.2014 "
                                                           "01:00:00. Сезон: Лето (Нет значения активной "
                                                           "мощности/энергии)"});
        EXPECT_EQ(RowItems(), (std::vector<int32_t>{5, 6})); // the other pair is still written
    }
}

TEST_F(DefinedFormulaTest, OnlyTheFirstRowOfAMemberAtTheStampCounts) {
    AddPair(1, 2);
    Row(1, 5000, 1); // the other season, first in the list
    Row(1, 1000);
    Row(2, 0);
    Compute();
    ASSERT_EQ(sink_.rows.size(), 2u);
    EXPECT_NEAR(sink_.rows[0].value0, 10.0, 1e-12);
}

TEST_F(DefinedFormulaTest, AnArithmeticFailureZeroesThePartReportsTheMemberAndStillWritesTheRow) {
    AddPair(1, 2);
    Params(1).UWork = 0;  // the line part divides by zero
    Params(2).Strnom = 0; // the transformer part divides by zero
    Params(2).InLine = false;
    Row(1, 1000);
    Row(2, 0);
    Compute();
    ASSERT_EQ(sink_.rows.size(), 2u);
    EXPECT_EQ(sink_.rows[0].value0, 0.0);
    EXPECT_NEAR(sink_.rows[0].value1, (100.0 * 2 + 0.5) * 1, 1e-9); // the transformer part stands
    EXPECT_EQ(sink_.rows[1].value0, 0.0);
    EXPECT_EQ(sink_.rows[1].value1, 0.0);
    EXPECT_EQ(report_.status, (std::vector<std::string>{"Объект: 100.0.1 (Ошибка в расчетах)",
                                                        "Объект: 100.0.2 (Ошибка в расчетах)"}));
}

TEST_F(DefinedFormulaTest, DisabledPartsStayZero) {
    AddPair(1, 2);
    Params(1).InLine = false;
    Params(2).InTransf = false;
    Row(1, 60);
    Row(2, 80);
    Compute(7);
    ASSERT_EQ(sink_.rows.size(), 2u);
    EXPECT_EQ(sink_.rows[0].value0, 0.0);
    EXPECT_NEAR(sink_.rows[0].value1, 1.25, 1e-12);
    EXPECT_GT(sink_.rows[1].value0, 0.0);
    EXPECT_EQ(sink_.rows[1].value1, 0.0);
}

} // namespace
} // namespace tl
