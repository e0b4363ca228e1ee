#include "sqlite_filter_tables.hpp"

#include "tlplatform/db_connection.hpp"

#include <algorithm>
#include <fmt/format.h>
#include <sqlite3.h>

namespace tl::db {
namespace {

constexpr size_t kTables = 4;

void Exec(sqlite3* db, const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw Error(fmt::format("cannot keep the elements of a filter: {}", sqlite3_errmsg(db)));
    }
}

} // namespace

const std::string& SqliteFilterTables::TableFor(const std::vector<FilterElement>& elements) {
    ++clock_;
    for (Table& table : tables_) {
        if (table.elements == elements) {
            table.last_use = clock_;
            return table.name;
        }
    }
    Table* table = nullptr;
    if (tables_.size() < kTables) {
        tables_.push_back({fmt::format("tl_filter_{}", tables_.size() + 1), {}, 0});
        table = &tables_.back();
        Exec(db_, fmt::format("create temp table if not exists {} (object integer, objtype integer, item "
                              "integer, primary key (object, objtype, item)) without rowid",
                              table->name));
    } else {
        table = &*std::min_element(tables_.begin(), tables_.end(),
                                   [](const Table& a, const Table& b) { return a.last_use < b.last_use; });
    }
    Fill(*table, elements);
    table->last_use = clock_;
    return table->name;
}

void SqliteFilterTables::Fill(Table& table, const std::vector<FilterElement>& elements) {
    table.elements.clear();
    // A savepoint works inside the caller's transaction and outside one, and makes the filling
    // one write of the temporary database.
    Exec(db_, "savepoint tl_filter");
    try {
        Exec(db_, fmt::format("delete from temp.{}", table.name));
        const std::string insert =
            fmt::format("insert or ignore into temp.{} (object, objtype, item) values (?, ?, ?)", table.name);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db_, insert.c_str(), static_cast<int>(insert.size()), &statement, nullptr) !=
            SQLITE_OK) {
            throw Error(fmt::format("cannot keep the elements of a filter: {}", sqlite3_errmsg(db_)));
        }
        std::string error;
        for (const FilterElement& e : elements) {
            sqlite3_bind_int64(statement, 1, e.object);
            sqlite3_bind_int64(statement, 2, e.objtype);
            sqlite3_bind_int64(statement, 3, e.item);
            if (sqlite3_step(statement) != SQLITE_DONE) {
                error = sqlite3_errmsg(db_);
                break;
            }
            sqlite3_reset(statement);
        }
        sqlite3_finalize(statement);
        if (!error.empty()) {
            throw Error(fmt::format("cannot keep the elements of a filter: {}", error));
        }
        Exec(db_, "release tl_filter");
    } catch (...) {
        sqlite3_exec(db_, "rollback to tl_filter; release tl_filter", nullptr, nullptr, nullptr);
        throw;
    }
    table.elements = elements;
}

} // namespace tl::db
