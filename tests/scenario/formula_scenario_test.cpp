// Whole runs of the arbitrary formula: formulas and metering data in a SQLite database, the task
// started through the driver's exports by the host service, the stored rows compared with values
// worked out by hand from the rows, and the run log read back.
#include "scenario_support.hpp"

#include <algorithm>
#include <gtest/gtest.h>

namespace tl::test {
namespace {

const char* const kCompileErrors = "-------------------Ошибки компиляции----------------------";
const char* const kRunErrors = "-------------------Ошибки выполнения----------------------";

TEST(FormulaScenarioTest, EnergiesPowersAndIntervalLengthsOfEveryPassComeFromTheRowsOfTheirStamp) {
    Installation site;
    site.FormulaTask(At(2015, 1, 1), At(2015, 4, 1));
    site.Formula("100.0.1", "%Result0% := W(100, 1); %Result1% := P(100, 1)");
    site.Formula("100.0.2", "%Result0% := T; %Result1% := Parnumber(0)");
    site.AddRow(12, "100.0.1", At(2015, 3, 31, 23, 30), 100, kBit); // the bit is not passed on
    site.AddRow(12, "100.0.1", At(2015, 4, 1), 60);
    site.AddRow(18, "100.0.1", At(2015, 4, 1), 100);
    site.AddRow(26, "100.0.1", At(2015, 4, 1), 2400);
    site.AddRow(36, "100.0.1", At(2015, 4, 1), 3000);
    site.AddRow(46, "100.0.1", At(2015, 4, 1), 6000);
    site.AddRow(56, "100.0.1", At(2015, 1, 1), 50000);

    EXPECT_EQ(site.Run().code, 0);
    EXPECT_EQ(site.Status().back(), kSuccess); // the lines of a run are AFixedPeriod...'s

    // Half-hours: W is half the stored power; from the day on P doubles the stored energy. T of
    // a month counts the days of the month before the stamp; the quarter's 90 days, the year 2014.
    ExpectRows(site.Results(), {
                                   {30012, "31.03.2015 23:30:00", "100.0.1", 50, 100},
                                   {30012, "31.03.2015 23:30:00", "100.0.2", 0.5, 12},
                                   {30012, "01.04.2015 00:00:00", "100.0.1", 30, 60},
                                   {30012, "01.04.2015 00:00:00", "100.0.2", 0.5, 12},
                                   {30018, "01.04.2015 00:00:00", "100.0.1", 100, 100},
                                   {30018, "01.04.2015 00:00:00", "100.0.2", 1, 18},
                                   {30026, "01.04.2015 00:00:00", "100.0.1", 2400, 4800},
                                   {30026, "01.04.2015 00:00:00", "100.0.2", 24, 26},
                                   {30036, "01.04.2015 00:00:00", "100.0.1", 3000, 6000},
                                   {30036, "01.04.2015 00:00:00", "100.0.2", 744, 36},
                                   {30046, "01.04.2015 00:00:00", "100.0.1", 6000, 12000},
                                   {30046, "01.04.2015 00:00:00", "100.0.2", 2160, 46},
                                   {30056, "01.01.2015 00:00:00", "100.0.1", 50000, 100000},
                                   {30056, "01.01.2015 00:00:00", "100.0.2", 8760, 56},
                               });
}

TEST(FormulaScenarioTest, MomentaryValuesAreTheLatestOfTheirWindowAndSubDevicesReadTheirDevice) {
    Installation site;
    site.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 1, 0));
    site.MomentaryDiscreteness(6, 10);
    site.Formula("26.99.3", "%Result0% := Ua(26, 98, 2); %Result1% := M(26, 99, 0, 13)");
    site.Formula("26.99.4", "%Result0% := W2($1A, 99, 4); %Result1% := Ia(26, 99, 0)");
    site.AddRow(12, "26.99.4", At(2014, 11, 1, 0, 30), 80);
    site.AddRow(12, "26.99.4", At(2014, 11, 1, 1, 0), 40);
    // Ua of sub-device 2 is kept on the device under 0x0200 | 13.
    site.AddRow(1100, "26.99.525", At(2014, 11, 1, 0, 20), 225);
    site.AddRow(1100, "26.99.525", At(2014, 11, 1, 0, 40), 228);
    // Ua of the device itself: a row exactly at the 00:30 stamp belongs to it, not to 01:00.
    site.AddRow(1100, "26.99.13", At(2014, 11, 1, 0, 30), 230);
    site.AddRow(1100, "26.99.13", At(2014, 11, 1, 0, 59), 231);
    site.AddRow(1100, "26.99.16", At(2014, 11, 1, 0, 45), 7);

