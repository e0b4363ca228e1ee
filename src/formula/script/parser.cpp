#include "parser.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl::script {
namespace {

// Nesting of statements and parenthesised expressions; deeper input is refused rather than
// allowed to exhaust the native stack of the parser, the checker or the interpreter.
constexpr int kMaxNesting = 256;
// Height of an expression tree (long operator chains grow it without recursion in the parser).
constexpr int32_t kMaxHeight = 4000;
// After this many errors the rest of the text is not worth reading.
constexpr int kMaxErrors = 100;

bool IsCallingConvention(Tok kind) {
    return kind == Tok::KwStdcall || kind == Tok::KwCdecl || kind == Tok::KwPascal ||
           kind == Tok::KwRegister || kind == Tok::KwFastcall;
}

} // namespace

Parser::Parser(Lexer& lexer, Arena& arena, Diagnostics& diag) : lexer_(lexer), arena_(arena), diag_(diag) {
    cur_ = lexer_.Next();
    next_ = lexer_.Next();
}

void Parser::Advance() {
    if (fatal_) {
        cur_.kind = Tok::Eof;
        return;
    }
    ++consumed_;
    cur_ = next_;
    if (cur_.kind != Tok::Eof) {
        next_ = lexer_.Next();
    }
}

bool Parser::Match(Tok kind) {
    if (cur_.kind == kind) {
        Advance();
        return true;
    }
    return false;
}

bool Parser::Expect(Tok kind) {
    if (Match(kind)) {
        return true;
    }
    ExpectedError(kind);
    return false;
}

void Parser::ErrorAt(SourcePos pos, std::string text) {
    if (panic_ || fatal_) {
        return;
    }
    panic_ = true;
    diag_.Error(pos, std::move(text));
    if (diag_.ErrorCount() >= kMaxErrors) {
        fatal_ = true;
        cur_.kind = Tok::Eof;
    }
}

void Parser::Fatal(SourcePos pos, std::string text) {
    if (!fatal_) {
        panic_ = false;
        ErrorAt(pos, std::move(text));
    }
    fatal_ = true;
    cur_.kind = Tok::Eof;
}

void Parser::ExpectedError(Tok kind) {
    switch (kind) {
    case Tok::Semicolon:
        ErrorAt(cur_.pos, "требуется \";\".");
        break;
    case Tok::RParen:
        ErrorAt(cur_.pos, "требуется \")\".");
        break;
    case Tok::KwThen:
        ErrorAt(cur_.pos, "требуется Then");
        break;
    case Tok::KwDo:
        ErrorAt(cur_.pos, "требуется DO");
        break;
    case Tok::KwEnd:
        ErrorAt(cur_.pos, "требуется END");
        break;
    case Tok::KwTo:
        ErrorAt(cur_.pos, "требуется TO или DOWNTO");
        break;
    case Tok::Assign:
        ErrorAt(cur_.pos, "требуется \":=\"");
        break;
    case Tok::Identifier:
        ErrorAt(cur_.pos, "требуется идентификатор");
        break;
    default:
        if (kind >= Tok::KwAnd) {
            std::string word(TokenSpelling(kind));
            std::transform(word.begin(), word.end(), word.begin(), [](char c) {
                return static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
            });
            ErrorAt(cur_.pos, "требуется " + word);
        } else {
            ErrorAt(cur_.pos, fmt::format("требуется \"{}\".", TokenSpelling(kind)));
        }
        break;
    }
}

void Parser::Synchronize() {
    if (!panic_) {
        return;
    }
    while (!Check(Tok::Eof)) {
        if (Match(Tok::Semicolon)) {
            break;
        }
        if (Check(Tok::KwEnd) || Check(Tok::KwUntil) || Check(Tok::KwExcept) || Check(Tok::KwFinally) ||
            Check(Tok::KwVar) || Check(Tok::KwConst) || Check(Tok::KwType) || Check(Tok::KwProcedure) ||
            Check(Tok::KwFunction)) {
            break;
        }
        Advance();
    }
    panic_ = false;
}

bool Parser::TooDeep() {
    if (depth_ > kMaxNesting) {
        Fatal(cur_.pos, fmt::format("Слишком глубокая вложенность (больше {} уровней)", kMaxNesting));
        return true;
    }
    return false;
}

