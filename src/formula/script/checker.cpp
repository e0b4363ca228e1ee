#include "checker.hpp"

#include "ansi_text.hpp"

#include <cmath>
#include <fmt/format.h>
#include <limits>

namespace tl::script {
namespace {

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

Symbol* Checker::NewSymbol(SymbolKind kind, std::string_view name, SourcePos pos, Arena* store) {
    Symbol& symbol = store != nullptr ? *store->New<Symbol>() : code_.symbols.emplace_back();
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
        symbol->value.s = sources_.Keep(ToCp1251(constant->string_value));
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

Symbol* Checker::Declare(std::string_view name, SourcePos pos, SymbolKind kind, Arena* store) {
    std::string key = LowerAscii(name);
    Scope& scope = scopes_.back();
    auto found = scope.find(key);
    // A script may redeclare a name of the library: its own declaration wins from then on.
    if (found != scope.end() && found->second->pos.line > 0) {
        diag_.Error(pos, fmt::format("Повторное объявление \"{}\"", name));
    }
    Symbol* symbol = NewSymbol(kind, name, pos, store);
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
            // The body is still checked, against its own heading: the forward one may have
            // fewer parameters.
            diag_.Error(decl->pos,
                        fmt::format("Объявление \"{}\" не совпадает с предварительным", decl->name));
        } else {
            target = forward;
            target->decl = decl;
            decl->info = target;
            info.defined = true; // the duplicate record is not a routine of its own
        }
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
    // A routine's body is a frame of its own: its loops, case statements and handlers start afresh.
    std::vector<int32_t> saved_handlers = std::move(handler_slots_);
    handler_slots_.clear();
    const int saved_depths[] = {named_handler_depth_, loop_depth_, case_depth_};
    named_handler_depth_ = loop_depth_ = case_depth_ = 0;
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
    named_handler_depth_ = saved_depths[0];
    loop_depth_ = saved_depths[1];
    case_depth_ = saved_depths[2];
}

} // namespace tl::script
