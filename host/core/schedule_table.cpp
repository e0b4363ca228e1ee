#include "tlhost/schedule_table.hpp"

namespace tl::host {
namespace {

// Date-times are reals as in the metering tables ("double precision" is a real in SQLite too).
constexpr const char* kCreate = R"sql(
create table if not exists tlhost_schedule (
    task_key text primary key,
    next_run double precision,
    every_minutes integer not null default 0,
    last_run double precision,
    last_code integer,
    last_host text not null default ''
))sql";

constexpr const char* kColumns = "task_key, next_run, every_minutes, last_run, last_code, last_host";

TlVariant Text(const std::string& text) {
    return {TL_VT_STRING, {.str = text.c_str()}};
}
TlVariant Real(DateTime value) {
    return {TL_VT_DOUBLE, {.f64 = value}};
}
TlVariant Integer(int value) {
    return {TL_VT_INT32, {.i32 = value}};
}

std::optional<DateTime> OptionalReal(tl::db::ResultSet& rows, int32_t field) {
    return rows.IsNull(field) ? std::nullopt : std::optional<DateTime>(rows.AsDouble(field));
}

std::vector<ScheduleEntry> Entries(tl::db::ResultSet& rows) {
    std::vector<ScheduleEntry> entries;
    for (rows.First(); !rows.Eof(); rows.Next()) {
        ScheduleEntry& entry = entries.emplace_back();
        entry.task_key = rows.AsText(0);
        entry.next_run = OptionalReal(rows, 1);
        entry.every_minutes = rows.AsInteger(2);
        entry.last_run = OptionalReal(rows, 3);
        if (!rows.IsNull(4)) {
            entry.last_code = rows.AsInteger(4);
        }
        entry.last_host = rows.AsText(5);
    }
    return entries;
}

} // namespace

ScheduleTable::ScheduleTable(tl::db::Connection& connection) : connection_(connection) {
    connection_.Execute(kCreate);
}

void ScheduleTable::Set(const std::string& task_key, DateTime next_run, int every_minutes) {
    const TlVariant values[] = {Text(task_key), Real(next_run), Integer(every_minutes)};
    connection_.Execute("insert into tlhost_schedule (task_key, next_run, every_minutes) "
                        "values (:key, :next_run, :every) on conflict (task_key) do update "
                        "set next_run = excluded.next_run, every_minutes = excluded.every_minutes",
                        values);
}

bool ScheduleTable::Remove(const std::string& task_key) {
    const TlVariant key[] = {Text(task_key)};
    return connection_.Execute("delete from tlhost_schedule where task_key = :key", key) > 0;
}

std::vector<ScheduleEntry> ScheduleTable::List() {
    auto rows = connection_.Query(std::string("select ") + kColumns +
                                      " from tlhost_schedule order by next_run is null, next_run, task_key",
                                  {});
    return Entries(*rows);
}

std::vector<ScheduleEntry> ScheduleTable::Due(DateTime now) {
    const TlVariant at[] = {Real(now)};
    auto rows =
        connection_.Query(std::string("select ") + kColumns +
                              " from tlhost_schedule where next_run <= :now order by next_run, task_key",
                          at);
    return Entries(*rows);
}

std::optional<DateTime> ScheduleTable::NextRun() {
    auto rows = connection_.Query("select min(next_run) from tlhost_schedule", {});
    return OptionalReal(*rows, 0);
}

std::optional<DateTime> ScheduleTable::NextRunOf(const std::string& task_key) {
    const TlVariant key[] = {Text(task_key)};
    auto rows = connection_.Query("select next_run from tlhost_schedule where task_key = :key", key);
    return rows->IsEmpty() ? std::nullopt : OptionalReal(*rows, 0);
}

void ScheduleTable::Finish(const ScheduleEntry& entry, DateTime run_at, int code, const std::string& host) {
    TlVariant next{TL_VT_NULL, {}};
    if (entry.every_minutes > 0) {
        next = Real(FromMillis(ToMillis(run_at) + int64_t{entry.every_minutes} * 60'000));
    }
    const TlVariant values[] = {next, Real(run_at), Integer(code), Text(host), Text(entry.task_key)};
    connection_.Execute("update tlhost_schedule set next_run = :next, last_run = :run_at, last_code = :code, "
                        "last_host = :host where task_key = :key",
                        values);
}

} // namespace tl::host