// program -> [program Name ;] [uses ...;] { declaration | statement ; } [begin ... end .]
bool Parser::ParseItems(std::vector<Stmt*>& out) {
    if (!started_) {
        started_ = true;
        if (Match(Tok::KwProgram)) {
            Expect(Tok::Identifier);
            Expect(Tok::Semicolon);
            Synchronize();
        }
    }
    while (!finished_ && !Check(Tok::Eof)) {
        uint64_t before = consumed_;
        size_t count = out.size();
        switch (cur_.kind) {
        case Tok::KwUses:
            ParseUses(out);
            break;
        case Tok::KwVar:
            ParseVarSection(out);
            break;
        case Tok::KwConst:
            ParseConstSection(out);
            break;
        case Tok::KwType:
            ParseTypeSection(out);
            break;
        case Tok::KwProcedure:
        case Tok::KwFunction:
            out.push_back(ParseRoutine());
            break;
        case Tok::Semicolon:
            Advance();
            break;
        case Tok::KwEnd:
        case Tok::KwUntil:
        case Tok::KwExcept:
        case Tok::KwFinally:
        case Tok::KwElse:
            // A run of unmatched closing words is one error.
            ErrorAt(cur_.pos, "Invalid Instruction - function or assignment expected");
            while (Check(Tok::KwEnd) || Check(Tok::KwUntil) || Check(Tok::KwExcept) ||
                   Check(Tok::KwFinally) || Check(Tok::KwElse) || Check(Tok::Semicolon)) {
                Advance();
            }
            panic_ = false;
            break;
        case Tok::KwBegin: {
            out.push_back(ParseCompound());
            if (Match(Tok::Dot)) {
                // The classic program form: nothing after "end." belongs to the program.
                finished_ = true;
                break;
            }
            if (!Check(Tok::Eof) && !panic_) {
                Expect(Tok::Semicolon);
            }
            break;
        }
        default:
            out.push_back(ParseStatement());
            if (!Check(Tok::Eof) && !panic_) {
                Expect(Tok::Semicolon);
            }
            break;
        }
        Synchronize();
        if (consumed_ == before && !finished_) {
            Advance();
        }
        if (out.size() > count) {
            return true;
        }
    }
    return false;
}

ProgramAst Parser::ParseProgram() {
    ProgramAst program;
    while (ParseItems(program.items)) {
    }
    return program;
}

void Parser::ParseUses(std::vector<Stmt*>& out) {
    auto* uses = arena_.New<UsesStmt>(cur_.pos);
    Advance();
    do {
        if (Check(Tok::Identifier)) {
            uses->units.push_back(cur_.text);
            uses->positions.push_back(cur_.pos);
        }
        Expect(Tok::Identifier);
    } while (Match(Tok::Comma));
    Expect(Tok::Semicolon);
    out.push_back(uses);
}

// An identifier list followed by ":" starts a declaration; anything else after "var" ends the
// section (the top level mixes declarations and statements).
bool Parser::StartsVarDecl() const {
    return cur_.kind == Tok::Identifier && (next_.kind == Tok::Colon || next_.kind == Tok::Comma);
}

void Parser::ParseVarSection(std::vector<Stmt*>& out) {
    Advance();
    if (!StartsVarDecl()) {
        ExpectedError(Tok::Identifier);
        return;
    }
    while (StartsVarDecl()) {
        auto* decl = arena_.New<VarDeclStmt>(cur_.pos);
        do {
            if (Check(Tok::Identifier)) {
                decl->names.push_back(cur_.text);
                decl->positions.push_back(cur_.pos);
            }
            Expect(Tok::Identifier);
        } while (Match(Tok::Comma));
        Expect(Tok::Colon);
        decl->type = ParseType();
        if (Check(Tok::Equal)) {
            SourcePos pos = cur_.pos;
            Advance();
            decl->init = ParseExpression();
            if (decl->names.size() > 1) {
                ErrorAt(pos, "Только одна переменная может иметь начальное значение");
            }
        }
        Expect(Tok::Semicolon);
        out.push_back(decl);
        if (panic_) {
            Synchronize();
        }
    }
}

