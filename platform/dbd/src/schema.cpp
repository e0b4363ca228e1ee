// The metering database as the driver, the dialogs and the settings service read it. Date-times
// are reals (days since 30.12.1899, local wall-clock time), so "between :sdt and :edt" compares them
// as numbers.
#include "tlplatform/db_connection.hpp"

#include <fmt/format.h>

namespace tl::db {
namespace {

constexpr const char* kSqliteSchema = R"sql(
create table if not exists data (
    parnumber integer not null,
    object integer not null,
    objtype integer not null,
    item integer not null,
    data_date real not null,
    -- result rows come without a season: 0 keeps the key whole and lets a rewrite replace the row
    season integer not null default 0,
    value0 real,
    value1 real,
    tvkstatus integer default 0,
    rcvstamp real,
    -- The key is the order the data requests read in: one parameter over a date range, ordered by
    -- data_date, season, object, item. Kept clustered in that order, a request is one sequential
    -- range of the table, with no second index to look rows up through and none to update on
    -- insert.
    primary key (parnumber, data_date, season, object, item, objtype)
) without rowid;

create table if not exists parameters (
    parnumber integer primary key,
    name text not null default '',
    discrettype integer,
    discretvalue integer
);

create table if not exists eventlist (
    id integer primary key,
    evtype integer not null,
    evcode integer not null,
    objcode integer not null,
    objtype integer not null,
    objitem integer not null default 0,
    evgenesisdt real not null,
    evaltdt real,
    season integer,
    evidprotect integer not null default 0
);
-- The state queries pick an element's events by code and look for the latest before a date; those
-- of measurement objects do not name the item (it holds the new state code).
create index if not exists eventlist_by_element
    on eventlist (objcode, objtype, objitem, evcode, evtype, evgenesisdt);
create index if not exists eventlist_by_object
    on eventlist (objcode, objtype, evcode, evtype, evgenesisdt);

create table if not exists Devices (
    id integer primary key,
    Code integer not null unique,
    Name text not null default '',
    Address text not null default ''
);

-- Metering channels of a device; Typ is the channel kind (0 active received, 1 active delivered,
-- 2 reactive received, 3 reactive delivered), null when not set.
create table if not exists Sensors (
    Id integer primary key,
    StationId integer not null references Devices (id),
    Code integer not null,
    Typ integer,
    Name text not null default '',
    unique (StationId, Code)
);

create table if not exists Clients (
    id integer primary key,
    Code integer not null unique,
    Typ integer,
    Name text not null default ''
);

create table if not exists MObjects (
    Id integer primary key,
    Code integer not null unique,
    Name text not null default ''
);

create table if not exists MObjStates (
    Id integer primary key,
    ObjectID integer not null references MObjects (Id),
    Code integer not null,
    Name text not null default '',
    unique (ObjectID, Code)
);

-- Typed settings: storage, section and key compare without regard to case through their folded
-- forms; section and key keep the spelling they were first written with; seq orders the listing.
create table if not exists settings (
    storage text not null,
    section text not null,
    section_fold text not null,
    key text not null,
    key_fold text not null,
    value text not null,
    type integer not null,
    seq integer not null,
    primary key (storage, section_fold, key_fold)
);
create index if not exists settings_by_seq on settings (storage, section_fold, seq);
)sql";

struct StandardParameter {
    int number;
    const char* name;
    int discret_type; // 0 year, 1 quarter, 2 month, 3 day, 4 hour, 5 minute, 6 second
    int discret_value;
};

// The interval parameters a calculation reads, and the momentary values; a site's own rows stay.
constexpr StandardParameter kStandardParameters[] = {
    {2, "Мощность за предыдущие 3 минуты", 5, 3},
    {4, "Мощность за предыдущие 1 минуту", 5, 1},
    {5, "Мощность за предыдущие 2 минуты", 5, 2},
    {6, "Мощность за предыдущие 4 минуты", 5, 4},
    {7, "Мощность за предыдущие 5 минут", 5, 5},
    {8, "Мощность за предыдущие 6 минут", 5, 6},
    {9, "Мощность за предыдущие 10 минут", 5, 10},
    {12, "Мощность за 30 минут", 5, 30},
    {18, "Мощность за час", 4, 1},
    {26, "Энергия за сутки", 3, 1},
    {36, "Энергия за месяц", 2, 1},
    {46, "Энергия за квартал", 1, 1},
    {56, "Энергия за год", 0, 1},
    {1100, "Мгновенные значения", 5, 3},
};

} // namespace

void InitSchema(Connection& connection) {
    if (connection.BackendName() != "sqlite") {
        throw Error(fmt::format("no metering schema for the {} backend", connection.BackendName()));
    }
    connection.Begin();
    try {
        connection.Execute(kSqliteSchema);
        for (const auto& p : kStandardParameters) {
            const TlVariant values[] = {
                {TL_VT_INT32, {.i32 = p.number}},
                {TL_VT_STRING, {.str = p.name}},
                {TL_VT_INT32, {.i32 = p.discret_type}},
                {TL_VT_INT32, {.i32 = p.discret_value}},
            };
            connection.Execute(
                "insert or ignore into parameters (parnumber, name, discrettype, discretvalue) "
                "values (:parnumber, :name, :discrettype, :discretvalue)",
                values);
        }
        connection.Commit();
    } catch (...) {
        connection.Rollback();
        throw;
    }
}

} // namespace tl::db
