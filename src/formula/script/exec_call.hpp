// Calls of native functions and script routines.
#pragma once

#include "exec_node.hpp"
#include "symbols.hpp"
#include "tlscript/function_registry.hpp"

#include <vector>

namespace tl::script {

// More arguments than this are refused at registration.
inline constexpr int kMaxNativeArgs = 32;

struct NativeArg {
    const ExprNode* node = nullptr; // nullptr: a constant, already in the template
    ValueType type = ValueType::Integer;
    bool by_ref = false;
};

struct NativeCall final : ExprNode {
    NativeCall(SourcePos p, const FunctionDef* d) : ExprNode(p), def(d) {}
    int32_t Int(ExecContext& c) const override;
    double Float(ExecContext& c) const override;
    Str String(ExecContext& c) const override;
    void Run(ExecContext& c) const override;
    // Calls the function; result receives its result in slot form (owned for strings).
    void Invoke(ExecContext& c, Slot* result) const;

    const FunctionDef* def;
    ArenaSpan<NativeArg> args;
    Slot* constants = nullptr; // argument slots with the constant arguments filled in
    bool simple = true;        // only Integer, Float, Boolean and Char values: nothing to release
};

struct ScriptArg {
    const ExprNode* node = nullptr;
    const Type* type = nullptr;
    int32_t offset = 0;
    bool by_ref = false;
    TypeKind kind = TypeKind::Integer; // type->kind, read without following the pointer
};

// How a function's result leaves its frame.
enum class ResultMove : uint8_t { None, Plain, Managed, Variant };

struct ScriptCall final : ExprNode {
    ScriptCall(SourcePos p, const RoutineInfo* r) : ExprNode(p), routine(r) {}
    int32_t Int(ExecContext& c) const override;
    double Float(ExecContext& c) const override;
    Str String(ExecContext& c) const override;
    ObjRep* Object(ExecContext& c) const override;
    void Variant(ExecContext& c, Slot* out) const override;
    void Run(ExecContext& c) const override;
    // Runs the routine; the result (owned) is copied to result when the routine is a function.
    void Invoke(ExecContext& c, Slot* result) const;

    const RoutineInfo* routine;
    ArenaSpan<ScriptArg> args;
    // Taken from the routine when the call is compiled, so that a call follows no pointers to
    // learn its frame's shape.
    int64_t frame_slots = 0;
    // Slots below this are all written by the arguments: only the rest is cleared on entry.
    int64_t clear_from = 0;
    int32_t result_offset = 0;
    ResultMove result_move = ResultMove::None;
};

} // namespace tl::script
