// Whole runs of the arbitrary formula: formulas and metering data in a SQLite database, the task
// started through the driver's exports by the host service, the stored rows compared with values
// worked out by hand from the rows, and the run log read back.
#include "scenario_support.hpp"

#include <algorithm>
#include <cmath>
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tl::test {
namespace {

using Lines = std::vector<std::string>;

constexpr int64_t kBit = 0x40000;
constexpr const char* kSuccess = "Статус выполнения: Успешный расчёт";
constexpr const char* kClosingBanner = "----------------Не рассчитанные объекты-------------------";

struct Element {
    int32_t object;
    int32_t type;
    int32_t item;

    friend bool operator==(const Element&, const Element&) = default;
    std::string Text() const { return fmt::format("{}.{}.{}", object, type, item); }
};

struct Expected {
    int32_t par_number;
    const char* stamp;
    Element element;
    double value0;
    double value1;
};

void ExpectRows(const std::vector<StoredRow>& rows, const std::vector<Expected>& expected) {
    ASSERT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const Expected& e = expected[i];
        SCOPED_TRACE(std::to_string(i) + ": " + std::to_string(e.par_number) + " " + e.stamp + " " +
                     e.element.Text());
        EXPECT_EQ(rows[i].par_number, e.par_number);
        EXPECT_EQ(rows[i].stamp, e.stamp);
        EXPECT_EQ((Element{rows[i].object, rows[i].type, rows[i].item}), e.element);
        EXPECT_NEAR(rows[i].value0, e.value0, 1e-9 * std::max(1.0, std::fabs(e.value0)));
        EXPECT_NEAR(rows[i].value1, e.value1, 1e-9 * std::max(1.0, std::fabs(e.value1)));
        EXPECT_EQ(rows[i].status, 0);
    }
}

size_t CountLines(const Lines& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// The lines of the log from the one after `banner` up to the next empty line.
Lines Section(const Lines& log, const std::string& banner) {
    auto at = std::find(log.begin(), log.end(), banner);
    Lines section;
    if (at == log.end()) {
        section.push_back("<no section " + banner + ">");
        return section;
    }
    for (++at; at != log.end() && !at->empty(); ++at) {
        section.push_back(*at);
    }
    return section;
}

// Whether `part` occurs in `log` as consecutive lines.
bool HasRun(const Lines& log, const Lines& part) {
    return std::search(log.begin(), log.end(), part.begin(), part.end()) != log.end();
}

class FormulaScenarioTest : public ::testing::Test {
protected:
    Installation site_;
};

TEST_F(FormulaScenarioTest, EnergiesPowersAndIntervalLengthsOfEveryPassComeFromTheRowsOfTheirStamp) {
    site_.FormulaTask(At(2015, 1, 1), At(2015, 4, 1));
    site_.Formula("100.0.1", "%Result0% := W(100, 1); %Result1% := P(100, 1)");
    site_.Formula("100.0.2", "%Result0% := T; %Result1% := Parnumber(0)");
    site_.AddData(12, 100, 1, At(2015, 3, 31, 23, 30), 100, kBit); // the bit is not passed on
    site_.AddData(12, 100, 1, At(2015, 4, 1), 60);
    site_.AddData(18, 100, 1, At(2015, 4, 1), 100);
    site_.AddData(26, 100, 1, At(2015, 4, 1), 2400);
    site_.AddData(36, 100, 1, At(2015, 2, 1), 1000);
    site_.AddData(36, 100, 1, At(2015, 3, 1), 2000);
    site_.AddData(36, 100, 1, At(2015, 4, 1), 3000);
    site_.AddData(46, 100, 1, At(2015, 4, 1), 6000);
    site_.AddData(56, 100, 1, At(2015, 1, 1), 50000);
    site_.MomentaryDiscreteness(5, 3);

    const DateTime before = Now();
    const RunOutcome outcome = site_.Run();
    const DateTime after = Now();
    EXPECT_EQ(outcome.code, 0);
    EXPECT_EQ(site_.Status(),
              (Lines{"Начало работы", "Начало - 01.01.2015 00:00:00, окончание - 01.04.2015 00:00:00 ",
                     "Общее количество объектов, подлежащих расчету: 2", kSuccess}));

    // Half-hours: W is half the stored power; from the day on P doubles the stored energy. T of
    // a month counts the days of the month before the stamp; the quarter's 90 days, the year 2014.
    const Element a{100, 0, 1};
    const Element b{100, 0, 2};
    const std::vector<StoredRow> rows = site_.Results();
    ExpectRows(rows, {
                         {30012, "31.03.2015 23:30:00", a, 50, 100},
                         {30012, "31.03.2015 23:30:00", b, 0.5, 12},
                         {30012, "01.04.2015 00:00:00", a, 30, 60},
                         {30012, "01.04.2015 00:00:00", b, 0.5, 12},
                         {30018, "01.04.2015 00:00:00", a, 100, 100},
                         {30018, "01.04.2015 00:00:00", b, 1, 18},
                         {30026, "01.04.2015 00:00:00", a, 2400, 4800},
                         {30026, "01.04.2015 00:00:00", b, 24, 26},
                         {30036, "01.02.2015 00:00:00", a, 1000, 2000},
                         {30036, "01.02.2015 00:00:00", b, 744, 36},
                         {30036, "01.03.2015 00:00:00", a, 2000, 4000},
                         {30036, "01.03.2015 00:00:00", b, 672, 36},
                         {30036, "01.04.2015 00:00:00", a, 3000, 6000},
                         {30036, "01.04.2015 00:00:00", b, 744, 36},
                         {30046, "01.04.2015 00:00:00", a, 6000, 12000},
                         {30046, "01.04.2015 00:00:00", b, 2160, 46},
                         {30056, "01.01.2015 00:00:00", a, 50000, 100000},
                         {30056, "01.01.2015 00:00:00", b, 8760, 56},
                     });
    // Each row carries the moment it was built.
    for (const StoredRow& row : rows) {
        EXPECT_GE(ToMillis(row.received_at), ToMillis(before));
        EXPECT_LE(ToMillis(row.received_at), ToMillis(after));
    }
    const Lines log = site_.RunLog();
    EXPECT_EQ(log.back(), kClosingBanner);
    EXPECT_EQ(Section(log, "-------------------Дискретность 1100----------------------"),
              (Lines{"Тип: [Минута] | Значение: [3]."}));
}

TEST_F(FormulaScenarioTest, MomentaryValuesAreTheLatestOfTheirWindowAndSubDevicesReadTheirDevice) {
    site_.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 1, 0));
    site_.MomentaryDiscreteness(6, 10);
    site_.Formula("26.99.3", "%Result0% := Ua(26, 98, 2); %Result1% := M(26, 99, 0, 13)");
    site_.Formula("26.99.4", "%Result0% := W2(26, 99, 4); %Result1% := Ia(26, 99, 0)");
    site_.AddRow(12, 26, 99, 4, At(2014, 11, 1, 0, 30), 80);
    site_.AddRow(12, 26, 99, 4, At(2014, 11, 1, 1, 0), 40);
    // Ua of sub-device 2 is kept on the device under 0x0200 | 13.
    site_.AddRow(1100, 26, 99, 0x020D, At(2014, 11, 1, 0, 10), 220);
    site_.AddRow(1100, 26, 99, 0x020D, At(2014, 11, 1, 0, 20), 225);
    site_.AddRow(1100, 26, 99, 0x020D, At(2014, 11, 1, 0, 40), 228);
    // Ua of the device itself: a row exactly at the 00:30 stamp belongs to it, not to 01:00.
    site_.AddRow(1100, 26, 99, 13, At(2014, 11, 1, 0, 30), 230);
    site_.AddRow(1100, 26, 99, 13, At(2014, 11, 1, 0, 59), 231);
    site_.AddRow(1100, 26, 99, 16, At(2014, 11, 1, 0, 45), 7);
    site_.AddRow(1100, 26, 99, 17, At(2014, 11, 1, 0, 45), 999); // asked by no formula

    EXPECT_EQ(site_.Run().code, 0);
    const Element u{26, 99, 3};
    const Element w{26, 99, 4};
    ExpectRows(site_.Results(), {
                                    {30012, "01.11.2014 00:30:00", u, 225, 230},
                                    {30012, "01.11.2014 00:30:00", w, 40, 0},
                                    {30012, "01.11.2014 01:00:00", u, 228, 231},
                                    {30012, "01.11.2014 01:00:00", w, 20, 7},
                                });
    const Lines log = site_.RunLog();
    EXPECT_EQ(Section(log, "-------------------Дискретность 1100----------------------"),
              (Lines{"Тип: [Секунда] | Значение: [10]."}));
    EXPECT_EQ(Section(log, "-------------------RequestMomentary----------------------"),
              (Lines{"26.99.13", "26.99.16", "26.99.525"}));
    EXPECT_EQ(site_.Status().back(), kSuccess);
}