void Parser::ParseConstSection(std::vector<Stmt*>& out) {
    Advance();
    if (!(Check(Tok::Identifier) && (next_.kind == Tok::Equal || next_.kind == Tok::Colon))) {
        ExpectedError(Tok::Identifier);
        return;
    }
    while (Check(Tok::Identifier) && (next_.kind == Tok::Equal || next_.kind == Tok::Colon)) {
        auto* decl = arena_.New<ConstDeclStmt>(cur_.pos);
        decl->name = cur_.text;
        Advance();
        if (Match(Tok::Colon)) {
            decl->type = ParseType();
        }
        Expect(Tok::Equal);
        decl->value = ParseExpression();
        Expect(Tok::Semicolon);
        out.push_back(decl);
        if (panic_) {
            Synchronize();
        }
    }
}

void Parser::ParseTypeSection(std::vector<Stmt*>& out) {
    Advance();
    if (!(Check(Tok::Identifier) && next_.kind == Tok::Equal)) {
        ExpectedError(Tok::Identifier);
        return;
    }
    while (Check(Tok::Identifier) && next_.kind == Tok::Equal) {
        auto* decl = arena_.New<TypeDeclStmt>(cur_.pos);
        decl->name = cur_.text;
        Advance();
        Advance();
        decl->type = ParseType();
        Expect(Tok::Semicolon);
        out.push_back(decl);
        if (panic_) {
            Synchronize();
        }
    }
}

// type -> Name | array [lo..hi {, lo..hi}] of type | record fields end | class [(Parent)] [end]
TypeExpr* Parser::ParseType() {
    DepthGuard guard(*this);
    auto* type = arena_.New<TypeExpr>();
    type->pos = cur_.pos;
    if (TooDeep()) {
        return type;
    }
    if (Check(Tok::Identifier)) {
        type->name = cur_.text;
        Advance();
        return type;
    }
    if (Match(Tok::KwArray)) {
        type->kind = TypeExprKind::Array;
        if (!Check(Tok::LBracket)) {
            ErrorAt(cur_.pos, "Поддерживаются только статические массивы (array [low..high] of тип)");
            return type;
        }
        Advance();
        TypeExpr* outer = type;
        TypeExpr* current = type;
        for (;;) {
            current->low = ParseExpression();
            Expect(Tok::DotDot);
            current->high = ParseExpression();
            if (!Match(Tok::Comma)) {
                break;
            }
            // array [a..b, c..d] of T is array [a..b] of array [c..d] of T
            auto* inner = arena_.New<TypeExpr>();
            inner->kind = TypeExprKind::Array;
            inner->pos = cur_.pos;
            current->element = inner;
            current = inner;
        }
        Expect(Tok::RBracket);
        Expect(Tok::KwOf);
        current->element = ParseType();
        return outer;
    }
    if (Match(Tok::KwRecord)) {
        type->kind = TypeExprKind::Record;
        while (Check(Tok::Identifier)) {
            FieldDecl field;
            do {
                if (Check(Tok::Identifier)) {
                    field.names.push_back(cur_.text);
                    field.positions.push_back(cur_.pos);
                }
                Expect(Tok::Identifier);
            } while (Match(Tok::Comma));
            Expect(Tok::Colon);
            field.type = ParseType();
            type->fields.push_back(std::move(field));
            if (!Match(Tok::Semicolon)) {
                break;
            }
        }
        Expect(Tok::KwEnd);
        return type;
    }
    if (Match(Tok::KwClass)) {
        type->kind = TypeExprKind::Class;
        if (Match(Tok::LParen)) {
            if (Check(Tok::Identifier)) {
                type->name = cur_.text;
            }
            Expect(Tok::Identifier);
            Expect(Tok::RParen);
        }
        if (Check(Tok::Semicolon)) {
            return type;
        }
        if (!Check(Tok::KwEnd)) {
            ErrorAt(cur_.pos, "Классы поддерживаются только как классы исключений без членов");
            while (!Check(Tok::KwEnd) && !Check(Tok::Eof)) {
                Advance();
            }
        }
        Expect(Tok::KwEnd);
        return type;
    }
    ErrorAt(cur_.pos, "требуется тип");
    return type;
}

