// The PostgreSQL backend against a bare libpq program doing the same work, interleaved round by
// round on one server:
// - store: a pass of N result rows (the nine fields the driver hands over) written into `data`.
//   Bare: BEGIN, COPY of hand-encoded binary rows into a temporary table, one INSERT ... SELECT ...
//   ON CONFLICT DO UPDATE, COMMIT. Library: Begin, InsertOrReplaceRows 4,096 rows at a time, Commit
//   (what the host does with a pass). Both into an empty table ("insert") and over the rows stored
//   ("replace").
// - read: the data request of the same rows (every element in the filter). Bare: the statement the
//   library sends (element keys bound as arrays) through PQexecParams, every field decoded into a
//   plain row; also with results as text, the other protocol, and through a cursor fetched in
//   pipelined batches of 10,000 rows (what the library does, with nothing around it). Library: QueryStreamed,
//   every field read through the result set as the driver reads it on another thread while the rows arrive
//   (what the host does), and Query, the whole set read first.
//
//   pg_bench [URI] [--rows N] [--rounds R]
//
// URI defaults to TL_TEST_DATABASE or "postgresql://" (the PG* environment variables); the bench
// works in a schema of its own, dropped at the end.
#include "tlplatform/db_connection.hpp"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fmt/format.h>
#include <functional>
#include <libpq-fe.h>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kItemsPerObject = 2;
constexpr double kHalfHour = 1.0 / 48.0;
constexpr double kFirstStamp = 41944.0; // 01.11.2014

struct ResultRow {
    int32_t par_number;
    double stamp;
    int32_t object;
    int32_t item;
    int32_t objtype;
    double value0;
    double value1;
    int64_t status;
    double received;
};

std::vector<ResultRow> MakeRows(int rows, int elements) {
    std::vector<ResultRow> out;
    out.reserve(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        const int element = i % elements;
        const int stamp = i / elements;
        out.push_back({30012, kFirstStamp + (stamp + 1) * kHalfHour, 1 + element / kItemsPerObject,
                       1 + element % kItemsPerObject, 0, 0.001 * i, 0.5 * i, (i % 7 == 0) ? 0x40000 : 0,
                       kFirstStamp + 40.0});
    }
    return out;
}

// ---- bare libpq ---------------------------------------------------------------------------------

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

Result Run(PGconn* conn, const char* sql) {
    Result result(PQexec(conn, sql), &PQclear);
    const auto status = PQresultStatus(result.get());
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_COPY_IN) {
        throw std::runtime_error(fmt::format("{}: {}", sql, PQerrorMessage(conn)));
    }
    return result;
}

void Put16(std::string& out, uint16_t v) {
    v = __builtin_bswap16(v);
    out.append(reinterpret_cast<const char*>(&v), 2);
}
void Put32(std::string& out, uint32_t v) {
    v = __builtin_bswap32(v);
    out.append(reinterpret_cast<const char*>(&v), 4);
}
void Put64(std::string& out, uint64_t v) {
    v = __builtin_bswap64(v);
    out.append(reinterpret_cast<const char*>(&v), 8);
}
void PutInt4Field(std::string& out, int32_t v) {
    Put32(out, 4);
    Put32(out, static_cast<uint32_t>(v));
}
void PutInt8Field(std::string& out, int64_t v) {
    Put32(out, 8);
    Put64(out, static_cast<uint64_t>(v));
}
void PutFloat8Field(std::string& out, double v) {
    Put32(out, 8);
    Put64(out, std::bit_cast<uint64_t>(v));
}

