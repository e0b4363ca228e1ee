#include "tldata/data_requests.hpp"

#include "tldata/passes.hpp"
#include "tldata/result_reader.hpp"

#include <array>
#include <fmt/format.h>

namespace tl {
namespace {

constexpr int64_t kLeadMs = 10'000;

// Without parameters the host still expects the integer 0.
void RunEmptyQuery(RequestTask& task) {
    const std::array<Variant, 1> zero = {Variant::Int32(0)};
    task.RunQuery("", zero);
}

void LogFilter(RequestTask& task, std::string_view banner, const TSQLItemParamContainer& filter) {
    task.LogLine("");
    task.LogLine(banner);
    for (const ElementAddress& address : filter.Items()) {
        task.LogLine(FormatAddress(address));
    }
}

void LogSql(RequestTask& task, const std::string& sql) {
    task.LogLine("");
    task.LogLine("----");
    task.LogLine("SQL:");
    task.LogLine(sql);
    task.LogLine("");
    task.LogLine("Параметры:");
}

DateTime LeadIn(DateTime window_begin) {
    return FromMillis(ToMillis(window_begin) - kLeadMs);
}

} // namespace

std::string DataSql(std::string_view filter_text) {
    return fmt::format("select * from data where parnumber = :pn1 and data_date between :sdt and :edt and {} "
                       "order by data_date, season, object, item",
                       filter_text);
}

std::string MomentarySql(std::string_view filter_text) {
    return fmt::format("select * from data where parnumber = {} and data_date between :sdt and :edt and {} "
                       "order by data_date, season, object, item",
                       kMomentaryParNumber, filter_text);
}

void RequestDiscreteness(RequestTask& task) {
    const std::array<Variant, 1> zero = {Variant::Int32(0)};
    task.RunQuery(kDiscretenessSql, zero);
}

std::optional<Discreteness> CheckMomentaryDiscreteness(RequestTask& task, TlResultSet* set,
                                                       TSQLItemParamContainer& momentary_filter) {
    int32_t kind = 0;
    int32_t value = 0;
    if (set != nullptr) {
        ResultReader reader(set);
        const ResultReader::Field kind_field = reader.Require("discrettype");
        const ResultReader::Field value_field = reader.Require("discretvalue");
        reader.First();
        if (!reader.Eof()) {
            kind = reader.AsInteger(kind_field);
            value = reader.AsInteger(value_field);
        }
    }
    // The kind is a byte wherever the metering system keeps it.
    const auto kind_byte = static_cast<uint8_t>(kind);
    const Discreteness discreteness{static_cast<DiscretKind>(kind_byte), value};
    task.LogLine("");
    task.LogLine("-------------------Дискретность 1100----------------------");
    if (IsSupportedMomentaryDiscreteness(discreteness)) {
        task.LogLine(fmt::format("Тип: [{}] | Значение: [{}].", DiscretKindName(kind_byte), value));
        return discreteness;
    }
    const std::string message =
        fmt::format("Дискретность мгновенных величин не поддерживается. Тип: [{}] | Значение: [{}]. "
                    "Поддерживаемая дискретность: [Секунды, Минуты (1-30)]",
                    DiscretKindName(kind_byte), value);
    task.SendStatus(message);
    task.LogLine(message);
    momentary_filter.Clear();
    return std::nullopt;
}

void RequestMomentary(RequestTask& task, const TSQLItemParamContainer& filter, DateTime window_begin,
                      DateTime window_end) {
    if (filter.Empty()) {
        RunEmptyQuery(task);
        return;
    }
    LogFilter(task, "-------------------RequestMomentary----------------------", filter);
    const std::string sql = MomentarySql(filter.FilterText());
    const std::array<Variant, 2> params = {Variant::DateTime(LeadIn(window_begin)),
                                           Variant::DateTime(window_end)};
    LogSql(task, sql);
    task.LogLine(fmt::format("\t{}", FormatStamp(params[0].AsDouble())));
    task.LogLine(fmt::format("\t{}", FormatStamp(params[1].AsDouble())));
    task.RunQuery(sql, params);
}

void RequestData(RequestTask& task, const TSQLItemParamContainer& filter, int pass, DateTime window_begin,
                 DateTime window_end) {
    const int32_t par_number = PassParNumber(pass);
    LogFilter(task, "-------------------Запрос данных----------------------", filter);
    // Nothing between "and" and "order by" would be a syntax error; the pass only needs an
    // answer, and an empty one stores nothing, so no elements means an empty query.
    if (filter.Empty()) {
        task.LogLine("Нет элементов для запроса: запрос не отправлен");
        RunEmptyQuery(task);
        return;
    }
    const std::string sql = DataSql(filter.FilterText());
    const std::array<Variant, 3> params = {
        Variant::Int32(par_number), Variant::DateTime(LeadIn(window_begin)), Variant::DateTime(window_end)};
    LogSql(task, sql);
    task.LogLine(fmt::format("\t{}", par_number));
    task.LogLine(fmt::format("\t{}", FormatStamp(params[1].AsDouble())));
    task.LogLine(fmt::format("\t{}", FormatStamp(params[2].AsDouble())));
    task.RunQuery(sql, params);
}

} // namespace tl