// routine -> (procedure | function) Name [(params)] [: Type] ; [directives] [decls] begin ... end ;
RoutineStmt* Parser::ParseRoutine() {
    auto* routine = arena_.New<RoutineStmt>(cur_.pos);
    routine->is_function = Check(Tok::KwFunction);
    Advance();
    if (Check(Tok::Identifier)) {
        routine->name = cur_.text;
        routine->pos = cur_.pos;
    }
    Expect(Tok::Identifier);
    if (Match(Tok::LParen)) {
        if (!Check(Tok::RParen)) {
            ParseParams(routine);
        }
        Expect(Tok::RParen);
    }
    if (routine->is_function) {
        Expect(Tok::Colon);
        routine->result = ParseType();
    }
    Expect(Tok::Semicolon);
    for (;;) {
        if (Check(Tok::KwForward)) {
            routine->is_forward = true;
            Advance();
            Expect(Tok::Semicolon);
        } else if (IsCallingConvention(cur_.kind)) {
            Advance();
            Expect(Tok::Semicolon);
        } else if (Check(Tok::KwExternal)) {
            ErrorAt(cur_.pos, "Внешние подпрограммы не поддерживаются");
            return routine;
        } else {
            break;
        }
    }
    if (routine->is_forward) {
        return routine;
    }
    for (;;) {
        if (Check(Tok::KwVar)) {
            ParseVarSection(routine->decls);
        } else if (Check(Tok::KwConst)) {
            ParseConstSection(routine->decls);
        } else if (Check(Tok::KwType)) {
            ParseTypeSection(routine->decls);
        } else if (Check(Tok::KwProcedure) || Check(Tok::KwFunction)) {
            ErrorAt(cur_.pos, "Вложенные подпрограммы не поддерживаются");
            ParseRoutine();
            panic_ = false;
        } else {
            break;
        }
        Synchronize();
    }
    if (!Check(Tok::KwBegin)) {
        ExpectedError(Tok::KwBegin);
        return routine;
    }
    routine->body = ParseCompound();
    Expect(Tok::Semicolon);
    return routine;
}

void Parser::ParseParams(RoutineStmt* routine) {
    do {
        ParamMode mode = ParamMode::Value;
        if (Match(Tok::KwVar)) {
            mode = ParamMode::Var;
        } else if (Match(Tok::KwConst)) {
            mode = ParamMode::Const;
        }
        size_t first = routine->params.size();
        do {
            ParamDecl param;
            param.mode = mode;
            param.name = cur_.text;
            param.pos = cur_.pos;
            if (!Expect(Tok::Identifier)) {
                return;
            }
            routine->params.push_back(param);
        } while (Match(Tok::Comma));
        Expect(Tok::Colon);
        TypeExpr* type = ParseType();
        for (size_t i = first; i < routine->params.size(); ++i) {
            routine->params[i].type = type;
        }
    } while (Match(Tok::Semicolon));
}

// ---- statements ----------------------------------------------------------------------------

void Parser::ParseStatementList(std::vector<Stmt*>& out, std::initializer_list<Tok> terminators) {
    auto at_end = [&] {
        if (Check(Tok::Eof)) {
            return true;
        }
        return std::find(terminators.begin(), terminators.end(), cur_.kind) != terminators.end();
    };
    while (!at_end()) {
        uint64_t before = consumed_;
        Stmt* stmt = ParseStatement();
        if (stmt->kind != StmtKind::Empty) {
            out.push_back(stmt);
        }
        if (!panic_ && !at_end() && !Match(Tok::Semicolon)) {
            ExpectedError(Tok::Semicolon);
        }
        Synchronize();
        if (consumed_ == before && !at_end()) {
            Advance();
        }
    }
}

CompoundStmt* Parser::ParseCompound() {
    auto* block = arena_.New<CompoundStmt>(cur_.pos);
    Advance(); // begin
    ParseStatementList(block->body, {Tok::KwEnd});
    Expect(Tok::KwEnd);
    return block;
}

