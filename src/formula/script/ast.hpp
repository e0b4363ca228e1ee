// The syntax tree the parser builds. The checker fills in the annotations (types, resolved
// symbols, constant values) that the compiler then reads.
#pragma once

#include "source_pos.hpp"
#include "token.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tl::script {

struct Type;
struct Symbol;
struct FunctionDef;
struct RoutineInfo;

// ---- expressions -------------------------------------------------------------------------

enum class ExprKind : uint8_t {
    IntLit,
    FloatLit,
    StrLit,
    BoolLit,
    Nil,
    Name,
    Call,
    Index,
    Member,
    Unary,
    Binary,
    Convert, // inserted by the checker: Integer -> Float, Char -> String, scalar <-> Variant
    Error,
};

struct ConstValue {
    int64_t i = 0; // Integer, Char, Boolean
    double f = 0;
    std::string_view s;
};

struct Expr {
    Expr(ExprKind k, SourcePos p) : kind(k), pos(p) {}
    ExprKind kind;
    SourcePos pos;
    const Type* type = nullptr;
    bool is_const = false;
    int32_t height = 1; // levels of the subtree, bounded by the parser
    ConstValue value;
};

struct NameExpr : Expr {
    NameExpr(SourcePos p, std::string_view n) : Expr(ExprKind::Name, p), name(n) {}
    std::string_view name;
    const Symbol* symbol = nullptr;
};

enum class CallKind : uint8_t { Unresolved, Native, Script, Constructor };

struct CallExpr : Expr {
    CallExpr(SourcePos p, Expr* c) : Expr(ExprKind::Call, p), callee(c) {}
    Expr* callee;
    std::vector<Expr*> args;
    CallKind call_kind = CallKind::Unresolved;
    const FunctionDef* native = nullptr;
    RoutineInfo* routine = nullptr;
    const Type* class_type = nullptr; // constructor: the class created
};

struct IndexExpr : Expr {
    IndexExpr(SourcePos p, Expr* b, Expr* i) : Expr(ExprKind::Index, p), base(b), index(i) {}
    Expr* base;
    Expr* index;
};

enum class MemberKind : uint8_t { Unresolved, Field, Message, ClassName };

struct MemberExpr : Expr {
    MemberExpr(SourcePos p, Expr* b, std::string_view n) : Expr(ExprKind::Member, p), base(b), name(n) {}
    Expr* base;
    std::string_view name;
    MemberKind member = MemberKind::Unresolved;
    int32_t offset = 0; // record field offset in slots
};

struct UnaryExpr : Expr {
    UnaryExpr(SourcePos p, Tok o, Expr* e) : Expr(ExprKind::Unary, p), op(o), operand(e) {}
    Tok op;
    Expr* operand;
};

struct BinaryExpr : Expr {
    BinaryExpr(SourcePos p, Tok o, Expr* l, Expr* r) : Expr(ExprKind::Binary, p), op(o), left(l), right(r) {}
    Tok op;
    Expr* left;
    Expr* right;
    const Type* operand_type = nullptr; // the type both operands were brought to
};

struct ConvertExpr : Expr {
    ConvertExpr(SourcePos p, Expr* e, const Type* to) : Expr(ExprKind::Convert, p), operand(e) { type = to; }
    Expr* operand;
};

// ---- types as written ---------------------------------------------------------------------

enum class TypeExprKind : uint8_t { Named, Array, Record, Class };

struct TypeExpr;

struct FieldDecl {
    std::vector<std::string_view> names;
    std::vector<SourcePos> positions;
    TypeExpr* type = nullptr;
};

struct TypeExpr {
    TypeExprKind kind = TypeExprKind::Named;
    SourcePos pos;
    std::string_view name; // Named; Class: the parent's name (empty: none)
    Expr* low = nullptr;   // Array
    Expr* high = nullptr;
    TypeExpr* element = nullptr;
    std::vector<FieldDecl> fields; // Record
};

// ---- statements and declarations -----------------------------------------------------------

enum class StmtKind : uint8_t {
    Empty,
    Assign,
    Call,
    Compound,
    If,
    For,
    While,
    Repeat,
    Case,
    TryExcept,
    TryFinally,
    Raise,
    Exit,
    Break,
    Continue,
    VarDecl,
    ConstDecl,
    TypeDecl,
    Routine,
    Uses,
};

struct Stmt {
    Stmt(StmtKind k, SourcePos p) : kind(k), pos(p) {}
    StmtKind kind;
    SourcePos pos;
};

struct AssignStmt : Stmt {
    AssignStmt(SourcePos p, Expr* t, Expr* v) : Stmt(StmtKind::Assign, p), target(t), value(v) {}
    Expr* target;
    Expr* value;
};

struct CallStmt : Stmt {
    CallStmt(SourcePos p, Expr* e) : Stmt(StmtKind::Call, p), expr(e) {}
    Expr* expr;
};

