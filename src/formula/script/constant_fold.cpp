// Folding of operations whose operands are all constants, with the run-time semantics of the
// operations (32-bit wrap-around, truncating div and mod).
#include "checker.hpp"
#include "int_ops.hpp"

#include <cmath>

namespace tl::script {

bool Checker::ConstantFold(Expr*& expr) {
    if (expr->kind == ExprKind::Unary) {
        auto* unary = static_cast<UnaryExpr*>(expr);
        Expr* a = unary->operand;
        if (!a->is_const) {
            return false;
        }
        ConstValue v = a->value;
        switch (expr->type->kind) {
        case TypeKind::Integer:
            v.i = unary->op == Tok::Minus ? IntNeg(static_cast<int32_t>(v.i)) : ~static_cast<int32_t>(v.i);
            break;
        case TypeKind::Float:
            v.f = -v.f;
            break;
        case TypeKind::Boolean:
            v.i = v.i != 0 ? 0 : 1;
            break;
        default:
            return false;
        }
        expr->value = v;
        expr->is_const = true;
        return true;
    }
    if (expr->kind != ExprKind::Binary) {
        return false;
    }
    auto* bin = static_cast<BinaryExpr*>(expr);
    Expr* a = bin->left;
    Expr* b = bin->right;
    if (!a->is_const || !b->is_const || bin->operand_type == nullptr) {
        return false;
    }
    ConstValue r;
    auto compare = [&](auto x, auto y) {
        switch (bin->op) {
        case Tok::Equal:
            return x == y;
        case Tok::NotEqual:
            return x != y;
        case Tok::Less:
            return x < y;
        case Tok::LessEq:
            return x <= y;
        case Tok::Greater:
            return x > y;
        default:
            return x >= y;
        }
    };
    bool is_compare = expr->type->kind == TypeKind::Boolean && bin->operand_type->kind != TypeKind::Boolean;
    switch (bin->operand_type->kind) {
    case TypeKind::Integer: {
        auto x = static_cast<int32_t>(a->value.i);
        auto y = static_cast<int32_t>(b->value.i);
        if (is_compare) {
            r.i = compare(x, y) ? 1 : 0;
            break;
        }
        switch (bin->op) {
        case Tok::Plus:
            r.i = IntAdd(x, y);
            break;
        case Tok::Minus:
            r.i = IntSub(x, y);
            break;
        case Tok::Star:
            r.i = IntMul(x, y);
            break;
        case Tok::KwDiv:
        case Tok::KwMod:
            if (y == 0) {
                diag_.Error(bin->pos, "Division by zero");
                return false;
            }
            r.i = bin->op == Tok::KwDiv ? IntDiv(x, y) : IntMod(x, y);
            break;
        case Tok::KwAnd:
            r.i = x & y;
            break;
        case Tok::KwOr:
            r.i = x | y;
            break;
        case Tok::KwXor:
            r.i = x ^ y;
            break;
        default:
            return false;
        }
        break;
    }
    case TypeKind::Float: {
        double x = a->value.f;
        double y = b->value.f;
        if (is_compare) {
            r.i = compare(x, y) ? 1 : 0;
            break;
        }
        switch (bin->op) {
        case Tok::Plus:
            r.f = x + y;
            break;
        case Tok::Minus:
            r.f = x - y;
            break;
        case Tok::Star:
            r.f = x * y;
            break;
        case Tok::Slash:
            if (y == 0) {
                return false; // raised at run time with the float division message
            }
            r.f = x / y;
            break;
        default:
            return false;
        }
        if (!std::isfinite(r.f)) {
            return false;
        }
        break;
    }
    case TypeKind::Boolean: {
        bool x = a->value.i != 0;
        bool y = b->value.i != 0;
        switch (bin->op) {
        case Tok::KwAnd:
            r.i = x && y;
            break;
        case Tok::KwOr:
            r.i = x || y;
            break;
        case Tok::KwXor:
        case Tok::NotEqual:
            r.i = x != y;
            break;
        default:
            r.i = compare(static_cast<int>(x), static_cast<int>(y)) ? 1 : 0;
            break;
        }
        break;
    }
    case TypeKind::Char:
        r.i = compare(a->value.i, b->value.i) ? 1 : 0;
        break;
    case TypeKind::String:
        if (is_compare) {
            r.i = compare(a->value.s, b->value.s) ? 1 : 0;
        } else {
            r.s = sources_.Keep(std::string(a->value.s) + std::string(b->value.s));
        }
        break;
    default:
        return false;
    }
    expr->value = r;
    expr->is_const = true;
    return true;
}

} // namespace tl::script