void BareStore(PGconn* conn, const std::vector<ResultRow>& rows) {
    Run(conn, "begin");
    Run(conn,
        "create temp table if not exists bare_copy (parnumber integer, data_date double precision, "
        "object integer, item integer, objtype integer, value0 double precision, value1 double precision, "
        "tvkstatus bigint, rcvstamp double precision)");
    Run(conn, "copy bare_copy from stdin with (format binary)");
    std::string buffer("PGCOPY\n\377\r\n", 11);
    Put32(buffer, 0);
    Put32(buffer, 0);
    for (const ResultRow& r : rows) {
        Put16(buffer, 9);
        PutInt4Field(buffer, r.par_number);
        PutFloat8Field(buffer, r.stamp);
        PutInt4Field(buffer, r.object);
        PutInt4Field(buffer, r.item);
        PutInt4Field(buffer, r.objtype);
        PutFloat8Field(buffer, r.value0);
        PutFloat8Field(buffer, r.value1);
        PutInt8Field(buffer, r.status);
        PutFloat8Field(buffer, r.received);
        if (buffer.size() >= (1 << 20)) {
            PQputCopyData(conn, buffer.data(), static_cast<int>(buffer.size()));
            buffer.clear();
        }
    }
    Put16(buffer, 0xFFFF);
    PQputCopyData(conn, buffer.data(), static_cast<int>(buffer.size()));
    PQputCopyEnd(conn, nullptr);
    Result copied(PQgetResult(conn), &PQclear);
    if (PQresultStatus(copied.get()) != PGRES_COMMAND_OK) {
        throw std::runtime_error(PQerrorMessage(conn));
    }
    while (PGresult* rest = PQgetResult(conn)) {
        PQclear(rest);
    }
    Run(conn,
        "insert into data (parnumber, data_date, object, item, objtype, value0, value1, tvkstatus, rcvstamp) "
        "select * from bare_copy on conflict (parnumber, data_date, season, object, item, objtype) do update "
        "set value0 = excluded.value0, value1 = excluded.value1, tvkstatus = excluded.tvkstatus, "
        "rcvstamp = excluded.rcvstamp");
    Run(conn, "truncate bare_copy");
    Run(conn, "commit");
}

struct DataRow {
    int64_t status;
    int32_t par_number, objtype, object, item, season;
    double stamp, value0;
};

// The data request as the library sends it: the elements bound as arrays (three int4 arrays for
// rows with a null column, which this table has not, and the int8 keys).
enum class BareMode { Binary, Text, Cursor };

// Every row of `r` decoded into a plain row, its values added to `sum`.
void DecodeRows(const PGresult* r, bool binary, std::vector<DataRow>& rows, double& sum);

// The rows of the declared cursor `bare_cursor`, fetched in batches in pipeline mode (the next
// FETCH sent before a batch is decoded), as a bare program would stream them.
double FetchCursor(PGconn* conn, std::vector<DataRow>& rows) {
    constexpr int kBatch = 10'000;
    const char* fetch = "fetch forward 10000 from bare_cursor";
    const auto send = [&](const char* sql) {
        if (PQsendQueryParams(conn, sql, 0, nullptr, nullptr, nullptr, nullptr, 1) != 1 ||
            PQpipelineSync(conn) != 1) {
            throw std::runtime_error(PQerrorMessage(conn));
        }
    };
    const auto take = [&] {
        Result result(PQgetResult(conn), &PQclear);
        const auto status = PQresultStatus(result.get());
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            throw std::runtime_error(PQerrorMessage(conn));
        }
        PQclear(PQgetResult(conn)); // the statement's end
        PQclear(PQgetResult(conn)); // the sync
        return result;
    };
    PQenterPipelineMode(conn);
    send(fetch);
    double sum = 0;
    for (;;) {
        const Result batch = take();
        const bool more = PQntuples(batch.get()) == kBatch;
        send(more ? fetch : "close bare_cursor");
        DecodeRows(batch.get(), true, rows, sum);
        if (!more) {
            take();
            break;
        }
    }
    PQexitPipelineMode(conn);
    return sum;
}

