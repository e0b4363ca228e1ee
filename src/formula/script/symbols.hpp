// What names resolve to: variables with their storage, constants, types, script routines and
// native functions.
#pragma once

#include "ast.hpp"
#include "source_pos.hpp"

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace tl::script {

struct Type;
struct FunctionDef;
struct StmtNode;

enum class SymbolKind : uint8_t { Variable, Constant, Type, Routine, Native };
enum class Storage : uint8_t { Global, Local, RefParam };

struct Symbol {
    SymbolKind kind = SymbolKind::Variable;
    std::string_view name;
    SourcePos pos;
    const Type* type = nullptr;
    // Variable
    Storage storage = Storage::Global;
    int32_t offset = 0;
    bool read_only = false;
    // Constant
    ConstValue value;
    // Routine
    RoutineInfo* routine = nullptr;
    // Native
    const std::vector<const FunctionDef*>* natives = nullptr;
};

struct ManagedSlot {
    int32_t offset;
    const Type* type;
};

struct ParamInfo {
    const Type* type = nullptr;
    ParamMode mode = ParamMode::Value;
    Symbol* symbol = nullptr;
    int32_t offset = 0; // in the routine's frame, fixed by the first declaration
    // Passed as the address of the caller's storage: var parameters and const aggregates.
    bool by_ref() const;
};

struct VarInit {
    const Symbol* symbol;
    Expr* value; // a constant of the variable's type
};

struct RoutineInfo {
    std::string_view name;
    SourcePos pos;
    bool is_function = false;
    bool defined = false;
    std::vector<ParamInfo> params;
    const Type* result = nullptr;
    Symbol* result_symbol = nullptr;
    int64_t frame_slots = 0;
    std::vector<ManagedSlot> managed; // value parameters, Result and locals to release on return
    std::vector<VarInit> inits;       // locals with initial values
    RoutineStmt* decl = nullptr;
    const StmtNode* code = nullptr; // set by the compiler
};

} // namespace tl::script
