// Recursive-descent parser of the formula language. On a syntax error it reports once, skips to
// the next statement and goes on, so that independent errors are all reported in one pass.
#pragma once

#include "arena.hpp"
#include "ast.hpp"
#include "diagnostics.hpp"
#include "lexer.hpp"

namespace tl::script {

// Nesting of statements and parenthesised expressions; deeper input is refused rather than
// allowed to exhaust the native stack of the parser, the checker or the interpreter.
inline constexpr int kMaxNesting = 256;
// Height of an expression tree (long operator chains grow it without recursion in the parser).
inline constexpr int32_t kMaxHeight = 4000;
// After this many errors the rest of the text is not worth reading.
inline constexpr int kMaxErrors = 100;

class Parser {
public:
    Parser(Lexer& lexer, Arena& arena, Diagnostics& diag);
    // Parses the next top-level declaration or statement (a var section may give several
    // items) into out; false when the text is exhausted. Items are parsed one at a time so that
    // each can be checked and compiled before the next one is read.
    bool ParseItems(std::vector<Stmt*>& out);

private:
    // tokens
    void Advance();
    bool Check(Tok kind) const { return cur_.kind == kind; }
    bool Match(Tok kind);
    bool Expect(Tok kind);
    void ErrorAt(SourcePos pos, std::string text);
    void ExpectedError(Tok kind);
    void Synchronize();
    void Fatal(SourcePos pos, std::string text);

    // declarations
    void ParseUses(std::vector<Stmt*>& out);
    void ParseVarSection(std::vector<Stmt*>& out);
    void ParseConstSection(std::vector<Stmt*>& out);
    void ParseTypeSection(std::vector<Stmt*>& out);
    RoutineStmt* ParseRoutine();
    void ParseParams(RoutineStmt* routine);
    TypeExpr* ParseType();
    bool StartsVarDecl() const;
    bool StartsClause(std::string_view word) const;

    // statements
    Stmt* ParseStatement();
    void ParseStatementList(std::vector<Stmt*>& out, std::initializer_list<Tok> terminators);
    CompoundStmt* ParseCompound();
    Stmt* ParseIf();
    Stmt* ParseFor();
    Stmt* ParseWhile();
    Stmt* ParseRepeat();
    Stmt* ParseCase();
    Stmt* ParseTry();
    Stmt* ParseSimpleStatement();

    // expressions
    Expr* ParseExpression();
    Expr* ParseSimple();
    Expr* ParseTerm();
    Expr* ParseFactor();
    Expr* ParseDesignator(Expr* base);
    Expr* MakeBinary(SourcePos pos, Tok op, Expr* left, Expr* right);
    Expr* ErrorExpr(SourcePos pos);

    struct DepthGuard {
        explicit DepthGuard(Parser& p) : parser(p) { ++parser.depth_; }
        ~DepthGuard() { --parser.depth_; }
        Parser& parser;
    };
    bool TooDeep();

    Lexer& lexer_;
    Arena& arena_;
    Diagnostics& diag_;
    Token cur_;
    Token next_;
    bool panic_ = false;
    bool fatal_ = false;
    int depth_ = 0;
    uint64_t consumed_ = 0;
    bool started_ = false;
    bool finished_ = false; // tokens advanced over, to make sure error recovery moves on
};

} // namespace tl::script
