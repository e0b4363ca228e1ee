#include "tlexchange/metering_import.hpp"

#include <array>

namespace tl::exchange {
namespace {

constexpr std::array<ColumnSpec, 9> kMeteringColumns = {{
    {"parameter", "parnumber", "parnumber", ColumnKind::kInteger, WhenMissing::kRequired},
    {"object", "", "object", ColumnKind::kInteger, WhenMissing::kRequired},
    {"type", "objtype", "objtype", ColumnKind::kInteger, WhenMissing::kRequired},
    {"item", "", "item", ColumnKind::kInteger, WhenMissing::kRequired},
    {"date", "data_date", "data_date", ColumnKind::kDateTime, WhenMissing::kRequired},
    {"season", "", "season", ColumnKind::kInteger, WhenMissing::kZero},
    {"value", "value0", "value0", ColumnKind::kReal, WhenMissing::kRequired},
    {"status", "tvkstatus", "tvkstatus", ColumnKind::kStatusWord, WhenMissing::kZero},
    {"value1", "", "value1", ColumnKind::kReal, WhenMissing::kNull},
}};

constexpr std::array<ColumnSpec, 9> kEventColumns = {{
    {"evtype", "", "evtype", ColumnKind::kInteger, WhenMissing::kRequired},
    {"evcode", "", "evcode", ColumnKind::kInteger, WhenMissing::kRequired},
    {"objcode", "", "objcode", ColumnKind::kInteger, WhenMissing::kRequired},
    {"objtype", "", "objtype", ColumnKind::kInteger, WhenMissing::kRequired},
    {"objitem", "", "objitem", ColumnKind::kInteger, WhenMissing::kZero},
    {"evgenesisdt", "", "evgenesisdt", ColumnKind::kDateTime, WhenMissing::kRequired},
    {"evaltdt", "", "evaltdt", ColumnKind::kDateTime, WhenMissing::kNull},
    {"season", "", "season", ColumnKind::kInteger, WhenMissing::kNull},
    {"evidprotect", "", "evidprotect", ColumnKind::kInteger, WhenMissing::kZero},
}};

// The columns that make two events the same event; the other columns are replaced.
constexpr std::array<size_t, 7> kEventIdentity = {0, 1, 2, 3, 4, 5, 7};

template <typename WriteRow>
int64_t InTransaction(tl::db::Connection& connection, const RowTable& rows, WriteRow&& write_row) {
    connection.Begin();
    try {
        for (size_t r = 0; r < rows.rows; ++r) {
            write_row(rows.Row(r));
        }
        connection.Commit();
    } catch (...) {
        connection.Rollback();
        throw;
    }
    return static_cast<int64_t>(rows.rows);
}

} // namespace

const RowFormat& MeteringRowFormat() {
    static const RowFormat format{"metering row", kMeteringColumns, 8};
    return format;
}

const RowFormat& EventRowFormat() {
    static const RowFormat format{"event", kEventColumns, kEventColumns.size()};
    return format;
}

RowTable ReadRowFile(std::string_view text, FileFormat file_format, const RowFormat& format,
                     std::string_view file_name) {
    return file_format == FileFormat::kJson ? ReadJsonRows(text, format, file_name)
                                            : ReadCsvRows(text, format, file_name);
}

int64_t WriteMeteringRows(tl::db::Connection& connection, const RowTable& rows) {
    return InTransaction(connection, rows, [&](std::span<const TlVariant> row) {
        connection.InsertOrReplace("data", rows.db_columns, row);
    });
}

int64_t WriteEventRows(tl::db::Connection& connection, const RowTable& rows) {
    std::array<TlVariant, kEventIdentity.size()> identity{};
    return InTransaction(connection, rows, [&](std::span<const TlVariant> row) {
        for (size_t i = 0; i < kEventIdentity.size(); ++i) {
            identity[i] = row[kEventIdentity[i]];
        }
        connection.Execute("delete from eventlist where evtype = :evtype and evcode = :evcode and "
                           "objcode = :objcode and objtype = :objtype and objitem = :objitem and "
                           "evgenesisdt = :evgenesisdt and season is not distinct from :season",
                           identity);
        connection.InsertOrReplace("eventlist", rows.db_columns, row);
    });
}

} // namespace tl::exchange
