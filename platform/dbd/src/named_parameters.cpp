#include "named_parameters.hpp"

#include "sql_lexer.hpp"
#include "tlplatform/db_connection.hpp"

#include <fmt/format.h>
#include <fmt/ranges.h>

namespace tl::db {
namespace {

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9');
}

} // namespace

PositionalSql RewriteNamedParameters(std::string_view sql, PlaceholderStyle style) {
    PositionalSql out;
    out.text.reserve(sql.size());
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        const char next = i + 1 < sql.size() ? sql[i + 1] : '\0';
        size_t end = i + 1;
        if (c == '\'' || c == '"') {
            end = SkipQuoted(sql, i);
        } else if (c == '-' && next == '-') {
            end = SkipLineComment(sql, i);
        } else if (c == '/' && next == '*') {
            end = SkipBlockComment(sql, i);
        } else if (c == ':' && next == ':') {
            end = i + 2;
        } else if (c == ':' && IsNameStart(next)) {
            end = i + 2;
            while (end < sql.size() && IsNameChar(sql[end])) {
                ++end;
            }
            out.names.emplace_back(sql.substr(i + 1, end - i - 1));
            if (style == PlaceholderStyle::Question) {
                out.text += '?';
            } else {
                fmt::format_to(std::back_inserter(out.text), "${}", out.names.size());
            }
            i = end;
            continue;
        }
        out.text.append(sql.substr(i, end - i));
        i = end;
    }
    return out;
}

std::span<const TlVariant> ValuesToBind(const PositionalSql& sql, std::span<const TlVariant> values) {
    if (sql.names.empty()) {
        return {};
    }
    if (values.size() != sql.names.size()) {
        throw Error(fmt::format("the SQL text has {} parameter(s) (:{}) but {} value(s) were given",
                                sql.names.size(), fmt::join(sql.names, ", :"), values.size()));
    }
    return values;
}

} // namespace tl::db
