#include "sql_lexer.hpp"

namespace tl::db {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Letters, "_" and every byte of a multi-byte UTF-8 character may start a word.
bool IsWordStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsWordChar(char c) {
    return IsWordStart(c) || IsDigit(c) || c == '$';
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

size_t SkipQuoted(std::string_view sql, size_t begin) {
    const char close = sql[begin] == '[' ? ']' : sql[begin];
    size_t i = begin + 1;
    while (i < sql.size()) {
        if (sql[i++] == close) {
            if (close != ']' && i < sql.size() && sql[i] == close) {
                ++i;
                continue;
            }
            return i;
        }
    }
    return sql.size();
}

size_t SkipLineComment(std::string_view sql, size_t begin) {
    const size_t end = sql.find('\n', begin);
    return end == std::string_view::npos ? sql.size() : end;
}

size_t SkipBlockComment(std::string_view sql, size_t begin) {
    const size_t end = sql.find("*/", begin + 2);
    return end == std::string_view::npos ? sql.size() : end + 2;
}

SqlToken SqlLexer::Next() {
    while (pos_ < sql_.size() && IsBlank(sql_[pos_])) {
        ++pos_;
    }
    SqlToken token;
    token.begin = pos_;
    if (pos_ >= sql_.size()) {
        token.end = pos_;
        return token;
    }
    const char c = sql_[pos_];
    const char next = pos_ + 1 < sql_.size() ? sql_[pos_ + 1] : '\0';
    size_t end = pos_ + 1;
    if (c == '\'' || c == '"' || c == '`' || c == '[') {
        token.kind = SqlTokenKind::Quoted;
        end = SkipQuoted(sql_, pos_);
    } else if (c == '-' && next == '-') {
        token.kind = SqlTokenKind::Comment;
        end = SkipLineComment(sql_, pos_);
    } else if (c == '/' && next == '*') {
        token.kind = SqlTokenKind::Comment;
        end = SkipBlockComment(sql_, pos_);
    } else if (IsWordStart(c)) {
        token.kind = SqlTokenKind::Word;
        while (end < sql_.size() && IsWordChar(sql_[end])) {
            ++end;
        }
    } else if (IsDigit(c)) {
        token.kind = SqlTokenKind::Number;
        while (end < sql_.size() && (IsWordChar(sql_[end]) || sql_[end] == '.')) {
            ++end;
        }
    } else {
        token.kind = SqlTokenKind::Punct;
    }
    token.end = end;
    token.text = sql_.substr(pos_, end - pos_);
    pos_ = end;
    return token;
}

bool IsKeyword(const SqlToken& token, std::string_view keyword) {
    if (token.kind != SqlTokenKind::Word || token.text.size() != keyword.size()) {
        return false;
    }
    for (size_t i = 0; i < keyword.size(); ++i) {
        if (LowerAscii(token.text[i]) != keyword[i]) {
            return false;
        }
    }
    return true;
}

std::vector<std::string_view> SplitStatements(std::string_view sql) {
    std::vector<std::string_view> statements;
    SqlLexer lexer(sql);
    size_t begin = 0;
    bool substance = false;
    for (;;) {
        const SqlToken token = lexer.Next();
        if (token.kind == SqlTokenKind::End || token.Is(';')) {
            if (substance) {
                statements.push_back(sql.substr(begin, token.begin - begin));
            }
            if (token.kind == SqlTokenKind::End) {
                return statements;
            }
            begin = token.end;
            substance = false;
        } else if (token.kind != SqlTokenKind::Comment) {
            substance = true;
        }
    }
}

} // namespace tl::db