double BareRead(PGconn* conn, const std::vector<int64_t>& keys, double begin, double end, BareMode mode) {
    const bool binary = mode != BareMode::Text;
    const std::string sql =
        std::string(mode == BareMode::Cursor ? "declare bare_cursor no scroll cursor for " : "") +
        "select * from data where parnumber = $1 and data_date between $2 and $3 and "
        "(case when object is null or objtype is null or item is null then (object, objtype, item) in "
        "(select * from unnest($4, $5, $6)) else objtype = 0 and "
        "((object::int8 << 32) | (item::int8 & 4294967295)) = any($7) end) order by data_date, season, "
        "object, item";
    std::string storage;
    std::vector<size_t> offsets;
    const auto array = [&](Oid element, auto pick) {
        offsets.push_back(storage.size());
        Put32(storage, 1);
        Put32(storage, 0);
        Put32(storage, element);
        Put32(storage, static_cast<uint32_t>(keys.size()));
        Put32(storage, 1);
        for (const int64_t k : keys) {
            if (element == 20) {
                Put32(storage, 8);
                Put64(storage, static_cast<uint64_t>(pick(k)));
            } else {
                Put32(storage, 4);
                Put32(storage, static_cast<uint32_t>(pick(k)));
            }
        }
    };
    for (const double v : {30012.0, begin, end}) {
        offsets.push_back(storage.size());
        Put64(storage, v == 30012.0 ? 30012 : std::bit_cast<uint64_t>(v));
    }
    array(23, [](int64_t k) { return k >> 32; });
    array(23, [](int64_t) { return int64_t{0}; });
    array(23, [](int64_t k) { return k & 0xFFFFFFFF; });
    array(20, [](int64_t k) { return k; });
    offsets.push_back(storage.size());
    const Oid types[] = {20, 701, 701, 1007, 1007, 1007, 1016};
    const char* values[7];
    int lengths[7];
    const int formats[] = {1, 1, 1, 1, 1, 1, 1};
    for (size_t i = 0; i < 7; ++i) {
        values[i] = storage.data() + offsets[i];
        lengths[i] = static_cast<int>(offsets[i + 1] - offsets[i]);
    }
    std::vector<DataRow> rows;
    if (mode == BareMode::Cursor) {
        Run(conn, "begin");
        Result declared(PQexecParams(conn, sql.c_str(), 7, types, values, lengths, formats, 1), &PQclear);
        if (PQresultStatus(declared.get()) != PGRES_COMMAND_OK) {
            throw std::runtime_error(PQerrorMessage(conn));
        }
        const double sum = FetchCursor(conn, rows);
        Run(conn, "commit");
        return sum;
    }
    Result result(PQexecParams(conn, sql.c_str(), 7, types, values, lengths, formats, binary ? 1 : 0),
                  &PQclear);
    if (PQresultStatus(result.get()) != PGRES_TUPLES_OK) {
        throw std::runtime_error(PQerrorMessage(conn));
    }
    double sum = 0;
    DecodeRows(result.get(), binary, rows, sum);
    return sum;
}

void DecodeRows(const PGresult* r, bool binary, std::vector<DataRow>& rows, double& sum) {
    const auto column = [&](const char* name) { return PQfnumber(r, name); };
    const int c_status = column("tvkstatus"), c_par = column("parnumber"), c_type = column("objtype"),
              c_object = column("object"), c_item = column("item"), c_season = column("season"),
              c_date = column("data_date"), c_value = column("value0");
    const auto int4 = [&](int row, int c) {
        const char* p = PQgetvalue(r, row, c);
        if (!binary) {
            return static_cast<int32_t>(std::strtol(p, nullptr, 10));
        }
        uint32_t v;
        std::memcpy(&v, p, 4);
        return static_cast<int32_t>(__builtin_bswap32(v));
    };
    const auto int8 = [&](int row, int c) {
        const char* p = PQgetvalue(r, row, c);
        if (PQgetisnull(r, row, c)) {
            return int64_t{0};
        }
        if (!binary) {
            return static_cast<int64_t>(std::strtoll(p, nullptr, 10));
        }
        uint64_t v;
        std::memcpy(&v, p, 8);
        return static_cast<int64_t>(__builtin_bswap64(v));
    };
    const auto float8 = [&](int row, int c) {
        const char* p = PQgetvalue(r, row, c);
        if (!binary) {
            return std::strtod(p, nullptr);
        }
        uint64_t v;
        std::memcpy(&v, p, 8);
        return std::bit_cast<double>(__builtin_bswap64(v));
    };
    if (rows.empty()) {
        rows.reserve(static_cast<size_t>(PQntuples(r))); // a whole result; batches grow as they come
    }
    for (int row = 0; row < PQntuples(r); ++row) {
        DataRow& d = rows.emplace_back();
        d = {int8(row, c_status), int4(row, c_par),    int4(row, c_type),   int4(row, c_object),
             int4(row, c_item),   int4(row, c_season), float8(row, c_date), float8(row, c_value)};
        sum += d.value0 + d.item;
    }
}

// ---- the library --------------------------------------------------------------------------------

void LibraryStore(tl::db::Connection& db, const std::vector<ResultRow>& rows) {
    static constexpr std::string_view kNames[] = {"ParNumber", "Data_Date", "Object",    "Item",    "ObjType",
                                                  "Value0",    "Value1",    "TvkStatus", "RCVStamp"};
    constexpr size_t kRowsPerWrite = 4096; // as the host hands a pass's rows over
    std::vector<TlVariant> values;
    values.reserve(kRowsPerWrite * 9);
    db.Begin();
    for (const ResultRow& r : rows) {
        values.push_back({TL_VT_INT32, {.i32 = r.par_number}});
        values.push_back({TL_VT_DATETIME, {.date_time = r.stamp}});
        values.push_back({TL_VT_INT32, {.i32 = r.object}});
        values.push_back({TL_VT_INT32, {.i32 = r.item}});
        values.push_back({TL_VT_INT32, {.i32 = r.objtype}});
        values.push_back({TL_VT_DOUBLE, {.f64 = r.value0}});
        values.push_back({TL_VT_DOUBLE, {.f64 = r.value1}});
        values.push_back({TL_VT_INT64, {.i64 = r.status}});
        values.push_back({TL_VT_DATETIME, {.date_time = r.received}});
        if (values.size() == values.capacity()) {
            db.InsertOrReplaceRows("Data", kNames, values);
            values.clear();
        }
    }
    if (!values.empty()) {
        db.InsertOrReplaceRows("Data", kNames, values);
    }
    db.Commit();
}

