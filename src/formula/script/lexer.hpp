// Turns script text into tokens. Comments and compiler switches are consumed here; the include
// switch pushes the included file onto the input stack.
#pragma once

#include "diagnostics.hpp"
#include "token.hpp"

#include <string>
#include <string_view>
#include <vector>

namespace tl::script {

class Lexer {
public:
    Lexer(std::string_view text, const std::vector<std::string>& include_dirs, Diagnostics& diag,
          SourceStore& sources);

    Token Next();

private:
    Token NextOrSkip();
    struct Input {
        std::string_view text;
        size_t pos = 0;
        int32_t line = 1;
        int32_t column = 1;
        int32_t file = 0;
    };

    bool AtEnd() const { return in().pos >= in().text.size(); }
    char Peek(size_t ahead = 0) const {
        const Input& input = in();
        return input.pos + ahead < input.text.size() ? input.text[input.pos + ahead] : '\0';
    }
    void Advance();
    Input& in() { return stack_.back(); }
    const Input& in() const { return stack_.back(); }
    SourcePos Here() const { return {in().line, in().column, in().file}; }

    // Skips blanks, comments and switches; false at the end of all input.
    bool SkipTrivia();
    void SkipBraceComment(SourcePos start);
    void SkipParenComment(SourcePos start);
    void CompilerSwitch(SourcePos start);
    void Include(std::string_view name, SourcePos pos);

    Token Word(SourcePos start);
    Token Number(SourcePos start);
    Token Hex(SourcePos start);
    Token StringLiteral(SourcePos start);
    Token Symbol(SourcePos start);

    std::vector<Input> stack_;
    const std::vector<std::string>& include_dirs_;
    Diagnostics& diag_;
    SourceStore& sources_;
    std::string scratch_;
};

} // namespace tl::script
