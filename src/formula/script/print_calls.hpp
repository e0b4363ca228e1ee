// The print statements that the compiler turns into nodes of their own: prints of a constant text
// or number, and prints of an exception variable's message or class name.
#pragma once

#include "ast.hpp"
#include "builtins.hpp"
#include "types.hpp"

namespace tl::script {

// The call of a Print or PrintLn statement, or nullptr for any other statement.
inline const CallExpr* PrintCall(const Stmt* stmt) {
    if (stmt->kind != StmtKind::Call) {
        return nullptr;
    }
    const auto* call = static_cast<const CallExpr*>(static_cast<const CallStmt*>(stmt)->expr);
    return call->call_kind == CallKind::Native && IsPrintFunction(call->native) ? call : nullptr;
}

// What a print writes, without the conversion the checker put around it.
inline const Expr* PrintedValue(const CallExpr* print) {
    const Expr* arg = print->args[0];
    return arg->kind == ExprKind::Convert ? static_cast<const ConvertExpr*>(arg)->operand : arg;
}

// A constant whose text the compiler writes out once: a String or an Integer.
inline bool IsConstText(const Expr* value) {
    return value->is_const &&
           (value->type->kind == TypeKind::String || value->type->kind == TypeKind::Integer);
}

// V.Message or V.ClassName of a variable V, printed straight from V's place; nullptr for other
// values.
inline const MemberExpr* PrintedMessage(const Expr* value) {
    if (value->kind != ExprKind::Member || value->is_const) {
        return nullptr;
    }
    const auto* member = static_cast<const MemberExpr*>(value);
    const bool message = member->member == MemberKind::Message || member->member == MemberKind::ClassName;
    return message && member->base->kind == ExprKind::Name && !member->base->is_const ? member : nullptr;
}

} // namespace tl::script