TEST_F(FormulaScenarioTest, StatesOfMeasurementObjectsAndDiscreteInputsAtEachStamp) {
    site_.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 1, 0));
    site_.MomentaryDiscreteness(5, 30);
    site_.Formula("100.0.1", "%Result0% := MO(8); %Result1% := DI(7, 3)");
    site_.Formula("100.0.2", "%Result0% := MO(9); %Result1% := DI(7, 4)"); // no events: unknown
    // The measurement object's events come from its state source with the new state as the item.
    site_.AddEvent(4002, 8, 96, 3, At(2014, 10, 31, 12, 0));
    site_.AddEvent(4002, 8, 96, 5, At(2014, 11, 1, 0, 45));
    site_.AddEvent(3002, 7, 97, 3, At(2014, 10, 31, 12, 0));
    site_.AddEvent(3001, 7, 97, 3, At(2014, 11, 1, 0, 45));
    for (const DateTime stamp : {At(2014, 11, 1, 0, 30), At(2014, 11, 1, 1, 0)}) {
        site_.AddData(12, 100, 1, stamp, 1);
    }

    EXPECT_EQ(site_.Run().code, 0);
    const Element a{100, 0, 1};
    const Element b{100, 0, 2};
    ExpectRows(site_.Results(), {
                                    {30012, "01.11.2014 00:30:00", a, 3, 0},
                                    {30012, "01.11.2014 00:30:00", b, -1, -1},
                                    {30012, "01.11.2014 01:00:00", a, 5, 1},
                                    {30012, "01.11.2014 01:00:00", b, -1, -1},
                                });
}

