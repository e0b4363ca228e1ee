// The progress line names each query of a run by the pass or step it belongs to.
#include "tlhost/query_label.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace tl::host {
namespace {

using namespace std::chrono_literals;

TlVariant Int(int32_t v) {
    return {TL_VT_INT32, {.i32 = v}};
}
TlVariant Date(double v) {
    return {TL_VT_DATETIME, {.date_time = v}};
}

TEST(QueryLabelTest, NamesThePassOrStep) {
    const std::string data_sql = "select * from data where parnumber = :pn1 and data_date between :sdt and "
                                 ":edt and ((object = 17 and objtype = 0 and item in (1, 2))) order by "
                                 "data_date, season, object, item";
    struct Case {
        std::string sql;
        std::vector<TlVariant> params;
        std::string label;
    } const cases[] = {
        {data_sql, {Int(26), Date(45651), Date(45665)}, "суточная энергия (26)"},
        {data_sql, {Int(99), Date(45651), Date(45665)}, "параметр 99"},
        // :pn1 in another place than first: the value bound to it counts, not the first value.
        {"select * from data where data_date between :sdt and :edt and parnumber = :pn1",
         {Date(45651), Date(45665), Int(56)},
         "годовая энергия (56)"},
        {"select * from data where parnumber = 1100 and data_date between :sdt and :edt and (x) order by "
         "data_date",
         {Date(45651), Date(45665)},
         "мгновенные значения (1100)"},
        {"select * from parameters where parnumber = 1100",
         {Int(0)},
         "дискретность мгновенных значений (1100)"},
        {"select el.evtype as evtype from eventlist el where evcode in (3001, 3002)",
         {Date(45651)},
         "состояния элементов"},
        {"", {Int(0)}, "нечего запрашивать"},
        {data_sql, {}, "запрос"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DescribeQuery(c.sql, c.params), c.label) << c.sql;
    }
}

// Cut by characters, not bytes: the Cyrillic text is two bytes a letter.
TEST(QueryLabelTest, TheProgressLineFitsTheTerminal) {
    const std::pair<int, std::string> cases[] = {{80, "… суточная энергия (26): запрос данных · 12.3 с"},
                                                 {47, "… суточная энергия (26): запрос данных · 12.3 с"},
                                                 {10, "… суточная"},
                                                 {0, ""}};
    for (const auto& [width, expected] : cases) {
        EXPECT_EQ(FormatProgressLine("суточная энергия (26)", "запрос данных", 12'345ms, width), expected)
            << width;
    }
}

} // namespace
} // namespace tl::host
