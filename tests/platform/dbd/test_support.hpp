// Variants and scratch databases for the database library's tests.
#pragma once

#include "tlosses/abi.h"
#include "tlplatform/db_connection.hpp"
#include "tltest/temp_dir.hpp"

#include <cstdint>
#include <fmt/format.h>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace tl::db::test {

inline constexpr auto Null = [] { return TlVariant{}; };
inline constexpr auto Int = [](int32_t x) { return TlVariant{.kind = TL_VT_INT32, .v = {.i32 = x}}; };
inline constexpr auto Int64 = [](int64_t x) { return TlVariant{.kind = TL_VT_INT64, .v = {.i64 = x}}; };
inline constexpr auto Double = [](double x) { return TlVariant{.kind = TL_VT_DOUBLE, .v = {.f64 = x}}; };
inline constexpr auto Date = [](double x) {
    return TlVariant{.kind = TL_VT_DATETIME, .v = {.date_time = x}};
};
inline constexpr auto Bool = [](bool x) {
    return TlVariant{.kind = TL_VT_BOOL, .v = {.boolean = x ? 1 : 0}};
};
inline constexpr auto Str = [](const char* x) { return TlVariant{.kind = TL_VT_STRING, .v = {.str = x}}; };

// The text of the database error that `run` throws; "(no error)" when it throws none.
template <typename F>
std::string ErrorOf(F run) {
    try {
        run();
    } catch (const Error& e) {
        return e.what();
    }
    return "(no error)";
}

// The rows of a set from its first on, each as "v1|v2|..." with nulls as "null".
inline std::vector<std::string> RowsAsText(ResultSet& set) {
    std::vector<std::string> rows;
    for (set.First(); !set.Eof(); set.Next()) {
        std::string row;
        for (int32_t c = 0; c < set.ColumnCount(); ++c) {
            row += fmt::format("{}{}", c == 0 ? "" : "|", set.IsNull(c) ? "null" : set.AsText(c));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// The driver's data request around an element filter.
inline std::string DataRequestSql(const std::string& filter) {
    return "select * from data where parnumber = :pn1 and data_date between :sdt and :edt and " + filter +
           " order by data_date, season, object, item";
}

// An element filter as the driver writes it: `count` groups of type `objtype`, the objects from `first`
// on every `step`, each listing `items`.
inline std::string ElementFilterText(int first, int count, int step, int objtype, std::string_view items) {
    std::vector<std::string> groups;
    for (int g = 0; g < count; ++g) {
        groups.push_back(
            fmt::format("(object = {} and objtype = {} and item in ({}))", first + g * step, objtype, items));
    }
    return fmt::format("({})", fmt::join(groups, " or "));
}

// A streamed query read on another thread while it fills, as the host's driver does; `ready` runs
// on the query's thread once the set is handed over.
struct Streamed {
    std::vector<std::string> rows;
    std::string failure; // told to the reader
    std::string error;   // thrown by the query; "(no error)" when none
};
inline Streamed Stream(Connection& db, const std::string& sql, std::span<const TlVariant> values = {},
                       const std::function<void()>& ready = {}) {
    Streamed out;
    std::thread reader;
    QueryStream stream;
    stream.ready = [&](std::shared_ptr<ResultSet> set) {
        reader = std::thread([&out, set] { out.rows = RowsAsText(*set); });
        if (ready) {
            ready();
        }
    };
    stream.failing = [&](std::string_view error) { out.failure = error; };
    out.error = ErrorOf([&] { db.QueryStreamed(sql, values, stream); });
    if (reader.joinable()) {
        reader.join();
    }
    return out;
}

using tl::test::TempDir;

} // namespace tl::db::test
