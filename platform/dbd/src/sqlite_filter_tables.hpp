// The elements of long element filters, kept in temporary tables of one SQLite connection.
//
// A data request of thousands of elements written out as a list is a statement of hundreds of
// kilobytes that SQLite parses and plans again at every pass. Kept in a table (a few, reused as
// long as their filter comes again: a run asks with the same filter at every pass), the filter is
// a join of a few dozen bytes, filled once.
#pragma once

#include "element_filter.hpp"

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

namespace tl::db {

class SqliteFilterTables {
public:
    // Filters of fewer elements stay lists: filling a table would cost more than it saves.
    static constexpr size_t kMinElements = 64;

    explicit SqliteFilterTables(sqlite3* db) : db_(db) {}

    // The name of a temporary table holding exactly these elements, made or filled now when none
    // does (the least recently used of the tables is filled again). A statement that reads a table
    // by name reads whatever it holds when the statement runs, so prepared statements can be kept.
    // Throws Error when the table cannot be written.
    const std::string& TableFor(const std::vector<FilterElement>& elements);

private:
    struct Table {
        std::string name;
        std::vector<FilterElement> elements;
        uint64_t last_use = 0;
    };

    void Fill(Table& table, const std::vector<FilterElement>& elements);

    sqlite3* db_;
    std::vector<Table> tables_;
    uint64_t clock_ = 0;
};

} // namespace tl::db
