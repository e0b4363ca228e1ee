// The semantic checker: resolves names, gives every expression its type, inserts the implicit
// conversions, folds constants, checks array bounds and lays out variables in slots.
#pragma once

#include "ast.hpp"
#include "compiled_code.hpp"
#include "diagnostics.hpp"
#include "tlscript/engine.hpp"

#include <string>
#include <unordered_map>
#include <vector>

namespace tl::script {

inline bool IsNumeric(const Type* t) {
    return t->kind == TypeKind::Integer || t->kind == TypeKind::Float;
}
inline bool IsStringLike(const Type* t) {
    return t->kind == TypeKind::String || t->kind == TypeKind::Char;
}
inline bool IsError(const Type* t) {
    return t == nullptr || t->kind == TypeKind::Error;
}
inline bool IsComparison(Tok op) {
    return op == Tok::Equal || op == Tok::NotEqual || op == Tok::Less || op == Tok::LessEq ||
           op == Tok::Greater || op == Tok::GreaterEq;
}

class Checker {
public:
    Checker(const Engine& engine, Diagnostics& diag, Arena& ast_arena, SourceStore& sources,
            CompiledCode& code);
    // One top-level item; Finish after the last.
    void CheckItem(Stmt* stmt);
    void Finish();

private:
    using Scope = std::unordered_map<std::string, Symbol*>;

    // scopes and symbols
    Symbol* Lookup(std::string_view name);
    // A symbol named only inside the item being checked (an exception handler's variable) may be
    // kept in `store`, the syntax tree's arena, and dies with the tree; the others are the
    // program's.
    Symbol* Declare(std::string_view name, SourcePos pos, SymbolKind kind, Arena* store = nullptr);
    Symbol* NewSymbol(SymbolKind kind, std::string_view name, SourcePos pos, Arena* store = nullptr);
    int32_t Allocate(const Type* type, SourcePos pos);
    bool InRoutine() const { return routine_ != nullptr; }

    // declarations
    void CheckUses(UsesStmt* uses);
    void CheckVarDecl(VarDeclStmt* decl);
    void CheckConstDecl(ConstDeclStmt* decl);
    void CheckTypeDecl(TypeDeclStmt* decl);
    void CheckRoutine(RoutineStmt* decl);
    const Type* ResolveType(TypeExpr* type);
    const Type* ResolveNamedType(std::string_view name, SourcePos pos);
    bool SameSignature(const RoutineInfo* a, const RoutineInfo* b) const;

    // statements
    void CheckStmt(Stmt* stmt);
    void CheckBody(std::vector<Stmt*>& body);
    void CheckAssign(AssignStmt* stmt);
    void CheckCallStmt(CallStmt* stmt);
    void CheckFor(ForStmt* stmt);
    void CheckCase(CaseStmt* stmt);
    void CheckTryExcept(TryExceptStmt* stmt);
    void CheckCondition(Expr*& cond);

    // expressions
    const Type* CheckExpr(Expr*& expr);
    const Type* CheckName(Expr*& expr);
    const Type* CheckCall(Expr*& expr);
    const Type* CheckIndex(IndexExpr* expr);
    const Type* CheckMember(MemberExpr* expr);
    const Type* CheckUnary(Expr*& expr);
    const Type* CheckBinary(Expr*& expr);
    const Type* CheckClassTest(BinaryExpr* bin);
    const Type* CheckNativeCall(CallExpr* call, const std::vector<const FunctionDef*>& overloads);
    const Type* CheckScriptCall(CallExpr* call, RoutineInfo* routine);
    bool CheckArgument(CallExpr* call, size_t index, const Type* type, bool by_ref);
    bool ConstantFold(Expr*& expr);

    // conversions
    bool CanConvert(const Expr* expr, const Type* to) const;
    // Brings expr to type `to`, wrapping a conversion where needed; false when impossible.
    bool Convert(Expr*& expr, const Type* to);
    // Convert, reporting the assignment message on failure.
    bool ConvertForAssign(Expr*& expr, const Type* to, SourcePos pos);
    bool IsLValue(const Expr* expr) const;
    bool IsAddressable(const Expr* expr) const;
    bool RequireInteger(Expr*& expr);

    const Engine& engine_;
    Diagnostics& diag_;
    Arena& arena_;
    SourceStore& sources_;
    CompiledCode& code_;
    std::vector<Scope> scopes_;
    RoutineInfo* routine_ = nullptr;
    int loop_depth_ = 0;
    int case_depth_ = 0;
    // Named handlers whose bodies enclose the current statement, in the current frame.
    int named_handler_depth_ = 0;
    // Slot of the exception variable per named handler nesting level, in the current frame.
    std::vector<int32_t> handler_slots_;
    std::string key_;
};

} // namespace tl::script