Stmt* Parser::ParseStatement() {
    DepthGuard guard(*this);
    if (TooDeep()) {
        return arena_.New<Stmt>(StmtKind::Empty, cur_.pos);
    }
    SourcePos pos = cur_.pos;
    switch (cur_.kind) {
    case Tok::KwBegin:
        return ParseCompound();
    case Tok::KwIf:
        return ParseIf();
    case Tok::KwFor:
        return ParseFor();
    case Tok::KwWhile:
        return ParseWhile();
    case Tok::KwRepeat:
        return ParseRepeat();
    case Tok::KwCase:
        return ParseCase();
    case Tok::KwTry:
        return ParseTry();
    case Tok::KwRaise: {
        Advance();
        Expr* value = nullptr;
        if (!Check(Tok::Semicolon) && !Check(Tok::KwEnd) && !Check(Tok::KwElse) && !Check(Tok::KwUntil) &&
            !Check(Tok::KwExcept) && !Check(Tok::KwFinally) && !Check(Tok::Eof)) {
            value = ParseExpression();
        }
        return arena_.New<RaiseStmt>(pos, value);
    }
    case Tok::KwExit: {
        Advance();
        Expr* value = nullptr;
        if (Match(Tok::LParen)) {
            if (!Check(Tok::RParen)) {
                value = ParseExpression();
            }
            Expect(Tok::RParen);
        }
        return arena_.New<ExitStmt>(pos, value);
    }
    case Tok::KwBreak:
        Advance();
        return arena_.New<Stmt>(StmtKind::Break, pos);
    case Tok::KwContinue:
        Advance();
        return arena_.New<Stmt>(StmtKind::Continue, pos);
    case Tok::Semicolon:
    case Tok::KwEnd:
    case Tok::KwUntil:
    case Tok::KwExcept:
    case Tok::KwFinally:
    case Tok::KwElse:
    case Tok::Eof:
        return arena_.New<Stmt>(StmtKind::Empty, pos);
    case Tok::KwVar:
    case Tok::KwConst:
    case Tok::KwType:
    case Tok::KwProcedure:
    case Tok::KwFunction:
        ErrorAt(pos, "Объявления допустимы только на верхнем уровне скрипта и перед телом подпрограммы");
        return arena_.New<Stmt>(StmtKind::Empty, pos);
    default:
        return ParseSimpleStatement();
    }
}

// assignment or call: designator [:= expression]
Stmt* Parser::ParseSimpleStatement() {
    SourcePos pos = cur_.pos;
    Expr* target = ParseExpression();
    if (Check(Tok::Assign)) {
        SourcePos assign_pos = cur_.pos;
        Advance();
        Expr* value = ParseExpression();
        (void)assign_pos;
        return arena_.New<AssignStmt>(pos, target, value);
    }
    if (target->kind != ExprKind::Name && target->kind != ExprKind::Call &&
        target->kind != ExprKind::Member && target->kind != ExprKind::Error) {
        ErrorAt(pos, "Invalid Instruction - function or assignment expected");
    }
    return arena_.New<CallStmt>(pos, target);
}

Stmt* Parser::ParseIf() {
    auto* stmt = arena_.New<IfStmt>(cur_.pos);
    Advance();
    stmt->cond = ParseExpression();
    if (!Expect(Tok::KwThen)) {
        return stmt;
    }
    stmt->then_branch = ParseStatement();
    if (Match(Tok::KwElse)) {
        stmt->else_branch = ParseStatement();
    }
    return stmt;
}

Stmt* Parser::ParseFor() {
    auto* stmt = arena_.New<ForStmt>(cur_.pos);
    Advance();
    if (Check(Tok::Identifier)) {
        stmt->var = arena_.New<NameExpr>(cur_.pos, cur_.text);
    }
    if (!Expect(Tok::Identifier) || !Expect(Tok::Assign)) {
        return stmt;
    }
    stmt->from = ParseExpression();
    if (Match(Tok::KwDownto)) {
        stmt->downto = true;
    } else if (!Expect(Tok::KwTo)) {
        return stmt;
    }
    stmt->to = ParseExpression();
    if (!Expect(Tok::KwDo)) {
        return stmt;
    }
    stmt->body = ParseStatement();
    return stmt;
}

Stmt* Parser::ParseWhile() {
    auto* stmt = arena_.New<WhileStmt>(cur_.pos);
    Advance();
    stmt->cond = ParseExpression();
    if (!Expect(Tok::KwDo)) {
        return stmt;
    }
    stmt->body = ParseStatement();
    return stmt;
}

Stmt* Parser::ParseRepeat() {
    auto* stmt = arena_.New<RepeatStmt>(cur_.pos);
    Advance();
    ParseStatementList(stmt->body, {Tok::KwUntil});
    if (Expect(Tok::KwUntil)) {
        stmt->cond = ParseExpression();
    }
    return stmt;
}