TEST_F(FormulaScenarioTest, APercentOutOfRangeLeavesItsIntervalWithoutRowsAndEveryElementWithAnError) {
    site_.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 1, 0));
    site_.MomentaryDiscreteness(5, 3);
    site_.Formula("100.0.1", "percent(100, W(100, 1))");
    site_.Formula("100.0.2", "W(100, 2)");
    site_.AddData(12, 100, 1, At(2014, 11, 1, 0, 30), 100);
    site_.AddData(12, 100, 1, At(2014, 11, 1, 1, 0), 300); // 150 %
    site_.AddData(12, 100, 2, At(2014, 11, 1, 0, 30), 20);
    site_.AddData(12, 100, 2, At(2014, 11, 1, 1, 0), 20);

    EXPECT_EQ(site_.Run().code, 0);
    ExpectRows(site_.Results(), {
                                    {30012, "01.11.2014 00:30:00", {100, 0, 1}, 50, 0},
                                    {30012, "01.11.2014 00:30:00", {100, 0, 2}, 10, 0},
                                });
    EXPECT_EQ(CountLines(site_.Status(), "Ошибка выполнения скрипта"), 1u);
    EXPECT_EQ(site_.Status().back(), "Следующие элементы рассчитаны не полностью: 100.0.1, 100.0.2");
    const Lines log = site_.RunLog();
    const std::string error = "\t\t01.11.2014 01:00:00 | Ошибка: Не сформирован результат выполнения скрипта";
    EXPECT_TRUE(HasRun(log, {kClosingBanner, "Элемент: 100.0.1: ", error, "Элемент: 100.0.2: ", error}));
}

