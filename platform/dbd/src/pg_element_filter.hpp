// Element filters (see element_filter.hpp) as PostgreSQL runs them best: one 64-bit key per element,
// (object << 32) | item as 32-bit halves, looked up in an int8 array bound as a parameter, per
// element type:
//   (case when object is null or objtype is null or item is null
//    then (object, objtype, item) in (select * from unnest($4, $5, $6))
//    else objtype = 99 and ((object::int8 << 32) | (item::int8 & 4294967295)) = any($7) end)
// and with several element types "case objtype when 99 then KEY = any($7) when 98 then KEY = any($8)
// else false end" in the last branch. The statement stays short whatever the number of elements,
// the server hashes each array once, and the filter stays a condition on the rows of the data
// table's key order, so that the ordered range scan of a data request needs no sort. Rows with a
// null column (never in the metering schema's data table) are compared element by element through
// the first branch, so both forms agree on every row, nulls included. A filter with a number outside
// the 32-bit range is written as a row-value list instead.
#pragma once

#include "pg_params.hpp"

#include <string>
#include <string_view>

namespace tl::db::pg {

// `sql` uses positional markers $1..$n already (n = params.Count()); the arrays go after them.
std::string RewriteElementFiltersForPg(std::string_view sql, PgParams& params);

} // namespace tl::db::pg
