// Checks of expressions: names, calls, operators, and the implicit conversions between types.
#include "checker.hpp"

#include <fmt/format.h>
#include <limits>

namespace tl::script {

// ---- expressions -----------------------------------------------------------------------------

const Type* Checker::CheckExpr(Expr*& expr) {
    if (expr->type != nullptr) {
        return expr->type;
    }
    switch (expr->kind) {
    case ExprKind::IntLit:
        expr->is_const = true;
        if (expr->value.i >= std::numeric_limits<int32_t>::min() &&
            expr->value.i <= std::numeric_limits<int32_t>::max()) {
            expr->type = BuiltinTypes::Integer();
        } else {
            // Whole numbers beyond 32 bits are Float constants.
            expr->type = BuiltinTypes::Float();
            expr->value.f = static_cast<double>(expr->value.i);
        }
        break;
    case ExprKind::FloatLit:
        expr->is_const = true;
        expr->type = BuiltinTypes::Float();
        break;
    case ExprKind::StrLit:
        expr->is_const = true;
        expr->type = BuiltinTypes::String();
        break;
    case ExprKind::BoolLit:
        expr->is_const = true;
        expr->type = BuiltinTypes::Boolean();
        break;
    case ExprKind::Nil:
        expr->is_const = true;
        expr->type = BuiltinTypes::Nil();
        break;
    case ExprKind::Name:
        return CheckName(expr);
    case ExprKind::Call:
        return CheckCall(expr);
    case ExprKind::Index:
        return CheckIndex(static_cast<IndexExpr*>(expr));
    case ExprKind::Member:
        return CheckMember(static_cast<MemberExpr*>(expr));
    case ExprKind::Unary:
        return CheckUnary(expr);
    case ExprKind::Binary:
        return CheckBinary(expr);
    case ExprKind::Convert:
    case ExprKind::Error:
        expr->type = BuiltinTypes::Error();
        break;
    }
    return expr->type;
}

const Type* Checker::CheckName(Expr*& expr) {
    auto* name = static_cast<NameExpr*>(expr);
    const Symbol* symbol = name->symbol != nullptr ? name->symbol : Lookup(name->name);
    name->symbol = symbol;
    if (symbol == nullptr) {
        diag_.Error(name->pos, fmt::format("Неизвестное имя \"{}\"", Shown(name->name)));
        return expr->type = BuiltinTypes::Error();
    }
    switch (symbol->kind) {
    case SymbolKind::Variable:
        return expr->type = symbol->type;
    case SymbolKind::Constant:
        expr->is_const = !IsError(symbol->type);
        expr->value = symbol->value;
        return expr->type = symbol->type;
    case SymbolKind::Routine:
    case SymbolKind::Native: {
        // A routine named alone is called without arguments.
        auto* call = arena_.New<CallExpr>(expr->pos, expr);
        expr = call;
        return CheckCall(expr);
    }
    case SymbolKind::Type:
        diag_.Error(name->pos, fmt::format("Требуется выражение, а не тип \"{}\"", name->name));
        return expr->type = BuiltinTypes::Error();
    }
    return expr->type = BuiltinTypes::Error();
}

const Type* Checker::CheckCall(Expr*& expr) {
    auto* call = static_cast<CallExpr*>(expr);
    call->type = BuiltinTypes::Error();
    if (call->callee->kind == ExprKind::Name) {
        auto* name = static_cast<NameExpr*>(call->callee);
        const Symbol* symbol = name->symbol != nullptr ? name->symbol : Lookup(name->name);
        name->symbol = symbol;
        // Length, Low and High of a static array are constants.
        if (call->args.size() == 1 && (symbol == nullptr || symbol->kind == SymbolKind::Native)) {
            std::string lower = LowerAscii(name->name);
            if (lower == "length" || lower == "low" || lower == "high") {
                const Type* arg = CheckExpr(call->args[0]);
                if (arg->kind == TypeKind::Array) {
                    call->is_const = true;
                    call->type = BuiltinTypes::Integer();
                    call->value.i = lower == "length" ? arg->Count() : lower == "low" ? arg->low : arg->high;
                    return call->type;
                }
                if (symbol == nullptr && !IsError(arg)) {
                    diag_.Error(
                        call->args[0]->pos,
                        fmt::format("Argument 1 expects type \"array\" instead of \"{}\"", TypeName(arg)));
                    return call->type;
                }
            }
        }
        if (symbol == nullptr) {
            diag_.Error(name->pos, fmt::format("Неизвестное имя \"{}\"", Shown(name->name)));
            for (Expr*& arg : call->args) {
                CheckExpr(arg);
            }
            return call->type;
        }
        switch (symbol->kind) {
        case SymbolKind::Routine:
            return CheckScriptCall(call, symbol->routine);
        case SymbolKind::Native:
            return CheckNativeCall(call, *symbol->natives);
        default:
            break;
        }
        diag_.Error(call->pos, "Invalid Instruction - function or assignment expected");
        return call->type;
    }
    if (call->callee->kind == ExprKind::Member) {
        auto* member = static_cast<MemberExpr*>(call->callee);
        if (member->base->kind == ExprKind::Name) {
            const Symbol* symbol = Lookup(static_cast<NameExpr*>(member->base)->name);
            if (symbol != nullptr && symbol->kind == SymbolKind::Type &&
                symbol->type->kind == TypeKind::Class) {
                if (LowerAscii(member->name) != "create") {
                    diag_.Error(member->pos, fmt::format("Неизвестное имя \"{}\"", Shown(member->name)));
                    return call->type;
                }
                if (call->args.size() != 1) {
                    diag_.Error(call->pos,
                                fmt::format("Expected {} parameters (instead of {})", 1, call->args.size()));
                    return call->type;
                }
                if (!CheckArgument(call, 0, BuiltinTypes::String(), false)) {
                    return call->type;
                }
                call->call_kind = CallKind::Constructor;
                call->class_type = symbol->type;
                return call->type = symbol->type;
            }
        }
    }
    CheckExpr(call->callee);
    for (Expr*& arg : call->args) {
        CheckExpr(arg);
    }
    if (!IsError(call->callee->type)) {
        diag_.Error(call->pos, "Invalid Instruction - function or assignment expected");
    }
    return call->type;
}

bool Checker::CheckArgument(CallExpr* call, size_t index, const Type* type, bool by_ref) {
    Expr*& arg = call->args[index];
    const Type* arg_type = CheckExpr(arg);
    if (IsError(arg_type) || IsError(type)) {
        return false;
    }
    bool same = arg_type == type || (type->IsScalar() && arg_type->kind == type->kind);
    if (by_ref && same && !IsAddressable(arg)) {
        diag_.Error(arg->pos, fmt::format("Argument {} expects a variable", index + 1));
        return false;
    }
    bool ok = by_ref ? same : Convert(arg, type);
    if (!ok) {
        diag_.Error(arg->pos, fmt::format("Argument {} expects type \"{}\" instead of \"{}\"", index + 1,
                                          TypeName(type), TypeName(arg_type)));
    }
    return ok;
}

const Type* Checker::CheckScriptCall(CallExpr* call, RoutineInfo* routine) {
    if (call->args.size() != routine->params.size()) {
        diag_.Error(call->pos, fmt::format("Expected {} parameters (instead of {})", routine->params.size(),
                                           call->args.size()));
        for (Expr*& arg : call->args) {
            CheckExpr(arg);
        }
        return call->type;
    }
    bool ok = true;
    for (size_t i = 0; i < call->args.size(); ++i) {
        const ParamInfo& p = routine->params[i];
        ok = CheckArgument(call, i, p.type, p.mode == ParamMode::Var) && ok;
        if (ok && p.by_ref() && p.mode == ParamMode::Const && !IsAddressable(call->args[i])) {
            diag_.Error(call->args[i]->pos, fmt::format("Argument {} expects a variable", i + 1));
            ok = false;
        }
    }
    call->call_kind = CallKind::Script;
    call->routine = routine;
    return call->type = routine->result;
}

const Type* Checker::CheckNativeCall(CallExpr* call, const std::vector<const FunctionDef*>& overloads) {
    const FunctionDef* first_with_count = nullptr;
    for (const FunctionDef* def : overloads) {
        if (def->params.size() == call->args.size()) {
            first_with_count = def;
            break;
        }
    }
    if (first_with_count == nullptr) {
        diag_.Error(call->pos, fmt::format("Expected {} parameters (instead of {})",
                                           overloads.front()->params.size(), call->args.size()));
        for (Expr*& arg : call->args) {
            CheckExpr(arg);
        }
        return call->type;
    }
    for (Expr*& arg : call->args) {
        if (IsError(CheckExpr(arg))) {
            return call->type;
        }
    }
    // An overload that takes the arguments as they are wins over one that needs conversions.
    const FunctionDef* chosen = nullptr;
    for (int pass = 0; pass < 2 && chosen == nullptr; ++pass) {
        for (const FunctionDef* def : overloads) {
            if (def->params.size() != call->args.size()) {
                continue;
            }
            bool fits = true;
            for (size_t i = 0; i < call->args.size() && fits; ++i) {
                const Type* want = BuiltinTypes::FromValueType(def->params[i].type);
                const Type* have = call->args[i]->type;
                if (def->params[i].by_ref) {
                    fits = have->kind == want->kind && IsAddressable(call->args[i]);
                } else {
                    fits = pass == 0 ? have->kind == want->kind : CanConvert(call->args[i], want);
                }
            }
            if (fits) {
                chosen = def;
                break;
            }
        }
    }
    if (chosen == nullptr) {
        chosen = first_with_count;
    }
    for (size_t i = 0; i < call->args.size(); ++i) {
        if (!CheckArgument(call, i, BuiltinTypes::FromValueType(chosen->params[i].type),
                           chosen->params[i].by_ref)) {
            return call->type;
        }
    }
    call->call_kind = CallKind::Native;
    call->native = chosen;
    return call->type = BuiltinTypes::FromValueType(chosen->result);
}

const Type* Checker::CheckIndex(IndexExpr* expr) {
    const Type* base = CheckExpr(expr->base);
    bool index_ok = RequireInteger(expr->index);
    if (IsError(base) || !index_ok) {
        return expr->type = BuiltinTypes::Error();
    }
    if (base->kind == TypeKind::Array) {
        return expr->type = base->element;
    }
    if (base->kind == TypeKind::String) {
        return expr->type = BuiltinTypes::Char();
    }
    diag_.Error(expr->pos, fmt::format("Тип \"{}\" не является массивом", TypeName(base)));
    return expr->type = BuiltinTypes::Error();
}

const Type* Checker::CheckMember(MemberExpr* expr) {
    // Class.Create without arguments still names the constructor.
    if (expr->base->kind == ExprKind::Name) {
        const Symbol* symbol = Lookup(static_cast<NameExpr*>(expr->base)->name);
        if (symbol != nullptr && symbol->kind == SymbolKind::Type) {
            diag_.Error(expr->pos, fmt::format("Expected {} parameters (instead of {})", 1, 0));
            return expr->type = BuiltinTypes::Error();
        }
    }
    const Type* base = CheckExpr(expr->base);
    if (IsError(base)) {
        return expr->type = BuiltinTypes::Error();
    }
    std::string lower = LowerAscii(expr->name);
    if (base->kind == TypeKind::Record) {
        if (const Field* field = base->FindField(lower)) {
            expr->member = MemberKind::Field;
            expr->offset = field->offset;
            return expr->type = field->type;
        }
    } else if (base->kind == TypeKind::Class) {
        if (lower == "message") {
            expr->member = MemberKind::Message;
            return expr->type = BuiltinTypes::String();
        }
        if (lower == "classname") {
            expr->member = MemberKind::ClassName;
            return expr->type = BuiltinTypes::String();
        }
    }
    diag_.Error(expr->pos, fmt::format("Неизвестное имя \"{}\"", Shown(expr->name)));
    return expr->type = BuiltinTypes::Error();
}

const Type* Checker::CheckUnary(Expr*& expr) {
    auto* unary = static_cast<UnaryExpr*>(expr);
    const Type* type = CheckExpr(unary->operand);
    if (IsError(type)) {
        return expr->type = BuiltinTypes::Error();
    }
    bool ok = unary->op == Tok::Minus ? IsNumeric(type)
                                      : (type->kind == TypeKind::Boolean || type->kind == TypeKind::Integer);
    if (!ok) {
        diag_.Error(unary->pos, fmt::format("Несовместимые типы: \"{}\" и \"{}\"", TypeName(type),
                                            unary->op == Tok::Minus ? "Float" : "Boolean"));
        return expr->type = BuiltinTypes::Error();
    }
    expr->type = type;
    ConstantFold(expr);
    return expr->type;
}

const Type* Checker::CheckBinary(Expr*& expr) {
    auto* bin = static_cast<BinaryExpr*>(expr);
    if (bin->op == Tok::KwIs || bin->op == Tok::KwAs) {
        return CheckClassTest(bin);
    }
    const Type* lt = CheckExpr(bin->left);
    const Type* rt = CheckExpr(bin->right);
    if (IsError(lt) || IsError(rt)) {
        return expr->type = BuiltinTypes::Error();
    }
    auto mismatch = [&]() {
        diag_.Error(bin->pos, fmt::format("Несовместимые типы: \"{}\" и \"{}\"", TypeName(lt), TypeName(rt)));
        return expr->type = BuiltinTypes::Error();
    };
    // A Variant takes part in an operation as the kind of value the other operand is: a number
    // (as Float, or Integer for the integer operators), a string or a Boolean.
    auto variant_as = [&](const Type* other) {
        bool integer_op = bin->op == Tok::KwDiv || bin->op == Tok::KwMod || bin->op == Tok::KwAnd ||
                          bin->op == Tok::KwOr || bin->op == Tok::KwXor;
        if (IsNumeric(other) || other->kind == TypeKind::Variant) {
            return integer_op ? BuiltinTypes::Integer() : BuiltinTypes::Float();
        }
        return other->kind == TypeKind::Char ? BuiltinTypes::String() : other;
    };
    if (lt->kind == TypeKind::Variant && (rt->IsScalar() || rt->kind == TypeKind::Variant)) {
        const Type* as = variant_as(rt);
        if (rt->kind == TypeKind::Variant) {
            Convert(bin->right, as);
            rt = as;
        }
        Convert(bin->left, as);
        lt = as;
    } else if (rt->kind == TypeKind::Variant && lt->IsScalar()) {
        const Type* as = variant_as(lt);
        Convert(bin->right, as);
        rt = as;
    }
    const Type* operand = nullptr;
    const Type* result = nullptr;
    switch (bin->op) {
    case Tok::Plus:
        if (IsStringLike(lt) && IsStringLike(rt)) {
            operand = result = BuiltinTypes::String();
            break;
        }
        [[fallthrough]];
    case Tok::Minus:
    case Tok::Star:
        if (!IsNumeric(lt) || !IsNumeric(rt)) {
            return mismatch();
        }
        operand = result = (lt->kind == TypeKind::Float || rt->kind == TypeKind::Float)
                               ? BuiltinTypes::Float()
                               : BuiltinTypes::Integer();
        break;
    case Tok::Slash:
        if (!IsNumeric(lt) || !IsNumeric(rt)) {
            return mismatch();
        }
        operand = result = BuiltinTypes::Float();
        break;
    case Tok::KwDiv:
    case Tok::KwMod:
        if (lt->kind != TypeKind::Integer || rt->kind != TypeKind::Integer) {
            return mismatch();
        }
        operand = result = BuiltinTypes::Integer();
        break;
    case Tok::KwAnd:
    case Tok::KwOr:
    case Tok::KwXor:
        if (lt->kind == TypeKind::Boolean && rt->kind == TypeKind::Boolean) {
            operand = result = BuiltinTypes::Boolean();
        } else if (lt->kind == TypeKind::Integer && rt->kind == TypeKind::Integer) {
            operand = result = BuiltinTypes::Integer();
        } else {
            return mismatch();
        }
        break;
    case Tok::KwIn:
        diag_.Error(bin->pos, "Операция in не поддерживается");
        return expr->type = BuiltinTypes::Error();
    default:
        if (!IsComparison(bin->op)) {
            return mismatch();
        }
        result = BuiltinTypes::Boolean();
        if (IsNumeric(lt) && IsNumeric(rt)) {
            operand = (lt->kind == TypeKind::Float || rt->kind == TypeKind::Float) ? BuiltinTypes::Float()
                                                                                   : BuiltinTypes::Integer();
        } else if (lt->kind == TypeKind::Char && rt->kind == TypeKind::Char) {
            operand = BuiltinTypes::Char();
        } else if (IsStringLike(lt) && IsStringLike(rt)) {
            operand = BuiltinTypes::String();
        } else if (lt->kind == TypeKind::Boolean && rt->kind == TypeKind::Boolean) {
            operand = BuiltinTypes::Boolean();
        } else if ((bin->op == Tok::Equal || bin->op == Tok::NotEqual) &&
                   (lt->kind == TypeKind::Class || lt->kind == TypeKind::Nil) &&
                   (rt->kind == TypeKind::Class || rt->kind == TypeKind::Nil)) {
            operand = lt->kind == TypeKind::Class ? lt : rt;
        } else {
            return mismatch();
        }
        break;
    }
    if (operand->kind != TypeKind::Class) {
        Convert(bin->left, operand);
        Convert(bin->right, operand);
    }
    bin->operand_type = operand;
    expr->type = result;
    ConstantFold(expr);
    return expr->type;
}

// obj is Class, obj as Class
const Type* Checker::CheckClassTest(BinaryExpr* bin) {
    const Type* lt = CheckExpr(bin->left);
    const Type* cls = nullptr;
    if (bin->right->kind == ExprKind::Name) {
        const Symbol* symbol = Lookup(static_cast<NameExpr*>(bin->right)->name);
        if (symbol != nullptr && symbol->kind == SymbolKind::Type && symbol->type->kind == TypeKind::Class) {
            cls = symbol->type;
        }
    }
    if (IsError(lt)) {
        return bin->type = BuiltinTypes::Error();
    }
    if (cls == nullptr) {
        diag_.Error(bin->right->pos, "Требуется класс исключения");
        return bin->type = BuiltinTypes::Error();
    }
    if (lt->kind != TypeKind::Class) {
        diag_.Error(bin->pos,
                    fmt::format("Несовместимые типы: \"{}\" и \"{}\"", TypeName(lt), TypeName(cls)));
        return bin->type = BuiltinTypes::Error();
    }
    bin->right->type = cls;
    bin->operand_type = cls;
    return bin->type = bin->op == Tok::KwIs ? BuiltinTypes::Boolean() : cls;
}

// ---- conversions -----------------------------------------------------------------------------

bool Checker::CanConvert(const Expr* expr, const Type* to) const {
    const Type* from = expr->type;
    if (from == to || IsError(from) || IsError(to)) {
        return true;
    }
    if (from->IsScalar() && from->kind == to->kind) {
        return true;
    }
    switch (to->kind) {
    case TypeKind::Float:
        return from->kind == TypeKind::Integer || from->kind == TypeKind::Variant;
    case TypeKind::String:
        return from->kind == TypeKind::Char || from->kind == TypeKind::Variant;
    case TypeKind::Char:
        return (from->kind == TypeKind::String && expr->is_const && expr->value.s.size() == 1) ||
               from->kind == TypeKind::Variant;
    case TypeKind::Integer:
    case TypeKind::Boolean:
        return from->kind == TypeKind::Variant;
    case TypeKind::Variant:
        return from->IsScalar();
    case TypeKind::Class:
        return from->kind == TypeKind::Nil || (from->kind == TypeKind::Class && from->DescendsFrom(to));
    default:
        return false;
    }
}

bool Checker::Convert(Expr*& expr, const Type* to) {
    const Type* from = expr->type;
    if (!CanConvert(expr, to)) {
        return false;
    }
    if (from == to || IsError(from) || IsError(to) || (from->IsScalar() && from->kind == to->kind)) {
        return true;
    }
    if (to->kind == TypeKind::Class) {
        return true;
    }
    if (expr->is_const) {
        if (to->kind == TypeKind::Float && from->kind == TypeKind::Integer) {
            expr->value.f = static_cast<double>(expr->value.i);
            expr->type = to;
            return true;
        }
        if (to->kind == TypeKind::String && from->kind == TypeKind::Char) {
            expr->value.s = sources_.Keep(std::string(1, static_cast<char>(expr->value.i)));
            expr->type = to;
            return true;
        }
        if (to->kind == TypeKind::Char && from->kind == TypeKind::String) {
            expr->value.i = static_cast<unsigned char>(expr->value.s[0]);
            expr->type = to;
            return true;
        }
    }
    auto* convert = arena_.New<ConvertExpr>(expr->pos, expr, to);
    convert->height = expr->height + 1;
    expr = convert;
    return true;
}

bool Checker::ConvertForAssign(Expr*& expr, const Type* to, SourcePos pos) {
    if (Convert(expr, to)) {
        return true;
    }
    diag_.Error(pos, fmt::format("Несовместимые типы: Невозможно присвоить \"{}\" к \"{}\"",
                                 TypeName(expr->type), TypeName(to)));
    return false;
}

// Storage a var parameter can point at: a variable, an array element, a record field (not a
// character of a string, nor an exception's Message).
bool Checker::IsAddressable(const Expr* expr) const {
    switch (expr->kind) {
    case ExprKind::Name:
        return IsLValue(expr);
    case ExprKind::Index: {
        const auto* index = static_cast<const IndexExpr*>(expr);
        return index->base->type->kind == TypeKind::Array && IsAddressable(index->base);
    }
    case ExprKind::Member: {
        const auto* member = static_cast<const MemberExpr*>(expr);
        return member->member == MemberKind::Field && IsAddressable(member->base);
    }
    default:
        return false;
    }
}

bool Checker::IsLValue(const Expr* expr) const {
    switch (expr->kind) {
    case ExprKind::Name: {
        const Symbol* symbol = static_cast<const NameExpr*>(expr)->symbol;
        return symbol != nullptr && symbol->kind == SymbolKind::Variable && !symbol->read_only;
    }
    case ExprKind::Index: {
        const auto* index = static_cast<const IndexExpr*>(expr);
        return IsLValue(index->base);
    }
    case ExprKind::Member: {
        const auto* member = static_cast<const MemberExpr*>(expr);
        if (member->member == MemberKind::Message) {
            return true;
        }
        return member->member == MemberKind::Field && IsLValue(member->base);
    }
    default:
        return false;
    }
}

} // namespace tl::script