TEST_F(FormulaScenarioTest, ADivisionByZeroCostsOnlyItsOwnElementItsValue) {
    site_.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 0, 30));
    site_.MomentaryDiscreteness(5, 3);
    site_.Formula("100.0.1", "%Result0% := W(100, 1) / W(100, 2); %Result1% := 7");
    site_.Formula("100.0.2", "W(100, 2) + 1");
    site_.AddData(12, 100, 1, At(2014, 11, 1, 0, 30), 100);

    EXPECT_EQ(site_.Run().code, 0);
    // The failing block prints its error for both results: its row holds zeros.
    ExpectRows(site_.Results(), {
                                    {30012, "01.11.2014 00:30:00", {100, 0, 1}, 0, 0},
                                    {30012, "01.11.2014 00:30:00", {100, 0, 2}, 1, 0},
                                });
    EXPECT_EQ(site_.Status().back(), "Следующие элементы рассчитаны не полностью: 100.0.1");
    EXPECT_TRUE(
        HasRun(site_.RunLog(),
               {"Элемент: 100.0.1: ", "\t\t01.11.2014 00:30:00 | Ошибка: Floating point division by zero"}));
}

TEST_F(FormulaScenarioTest, RowsAreWrittenAtEveryStampFromTheFirstRowOnAlsoWithoutData) {
    site_.FormulaTask(At(2014, 11, 1, 0, 30), At(2014, 11, 1, 2, 0));
    site_.MomentaryDiscreteness(5, 3);
    site_.Formula("100.0.1", "W(100, 1)");
    site_.AddData(12, 100, 1, At(2014, 11, 1, 0, 30), 100);

    EXPECT_EQ(site_.Run().code, 0);
    const Element a{100, 0, 1};
    ExpectRows(site_.Results(), {
                                    {30012, "01.11.2014 00:30:00", a, 50, 0},
                                    {30012, "01.11.2014 01:00:00", a, 0, 0},
                                    {30012, "01.11.2014 01:30:00", a, 0, 0},
                                    {30012, "01.11.2014 02:00:00", a, 0, 0},
                                });
}

TEST_F(FormulaScenarioTest, AFormulaThatDoesNotCompileEndsTheRunInStartWithItsMessagesInTheLog) {
    site_.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 1, 0));
    site_.Formula("100.0.1", "W(100, 1) +");
    site_.AddData(12, 100, 1, At(2014, 11, 1, 0, 30), 100);

    const RunOutcome outcome = site_.Run();
    EXPECT_EQ(outcome.code, 2);
    EXPECT_EQ(outcome.queries, 0);
    EXPECT_EQ(
        site_.Status(),
        (Lines{"Начало работы", "Начало - 01.11.2014 00:00:00, окончание - 01.11.2014 01:00:00 ",
               "Общее количество объектов, подлежащих расчету: 1", "Ошибка компиляции (См. файл tlosses.log)",
               "Статус выполнения: Некорректный сценарий"}));
    const Lines log = site_.RunLog();
    const Lines messages = Section(log, "-------------------Ошибки компиляции----------------------");
    ASSERT_FALSE(messages.empty());
    for (const std::string& message : messages) {
        EXPECT_TRUE(message.starts_with("Синтаксическая ошибка: ")) << message;
        EXPECT_NE(message.find("[строка: "), std::string::npos) << message;
    }
    // Nothing was run: no collection lists.
    EXPECT_EQ(CountLines(log, "-------------------Ошибки выполнения----------------------"), 0u);
    EXPECT_EQ(log.back(), kClosingBanner);
    EXPECT_TRUE(site_.Results().empty());
}