double ReadSet(tl::db::ResultSet* set) {
    const int32_t c_par = set->FieldIndex("ParNumber"), c_type = set->FieldIndex("ObjType"),
                  c_object = set->FieldIndex("Object"), c_item = set->FieldIndex("Item"),
                  c_season = set->FieldIndex("Season"), c_date = set->FieldIndex("Data_Date"),
                  c_value = set->FieldIndex("Value0");
    std::vector<DataRow> rows;
    double sum = 0;
    for (set->First(); !set->Eof(); set->Next()) {
        DataRow& d = rows.emplace_back();
        d = {set->StatusWord(),        set->AsInteger(c_par),  set->AsInteger(c_type),
             set->AsInteger(c_object), set->AsInteger(c_item), set->AsInteger(c_season),
             set->AsDateTime(c_date),  set->AsDouble(c_value)};
        sum += d.value0 + d.item;
    }
    return sum;
}

double LibraryRead(tl::db::Connection& db, const std::string& filter, double begin, double end,
                   bool streamed) {
    const std::string sql =
        "select * from data where parnumber = :pn1 and data_date between :sdt and :edt and " + filter +
        " order by data_date, season, object, item";
    const TlVariant params[] = {{TL_VT_INT32, {.i32 = 30012}},
                                {TL_VT_DATETIME, {.date_time = begin}},
                                {TL_VT_DATETIME, {.date_time = end}}};
    if (!streamed) {
        return ReadSet(db.Query(sql, params).get());
    }
    // The driver's side: a thread that reads the rows as they come.
    double sum = 0;
    std::thread reader;
    tl::db::QueryStream stream;
    stream.ready = [&](std::shared_ptr<tl::db::ResultSet> set) {
        reader = std::thread([&sum, set] { sum = ReadSet(set.get()); });
    };
    try {
        db.QueryStreamed(sql, params, stream);
    } catch (...) {
        if (reader.joinable()) {
            reader.join();
        }
        throw;
    }
    reader.join();
    return sum;
}

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Timing {
    double wall = 0;
    double client_cpu = 0; // this process's share: what the library adds shows here
};

Timing Measure(const std::function<void()>& work) {
    const double cpu = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            CpuSeconds() - cpu};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::string LoadAverage() {
    double load[3] = {};
    return getloadavg(load, 3) == 3 ? fmt::format("{:.2f} {:.2f} {:.2f}", load[0], load[1], load[2]) : "?";
}

} // namespace

