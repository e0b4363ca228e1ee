// Runs of the loss-calculation task against a fake host that answers every query at once. The
// values the methods compute are checked in the methods and scenario tests; here how a run ends,
// what it asks for, how many rows it stores, and the result sets it holds.
#include "driver_fixture.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tl::test {
namespace {

constexpr int32_t kTask = 4;
const DateTime kCalendarEnd = FromMillis(ToMillis(At(9999, 12, 31, 23, 59, 59)) + 999);

std::vector<double> Row(int32_t par_number, int32_t object, int32_t type, int32_t item, DateTime stamp,
                        double value) {
    return {double(par_number), double(type), double(object), double(item), stamp, value, 0};
}
const std::vector<std::string> kDataColumns = {"ParNumber", "ObjType", "Object", "Item",
                                               "Data_Date", "Value0",  "Season"};

std::unique_ptr<FakeResultSet> Set(std::vector<std::string> columns, std::vector<std::vector<double>> rows) {
    return std::make_unique<FakeResultSet>(std::move(columns), std::move(rows));
}

class TaskRunTest : public TaskSettingsTest {
protected:
    TaskRunTest() : TaskSettingsTest("\\Scripts\\Run\\") { link_.interrupt_flag = &flag_; }

    struct Outcome {
        int64_t code = -100; // none or more than one completion
        // The parameters of the interval-data queries, and where the first one's window begins.
        std::string asked;
        size_t rows = 0;
        size_t stores = 0;
    };
    // Answers: no set for an empty query, a discreteness of `discrete_kind_` 3, the momentary
    // values of 26.99.13 at 00:20 and 00:50, the pair's and 26.0.1's 30-minute values at 01:00 and
    // 02:00 of 01.11.2014, empty sets for the other passes. Stops the task after `stop_after`
    // answers. Every set delivered is released once, and a pass's momentary set is still held when
    // the pass's interval values are answered.
    Outcome Run(size_t stop_after = 1000) {
        Outcome outcome;
        const size_t answered = answers_.size();
        const size_t stored = host_.Stored().size();
        std::string from;
        FakeResultSet* momentary = nullptr;
        TScheduleTaskList list(link_);
        RunAnswering(
            list, kTask,
            [&](const RecordedQuery& q) -> std::unique_ptr<FakeResultSet> {
                if (q.sql.empty()) {
                    return nullptr;
                }
                if (q.sql == "select * from parameters where parnumber = 1100") {
                    return Set({"discrettype", "discretvalue"}, {{discrete_kind_, 3}});
                }
                if (q.sql.starts_with("select * from data where parnumber = 1100 ")) {
                    auto set = Set(kDataColumns, {Row(1100, 26, 99, 13, At(2014, 11, 1, 0, 20), 230),
                                                  Row(1100, 26, 99, 13, At(2014, 11, 1, 0, 50), 231)});
                    momentary = set.get();
                    return set;
                }
                if (momentary != nullptr) {
                    EXPECT_EQ(host_.ReleaseCount(momentary->Set()), 0) << "the pass's momentary set";
                    momentary = nullptr;
                }
                ++interval_queries_;
                const int32_t par_number = q.params.at(0).AsInt32();
                outcome.asked += (outcome.asked.empty() ? "" : " ") + std::to_string(par_number);
                from = from.empty() ? " from " + FormatStamp(q.params.at(1).AsDouble()) : from;
                std::vector<std::vector<double>> rows;
                for (const DateTime stamp : {At(2014, 11, 1, 1), At(2014, 11, 1, 2)}) {
                    if (par_number == 12) {
                        rows.insert(rows.end(),
                                    {Row(12, 100, 0, 1, stamp, 1000), Row(12, 100, 0, 2, stamp, 500),
                                     Row(12, 26, 0, 1, stamp, 60)});
                    }
                }
                return Set(kDataColumns, rows);
            },
            stop_after);
        if (list.Count() > 0) {
            list.StopTask(kTask);
        }
        for (size_t i = answered; i < answers_.size(); ++i) {
            EXPECT_EQ(answers_[i] == nullptr ? 1 : host_.ReleaseCount(answers_[i]->Set()), 1)
                << "answer " << i;
        }
        outcome.asked += from;
        for (size_t i = stored; i < host_.Stored().size(); ++i, ++outcome.stores) {
            outcome.rows += host_.Stored()[i].records.size();
        }
        const std::vector<Completion> completions = Completions();
        outcome.code = completions.size() == 1 ? completions[0].code : -100;
        return outcome;
    }