TEST_F(FormulaScenarioTest, OutputThatDoesNotPairUpWithTheElementsEndsTheRunAsAnInternalError) {
    struct Case {
        const char* name;
        std::string common;
        std::string second_formula;
        Lines errors_of_first; // in the run log, under 100.0.1
    } const cases[] = {
        // A line printed ahead of everything: element 0 reads it as its Result0 line, and one line
        // is left over after the last element.
        {"common print",
         "PrintLn('Отладка');",
         "2",
         {"\t\t01.11.2014 00:30:00 | Ошибка: нет значения Value0",
          "\t\t01.11.2014 00:30:00 | Ошибка: нет значения Value1"}},
        // The program stops in the middle of the second element's lines: its Result1 line is
        // missing.
        {"odd line count", "", "%Result1% := 0; Print('Result0=7'); Exit", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Installation site;
        site.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 0, 30), c.common);
        site.MomentaryDiscreteness(5, 3);
        site.Formula("100.0.1", "1");
        site.Formula("100.0.2", c.second_formula);
        site.Formula("100.0.3", "3");
        site.AddData(12, 100, 1, At(2014, 11, 1, 0, 30), 100);

        EXPECT_EQ(site.Run().code, 6);
        EXPECT_TRUE(site.Results().empty());
        EXPECT_EQ(CountLines(site.Status(), kSuccess), 0u);
        const Lines log = site.RunLog();
        const auto failure = std::find_if(log.begin(), log.end(), [](const std::string& line) {
            return line.starts_with("Внутренняя ошибка: ");
        });
        EXPECT_NE(failure, log.end());
        Lines expected_tail = {kClosingBanner};
        if (!c.errors_of_first.empty()) {
            expected_tail.push_back("Элемент: 100.0.1: ");
            expected_tail.insert(expected_tail.end(), c.errors_of_first.begin(), c.errors_of_first.end());
        }
        EXPECT_TRUE(HasRun(log, expected_tail));
    }
}

TEST_F(FormulaScenarioTest, AnUnsupportedDiscretenessLeavesTheMomentaryValuesOutAndTheRunGoesOn) {
    site_.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 0, 30));
    site_.MomentaryDiscreteness(4, 1);
    site_.Formula("26.99.4", "%Result0% := Ua(26, 99, 0); %Result1% := W2(26, 99, 4)");
    site_.AddRow(12, 26, 99, 4, At(2014, 11, 1, 0, 30), 80);
    site_.AddRow(1100, 26, 99, 13, At(2014, 11, 1, 0, 20), 230);

    EXPECT_EQ(site_.Run().code, 0);
    const std::string refused =
        "Дискретность мгновенных величин не поддерживается. Тип: [Час] | Значение: [1]. "
        "Поддерживаемая дискретность: [Секунды, Минуты (1-30)]";
    EXPECT_EQ(CountLines(site_.Status(), refused), 1u);
    EXPECT_EQ(site_.Status().back(), kSuccess);
    ExpectRows(site_.Results(), {{30012, "01.11.2014 00:30:00", {26, 99, 4}, 0, 40}});
    const Lines log = site_.RunLog();
    EXPECT_EQ(Section(log, "-------------------Дискретность 1100----------------------"), (Lines{refused}));
    EXPECT_EQ(CountLines(log, "-------------------RequestMomentary----------------------"), 0u);
}

TEST_F(FormulaScenarioTest, TheRunLogShowsTheScriptAndWhatTheFormulasRead) {
    site_.FormulaTask(At(2014, 11, 1, 0, 0), At(2014, 11, 1, 0, 30), "var k: Float;");
    site_.MomentaryDiscreteness(5, 3);
    site_.Formula("26.99.3", "%Result0% := W2($1A, 99, 3) + Qabc(26, 98, 2); %Result1% := DI(7, 3) + MO(8)");

    EXPECT_EQ(site_.Run().code, 0);
    const Lines log = site_.RunLog();
    EXPECT_TRUE(HasRun(log, {"---------------------Начало скрипта-----------------------",
                             "//############# Общая часть #############", "var k: Float;",
                             "//############# Основная часть #############",
                             "var __var0, __var1: array [1..1] of Float;"}));
    EXPECT_TRUE(
        HasRun(log, {"end;", "-------------------Окончание скрипта----------------------", "",
                     "-------------------Ошибки компиляции----------------------", "",
                     "-------------------Ошибки выполнения----------------------", "",
                     "------------------Мощность по устройствам-----------------", "$001A(26).99.3", "",
                     "------------------Мгновенные величины----------------------",
                     "$001A(26).99.517 => SubDevice: [$001A(26).98.2.5]", "",
                     "------------------ОИ/ДВ----------------------", "$0007(7).97.3", "$0008(8).95.0", ""}));
}

} // namespace
} // namespace tl::test
