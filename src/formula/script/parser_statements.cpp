// The parser's statements and expressions.
#include "parser.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl::script {

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

// term -> factor { (* | / | div | mod | and | as) factor }
Expr* Parser::ParseTerm() {
    Expr* left = ParseFactor();
    for (;;) {
        Tok op = cur_.kind;
        if (op != Tok::Star && op != Tok::Slash && op != Tok::KwDiv && op != Tok::KwMod && op != Tok::KwAnd &&
            op != Tok::KwAs) {
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
