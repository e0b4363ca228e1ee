#include "data_test_support.hpp"
#include "tldata/data_requests.hpp"

#include <gtest/gtest.h>

namespace tl {
namespace {

using test::At;
using test::RecordingTask;
using Lines = std::vector<std::string>;
const std::vector<Variant> kZero = {Variant::Int32(0)};

// The data request of pass 7 (parameter 12) and the momentary request (parameter 1100), with
// elements and without: an empty filter sends an empty query; only the data request logs that.
TEST(DataRequestTest, SendsTheFilteredQueryAndLogsItsElementsTextAndParameters) {
    const auto sql = [](const char* parnumber, const char* filter) {
        return std::string("select * from data where parnumber = ") + parnumber +
               " and data_date between :sdt and :edt and " + filter +
               " order by data_date, season, object, item";
    };
    const std::string data = sql(":pn1", "((object = 100 and objtype = 0 and item in (1, 2)))");
    const std::string momentary = sql("1100", "((object = 26 and objtype = 99 and item in (517)))");
    const std::string banner = "-------------------Запрос данных----------------------";
    const Variant begin = Variant::DateTime(At(2014, 11, 1, 0, 29, 50));
    const Variant end = Variant::DateTime(At(2014, 11, 2));
    const char* const stamps[] = {"\t01.11.2014 00:29:50.000", "\t02.11.2014 00:00:00.000"};
    const struct {
        bool momentary;
        std::vector<ElementAddress> elements;
        std::string sql;
        std::vector<Variant> params;
        Lines log;
    } cases[] = {
        {false,
         {{100, 0, 2}, {100, 0, 1}},
         data,
         {Variant::Int32(12), begin, end},
         {"", banner, "100.0.1", "100.0.2", "", "----", "SQL:", data, "", "Параметры:", "\t12", stamps[0],
          stamps[1]}},
        {true,
         {{26, 99, 0x0205}},
         momentary,
         {begin, end},
         {"", "-------------------RequestMomentary----------------------", "26.99.517", "", "----",
          "SQL:", momentary, "", "Параметры:", stamps[0], stamps[1]}},
        {false, {}, "", kZero, {"", banner, "Нет элементов для запроса: запрос не отправлен"}},
        {true, {}, "", kZero, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql + (c.momentary ? " momentary" : " data"));
        TSQLItemParamContainer filter;
        for (const ElementAddress& e : c.elements) {
            filter.Add(e.object, e.type, e.item);
        }
        RecordingTask task;
        if (c.momentary) {
            RequestMomentary(task, filter, At(2014, 11, 1, 0, 30), At(2014, 11, 2));
        } else {
            RequestData(task, filter, 7, At(2014, 11, 1, 0, 30), At(2014, 11, 2));
        }
        ASSERT_EQ(task.queries.size(), 1u);
        EXPECT_EQ(task.queries[0].sql, c.sql);
        EXPECT_EQ(task.queries[0].params, c.params);
        EXPECT_EQ(task.log, c.log);
    }
}

TEST(DiscretenessTest, OnlyMinutesUpTo30AndSecondsAreSupported) {
    struct Case {
        int32_t kind, value; // -1: no row for parameter 1100
        bool supported;
        const char* shown;
    } const cases[] = {
        {5, 30, true, "Тип: [Минута] | Значение: [30]"},
        {5, 31, false, "Тип: [Минута] | Значение: [31]"},
        {5, 0, false, "Тип: [Минута] | Значение: [0]"},
        {6, 3600, true, "Тип: [Секунда] | Значение: [3600]"},
        {4, 1, false, "Тип: [Час] | Значение: [1]"},
        {9, 1, false, "Тип: [Не известно] | Значение: [1]"},
        {0x85, 5, false, "Тип: [Минута] | Значение: [5]"}, // named by its low seven bits only
        {-1, -1, false, "Тип: [Год] | Значение: [0]"},
    };
    for (const auto& c : cases) {
        test::MeteringDb db;
        if (c.kind < 0) {
            db.Execute("delete from parameters where parnumber = 1100");
        } else {
            db.Execute("update parameters set discrettype = :k, discretvalue = :v where parnumber = 1100",
                       {Variant::Int32(c.kind), Variant::Int32(c.value)});
        }
        RecordingTask task;
        RequestDiscreteness(task);
        ASSERT_EQ(task.queries.size(), 1u);
        EXPECT_EQ(task.queries[0].sql, "select * from parameters where parnumber = 1100");
        EXPECT_EQ(task.queries[0].params, kZero);
        auto answer = db.Query(task.queries[0].sql, task.queries[0].params);

        TSQLItemParamContainer momentary;
        momentary.Add(26, 99, 5);
        const auto accepted = CheckMomentaryDiscreteness(task, answer.get(), momentary);
        const std::string refusal = std::string("Дискретность мгновенных величин не поддерживается. ") +
                                    c.shown + ". Поддерживаемая дискретность: [Секунды, Минуты (1-30)]";
        const std::string logged = c.supported ? std::string(c.shown) + "." : refusal;
        EXPECT_EQ(task.log,
                  (Lines{"", "-------------------Дискретность 1100----------------------", logged}));
        EXPECT_EQ(task.status, c.supported ? Lines{} : Lines{refusal});
        EXPECT_EQ(momentary.Empty(), !c.supported) << c.shown;
        ASSERT_EQ(accepted.has_value(), c.supported) << c.shown;
        if (accepted) {
            EXPECT_EQ(*accepted, (Discreteness{static_cast<DiscretKind>(c.kind), c.value}));
        }
    }
}

} // namespace
} // namespace tl
