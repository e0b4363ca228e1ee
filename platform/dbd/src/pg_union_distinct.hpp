// The event queries of the driver join SELECT DISTINCT branches that give a column as a bare NULL
// ("null season") to branches that give it as an integer, by UNION. PostgreSQL gives the NULL of a
// SELECT DISTINCT the type text before the UNION is looked at, and then refuses to match it with the
// integer. Inside a chain of plain UNIONs a DISTINCT is redundant, since the UNION keeps every
// distinct row once whatever each branch holds; without it the NULL stays untyped and takes the
// integer's type from the UNION.
#pragma once

#include <string>
#include <string_view>

namespace tl::db::pg {

// The statement with the DISTINCT of each top-level SELECT branch removed (as blanks), when the
// statement is two or more branches joined by UNION without ALL and nothing else (a final ORDER BY,
// LIMIT and the like apply to the whole); otherwise the statement as it is. DISTINCT ON is kept.
std::string DropDistinctInsideUnion(std::string_view sql);

} // namespace tl::db::pg