// case -> case expr of label {, label} : stmt { ; label ... } [else stmts] end
Stmt* Parser::ParseCase() {
    auto* stmt = arena_.New<CaseStmt>(cur_.pos);
    Advance();
    stmt->selector = ParseExpression();
    if (!Expect(Tok::KwOf)) {
        return stmt;
    }
    while (!Check(Tok::KwEnd) && !Check(Tok::KwElse) && !Check(Tok::Eof)) {
        CaseBranch branch;
        do {
            CaseLabel label;
            label.low = ParseExpression();
            if (Match(Tok::DotDot)) {
                label.high = ParseExpression();
            }
            branch.labels.push_back(label);
        } while (Match(Tok::Comma));
        if (!Expect(Tok::Colon)) {
            return stmt;
        }
        branch.body = ParseStatement();
        stmt->branches.push_back(std::move(branch));
        if (panic_) {
            return stmt;
        }
        if (!Match(Tok::Semicolon)) {
            break;
        }
    }
    if (Match(Tok::KwElse)) {
        stmt->has_else = true;
        ParseStatementList(stmt->else_body, {Tok::KwEnd});
    }
    Expect(Tok::KwEnd);
    return stmt;
}

// try stmts (except [handlers [else stmts] | stmts] | finally stmts) end
Stmt* Parser::ParseTry() {
    SourcePos pos = cur_.pos;
    Advance();
    std::vector<Stmt*> body;
    ParseStatementList(body, {Tok::KwExcept, Tok::KwFinally});
    if (Match(Tok::KwFinally)) {
        auto* stmt = arena_.New<TryFinallyStmt>(pos);
        stmt->body = std::move(body);
        ParseStatementList(stmt->finally_body, {Tok::KwEnd});
        Expect(Tok::KwEnd);
        return stmt;
    }
    auto* stmt = arena_.New<TryExceptStmt>(pos);
    stmt->body = std::move(body);
    if (!Match(Tok::KwExcept)) {
        ErrorAt(cur_.pos, "требуется EXCEPT или FINALLY");
        return stmt;
    }
    if (!Check(Tok::KwOn)) {
        stmt->has_else = true;
        ParseStatementList(stmt->else_body, {Tok::KwEnd});
        Expect(Tok::KwEnd);
        return stmt;
    }
    while (Check(Tok::KwOn)) {
        ExceptHandler handler;
        handler.pos = cur_.pos;
        Advance();
        if (Check(Tok::Identifier) && next_.kind == Tok::Colon) {
            handler.var_name = cur_.text;
            Advance();
            Advance();
        }
        handler.class_name = cur_.text;
        handler.class_pos = cur_.pos;
        if (!Expect(Tok::Identifier) || !Expect(Tok::KwDo)) {
            return stmt;
        }
        handler.body = ParseStatement();
        stmt->handlers.push_back(handler);
        if (panic_) {
            return stmt;
        }
        Match(Tok::Semicolon);
    }
    if (Match(Tok::KwElse)) {
        stmt->has_else = true;
        ParseStatementList(stmt->else_body, {Tok::KwEnd});
    }
    Expect(Tok::KwEnd);
    return stmt;
}

// ---- expressions ---------------------------------------------------------------------------

Expr* Parser::ErrorExpr(SourcePos pos) {
    return arena_.New<Expr>(ExprKind::Error, pos);
}

Expr* Parser::MakeBinary(SourcePos pos, Tok op, Expr* left, Expr* right) {
    auto* expr = arena_.New<BinaryExpr>(pos, op, left, right);
    expr->height = std::max(left->height, right->height) + 1;
    if (expr->height > kMaxHeight) {
        Fatal(pos, fmt::format("Слишком сложное выражение (больше {} уровней)", kMaxHeight));
    }
    return expr;
}

// expression -> simple [relop simple]...   (comparisons and "is", left-associative)
Expr* Parser::ParseExpression() {
    DepthGuard guard(*this);
    if (TooDeep()) {
        return ErrorExpr(cur_.pos);
    }
    Expr* left = ParseSimple();
    for (;;) {
        Tok op = cur_.kind;
        if (op != Tok::Equal && op != Tok::NotEqual && op != Tok::Less && op != Tok::LessEq &&
            op != Tok::Greater && op != Tok::GreaterEq && op != Tok::KwIs && op != Tok::KwIn) {
            return left;
        }
        SourcePos pos = cur_.pos;
        Advance();
        Expr* right = ParseSimple();
        left = MakeBinary(pos, op, left, right);
    }
}

// simple -> term { (+ | - | or | xor) term }
Expr* Parser::ParseSimple() {
    Expr* left = ParseTerm();
    for (;;) {
        Tok op = cur_.kind;
        if (op != Tok::Plus && op != Tok::Minus && op != Tok::KwOr && op != Tok::KwXor) {
            return left;
        }
        SourcePos pos = cur_.pos;
        Advance();
        Expr* right = ParseTerm();
        left = MakeBinary(pos, op, left, right);
    }
}

