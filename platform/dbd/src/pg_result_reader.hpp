// Rows of a PostgreSQL result in binary form, appended to a result set. Integers (and booleans as
// 0 and 1) become integers, floating-point values reals, numerics integers when whole and reals
// otherwise, character types text, dates and timestamps text as "yyyy-mm-dd[ hh:nn:ss.zzz]" (which
// the set reads as date-times too). A column of any other type is refused with its name, so that a
// query never silently reads garbage: cast it to text in the query.
#pragma once

#include "memory_result_set.hpp"

#include <string>
#include <vector>

struct pg_result;

namespace tl::db::pg {

// The column names of a result, in order.
std::vector<std::string> ColumnNames(const pg_result* result);

// Appends every row of `result`, whose columns must be those of `set`.
void AppendRows(const pg_result* result, MemoryResultSet& set);

} // namespace tl::db::pg
