// A run of the arbitrary formula against a host that answers each query when the test says so:
// the order of its queries, and the momentary set that each pass keeps until its end.
#include "driver_fixture.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tl::test {
namespace {

constexpr int32_t kTask = 9;

DateTime At(int hour, int minute) {
    return EncodeDateTime({2014, 11, 1, hour, minute, 0, 0});
}

std::vector<double> DataRow(int32_t par_number, int32_t object, int32_t type, int32_t item, DateTime stamp,
                            double value) {
    return {double(par_number), double(type), double(object), double(item), stamp, value, 0};
}

class FormulaTaskTest : public TaskSettingsTest {
protected:
    FormulaTaskTest() : TaskSettingsTest("\\Scripts\\Formulas\\") { Configure(1, At(0, 0), At(1, 0)); }

    // Starts the task and answers the element-state query (nothing to ask: an empty query).
    void StartAndAnswerStates(TScheduleTaskList& list) {
        list.Add(std::make_unique<TScheduleTask>(link_, key_, kTask));
        list.StartTask(kTask);
        ASSERT_EQ(host_.Queries().size(), 1u);
        EXPECT_EQ(host_.Queries()[0].sql, "");
        host_.Complete(0, nullptr);
        ASSERT_EQ(host_.Queries().size(), 2u);
        EXPECT_EQ(host_.Queries()[1].sql, "select * from parameters where parnumber = 1100");
    }

    const RecordedQuery& Last() const { return host_.Queries().back(); }
};

TEST_F(FormulaTaskTest, EachPassAsksForItsMomentaryValuesKeepsThemAndReleasesThemAtItsEnd) {
    SetFormula("26.99.3", "%Result0% := Ua(26, 99, 0) + W(26, 1)");
    TScheduleTaskList list(link_);
    StartAndAnswerStates(list);
    FakeResultSet discreteness({"discrettype", "discretvalue"}, {{5, 3}});
    host_.Complete(1, discreteness.Set());

    // Pass 7: momentary values, then the interval values, then the rows.
    ASSERT_EQ(host_.Queries().size(), 3u);
    EXPECT_TRUE(Last().sql.starts_with("select * from data where parnumber = 1100 ")) << Last().sql;
    FakeResultSet momentary(
        kDataColumns, {DataRow(1100, 26, 99, 13, At(0, 20), 230), DataRow(1100, 26, 99, 13, At(0, 50), 231)});
    host_.Complete(2, momentary.Set());
    ASSERT_EQ(host_.Queries().size(), 4u);
    EXPECT_NE(Last().sql.find(":pn1"), std::string::npos);
    EXPECT_EQ(Last().params.at(0).AsInt32(), 12);
    EXPECT_EQ(host_.ReleaseCount(momentary.Set()), 0); // kept while the pass waits for its rows
    FakeResultSet data(kDataColumns,
                       {DataRow(12, 26, 0, 1, At(0, 30), 100), DataRow(12, 26, 0, 1, At(1, 0), 60)});
    host_.Complete(3, data.Set());
    EXPECT_EQ(host_.ReleaseCount(momentary.Set()), 1);
    EXPECT_EQ(host_.ReleaseCount(data.Set()), 1);
    // The values the formula computed from both sets are checked in the formula scenario tests.
    ASSERT_EQ(host_.Stored().size(), 1u);
    EXPECT_EQ(host_.Stored()[0].records.size(), 2u);

    // The other passes: each answer set is released once, the run ends with 0.
    std::vector<std::unique_ptr<FakeResultSet>> answers;
    for (size_t i = 4; i < host_.Queries().size() && i < 30; ++i) {
        answers.push_back(std::make_unique<FakeResultSet>(kDataColumns, std::vector<std::vector<double>>{}));
        host_.Complete(i, answers.back()->Set());
    }
    EXPECT_EQ(host_.Queries().size(), 4u + 2 * 5); // momentary and interval values of passes 8..12
    EXPECT_EQ(host_.Stored().size(), 1u);          // passes without rows store nothing
    for (const auto& answer : answers) {
        EXPECT_EQ(host_.ReleaseCount(answer->Set()), 1);
    }
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(Completions(), (std::vector<Completion>{{1, kTask, 0}}));
}

TEST_F(FormulaTaskTest, AStopWhileTheIntervalValuesAreAwaitedReleasesTheKeptMomentaryValues) {
    SetFormula("26.99.3", "Ua(26, 99, 0)");
    FakeResultSet discreteness({"discrettype", "discretvalue"}, {{6, 1}});
    FakeResultSet momentary(kDataColumns, {DataRow(1100, 26, 99, 13, At(0, 20), 230)});
    {
        TScheduleTaskList list(link_);
        StartAndAnswerStates(list);
        host_.Complete(1, discreteness.Set());
        host_.Complete(2, momentary.Set());
        ASSERT_EQ(host_.Queries().size(), 4u);
        list.StopTask(kTask);
        EXPECT_EQ(list.Count(), 0);
    }
    EXPECT_EQ(host_.ReleaseCount(momentary.Set()), 1);
    EXPECT_EQ(Completions(), (std::vector<Completion>{{1, kTask, 5}}));
}

TEST_F(FormulaTaskTest, WithoutMomentaryElementsToAskTheMomentaryQueryIsEmpty) {
    struct Case {
        const char* name;
        const char* formula;
        double kind;
    } const cases[] = {
        {"discreteness refused", "Ua(26, 99, 0)", 4},
        {"no momentary values read", "W(26, 1)", 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetFormula("26.99.3", c.formula);
        const size_t first = host_.Queries().size();
        TScheduleTaskList list(link_);
        list.Add(std::make_unique<TScheduleTask>(link_, key_, kTask));
        list.StartTask(kTask);
        host_.Complete(first, nullptr);
        FakeResultSet discreteness({"discrettype", "discretvalue"}, {{c.kind, 1}});
        host_.Complete(first + 1, discreteness.Set());
        ASSERT_EQ(host_.Queries().size(), first + 3);
        EXPECT_EQ(host_.Queries()[first + 2].sql, "");
        EXPECT_EQ(host_.Queries()[first + 2].params, std::vector<Variant>{Variant::Int32(0)});
        // No answer to the empty query: the pass asks for its interval values all the same.
        host_.Complete(first + 2, nullptr);
        ASSERT_EQ(host_.Queries().size(), first + 4);
        EXPECT_EQ(host_.Queries()[first + 3].params.at(0).AsInt32(), 12);
        list.StopTask(kTask);
        Completions();
    }
}

} // namespace
} // namespace tl::test
