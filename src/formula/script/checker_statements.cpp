// Checks of statements: conditions, loops, case labels, exception handlers.
#include "checker.hpp"

#include <fmt/format.h>
#include <limits>

namespace tl::script {

// ---- statements ------------------------------------------------------------------------------

void Checker::CheckBody(std::vector<Stmt*>& body) {
    for (Stmt* stmt : body) {
        CheckStmt(stmt);
    }
}

void Checker::CheckCondition(Expr*& cond) {
    if (cond == nullptr) {
        return;
    }
    const Type* type = CheckExpr(cond);
    if (!IsError(type) && type->kind != TypeKind::Boolean) {
        if (type->kind == TypeKind::Variant) {
            Convert(cond, BuiltinTypes::Boolean());
        } else {
            diag_.Error(cond->pos, "Требуется Boolean");
        }
    }
}

bool Checker::RequireInteger(Expr*& expr) {
    const Type* type = CheckExpr(expr);
    if (IsError(type)) {
        return false;
    }
    if (type->kind != TypeKind::Integer) {
        diag_.Error(expr->pos, "Требуется Integer выражение");
        return false;
    }
    return true;
}

void Checker::CheckStmt(Stmt* stmt) {
    if (stmt == nullptr) {
        return;
    }
    switch (stmt->kind) {
    case StmtKind::Empty:
        break;
    case StmtKind::Assign:
        CheckAssign(static_cast<AssignStmt*>(stmt));
        break;
    case StmtKind::Call:
        CheckCallStmt(static_cast<CallStmt*>(stmt));
        break;
    case StmtKind::Compound:
        CheckBody(static_cast<CompoundStmt*>(stmt)->body);
        break;
    case StmtKind::If: {
        auto* s = static_cast<IfStmt*>(stmt);
        CheckCondition(s->cond);
        CheckStmt(s->then_branch);
        CheckStmt(s->else_branch);
        break;
    }
    case StmtKind::For:
        CheckFor(static_cast<ForStmt*>(stmt));
        break;
    case StmtKind::While: {
        auto* s = static_cast<WhileStmt*>(stmt);
        CheckCondition(s->cond);
        ++loop_depth_;
        CheckStmt(s->body);
        --loop_depth_;
        break;
    }
    case StmtKind::Repeat: {
        auto* s = static_cast<RepeatStmt*>(stmt);
        ++loop_depth_;
        CheckBody(s->body);
        --loop_depth_;
        CheckCondition(s->cond);
        break;
    }
    case StmtKind::Case:
        CheckCase(static_cast<CaseStmt*>(stmt));
        break;
    case StmtKind::TryExcept:
        CheckTryExcept(static_cast<TryExceptStmt*>(stmt));
        break;
    case StmtKind::TryFinally: {
        auto* s = static_cast<TryFinallyStmt*>(stmt);
        CheckBody(s->body);
        CheckBody(s->finally_body);
        break;
    }
    case StmtKind::Raise: {
        auto* s = static_cast<RaiseStmt*>(stmt);
        if (s->expr != nullptr) {
            const Type* type = CheckExpr(s->expr);
            if (!IsError(type) && type->kind != TypeKind::Class) {
                diag_.Error(s->expr->pos, "Требуется объект исключения");
            }
        }
        break;
    }
    case StmtKind::Exit: {
        auto* s = static_cast<ExitStmt*>(stmt);
        if (s->value != nullptr) {
            if (!InRoutine() || !routine_->is_function) {
                diag_.Error(s->pos, "Exit со значением допустим только в функции");
            } else {
                CheckExpr(s->value);
                ConvertForAssign(s->value, routine_->result, s->value->pos);
                s->result = routine_->result_symbol;
            }
        }
        break;
    }
    case StmtKind::Break:
        if (loop_depth_ == 0 && case_depth_ == 0) {
            diag_.Error(stmt->pos, "break без for/while/repeat или case");
        }
        break;
    case StmtKind::Continue:
        if (loop_depth_ == 0 && case_depth_ == 0) {
            diag_.Error(stmt->pos, "continue без for/while/repeat или case");
        }
        break;
    case StmtKind::VarDecl:
    case StmtKind::ConstDecl:
    case StmtKind::TypeDecl:
    case StmtKind::Routine:
    case StmtKind::Uses:
        CheckItem(stmt);
        break;
    }
}

void Checker::CheckAssign(AssignStmt* stmt) {
    // Inside a function, its own name on the left is its result.
    if (stmt->target->kind == ExprKind::Name && InRoutine() && routine_->is_function) {
        auto* name = static_cast<NameExpr*>(stmt->target);
        Symbol* symbol = Lookup(name->name);
        if (symbol != nullptr && symbol->kind == SymbolKind::Routine && symbol->routine == routine_) {
            name->symbol = routine_->result_symbol;
            name->type = routine_->result;
        }
    }
    const Type* target = CheckExpr(stmt->target);
    const Type* value = CheckExpr(stmt->value);
    if (IsError(target) || IsError(value)) {
        return;
    }
    if (!IsLValue(stmt->target)) {
        if (stmt->target->kind == ExprKind::Name && static_cast<NameExpr*>(stmt->target)->symbol != nullptr) {
            diag_.Error(stmt->target->pos, fmt::format("Нельзя присвоить значение \"{}\"",
                                                       static_cast<NameExpr*>(stmt->target)->name));
        } else {
            diag_.Error(stmt->target->pos, "Левой части нельзя присвоить значение");
        }
        return;
    }
    ConvertForAssign(stmt->value, target, stmt->value->pos);
}

void Checker::CheckCallStmt(CallStmt* stmt) {
    Expr*& expr = stmt->expr;
    const Type* type = CheckExpr(expr);
    if (IsError(type)) {
        return;
    }
    if (expr->kind != ExprKind::Call) {
        diag_.Error(stmt->pos, "Invalid Instruction - function or assignment expected");
    }
}

void Checker::CheckFor(ForStmt* stmt) {
    if (stmt->var == nullptr) {
        return;
    }
    const Type* type = CheckExpr(stmt->var);
    if (!IsError(type)) {
        if (type->kind != TypeKind::Integer || !IsLValue(stmt->var) ||
            static_cast<NameExpr*>(stmt->var)->symbol->kind != SymbolKind::Variable) {
            diag_.Error(stmt->var->pos, "Переменная цикла должна быть переменной типа Integer");
        }
    }
    if (stmt->from != nullptr) {
        RequireInteger(stmt->from);
    }
    if (stmt->to != nullptr) {
        RequireInteger(stmt->to);
    }
    ++loop_depth_;
    CheckStmt(stmt->body);
    --loop_depth_;
}

void Checker::CheckCase(CaseStmt* stmt) {
    const Type* type = CheckExpr(stmt->selector);
    bool ok = !IsError(type);
    if (ok && type->kind != TypeKind::Integer && type->kind != TypeKind::Char) {
        diag_.Error(stmt->selector->pos, "Требуется Integer выражение");
        ok = false;
    }
    ++case_depth_;
    for (CaseBranch& branch : stmt->branches) {
        for (CaseLabel& label : branch.labels) {
            for (Expr** end : {&label.low, &label.high}) {
                if (*end == nullptr) {
                    continue;
                }
                const Type* label_type = CheckExpr(*end);
                if (!ok || IsError(label_type)) {
                    continue;
                }
                if (!(*end)->is_const) {
                    diag_.Error((*end)->pos, "Требуется константное выражение");
                } else if (!Convert(*end, type)) {
                    diag_.Error((*end)->pos, fmt::format("Несовместимые типы: \"{}\" и \"{}\"",
                                                         TypeName(type), TypeName(label_type)));
                }
            }
        }
        CheckStmt(branch.body);
    }
    CheckBody(stmt->else_body);
    --case_depth_;
}

void Checker::CheckTryExcept(TryExceptStmt* stmt) {
    CheckBody(stmt->body);
    for (ExceptHandler& handler : stmt->handlers) {
        const Type* cls = ResolveNamedType(handler.class_name, handler.class_pos);
        if (!IsError(cls) && cls->kind != TypeKind::Class) {
            diag_.Error(handler.class_pos,
                        fmt::format("\"{}\" не является классом исключения", handler.class_name));
            cls = BuiltinTypes::Error();
        }
        handler.cls = cls;
        scopes_.emplace_back();
        const bool named = !handler.var_name.empty();
        if (named) {
            // A named handler's variable lives while its body runs, so the handlers whose bodies
            // enclose it must keep theirs: one slot per named nesting level of the frame; siblings
            // and handlers in a try body share them. Bare handlers hold no slot.
            auto level = static_cast<size_t>(named_handler_depth_);
            if (handler_slots_.size() == level) {
                handler_slots_.push_back(Allocate(BuiltinTypes::Exception(), handler.pos));
                // The slot is released by the handler itself, not by the frame.
                auto& managed = InRoutine() ? routine_->managed : code_.global_managed;
                managed.pop_back();
            }
            // Named only in the handler's body, which is compiled with the rest of the item: the
            // symbol goes with the syntax tree (a run script has a handler per element).
            Symbol* var = Declare(handler.var_name, handler.pos, SymbolKind::Variable, &arena_);
            var->type = IsError(cls) ? BuiltinTypes::Exception() : cls;
            var->storage = InRoutine() ? Storage::Local : Storage::Global;
            var->offset = handler_slots_[level];
            var->read_only = true;
            handler.var = var;
            ++named_handler_depth_;
        }
        CheckStmt(handler.body);
        if (named) {
            --named_handler_depth_;
        }
        scopes_.pop_back();
    }
    CheckBody(stmt->else_body);
}

} // namespace tl::script
