#include "pg_union_distinct.hpp"

#include "sql_lexer.hpp"

#include <vector>

namespace tl::db::pg {
namespace {

SqlToken NextSignificant(SqlLexer& lexer) {
    SqlToken token = lexer.Next();
    while (token.kind == SqlTokenKind::Comment) {
        token = lexer.Next();
    }
    return token;
}

} // namespace

std::string DropDistinctInsideUnion(std::string_view sql) {
    SqlLexer lexer(sql);
    std::vector<SqlToken> distincts; // the DISTINCT of each top-level branch that has one
    bool branch_start = true;
    int unions = 0;
    int depth = 0;
    for (SqlToken token = NextSignificant(lexer); token.kind != SqlTokenKind::End;
         token = NextSignificant(lexer)) {
        if (token.Is('(')) {
            ++depth;
        } else if (token.Is(')')) {
            --depth;
        } else if (token.Is(';')) {
            return std::string(sql); // several statements: not this one's business
        }
        if (depth != 0 || token.Is(')')) {
            branch_start = false;
            continue;
        }
        if (branch_start) {
            branch_start = false;
            if (!IsKeyword(token, "select")) {
                return std::string(sql);
            }
            const size_t after_select = lexer.Position();
            const SqlToken next = NextSignificant(lexer);
            if (IsKeyword(next, "distinct")) {
                const size_t after_distinct = lexer.Position();
                if (IsKeyword(NextSignificant(lexer), "on")) {
                    return std::string(sql);
                }
                lexer.Seek(after_distinct);
                distincts.push_back(next);
            } else {
                lexer.Seek(after_select);
            }
        } else if (IsKeyword(token, "union")) {
            const size_t after_union = lexer.Position();
            const SqlToken next = NextSignificant(lexer);
            if (IsKeyword(next, "all")) {
                return std::string(sql);
            }
            lexer.Seek(after_union);
            ++unions;
            branch_start = true;
        } else if (IsKeyword(token, "intersect") || IsKeyword(token, "except")) {
            return std::string(sql);
        }
    }
    std::string out(sql);
    if (unions == 0) {
        return out;
    }
    for (const SqlToken& distinct : distincts) {
        out.replace(distinct.begin, distinct.end - distinct.begin, distinct.end - distinct.begin, ' ');
    }
    return out;
}

} // namespace tl::db::pg
