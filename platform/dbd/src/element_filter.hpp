// Element filters in query texts, and their rewrite into a form the database evaluates fast.
//
// The driver selects metering data of many elements with a filter of one group per (object,
// element type):
//   ((object = 5 and objtype = 99 and item in (1, 2)) or (object = 7 and objtype = 98 and item in (3)))
// With thousands of groups that OR chain is deeper than SQLite's expression-depth limit, and even
// below it every row is tested against every group. The same condition written as a row-value list,
//   ((object, objtype, item) in (values (5, 99, 1), (5, 99, 2), (7, 98, 3)))
// is one lookup per row. Both forms agree on every row, nulls included (three-valued AND
// distributes over OR), so the rewrite changes no result.
//
// What counts as a filter, exactly:
// - "(" group { "or" group } ")", each group
//   "(" object "=" int "and" objtype "=" int "and" item "in" "(" int { "," int } ")" ")";
// - column names and keywords in any case, unquoted and unqualified; any blanks (or none) between
//   tokens, but no comment inside the filter;
// - int: decimal digits with an optional "-" written right before them, within 64 bits;
// - it stands in a WHERE clause of a statement that begins with SELECT, WITH or EXPLAIN (possibly
//   inside parentheses or a subquery there), and not anywhere beneath a select list, whose text
//   would name a result column;
// - text in quotes and comments is never looked into.
// Anything else is left as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tl::db {

struct FilterElement {
    int64_t object = 0;
    int64_t objtype = 0;
    int64_t item = 0;

    bool operator==(const FilterElement&) const = default;
};

struct ElementFilter {
    size_t begin = 0; // the filter's text in the statement, its outer parentheses included
    size_t end = 0;
    // The column names as the first group spells them.
    std::string_view object_column;
    std::string_view objtype_column;
    std::string_view item_column;
    // One per item, in the order written (repeats kept).
    std::vector<FilterElement> elements;
};

// Every element filter of the statement, in order of position.
std::vector<ElementFilter> FindElementFilters(std::string_view sql);

// Writes the replacement of one filter: a complete, parenthesised boolean expression.
using ElementFilterRenderer = std::function<void(const ElementFilter& filter, std::string& out)>;

// The statement with every element filter replaced by what `render` writes; the rest of the text
// is copied byte for byte.
std::string RewriteElementFilters(std::string_view sql, const ElementFilterRenderer& render);

// "((object, objtype, item) in (values (5, 99, 1), ...))": SQLite (3.15 and later) and PostgreSQL
// both read it. A PostgreSQL backend may prefer arrays bound as parameters (= any(...)); it renders
// its own form from the same ElementFilter.
void RenderRowValueList(const ElementFilter& filter, std::string& out);

// "((object, objtype, item) in (select object, objtype, item from temp.NAME))": the filter as a
// lookup in a table that holds its elements.
void RenderTableLookup(const ElementFilter& filter, std::string_view table, std::string& out);

} // namespace tl::db
