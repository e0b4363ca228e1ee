#include "element_filter.hpp"

#include "sql_lexer.hpp"

#include <charconv>
#include <fmt/format.h>
#include <optional>

namespace tl::db {
namespace {

// Reads one filter after its opening "(" (already read); on success the lexer stands after the
// closing ")".
class FilterMatcher {
public:
    FilterMatcher(std::string_view sql, SqlLexer& lexer, ElementFilter& filter)
        : sql_(sql), lexer_(lexer), filter_(filter) {}

    bool Match() {
        do {
            if (!Group()) {
                return false;
            }
            token_ = lexer_.Next();
        } while (IsKeyword(token_, "or"));
        return token_.Is(')');
    }

private:
    bool Group() {
        int64_t object = 0;
        int64_t objtype = 0;
        const bool first = filter_.elements.empty();
        if (!Punct('(') || !Column("object", first ? &filter_.object_column : nullptr) || !Punct('=') ||
            !Integer(object) || !Keyword("and") ||
            !Column("objtype", first ? &filter_.objtype_column : nullptr) || !Punct('=') ||
            !Integer(objtype) || !Keyword("and") || !Column("item", first ? &filter_.item_column : nullptr) ||
            !Keyword("in") || !Punct('(')) {
            return false;
        }
        do {
            int64_t item = 0;
            if (!Integer(item)) {
                return false;
            }
            filter_.elements.push_back({object, objtype, item});
            token_ = lexer_.Next();
        } while (token_.Is(','));
        return token_.Is(')') && Punct(')');
    }

    bool Punct(char c) { return lexer_.Next().Is(c); }
    bool Keyword(std::string_view keyword) { return IsKeyword(lexer_.Next(), keyword); }

    bool Column(std::string_view name, std::string_view* spelling) {
        const SqlToken token = lexer_.Next();
        if (!IsKeyword(token, name)) {
            return false;
        }
        if (spelling != nullptr) {
            *spelling = token.text;
        }
        return true;
    }

    // Digits, with a "-" written right before them (a blank between fails the conversion below).
    bool Integer(int64_t& value) {
        SqlToken token = lexer_.Next();
        const size_t begin = token.begin;
        if (token.Is('-')) {
            token = lexer_.Next();
        }
        if (token.kind != SqlTokenKind::Number) {
            return false;
        }
        for (const char c : token.text) {
            if (c < '0' || c > '9') {
                return false;
            }
        }
        const std::string_view literal = sql_.substr(begin, token.end - begin);
        const char* last = literal.data() + literal.size();
        const auto [end, error] = std::from_chars(literal.data(), last, value);
        return error == std::errc() && end == last;
    }

    std::string_view sql_;
    SqlLexer& lexer_;
    ElementFilter& filter_;
    SqlToken token_;
};

// Which clause a parenthesis level is in, as far as filters care.
enum class Clause { Other, SelectList, Where };

struct Level {
    Clause clause = Clause::Other;
    bool under_select_list = false; // some enclosing level is a select list
};

std::optional<Clause> ClauseOf(const SqlToken& token) {
    if (token.kind != SqlTokenKind::Word) {
        return std::nullopt;
    }
    if (IsKeyword(token, "select")) {
        return Clause::SelectList;
    }
    if (IsKeyword(token, "where")) {
        return Clause::Where;
    }
    static constexpr std::string_view kOthers[] = {
        "from", "group",  "having", "order",  "limit", "on",   "using",     "values",
        "set",  "window", "union",  "except", "join",  "into", "returning", "intersect"};
    for (const auto keyword : kOthers) {
        if (IsKeyword(token, keyword)) {
            return Clause::Other;
        }
    }
    return std::nullopt;
}

SqlToken FirstToken(SqlLexer& lexer) {
    SqlToken token = lexer.Next();
    while (token.kind == SqlTokenKind::Comment) {
        token = lexer.Next();
    }
    return token;
}

} // namespace

std::vector<ElementFilter> FindElementFilters(std::string_view sql) {
    std::vector<ElementFilter> found;
    SqlLexer lexer(sql);
    const SqlToken first = FirstToken(lexer);
    if (!IsKeyword(first, "select") && !IsKeyword(first, "with") && !IsKeyword(first, "explain")) {
        return found;
    }
    lexer.Seek(first.begin);
    std::vector<Level> levels(1);
    for (SqlToken token = lexer.Next(); token.kind != SqlTokenKind::End && !token.Is(';');
         token = lexer.Next()) {
        if (const auto clause = ClauseOf(token)) {
            levels.back().clause = *clause;
        } else if (token.Is('(')) {
            const Level outer = levels.back();
            if (outer.clause == Clause::Where && !outer.under_select_list) {
                const size_t after = lexer.Position();
                ElementFilter filter;
                if (FilterMatcher(sql, lexer, filter).Match()) {
                    filter.begin = token.begin;
                    filter.end = lexer.Position();
                    found.push_back(std::move(filter));
                    continue;
                }
                lexer.Seek(after);
            }
            levels.push_back({outer.clause, outer.under_select_list || outer.clause == Clause::SelectList});
        } else if (token.Is(')') && levels.size() > 1) {
            levels.pop_back();
        }
    }
    return found;
}

std::string RewriteElementFilters(std::string_view sql, const ElementFilterRenderer& render) {
    const std::vector<ElementFilter> filters = FindElementFilters(sql);
    std::string out;
    out.reserve(sql.size());
    size_t copied = 0;
    for (const auto& filter : filters) {
        out.append(sql.substr(copied, filter.begin - copied));
        render(filter, out);
        copied = filter.end;
    }
    out.append(sql.substr(copied));
    return out;
}

void RenderRowValueList(const ElementFilter& filter, std::string& out) {
    auto it = std::back_inserter(out);
    fmt::format_to(it, "(({}, {}, {}) in (values ", filter.object_column, filter.objtype_column,
                   filter.item_column);
    const char* separator = "";
    for (const auto& e : filter.elements) {
        fmt::format_to(it, "{}({}, {}, {})", separator, e.object, e.objtype, e.item);
        separator = ", ";
    }
    out += "))";
}

} // namespace tl::db

namespace tl::db {

void RenderTableLookup(const ElementFilter& filter, std::string_view table, std::string& out) {
    fmt::format_to(std::back_inserter(out), "(({}, {}, {}) in (select object, objtype, item from temp.{}))",
                   filter.object_column, filter.objtype_column, filter.item_column, table);
}

} // namespace tl::db