    int32_t flag_ = 0;
    std::atomic<int> interval_queries_ = 0; // answered
    double discrete_kind_ = 5;
};

// Each run ends with its code and the status line of its text. Where the formulas loop, the step
// runs until the host raises its flag, and the task then ends as a stop does (code 5). A period to
// the calendar's end or from centuries back passes over the stamps without rows, but the formulas,
// which write a row at every stamp from the first row on, refuse a window beyond what a pass can
// hold, in the log and a status line. A formula that recurses without end fails its element at
// every stamp: the element is listed in the log's closing section and in one status line.
TEST_F(TaskRunTest, RunsEndWithTheirCodeRowsAndStatus) {
    const std::map<int64_t, std::string> texts = {
        {0, "Успешный расчёт"}, {2, "Некорректный сценарий"}, {5, "Прервано"}};
    const char* const deep = "function Deep(n: Integer): Integer; begin Result := Deep(n + 1) + 1; end;";
    const std::string passes = "12 18 26 36 46 56 from ";
    const std::string too_long = "Период прохода параметра 12 слишком велик: с 01.11.2014 01:00:00 по "
                                 "01.01.10000 00:00:00 больше 10000000 штампов (элементов: 1, строк "
                                 "результата за проход не больше 10000000)";
    struct Case {
        const char* name;
        int method;
        DateTime begin, end;
        const char* script; // the common script; T is 1 while the formulas are looked through
        const char* formula;
        int adv_index; // of the additional parameter, 0: none
        int64_t code;
        size_t rows;
        std::string asked;
        std::string status; // a status line sent besides the final one
        std::string log;    // the run log holds
    } const cases[] = {
        {"begin after the end", 0, At(2015, 1, 1), At(2014, 6, 1), "", "1", 0, 0, 0, "", "", ""},
        // The additional 5-minute pass comes first, an hour back from the base end.
        {"additional pass", 0, At(2014, 11, 1), At(2014, 11, 1, 2), "", "1", 4, 0, 4,
         "7 " + passes + "01.11.2014 00:59:50.000", "", ""},
        {"loop in the first run", 1, At(2014, 11, 1), At(2014, 11, 1, 2), "while True do ;", "1", 0, 5, 0, "",
         "", "----------------Не рассчитанные объекты-------------------\r\n"},
        {"loop at the first stamp", 1, At(2014, 11, 1), At(2014, 11, 1, 2), "if T < 1 then while True do ;",
         "1", 0, 5, 0, "12 from 31.10.2014 23:59:50.000", "", ""},
        {"coefficients to 9999", 0, At(2014, 11, 1), kCalendarEnd, "", "1", 0, 0, 4,
         passes + "31.10.2014 23:59:50.000", "", ""},
        {"formulas to 9999", 1, At(2014, 11, 1), kCalendarEnd, "", "1", 0, 2, 0,
         "12 from 31.10.2014 23:59:50.000", too_long, too_long},
        // Rows from the first row (01:00) to the end: 47 stamps.
        {"formulas from 1425", 1, At(1425, 1, 1), At(2014, 11, 2), "", "1", 0, 0, 47,
         passes + "31.12.1424 23:59:50.000", "", ""},
        {"endless recursion", 1, At(2014, 11, 1), At(2014, 11, 1, 3), deep, "Deep(0)", 0, 0, 5,
         passes + "31.10.2014 23:59:50.000", "Следующие элементы рассчитаны не полностью: 26.99.3",
         "Элемент: 26.99.3: \r\n\t\t01.11.2014 01:00:00 | Ошибка: Stack overflow"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configure(c.method, c.begin, c.end);
        settings_.WriteString(section_, "CommonScript", c.script);
        SetFormula("26.99.3", std::string("%Result0% := ") + c.formula);
        settings_.WriteBool(section_, "AdvParNumber", c.adv_index != 0);
        settings_.WriteInteger(section_, "ParNumber", c.adv_index);
        settings_.WriteInteger(section_, "DeepAdv", 1);
        FakeHost::StatusLines().clear();
        flag_ = 0;
        interval_queries_ = 0;
        // The host raises its flag once the step loops: 100 ms into the run, and for a loop at a
        // stamp not before the interval values are answered (at most 10 s on).
        std::thread host([&] {
            for (int ms = 0;
                 c.code == 5 && ms < 10'000 && (ms < 100 || (!c.asked.empty() && interval_queries_ == 0));
                 ++ms) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            __atomic_store_n(&flag_, c.code == 5 ? 1 : 0, __ATOMIC_RELAXED);
        });
        const Outcome outcome = Run();
        host.join();
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.rows, c.rows);
        EXPECT_EQ(outcome.asked, c.asked);
        const auto sent = [](const std::string& line) {
            const auto& lines = FakeHost::StatusLines();
            return std::any_of(lines.begin(), lines.end(), [&](const auto& l) { return l.second == line; });
        };
        EXPECT_TRUE(sent("Статус выполнения: " + texts.at(c.code)));
        EXPECT_TRUE(c.status.empty() || sent(c.status)) << c.status;
        EXPECT_NE(RunLog().find(c.log), std::string::npos) << RunLog();
    }
}

// The formula method asks each pass for its momentary values, then for its interval values, and
// releases the momentary set at the pass's end, or when the task is stopped while it waits (Run
// checks both). Without momentary values to ask, because the discreteness is refused or the
// formulas read none, the momentary query is empty and the pass asks for its interval values all
// the same.
TEST_F(TaskRunTest, EachPassAsksForItsMomentaryValuesFirst) {
    Configure(1, At(2014, 11, 1), At(2014, 11, 1, 1));
    struct Case {
        const char* formula;
        double discrete_kind;
        size_t stop_after; // answers
        bool momentary_asked;
    } const cases[] = {
        {"Ua(26, 99, 0) + W(26, 1)", 5, 1000, true},
        {"Ua(26, 99, 0)", 6, 3, true}, // stopped while pass 7's interval values are awaited
        {"Ua(26, 99, 0)", 4, 1000, false},
        {"W(26, 1)", 5, 1000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.formula);
        SetFormula("26.99.3", std::string("%Result0% := ") + c.formula);
        discrete_kind_ = c.discrete_kind;
        const size_t first = host_.Queries().size();
        const Outcome outcome = Run(c.stop_after);
        const bool stopped = c.stop_after == 3;
        EXPECT_EQ(outcome.code, stopped ? 5 : 0);
        // One row, at the one stamp of pass 7 with rows; the passes without rows store nothing.
        EXPECT_EQ(outcome.asked, stopped ? "" : "12 18 26 36 46 56 from 31.10.2014 23:59:50.000");
        EXPECT_EQ(outcome.rows, stopped ? 0u : 1u);
        EXPECT_EQ(outcome.stores, outcome.rows);
        ASSERT_GE(host_.Queries().size(), first + 4);
        const RecordedQuery& momentary = host_.Queries()[first + 2];
        EXPECT_EQ(momentary.sql.starts_with("select * from data where parnumber = 1100 "), c.momentary_asked);
        if (!c.momentary_asked) {
            EXPECT_EQ(momentary.sql, "");
            EXPECT_EQ(momentary.params, std::vector<Variant>{Variant::Int32(0)});
        }
    }
}

} // namespace
} // namespace tl::test
