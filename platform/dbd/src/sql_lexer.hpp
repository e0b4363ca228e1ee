// A lexer for SQL texts, just enough to find what the library rewrites in them: words, numbers,
// single punctuation characters, and quoted texts and comments as opaque runs that nothing looks
// into. It never fails: whatever it does not know is a punctuation token.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tl::db {

// Index just past the end of the quoted run that starts at `begin` (a doubled quote inside stays
// inside); an unterminated run ends with the text.
size_t SkipQuoted(std::string_view sql, size_t begin);
// Index of the line end of a "--" comment (or the end of the text).
size_t SkipLineComment(std::string_view sql, size_t begin);
// Index just past the "*/" of a "/*" comment (or the end of the text).
size_t SkipBlockComment(std::string_view sql, size_t begin);

enum class SqlTokenKind {
    End,
    Word,    // an identifier or keyword
    Number,  // begins with a digit: "12", "1.5", "0x1F" (nothing checks its form)
    Punct,   // one character
    Quoted,  // '...', "...", `...` or [...]
    Comment, // "-- ..." or "/* ... */"
};

struct SqlToken {
    SqlTokenKind kind = SqlTokenKind::End;
    size_t begin = 0; // offsets in the statement
    size_t end = 0;
    std::string_view text;

    bool Is(char c) const { return kind == SqlTokenKind::Punct && text[0] == c; }
};

class SqlLexer {
public:
    explicit SqlLexer(std::string_view sql) : sql_(sql) {}

    // The next token after blanks; an End token at the end of the text.
    SqlToken Next();
    size_t Position() const { return pos_; }
    void Seek(size_t pos) { pos_ = pos; }

private:
    std::string_view sql_;
    size_t pos_ = 0;
};

// A word equal to `keyword` (lower case) without regard to ASCII case.
bool IsKeyword(const SqlToken& token, std::string_view keyword);

// The statements of a text, split at the ";" between them (not those in quotes or comments), each
// without its ";"; statements of nothing but blanks and comments are left out.
std::vector<std::string_view> SplitStatements(std::string_view sql);

} // namespace tl::db
