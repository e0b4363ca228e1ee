#include "parser.hpp"

#include <algorithm>
#include <fmt/format.h>

namespace tl::script {
namespace {

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
        if (StartsClause("program")) {
            Advance();
            Advance();
            Expect(Tok::Semicolon);
            Synchronize();
        }
    }
    while (!finished_ && !Check(Tok::Eof)) {
        uint64_t before = consumed_;
        size_t count = out.size();
        switch (cur_.kind) {
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
            if (StartsClause("uses")) {
                ParseUses(out);
                break;
            }
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

// "program" and "uses" are no reserved words: followed by a name they open the program header
// and the uses clause; otherwise they are names like any other.
bool Parser::StartsClause(std::string_view word) const {
    if (cur_.kind != Tok::Identifier || next_.kind != Tok::Identifier || cur_.text.size() != word.size()) {
        return false;
    }
    for (size_t i = 0; i < word.size(); ++i) {
        const char ch = cur_.text[i];
        if (((ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch) != word[i]) {
            return false;
        }
    }
    return true;
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

} // namespace tl::script