    EXPECT_EQ(site.Run().code, 0);
    ExpectRows(site.Results(), {
                                   {30012, "01.11.2014 00:30:00", "26.99.3", 225, 230},
                                   {30012, "01.11.2014 00:30:00", "26.99.4", 40, 0},
                                   {30012, "01.11.2014 01:00:00", "26.99.3", 228, 231},
                                   {30012, "01.11.2014 01:00:00", "26.99.4", 20, 7},
                               });
    EXPECT_EQ(site.Status().back(), kSuccess);
}

// The run log lists the states the collection pass saw, in order of use.
TEST(FormulaScenarioTest, StatesOfMeasurementObjectsAndDiscreteInputsAtEachStamp) {
    Installation site;
    site.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 1, 0));
    site.Formula("100.0.1", "%Result0% := MO(8); %Result1% := DI(7, 3)");
    site.Formula("100.0.2", "%Result0% := MO(9); %Result1% := DI(7, 4)"); // no events: unknown
    // The measurement object's events come from its state source with the new state as the item.
    site.AddEvent(4002, 8, 96, 3, At(2014, 10, 31, 12, 0));
    site.AddEvent(4002, 8, 96, 5, At(2014, 11, 1, 0, 45));
    site.AddEvent(3002, 7, 97, 3, At(2014, 10, 31, 12, 0));
    site.AddEvent(3001, 7, 97, 3, At(2014, 11, 1, 0, 45));
    site.AddRow(12, "100.0.1", At(2014, 11, 1, 0, 30), 1);
    site.AddRow(12, "100.0.1", At(2014, 11, 1, 1, 0), 1);

    EXPECT_EQ(site.Run().code, 0);
    ExpectRows(site.Results(), {
                                   {30012, "01.11.2014 00:30:00", "100.0.1", 3, 0},
                                   {30012, "01.11.2014 00:30:00", "100.0.2", -1, -1},
                                   {30012, "01.11.2014 01:00:00", "100.0.1", 5, 1},
                                   {30012, "01.11.2014 01:00:00", "100.0.2", -1, -1},
                               });
    EXPECT_EQ(Section(site.RunLog(), "------------------ОИ/ДВ----------------------"),
              (Lines{"$0008(8).95.0", "$0007(7).97.3", "$0009(9).95.0", "$0007(7).97.4"})); // in order of use
}

