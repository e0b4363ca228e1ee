// Runaway work ends: a formula in an endless loop stops when the host raises its interrupt flag,
// an open end date in 9999 and a period of centuries end quickly, and a formula that recurses
// without end costs little at each stamp. Each run is driven through a fake host that answers
// every query at once.
#include "driver_fixture.hpp"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace tl::test {
namespace {

constexpr int32_t kTask = 4;

const DateTime kCalendarEnd = FromMillis(ToMillis(EncodeDateTime({9999, 12, 31, 23, 59, 59, 0})) + 999);

class RunawayTaskTest : public TaskSettingsTest {
protected:
    RunawayTaskTest() : TaskSettingsTest("\\Scripts\\Runaway\\") {
        link_.interrupt_flag = &flag_;
        AddChannelPair();
        SetFormula("26.99.3", "%Result0% := 1");
    }

    // Runs the task answering each query at once: the 30-minute values of both channels at
    // `stamps`, nothing for the other passes. Returns the task's one completion code.
    int32_t Run(const std::vector<DateTime>& stamps) {
        TScheduleTaskList list(link_);
        RunAnswering(list, kTask, [&](const RecordedQuery& query) -> std::unique_ptr<FakeResultSet> {
            std::vector<std::vector<double>> rows;
            if (query.sql == "select * from parameters where parnumber = 1100") {
                return std::make_unique<FakeResultSet>(
                    std::vector<std::string>{"discrettype", "discretvalue"},
                    std::vector<std::vector<double>>{{5, 3}});
            }
            if (query.sql.starts_with("select * from data") &&
                !query.sql.starts_with("select * from data where parnumber = 1100") &&
                query.params.at(0).AsInt32() == 12) {
                for (DateTime stamp : stamps) {
                    rows.push_back({12, 0, 100, 1, stamp, 1000, 0});
                    rows.push_back({12, 0, 100, 2, stamp, 500, 0});
                }
            }
            return query.sql.empty() ? nullptr : std::make_unique<FakeResultSet>(kDataColumns, rows);
        });
        EXPECT_EQ(list.Count(), 0) << "the task still waits";
        const std::vector<Completion> completions = Completions();
        return completions.size() == 1 ? completions[0].code : -100;
    }

    int32_t flag_ = 0;
};

// Where the formula loops, the step runs until the host's flag goes up; the task then ends as a
// stop does: code 5, its status line, its log.
TEST_F(RunawayTaskTest, AnEndlessFormulaStopsWhenTheHostRaisesItsFlag) {
    struct Case {
        const char* name;
        const char* common_script;
    } const cases[] = {
        {"in the first run of the formulas, inside StartAction", "while True do ;"},
        // T is 1 while the formulas are looked through and 0.5 at a 30-minute stamp.
        {"at the first stamp", "if T < 1 then while True do ;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configure(1, At(2014, 11, 1), At(2014, 11, 1, 2));
        settings_.WriteString(section_, "CommonScript", c.common_script);
        flag_ = 0;
        std::thread host_thread([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            __atomic_store_n(&flag_, 1, __ATOMIC_RELAXED);
        });
        const int32_t code = Run({At(2014, 11, 1, 1)});
        host_thread.join();
        EXPECT_EQ(code, 5);
        EXPECT_EQ(LastStatus(), "Статус выполнения: Прервано");
        EXPECT_TRUE(RunLog().ends_with("----------------Не рассчитанные объекты-------------------\r\n"));
        EXPECT_EQ(StoredRows(), 0u);
    }
}

// An open end in 9999 and a begin six centuries back: the coefficients' passes pass over the
// stamps without rows and end at the calendar's end; the formulas' passes, which write a row at
// every stamp from the first row on, refuse a window beyond what a pass can hold.
TEST_F(RunawayTaskTest, FarPeriodsEndQuicklyWithTheRowsThatExist) {
    struct Case {
        const char* name;
        int method;
        DateTime begin;
        DateTime end;
        int32_t code;
        size_t rows;
    } const cases[] = {
        // Both channels at two stamps of the 30-minute pass; the other passes have no rows.
        {"coefficients to 9999", 0, At(2014, 11, 1), kCalendarEnd, 0, 4},
        {"coefficients from 1425", 0, At(1425, 1, 1), At(2014, 11, 2), 0, 4},
        // From the first row on, 48 stamps a day to 9999 are too many.
        {"formulas to 9999", 1, At(2014, 11, 1), kCalendarEnd, 2, 0},
        // Rows from the first row (01.11.2014 01:00) to the end: 47 stamps.
        {"formulas from 1425", 1, At(1425, 1, 1), At(2014, 11, 2), 0, 47},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Configure(c.method, c.begin, c.end);
        const size_t before = StoredRows();
        EXPECT_EQ(Run({At(2014, 11, 1, 1), At(2014, 11, 1, 2)}), c.code);
        EXPECT_EQ(StoredRows() - before, c.rows);
        if (c.code == 2) {
            const auto& lines = FakeHost::StatusLines();
            ASSERT_GE(lines.size(), 2u);
            EXPECT_TRUE(
                lines[lines.size() - 2].second.starts_with("Период прохода параметра 12 слишком велик: с "
                                                           "01.11.2014 01:00:00 по 01.01.10000 00:00:00 "
                                                           "больше 10000000 штампов"))
                << lines[lines.size() - 2].second;
            EXPECT_EQ(LastStatus(), "Статус выполнения: Некорректный сценарий");
        }
    }
}

// Every stamp runs into "Stack overflow", caught by the element's own guard: the run goes on and
// ends, the element reported as not fully computed.
TEST_F(RunawayTaskTest, AFormulaRecursingWithoutEndFailsItsElementAtEachStamp) {
    Configure(1, At(2014, 11, 1), At(2014, 11, 1, 3));
    settings_.WriteString(section_, "CommonScript",
                          "function Deep(n: Integer): Integer; begin Result := Deep(n + 1) + 1; end;");
    SetFormula("26.99.3", "%Result0% := Deep(0)");
    EXPECT_EQ(Run({At(2014, 11, 1, 1)}), 0);
    EXPECT_EQ(StoredRows(), 5u); // the half-hours from the first row, 01:00 to 03:00
    EXPECT_NE(RunLog().find("Элемент: 26.99.3: "), std::string::npos);
    EXPECT_NE(RunLog().find(" | Ошибка: Stack overflow"), std::string::npos);
}

} // namespace
} // namespace tl::test
