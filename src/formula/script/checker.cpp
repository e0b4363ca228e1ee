#include "checker.hpp"

#include <cmath>
#include <fmt/format.h>
#include <limits>

namespace tl::script {
namespace {

// Without a configured bound, no program or routine frame may hold more than 512 MiB of data.
constexpr int64_t kDefaultMaxDataBytes = int64_t{512} * 1024 * 1024;

bool IsNumeric(const Type* t) {
    return t->kind == TypeKind::Integer || t->kind == TypeKind::Float;
}
bool IsStringLike(const Type* t) {
    return t->kind == TypeKind::String || t->kind == TypeKind::Char;
}
bool IsError(const Type* t) {
    return t == nullptr || t->kind == TypeKind::Error;
}
bool IsComparison(Tok op) {
    return op == Tok::Equal || op == Tok::NotEqual || op == Tok::Less || op == Tok::LessEq ||
           op == Tok::Greater || op == Tok::GreaterEq;
}

const std::vector<std::string_view>& StandardUnits() {
    static const std::vector<std::string_view> units = {"system",  "sysutils", "math",     "dateutils",
                                                        "classes", "variants", "strutils", "types"};
    return units;
}

} // namespace

bool ParamInfo::by_ref() const {
    return mode == ParamMode::Var || (mode == ParamMode::Const && type->IsAggregate());
}

Checker::Checker(const Engine& engine, Diagnostics& diag, Arena& ast_arena, SourceStore& sources,
                 CompiledCode& code)
    : engine_(engine), diag_(diag), arena_(ast_arena), sources_(sources), code_(code) {
    scopes_.emplace_back();
}

// ---- scopes ----------------------------------------------------------------------------------

Symbol* Checker::NewSymbol(SymbolKind kind, std::string_view name, SourcePos pos) {
    Symbol& symbol = code_.symbols.emplace_back();
    symbol.kind = kind;
    symbol.name = name;
    symbol.pos = pos;
    return &symbol;
}

Symbol* Checker::Lookup(std::string_view name) {
    key_.assign(name);
    for (char& c : key_) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    for (auto it = scopes_.rbegin(); it != scopes_.rend(); ++it) {
        auto found = it->find(key_);
        if (found != it->end()) {
            return found->second;
        }
    }
    // Names of the library and the host units, of the standard classes and types are resolved
    // once and kept in the outermost scope.
    Symbol* symbol = nullptr;
    const FunctionRegistry& registry = engine_.Registry();
    if (const ConstantDef* constant = registry.FindConstant(key_)) {
        symbol = NewSymbol(SymbolKind::Constant, constant->name, {});
        symbol->type = BuiltinTypes::FromValueType(constant->type);
        symbol->value.i = constant->int_value;
        symbol->value.f = constant->float_value;
        symbol->value.s = sources_.Keep(constant->string_value);
        if (constant->type == ValueType::Boolean) {
            symbol->value.i = constant->int_value != 0 ? 1 : 0;
        }
    } else if (const auto* natives = registry.FindFunction(key_)) {
        symbol = NewSymbol(SymbolKind::Native, natives->front()->name, {});
        symbol->natives = natives;
    } else if (const Type* cls = BuiltinTypes::FindClass(key_)) {
        symbol = NewSymbol(SymbolKind::Type, cls->name, {});
        symbol->type = cls;
    } else if (const Type* scalar = BuiltinTypes::FindScalar(key_)) {
        symbol = NewSymbol(SymbolKind::Type, scalar->name, {});
        symbol->type = scalar;
    }
    if (symbol != nullptr) {
        scopes_.front().emplace(key_, symbol);
    }
    return symbol;
}

Symbol* Checker::Declare(std::string_view name, SourcePos pos, SymbolKind kind) {
    std::string key = LowerAscii(name);
    Scope& scope = scopes_.back();
    auto found = scope.find(key);
    // A script may redeclare a name of the library: its own declaration wins from then on.
    if (found != scope.end() && found->second->pos.line > 0) {
        diag_.Error(pos, fmt::format("Повторное объявление \"{}\"", name));
    }
    Symbol* symbol = NewSymbol(kind, name, pos);
    scope[key] = symbol;
    return symbol;
}

int32_t Checker::Allocate(const Type* type, SourcePos pos) {
    int64_t limit =
        engine_.Settings().max_data_bytes > 0 ? engine_.Settings().max_data_bytes : kDefaultMaxDataBytes;
    int64_t& used = InRoutine() ? routine_->frame_slots : code_.global_slots;
    if ((used + type->slots) * static_cast<int64_t>(sizeof(Slot)) > limit) {
        diag_.Error(pos, fmt::format("Слишком большой объём данных: больше {} байт", limit));
        return 0;
    }
    auto offset = static_cast<int32_t>(used);
    used += type->slots;
    if (type->managed) {
        (InRoutine() ? routine_->managed : code_.global_managed).push_back({offset, type});
    }
    return offset;
}

// ---- declarations ----------------------------------------------------------------------------

void Checker::Check(ProgramAst& program) {
    for (Stmt* item : program.items) {
        CheckItem(item);
    }
    Finish();
}

void Checker::Finish() {
    for (const RoutineInfo& routine : code_.routines) {
        if (!routine.defined) {
            diag_.Error(routine.pos, fmt::format("Не найдено тело подпрограммы \"{}\"", routine.name));
        }
    }
}

void Checker::CheckItem(Stmt* stmt) {
    switch (stmt->kind) {
    case StmtKind::Uses:
        CheckUses(static_cast<UsesStmt*>(stmt));
        break;
    case StmtKind::VarDecl:
        CheckVarDecl(static_cast<VarDeclStmt*>(stmt));
        break;
    case StmtKind::ConstDecl:
        CheckConstDecl(static_cast<ConstDeclStmt*>(stmt));
        break;
    case StmtKind::TypeDecl:
        CheckTypeDecl(static_cast<TypeDeclStmt*>(stmt));
        break;
    case StmtKind::Routine:
        CheckRoutine(static_cast<RoutineStmt*>(stmt));
        break;
    default:
        CheckStmt(stmt);
        break;
    }
}

void Checker::CheckUses(UsesStmt* uses) {
    for (size_t i = 0; i < uses->units.size(); ++i) {
        std::string lower = LowerAscii(uses->units[i]);
        bool known = engine_.Registry().HasUnit(lower);
        for (std::string_view unit : StandardUnits()) {
            known = known || unit == lower;
        }
        if (!known) {
            diag_.Error(uses->positions[i], fmt::format("Неизвестный модуль \"{}\"", uses->units[i]));
        }
    }
}

void Checker::CheckVarDecl(VarDeclStmt* decl) {
    const Type* type = ResolveType(decl->type);
    if (decl->init != nullptr) {
        CheckExpr(decl->init);
        if (!decl->init->is_const && !IsError(decl->init->type)) {
            diag_.Error(decl->init->pos, "Требуется константное выражение");
        } else {
            ConvertForAssign(decl->init, type, decl->init->pos);
        }
    }
    for (size_t i = 0; i < decl->names.size(); ++i) {
        Symbol* symbol = Declare(decl->names[i], decl->positions[i], SymbolKind::Variable);
        symbol->type = type;
        symbol->storage = InRoutine() ? Storage::Local : Storage::Global;
        symbol->offset = Allocate(type, decl->positions[i]);
        decl->symbols.push_back(symbol);
        if (decl->init != nullptr && decl->init->is_const && InRoutine()) {
            routine_->inits.push_back({symbol, decl->init});
        }
    }
}

void Checker::CheckConstDecl(ConstDeclStmt* decl) {
    const Type* type = decl->type != nullptr ? ResolveType(decl->type) : nullptr;
    const Type* value_type = CheckExpr(decl->value);
    if (!decl->value->is_const) {
        if (!IsError(value_type)) {
            diag_.Error(decl->value->pos, "Требуется константное выражение");
        }
        Declare(decl->name, decl->pos, SymbolKind::Constant)->type = BuiltinTypes::Error();
        return;
    }
    if (type == nullptr) {
        Symbol* symbol = Declare(decl->name, decl->pos, SymbolKind::Constant);
        symbol->type = value_type;
        symbol->value = decl->value->value;
        decl->symbol = symbol;
        return;
    }
    // A typed constant is a variable that cannot be assigned.
    ConvertForAssign(decl->value, type, decl->value->pos);
    Symbol* symbol = Declare(decl->name, decl->pos, SymbolKind::Variable);
    symbol->type = type;
    symbol->read_only = true;
    symbol->storage = InRoutine() ? Storage::Local : Storage::Global;
    symbol->offset = Allocate(type, decl->pos);
    decl->symbol = symbol;
    if (InRoutine()) {
        routine_->inits.push_back({symbol, decl->value});
    }
}

void Checker::CheckTypeDecl(TypeDeclStmt* decl) {
    const Type* type = ResolveType(decl->type);
    if (decl->type->kind != TypeExprKind::Named && !IsError(type)) {
        // Give the new type its declared name for messages.
        const_cast<Type*>(type)->name = std::string(decl->name);
    }
    Declare(decl->name, decl->pos, SymbolKind::Type)->type = type;
}

const Type* Checker::ResolveNamedType(std::string_view name, SourcePos pos) {
    Symbol* symbol = Lookup(name);
    if (symbol == nullptr) {
        diag_.Error(pos, fmt::format("Неизвестное имя \"{}\"", Shown(name)));
        return BuiltinTypes::Error();
    }
    if (symbol->kind != SymbolKind::Type) {
        diag_.Error(pos, fmt::format("\"{}\" не является типом", name));
        return BuiltinTypes::Error();
    }
    return symbol->type;
}

const Type* Checker::ResolveType(TypeExpr* texpr) {
    if (texpr == nullptr) {
        return BuiltinTypes::Error();
    }
    switch (texpr->kind) {
    case TypeExprKind::Named:
        if (texpr->name.empty()) {
            return BuiltinTypes::Error();
        }
        return ResolveNamedType(texpr->name, texpr->pos);
    case TypeExprKind::Array: {
        const Type* element = ResolveType(texpr->element);
        int32_t bounds[2] = {0, 0};
        Expr** ends[2] = {&texpr->low, &texpr->high};
        for (int i = 0; i < 2; ++i) {
            if (*ends[i] == nullptr) {
                return BuiltinTypes::Error();
            }
            const Type* t = CheckExpr(*ends[i]);
            if (IsError(t)) {
                return BuiltinTypes::Error();
            }
            if (!(*ends[i])->is_const) {
                diag_.Error((*ends[i])->pos, "Bound isn't a constant expression");
                return BuiltinTypes::Error();
            }
            if (t->kind != TypeKind::Integer) {
                diag_.Error((*ends[i])->pos, "Bound isn't of type integer");
                return BuiltinTypes::Error();
            }
            bounds[i] = static_cast<int32_t>((*ends[i])->value.i);
        }
        if (bounds[0] > bounds[1]) {
            diag_.Error(texpr->low->pos, "Lower bound is bigger than upper bound!");
            return BuiltinTypes::Error();
        }
        if (IsError(element)) {
            return BuiltinTypes::Error();
        }
        Type& type = code_.types.emplace_back();
        type.kind = TypeKind::Array;
        type.element = element;
        type.low = bounds[0];
        type.high = bounds[1];
        type.managed = element->managed;
        // Sizes are checked in 64 bits: a huge array must be refused, not wrap around.
        int64_t limit = std::numeric_limits<int32_t>::max();
        double slots = static_cast<double>(type.Count()) * static_cast<double>(element->slots);
        if (slots > static_cast<double>(limit)) {
            diag_.Error(texpr->pos, fmt::format("Слишком большой массив: {} элементов", type.Count()));
            return BuiltinTypes::Error();
        }
        type.slots = type.Count() * element->slots;
        return &type;
    }
    case TypeExprKind::Record: {
        Type& type = code_.types.emplace_back();
        type.kind = TypeKind::Record;
        type.slots = 0;
        for (FieldDecl& field : texpr->fields) {
            const Type* field_type = ResolveType(field.type);
            if (IsError(field_type)) {
                return BuiltinTypes::Error();
            }
            for (size_t i = 0; i < field.names.size(); ++i) {
                std::string lower = LowerAscii(field.names[i]);
                if (type.FindField(lower) != nullptr) {
                    diag_.Error(field.positions[i],
                                fmt::format("Повторное объявление \"{}\"", field.names[i]));
                }
                type.fields.push_back(
                    {std::string(field.names[i]), lower, field_type, static_cast<int32_t>(type.slots)});
                type.slots += field_type->slots;
                type.managed = type.managed || field_type->managed;
                if (type.slots > std::numeric_limits<int32_t>::max()) {
                    diag_.Error(texpr->pos, "Слишком большая запись");
                    return BuiltinTypes::Error();
                }
            }
        }
        return &type;
    }
    case TypeExprKind::Class: {
        const Type* parent = BuiltinTypes::Exception();
        if (!texpr->name.empty()) {
            parent = ResolveNamedType(texpr->name, texpr->pos);
            if (IsError(parent)) {
                return parent;
            }
            if (parent->kind != TypeKind::Class) {
                diag_.Error(texpr->pos, "Классы поддерживаются только как классы исключений без членов");
                return BuiltinTypes::Error();
            }
        }
        Type& type = code_.types.emplace_back();
        type.kind = TypeKind::Class;
        type.managed = true;
        type.parent = parent;
        return &type;
    }
    }
    return BuiltinTypes::Error();
}

bool Checker::SameSignature(const RoutineInfo* a, const RoutineInfo* b) const {
    if (a->is_function != b->is_function || a->result != b->result || a->params.size() != b->params.size()) {
        return false;
    }
    for (size_t i = 0; i < a->params.size(); ++i) {
        if (a->params[i].type != b->params[i].type &&
            !(a->params[i].type->IsScalar() && a->params[i].type->kind == b->params[i].type->kind)) {
            return false;
        }
        if (a->params[i].mode != b->params[i].mode) {
            return false;
        }
    }
    return true;
}

void Checker::CheckRoutine(RoutineStmt* decl) {
    if (decl->name.empty()) {
        return;
    }
    RoutineInfo& info = code_.routines.emplace_back();
    info.name = decl->name;
    info.pos = decl->pos;
    info.is_function = decl->is_function;
    info.decl = decl;
    decl->info = &info;
    info.result = decl->is_function ? ResolveType(decl->result) : BuiltinTypes::Void();
    if (info.result->IsAggregate()) {
        diag_.Error(decl->result->pos, "Функция может возвращать только простой тип");
        info.result = BuiltinTypes::Error();
    }
    // Parameters come first in the frame; calls compiled before the body (after a forward
    // declaration) rely on these offsets.
    int32_t offset = 0;
    for (ParamDecl& param : decl->params) {
        ParamInfo p;
        p.mode = param.mode;
        p.type = ResolveType(param.type);
        p.offset = offset;
        offset += p.by_ref() ? 1 : static_cast<int32_t>(p.type->slots);
        info.params.push_back(p);
    }

    // A body for an earlier forward declaration completes that routine.
    RoutineInfo* target = &info;
    std::string key = LowerAscii(decl->name);
    auto found = scopes_.back().find(key);
    if (found != scopes_.back().end() && found->second->kind == SymbolKind::Routine &&
        !found->second->routine->defined && !decl->is_forward) {
        RoutineInfo* forward = found->second->routine;
        if (!SameSignature(forward, &info)) {
            diag_.Error(decl->pos,
                        fmt::format("Объявление \"{}\" не совпадает с предварительным", decl->name));
        }
        target = forward;
        target->decl = decl;
        decl->info = target;
        info.defined = true; // the duplicate record is not a routine of its own
    } else {
        Symbol* symbol = Declare(decl->name, decl->pos, SymbolKind::Routine);
        symbol->routine = &info;
        symbol->type = info.result;
    }
    if (decl->is_forward) {
        return;
    }
    target->defined = true;

    // Frame layout: parameters, Result, locals, exception variables of handlers.
    RoutineInfo* saved_routine = routine_;
    std::vector<int32_t> saved_handlers = std::move(handler_slots_);
    handler_slots_.clear();
    routine_ = target;
    routine_->frame_slots = 0;
    routine_->managed.clear();
    scopes_.emplace_back();
    for (size_t i = 0; i < decl->params.size(); ++i) {
        ParamInfo& p = target->params[i];
        Symbol* symbol = Declare(decl->params[i].name, decl->params[i].pos, SymbolKind::Variable);
        symbol->type = p.type;
        symbol->read_only = p.mode == ParamMode::Const;
        if (p.by_ref()) {
            symbol->storage = Storage::RefParam;
            symbol->offset = static_cast<int32_t>(routine_->frame_slots++);
        } else {
            symbol->storage = Storage::Local;
            symbol->offset = Allocate(p.type, decl->params[i].pos);
        }
        p.offset = symbol->offset;
        p.symbol = symbol;
    }
    if (target->is_function) {
        Symbol* result = Declare("Result", decl->pos, SymbolKind::Variable);
        result->type = target->result;
        result->storage = Storage::Local;
        result->offset = Allocate(target->result, decl->pos);
        target->result_symbol = result;
    }
    for (Stmt* local : decl->decls) {
        CheckItem(local);
    }
    if (decl->body != nullptr) {
        CheckBody(decl->body->body);
    }
    scopes_.pop_back();
    routine_ = saved_routine;
    handler_slots_ = std::move(saved_handlers);
}

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
        if (!handler.var_name.empty()) {
            // Handlers nested in one frame each get their own slot; siblings share them.
            auto level = static_cast<size_t>(handler_depth_);
            if (handler_slots_.size() <= level) {
                handler_slots_.push_back(Allocate(BuiltinTypes::Exception(), handler.pos));
                // The slot is released by the handler itself, not by the frame.
                auto& managed = InRoutine() ? routine_->managed : code_.global_managed;
                managed.pop_back();
            }
            Symbol* var = Declare(handler.var_name, handler.pos, SymbolKind::Variable);
            var->type = IsError(cls) ? BuiltinTypes::Exception() : cls;
            var->storage = InRoutine() ? Storage::Local : Storage::Global;
            var->offset = handler_slots_[level];
            var->read_only = true;
            handler.var = var;
        }
        ++handler_depth_;
        CheckStmt(handler.body);
        --handler_depth_;
        scopes_.pop_back();
    }
    ++handler_depth_;
    CheckBody(stmt->else_body);
    --handler_depth_;
}

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
    if (by_ref && same && !IsLValue(arg)) {
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
        if (ok && p.by_ref() && p.mode == ParamMode::Const && !IsLValue(call->args[i])) {
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
                    fits = have->kind == want->kind && IsLValue(call->args[i]);
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
        bool integer_op = bin->op == Tok::KwDiv || bin->op == Tok::KwMod || bin->op == Tok::KwShl ||
                          bin->op == Tok::KwShr || bin->op == Tok::KwAnd || bin->op == Tok::KwOr ||
                          bin->op == Tok::KwXor;
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
    case Tok::KwShl:
    case Tok::KwShr:
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
