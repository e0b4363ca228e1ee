// The progress line names each query of a run by the pass or step it belongs to.
#include "tlhost/query_label.hpp"

#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace tl::host {
namespace {

using namespace std::chrono_literals;

constexpr std::string_view kDataSql =
    "select * from data where parnumber = :pn1 and data_date between :sdt and "
    ":edt and ((object = 17 and objtype = 0 and item in (1, 2))) order by "
    "data_date, season, object, item";

struct QueryCase {
    const char* name;
    std::string sql;
    std::vector<TlVariant> params;
    std::string label;
};

TlVariant Int(int32_t v) {
    return {TL_VT_INT32, {.i32 = v}};
}
TlVariant Date(double v) {
    return {TL_VT_DATETIME, {.date_time = v}};
}

void PrintTo(const QueryCase& c, std::ostream* os) {
    *os << c.name;
}

class DescribeQueryTest : public ::testing::TestWithParam<QueryCase> {};

TEST_P(DescribeQueryTest, NamesThePassOrStep) {
    const QueryCase& c = GetParam();
    EXPECT_EQ(DescribeQuery(c.sql, c.params), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    Queries, DescribeQueryTest,
    ::testing::Values(
        QueryCase{"HalfHourPass",
                  std::string(kDataSql),
                  {Int(12), Date(45651), Date(45665)},
                  "30-минутная мощность (12)"},
        QueryCase{
            "DayPass", std::string(kDataSql), {Int(26), Date(45651), Date(45665)}, "суточная энергия (26)"},
        QueryCase{"AdditionalPass",
                  std::string(kDataSql),
                  {Int(7), Date(45651), Date(45665)},
                  "5-минутная мощность (7)"},
        QueryCase{
            "UnknownParameter", std::string(kDataSql), {Int(99), Date(45651), Date(45665)}, "параметр 99"},
        // :pn1 in another place than first: the value bound to it counts, not the first value.
        QueryCase{"ParameterAfterDates",
                  "select * from data where data_date between :sdt and :edt and parnumber = :pn1",
                  {Date(45651), Date(45665), Int(56)},
                  "годовая энергия (56)"},
        QueryCase{
            "MomentaryValues",
            "select * from data where parnumber = 1100 and data_date between :sdt and :edt and (x) order by "
            "data_date",
            {Date(45651), Date(45665)},
            "мгновенные значения (1100)"},
        QueryCase{"Discreteness",
                  "select * from parameters where parnumber = 1100",
                  {Int(0)},
                  "дискретность мгновенных значений (1100)"},
        QueryCase{"ElementStates",
                  "select el.evtype as evtype from eventlist el where evcode in (3001, 3002)",
                  {Date(45651)},
                  "состояния элементов"},
        QueryCase{"EmptyQuery", "", {Int(0)}, "нечего запрашивать"},
        QueryCase{"ParameterMissing", std::string(kDataSql), {}, "запрос"}),
    [](const auto& p) { return p.param.name; });

struct LineCase {
    int width;
    std::string expected;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << "width " << c.width;
}

class ProgressLineTest : public ::testing::TestWithParam<LineCase> {};

// Cut by characters, not bytes: the Cyrillic text is two bytes a letter.
TEST_P(ProgressLineTest, FitsTheTerminal) {
    EXPECT_EQ(FormatProgressLine("суточная энергия (26)", "запрос данных", 12'345ms, GetParam().width),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Widths, ProgressLineTest,
                         ::testing::Values(LineCase{80, "… суточная энергия (26): запрос данных · 12.3 с"},
                                           LineCase{47, "… суточная энергия (26): запрос данных · 12.3 с"},
                                           LineCase{10, "… суточная"}, LineCase{0, ""}));

} // namespace
} // namespace tl::host