// Runs that go wrong. Script errors cost their stamp or element its values and the run goes on; a
// formula that does not compile ends the run in its start, before any query, with the engine's
// messages in the log; output that does not pair up with the elements ends the run as an internal
// error. (That a pass writes every stamp from its first row on is TaskRunTest's "formulas from 1425".)
TEST(FormulaScenarioTest, RunsWithErrors) {
    struct Row {
        const char* element;
        int minute; // of 01.11.2014
        double value;
    };
    struct Task {
        const char* name;
        int begin, end; // minutes of 01.11.2014
        const char* common = "";
    };
    struct Ending {
        int32_t code;
        bool queried; // false: the run ended before it asked for any data
    };
    struct Case {
        Task task;
        std::vector<std::pair<const char*, const char*>> formulas;
        std::vector<Row> data;
        Ending ending;
        std::vector<Expected> rows;
        Lines status;   // after the three lines of the start, exactly
        Lines log_tail; // the last lines of the run log, exactly
    } const cases[] = {
        // 150 %: the whole interval is left without rows and every element gets an error.
        {{"percent out of range", 0, 60},
         {{"100.0.1", "percent(100, W(100, 1))"}, {"100.0.2", "W(100, 2)"}},
         {{"100.0.1", 30, 100}, {"100.0.1", 60, 300}, {"100.0.2", 30, 20}, {"100.0.2", 60, 20}},
         {0, true},
         {{30012, "01.11.2014 00:30:00", "100.0.1", 50, 0}, {30012, "01.11.2014 00:30:00", "100.0.2", 10, 0}},
         {"Ошибка выполнения скрипта", kSuccess,
          "Следующие элементы рассчитаны не полностью: 100.0.1, 100.0.2"},
         {kClosingBanner, "Элемент: 100.0.1: ",
          "\t\t01.11.2014 01:00:00 | Ошибка: Не сформирован результат выполнения скрипта",
          "Элемент: 100.0.2: ",
          "\t\t01.11.2014 01:00:00 | Ошибка: Не сформирован результат выполнения скрипта"}},
        // The failing block prints its error for both results: its row holds zeros.
        {{"division by zero", 0, 30},
         {{"100.0.1", "%Result0% := W(100, 1) / W(100, 2); %Result1% := 7"}, {"100.0.2", "W(100, 2) + 1"}},
         {{"100.0.1", 30, 100}},
         {0, true},
         {{30012, "01.11.2014 00:30:00", "100.0.1", 0, 0}, {30012, "01.11.2014 00:30:00", "100.0.2", 1, 0}},
         {kSuccess, "Следующие элементы рассчитаны не полностью: 100.0.1"},
         {"Элемент: 100.0.1: ", "\t\t01.11.2014 00:30:00 | Ошибка: Floating point division by zero"}},
        // Nothing was run: no collection lists after the compile errors.
        {{"does not compile", 0, 60},
         {{"100.0.1", "W(100, 1) +"}},
         {{"100.0.1", 30, 100}},
         {2, false},
         {},
         {"Ошибка компиляции (См. файл tlosses.log)", "Статус выполнения: Некорректный сценарий"},
         {kClosingBanner}},
        // A line printed ahead of everything: element 0 reads it as its Result0 line, and one line
        // is left over after the last element.
        {{"common print", 0, 30, "PrintLn('Отладка');"},
         {{"100.0.1", "1"}, {"100.0.2", "2"}, {"100.0.3", "3"}},
         {{"100.0.1", 30, 100}},
         {6, true},
         {},
         {"Следующие элементы рассчитаны не полностью: 100.0.1, 100.0.2, 100.0.3"},
         {"Элемент: 100.0.3: ", "\t\t01.11.2014 00:30:00 | Ошибка: нет значения Value0",
          "\t\t01.11.2014 00:30:00 | Ошибка: нет значения Value1"}},
        // The program stops in the middle of the second element's lines: its Result1 line is missing.
        {{"odd line count", 0, 30},
         {{"100.0.1", "1"}, {"100.0.2", "%Result1% := 0; Print('Result0=7'); Exit"}, {"100.0.3", "3"}},
         {{"100.0.1", 30, 100}},
         {6, true},
         {},
         {},
         {kClosingBanner}},
    };
    const auto minute = [](int m) { return At(2014, 11, 1, m / 60, m % 60); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.task.name);
        Installation site;
        site.FormulaTask(minute(c.task.begin), minute(c.task.end), c.task.common);
        for (const auto& [key, formula] : c.formulas) {
            site.Formula(key, formula);
        }
        for (const Row& row : c.data) {
            site.AddRow(12, row.element, minute(row.minute), row.value);
        }
        const RunOutcome outcome = site.Run();
        EXPECT_EQ(outcome.code, c.ending.code);
        EXPECT_EQ(outcome.queries > 0, c.ending.queried);
        ExpectRows(site.Results(), c.rows);
        const auto tail = [](const Lines& lines, size_t n) {
            return Lines(lines.end() - static_cast<std::ptrdiff_t>(std::min(n, lines.size())), lines.end());
        };
        ASSERT_GE(site.Status().size(), 3u);
        EXPECT_EQ(Lines(site.Status().begin() + 3, site.Status().end()), c.status);
        const Lines log = site.RunLog();
        EXPECT_EQ(tail(log, c.log_tail.size()), c.log_tail);
        EXPECT_EQ(Section(log, kCompileErrors).empty(), c.ending.queried);
        EXPECT_EQ(CountLines(log, kRunErrors), c.ending.queried ? 1u : 0u);
        // Code 6 names its failure in the log.
        EXPECT_EQ(
            std::any_of(log.begin(), log.end(),
                        [](const std::string& line) { return line.starts_with("Внутренняя ошибка: "); }),
            c.ending.code == 6);
    }
}

// The host names the include directory it holds. (Without one the host names none,
// HostServiceTest.GetParamAnswersTheHostParameters, and the engine refuses every include.)
TEST(FormulaScenarioTest, TheCommonScriptIncludesFromTheHostsIncludeDirectory) {
    Installation site;
    site.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 0, 30), "{$I losses.inc}");
    site.IncludeFile("losses.inc", "const K = 3;");
    site.Formula("100.0.1", "K * 2");
    site.AddRow(12, "100.0.1", At(2014, 11, 1, 0, 30), 100);
    EXPECT_EQ(site.Run().code, 0);
    ExpectRows(site.Results(), {{30012, "01.11.2014 00:30:00", "100.0.1", 6, 0}});
}

} // namespace
} // namespace tl::test