int main(int argc, char** argv) {
    std::string uri =
        std::getenv("TL_TEST_DATABASE") != nullptr ? std::getenv("TL_TEST_DATABASE") : "postgresql://";
    int row_count = 1'000'000;
    int rounds = 3;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--rows" && i + 1 < argc) {
            row_count = std::atoi(argv[++i]);
        } else if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::atoi(argv[++i]);
        } else {
            uri = arg;
        }
    }
    const int elements = 2'000;
    const std::vector<ResultRow> rows = MakeRows(row_count, elements);
    const double begin = kFirstStamp;
    const double end = kFirstStamp + (row_count / elements + 2) * kHalfHour;
    try {
        const std::string schema = fmt::format("tl_bench_{}", getpid());
        auto admin = tl::db::Connection::Open(uri);
        admin->Execute(fmt::format("create schema {}", schema));
        const std::string bench_uri = fmt::format("{}{}options=-csearch_path%3D{}", uri,
                                                  uri.find('?') == std::string::npos ? '?' : '&', schema);
        auto db = tl::db::Connection::Open(bench_uri);
        tl::db::InitSchema(*db);
        PGconn* conn = PQconnectdb(bench_uri.c_str());
        if (PQstatus(conn) != CONNECTION_OK) {
            throw std::runtime_error(PQerrorMessage(conn));
        }
        PQsetNoticeProcessor(
            conn, [](void*, const char*) {}, nullptr);

        // The read's rows: the stored pass again under the interval parameter, and its filter.
        std::vector<int64_t> keys;
        std::string filter;
        for (int object = 1; object <= elements / kItemsPerObject; ++object) {
            filter += fmt::format("{}(object = {} and objtype = 0 and item in (1, 2))",
                                  filter.empty() ? "(" : " or ", object);
            for (int item = 1; item <= kItemsPerObject; ++item) {
                keys.push_back(int64_t{object} << 32 | item);
            }
        }
        filter += ")";

        std::map<std::string, std::vector<double>> seconds;
        std::map<std::string, std::vector<double>> client_seconds;
        double bare_sum = 0, text_sum = 0, cursor_sum = 0, library_sum = 0, streamed_sum = 0;
        const auto time = [&](const char* name, const std::function<void()>& work) {
            const Timing timing = Measure(work);
            seconds[name].push_back(timing.wall);
            client_seconds[name].push_back(timing.client_cpu);
        };
        const std::function<void()> bare_stores = [&] {
            db->Execute("truncate data");
            time("store, bare (insert)", [&] { BareStore(conn, rows); });
            time("store, bare (replace)", [&] { BareStore(conn, rows); });
        };
        const std::function<void()> library_stores = [&] {
            db->Execute("truncate data");
            time("store, library (insert)", [&] { LibraryStore(*db, rows); });
            time("store, library (replace)", [&] { LibraryStore(*db, rows); });
        };
        const std::function<void()> bare_reads = [&] {
            time("read, bare (binary)",
                 [&] { bare_sum = BareRead(conn, keys, begin, end, BareMode::Binary); });
            time("read, bare (text)", [&] { text_sum = BareRead(conn, keys, begin, end, BareMode::Text); });
            time("read, bare (cursor)",
                 [&] { cursor_sum = BareRead(conn, keys, begin, end, BareMode::Cursor); });
        };
        const std::function<void()> library_read = [&] {
            time("read, library (streamed)",
                 [&] { streamed_sum = LibraryRead(*db, filter, begin, end, true); });
            time("read, library (whole)", [&] { library_sum = LibraryRead(*db, filter, begin, end, false); });
        };
        // Each round starts with the other side, so that neither always finds the server warmed up.
        for (int round = 0; round < rounds; ++round) {
            const bool bare_first = round % 2 == 0;
            (bare_first ? bare_stores : library_stores)();
            (bare_first ? library_stores : bare_stores)();
            db->Execute("vacuum analyze data");
            (bare_first ? bare_reads : library_read)();
            (bare_first ? library_read : bare_reads)();
        }
        if (bare_sum != library_sum || bare_sum != text_sum || bare_sum != streamed_sum ||
            bare_sum != cursor_sum) {
            throw std::runtime_error(fmt::format("the reads differ: {} {} {} {} {}", bare_sum, text_sum,
                                                 cursor_sum, library_sum, streamed_sum));
        }
        PQfinish(conn);
        db.reset();
        admin->Execute(fmt::format("drop schema {} cascade", schema));

        fmt::print("{} rows of {} elements, {} rounds interleaved, median seconds; load average {}\n",
                   row_count, elements, rounds, LoadAverage());
        const auto median = [&](const char* name) { return Median(seconds.at(name)); };
        fmt::print("  {:<26} {:>9} {:>12} {:>11}\n", "", "wall", "", "client CPU");
        for (const auto& [name, values] : seconds) {
            fmt::print("  {:<26} {:>7.3f} s {:>6.0f} k/s {:>9.3f} s\n", name, Median(values),
                       row_count / Median(values) / 1000, Median(client_seconds.at(name)));
        }
        fmt::print("store insert, library / bare speed: {:.2f}\n",
                   median("store, bare (insert)") / median("store, library (insert)"));
        fmt::print("store replace, library / bare speed: {:.2f}\n",
                   median("store, bare (replace)") / median("store, library (replace)"));
        fmt::print("read streamed, library / bare binary speed: {:.2f}; / bare cursor batches: {:.2f}\n",
                   median("read, bare (binary)") / median("read, library (streamed)"),
                   median("read, bare (cursor)") / median("read, library (streamed)"));
        fmt::print("read whole, library / bare binary speed: {:.2f} (bare text / bare binary: {:.2f})\n",
                   median("read, bare (binary)") / median("read, library (whole)"),
                   median("read, bare (binary)") / median("read, bare (text)"));
    } catch (const std::exception& e) {
        fmt::print(stderr, "pg_bench: {}\n", e.what());
        return 1;
    }
    return 0;
}
