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
    // The same for a call at `at` whose arguments write_args(frame) evaluates into the frame
    // once it is entered: the calls compiled into Float byte code share one ScriptCall per
    // routine.
    template <class WriteArgs>
    void InvokeWith(ExecContext& c, SourcePos at, Slot* result, WriteArgs&& write_args) const;

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

// Everything a call sets up is taken down however the routine ends.
struct CallScope {
    CallScope(ExecContext& ctx, const ScriptCall* sc, Slot* f)
        : c(ctx), call(sc), frame(f), saved(ctx.frame) {}
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;
    [[gnu::always_inline]] ~CallScope() {
        c.frame = saved;
        for (const ManagedSlot& slot : call->routine->managed) {
            ReleaseValue(slot.type, frame + slot.offset);
        }
        c.stack.Pop(call->frame_slots);
        c.LeaveCall();
    }
    ExecContext& c;
    const ScriptCall* call;
    Slot* frame;
    Slot* saved;
};

// A call that fails, or finds an error pending, leaves result as the caller cleared it. Inlined
// into each of its callers: a deep recursion pays for every native frame a script call adds.
template <class WriteArgs>
[[gnu::always_inline]] inline void ScriptCall::InvokeWith(ExecContext& c, SourcePos at, Slot* result,
                                                          WriteArgs&& write_args) const {
    if (c.Failed() || !c.EnterCall(at)) [[unlikely]] {
        return;
    }
    Slot* frame = c.stack.PushUncleared(frame_slots, c.max_frame_slots);
    if (frame == nullptr) [[unlikely]] {
        c.LeaveCall();
        c.SetStackOverflow(at);
        return;
    }
    SlotStack::Clear(frame, clear_from, frame_slots);
    CallScope scope(c, this, frame);
    write_args(frame);
    if (c.Failed()) [[unlikely]] {
        return;
    }
    c.frame = frame;
    try {
        routine->code->Exec(c);
    } catch (const ScriptError& error) {
        // Unwinding ends here: the callers above learn of the error from the context.
        c.SetPending(error);
        return;
    }
    if (c.Failed()) [[unlikely]] {
        return;
    }
    if (result != nullptr && result_move != ResultMove::None) {
        Slot* r = frame + result_offset;
        result[0] = r[0];
        if (result_move == ResultMove::Variant) {
            result[1] = r[1];
            r[0].raw = 0;
            r[1].raw = 0;
        } else if (result_move == ResultMove::Managed) {
            r[0].raw = 0; // ownership moves to the caller
        }
    }
}

} // namespace tl::script