// term -> factor { (* | / | div | mod | and | shl | shr | as) factor }
Expr* Parser::ParseTerm() {
    Expr* left = ParseFactor();
    for (;;) {
        Tok op = cur_.kind;
        if (op != Tok::Star && op != Tok::Slash && op != Tok::KwDiv && op != Tok::KwMod && op != Tok::KwAnd &&
            op != Tok::KwShl && op != Tok::KwShr && op != Tok::KwAs) {
            return left;
        }
        SourcePos pos = cur_.pos;
        Advance();
        Expr* right = ParseFactor();
        left = MakeBinary(pos, op, left, right);
    }
}

// factor -> literal | designator | ( expression ) | not factor | - factor | + factor
Expr* Parser::ParseFactor() {
    DepthGuard guard(*this);
    SourcePos pos = cur_.pos;
    if (TooDeep()) {
        return ErrorExpr(pos);
    }
    switch (cur_.kind) {
    case Tok::IntLiteral: {
        auto* expr = arena_.New<Expr>(cur_.bad ? ExprKind::Error : ExprKind::IntLit, pos);
        expr->value.i = cur_.int_value;
        Advance();
        return expr;
    }
    case Tok::FloatLiteral: {
        auto* expr = arena_.New<Expr>(ExprKind::FloatLit, pos);
        expr->value.f = cur_.float_value;
        Advance();
        return expr;
    }
    case Tok::StringLiteral: {
        auto* expr = arena_.New<Expr>(cur_.bad ? ExprKind::Error : ExprKind::StrLit, pos);
        expr->value.s = cur_.value;
        Advance();
        return ParseDesignator(expr);
    }
    case Tok::KwTrue:
    case Tok::KwFalse: {
        auto* expr = arena_.New<Expr>(ExprKind::BoolLit, pos);
        expr->value.i = Check(Tok::KwTrue) ? 1 : 0;
        Advance();
        return expr;
    }
    case Tok::KwNil:
        Advance();
        return arena_.New<Expr>(ExprKind::Nil, pos);
    case Tok::Identifier: {
        Expr* name = arena_.New<NameExpr>(pos, cur_.text);
        Advance();
        return ParseDesignator(name);
    }
    case Tok::LParen: {
        Advance();
        Expr* inner = ParseExpression();
        Expect(Tok::RParen);
        return ParseDesignator(inner);
    }
    case Tok::KwNot:
    case Tok::Minus:
    case Tok::Plus: {
        Tok op = cur_.kind;
        Advance();
        Expr* operand = ParseFactor();
        if (op == Tok::Plus) {
            return operand;
        }
        auto* expr = arena_.New<UnaryExpr>(pos, op, operand);
        expr->height = operand->height + 1;
        return expr;
    }
    default:
        ErrorAt(pos, "требуется выражение");
        return ErrorExpr(pos);
    }
}

// designator -> base { ( args ) | [ index {, index} ] | . Name }
Expr* Parser::ParseDesignator(Expr* base) {
    for (;;) {
        SourcePos pos = cur_.pos;
        if (Check(Tok::LParen)) {
            auto* call = arena_.New<CallExpr>(base->pos, base);
            Advance();
            int32_t height = base->height;
            if (!Check(Tok::RParen)) {
                do {
                    Expr* arg = ParseExpression();
                    height = std::max(height, arg->height);
                    call->args.push_back(arg);
                } while (Match(Tok::Comma));
            }
            Expect(Tok::RParen);
            call->height = height + 1;
            base = call;
        } else if (Check(Tok::LBracket)) {
            Advance();
            do {
                Expr* index = ParseExpression();
                auto* expr = arena_.New<IndexExpr>(pos, base, index);
                expr->height = std::max(base->height, index->height) + 1;
                base = expr;
            } while (Match(Tok::Comma));
            Expect(Tok::RBracket);
        } else if (Check(Tok::Dot) && next_.kind == Tok::Identifier) {
            Advance();
            auto* member = arena_.New<MemberExpr>(cur_.pos, base, cur_.text);
            member->height = base->height + 1;
            Advance();
            base = member;
        } else {
            if (base->height > kMaxHeight) {
                Fatal(pos, fmt::format("Слишком сложное выражение (больше {} уровней)", kMaxHeight));
            }
            return base;
        }
    }
}

} // namespace tl::script