struct CompoundStmt : Stmt {
    explicit CompoundStmt(SourcePos p) : Stmt(StmtKind::Compound, p) {}
    std::vector<Stmt*> body;
};

struct IfStmt : Stmt {
    IfStmt(SourcePos p) : Stmt(StmtKind::If, p) {}
    Expr* cond = nullptr;
    Stmt* then_branch = nullptr;
    Stmt* else_branch = nullptr;
};

struct ForStmt : Stmt {
    ForStmt(SourcePos p) : Stmt(StmtKind::For, p) {}
    Expr* var = nullptr;
    Expr* from = nullptr;
    Expr* to = nullptr;
    bool downto = false;
    Stmt* body = nullptr;
};

struct WhileStmt : Stmt {
    WhileStmt(SourcePos p) : Stmt(StmtKind::While, p) {}
    Expr* cond = nullptr;
    Stmt* body = nullptr;
};

struct RepeatStmt : Stmt {
    RepeatStmt(SourcePos p) : Stmt(StmtKind::Repeat, p) {}
    std::vector<Stmt*> body;
    Expr* cond = nullptr;
};

struct CaseLabel {
    Expr* low = nullptr;
    Expr* high = nullptr; // a range when set
};

struct CaseBranch {
    std::vector<CaseLabel> labels;
    Stmt* body = nullptr;
};

struct CaseStmt : Stmt {
    CaseStmt(SourcePos p) : Stmt(StmtKind::Case, p) {}
    Expr* selector = nullptr;
    std::vector<CaseBranch> branches;
    std::vector<Stmt*> else_body;
    bool has_else = false;
};

struct ExceptHandler {
    SourcePos pos;
    std::string_view var_name; // may be empty: "on Exception do"
    std::string_view class_name;
    SourcePos class_pos;
    Stmt* body = nullptr;
    const Type* cls = nullptr;   // checker
    const Symbol* var = nullptr; // checker
};

struct TryExceptStmt : Stmt {
    TryExceptStmt(SourcePos p) : Stmt(StmtKind::TryExcept, p) {}
    std::vector<Stmt*> body;
    std::vector<ExceptHandler> handlers;
    std::vector<Stmt*> else_body; // "else" after handlers, or the statements of a bare except
    bool has_else = false;
};

struct TryFinallyStmt : Stmt {
    TryFinallyStmt(SourcePos p) : Stmt(StmtKind::TryFinally, p) {}
    std::vector<Stmt*> body;
    std::vector<Stmt*> finally_body;
};

struct RaiseStmt : Stmt {
    RaiseStmt(SourcePos p, Expr* e) : Stmt(StmtKind::Raise, p), expr(e) {}
    Expr* expr;
};

struct ExitStmt : Stmt {
    ExitStmt(SourcePos p, Expr* v) : Stmt(StmtKind::Exit, p), value(v) {}
    Expr* value; // Exit(value) in a function
    const Symbol* result = nullptr;
};

struct VarDeclStmt : Stmt {
    VarDeclStmt(SourcePos p) : Stmt(StmtKind::VarDecl, p) {}
    std::vector<std::string_view> names;
    std::vector<SourcePos> positions;
    TypeExpr* type = nullptr;
    Expr* init = nullptr;
    std::vector<const Symbol*> symbols; // checker
};

struct ConstDeclStmt : Stmt {
    ConstDeclStmt(SourcePos p) : Stmt(StmtKind::ConstDecl, p) {}
    std::string_view name;
    TypeExpr* type = nullptr; // typed constant
    Expr* value = nullptr;
    const Symbol* symbol = nullptr;
};

struct TypeDeclStmt : Stmt {
    TypeDeclStmt(SourcePos p) : Stmt(StmtKind::TypeDecl, p) {}
    std::string_view name;
    TypeExpr* type = nullptr;
};

enum class ParamMode : uint8_t { Value, Var, Const };

struct ParamDecl {
    std::string_view name;
    SourcePos pos;
    ParamMode mode = ParamMode::Value;
    TypeExpr* type = nullptr;
};

struct RoutineStmt : Stmt {
    RoutineStmt(SourcePos p) : Stmt(StmtKind::Routine, p) {}
    std::string_view name;
    bool is_function = false;
    bool is_forward = false;
    std::vector<ParamDecl> params;
    TypeExpr* result = nullptr;
    std::vector<Stmt*> decls; // var, const and type sections
    CompoundStmt* body = nullptr;
    RoutineInfo* info = nullptr; // checker
};

struct UsesStmt : Stmt {
    UsesStmt(SourcePos p) : Stmt(StmtKind::Uses, p) {}
    std::vector<std::string_view> units;
    std::vector<SourcePos> positions;
};

} // namespace tl::script
