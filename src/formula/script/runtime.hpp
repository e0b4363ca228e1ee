// The running side of a program: exception objects, Variant storage, the frame stack and the
// execution context that every executable node receives.
#pragma once

#include "source_pos.hpp"
#include "tlscript/messages.hpp"
#include "tlscript/value.hpp"
#include "types.hpp"

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tl::script {

struct FunctionDef;
struct ScriptCall;

// An exception object: an instance of Exception or of a class descending from it.
struct ObjRep {
    int32_t refs = 1;
    const Type* cls = nullptr;
    Str message;
};

inline void ObjAddRef(ObjRep* obj) {
    if (obj != nullptr) {
        ++obj->refs;
    }
}
void ObjRelease(ObjRep* obj);
ObjRep* ObjCreate(const Type* cls, Str message);

// The C++ exception that carries a script exception up to the handler that catches it.
class ScriptError {
public:
    ScriptError(ObjRep* owned, SourcePos pos) : obj_(owned), pos_(pos) {}
    ScriptError(const ScriptError& other) : obj_(other.obj_), pos_(other.pos_) { ObjAddRef(obj_); }
    ScriptError& operator=(const ScriptError&) = delete;
    ~ScriptError() { ObjRelease(obj_); }
    ObjRep* Object() const { return obj_; }
    SourcePos Pos() const { return pos_; }
    // Hands the reference over to the caller.
    ObjRep* TakeObject() {
        ObjRep* obj = obj_;
        obj_ = nullptr;
        return obj;
    }

private:
    ObjRep* obj_;
    SourcePos pos_;
};

// Ends the execution past every script handler (only finally blocks run): the time limit.
struct ScriptAbort {
    std::string text;
    SourcePos pos;
};

// Variants: slot 0 holds the tag, slot 1 the value.
void VariantClear(Slot* v);
void VariantCopy(Slot* dst, const Slot* src);
void VariantSet(Slot* v, VariantTag tag, Slot value); // takes over a String reference
std::string VariantText(const Slot* v, char decimal_separator);

// Frames of script routines, taken and given back in LIFO order. Chunks never move, so the
// address of a slot stays valid while its frame lives (var parameters rely on this).
class SlotStack {
public:
    // nullptr when the frames in use would exceed limit slots. The frame is cleared.
    Slot* Push(int64_t count, int64_t limit) {
        Slot* frame = PushUncleared(count, limit);
        if (frame != nullptr) {
            Clear(frame, 0, count);
        }
        return frame;
    }
    // As Push, but the caller clears the slots it does not write itself.
    Slot* PushUncleared(int64_t count, int64_t limit) {
        // The common case, a frame that fits in the current chunk, stays inline.
        if (count > 0 && in_use_ + count <= limit && end_ - top_ >= count) [[likely]] {
            Slot* frame = top_;
            top_ += count;
            in_use_ += count;
            return frame;
        }
        return PushSlow(count, limit);
    }
    void Pop(int64_t count) {
        if (count == 0) {
            return;
        }
        in_use_ -= count;
        top_ -= count;
        if (top_ == base_ && current_ > 0) {
            PopChunk();
        }
    }
    // Most frames clear a slot or two, for which a call of memset costs more than the stores
    // (the compiler turns a plain loop into that call).
    static void Clear(Slot* frame, int64_t from, int64_t to) {
        Slot* first = frame + from;
        int64_t count = to - from;
        switch (count) {
        case 4:
            first[3].raw = 0;
            [[fallthrough]];
        case 3:
            first[2].raw = 0;
            [[fallthrough]];
        case 2:
            first[1].raw = 0;
            [[fallthrough]];
        case 1:
            first[0].raw = 0;
            [[fallthrough]];
        case 0:
            break;
        default:
            std::memset(static_cast<void*>(first), 0, static_cast<size_t>(count) * sizeof(Slot));
            break;
        }
    }

private:
    Slot* PushSlow(int64_t count, int64_t limit);
    void PopChunk();

    struct Chunk {
        std::unique_ptr<Slot[]> data;
        int64_t size = 0;
        int64_t used = 0; // kept up to date for the chunks below the current one
    };
    std::vector<Chunk> chunks_;
    size_t current_ = 0;
    // The current chunk: its first slot, the first free one and its end.
    Slot* base_ = nullptr;
    Slot* top_ = nullptr;
    Slot* end_ = nullptr;
    int64_t in_use_ = 0;
    Slot empty_{}; // the frame of a routine without parameters or locals
};

class ExecContext {
public:
    Slot* globals = nullptr;
    Slot* frame = nullptr;
    std::string* out = nullptr;
    MessageList* messages = nullptr;
    const std::vector<std::string>* files = nullptr;
    // The native functions and script routines that Float code calls, by their index there.
    const FunctionDef* const* float_code_natives = nullptr;
    const ScriptCall* const* float_code_calls = nullptr;
    char decimal_separator = '.';
    // The state of Random and its relatives; kept from one execution to the next, as the
    // program's only state that is not data.
    uint32_t rand_seed = 0;

    // Guards against runaway scripts.
    const char* stack_limit = nullptr;
    int depth = 0;
    int max_depth = 0;
    int64_t max_frame_slots = 0; // all routine frames together
    uint32_t ticks_left = 0;
    bool has_deadline = false;
    std::chrono::steady_clock::time_point deadline;
    const volatile int32_t* interrupt = nullptr;

    SlotStack stack;

    // A script error on its way out of the script calls. A C++ exception crossing a thousand
    // nested calls would cost the unwinder far more than the calls themselves, so a call that
    // fails returns an empty value with the error left here; while it is set nothing with an
    // effect runs (calls return at once, statements return Flow::Raise) until a try statement
    // or the execution's end takes it.
    ObjRep* pending = nullptr;
    SourcePos pending_pos;
    bool Failed() const { return pending != nullptr; }
    // Takes over the reference; an error already pending stays and the new one is dropped.
    void SetPending(ObjRep* owned, SourcePos pos);
    void SetPending(const ScriptError& error);
    ScriptError TakePending() {
        ScriptError error(pending, pending_pos);
        pending = nullptr;
        return error;
    }
    void ClearPending() {
        ObjRelease(pending);
        pending = nullptr;
    }

    // The text is a script string (Windows-1251); the engine's own texts are ASCII. An error
    // already pending is raised instead: a value that an abandoned call left behind must not
    // cause errors of its own.
    [[noreturn]] void Raise(const Type* cls, std::string_view text, SourcePos pos);
    // Raises with a standard class by name ("EConvertError").
    [[noreturn]] void RaiseClass(std::string_view class_name, std::string_view text, SourcePos pos);

    // Called at loop back edges and routine calls: every 4096th call looks at the time limit and
    // the interrupt flag.
    void Tick(SourcePos pos) {
        if (--ticks_left == 0) {
            CheckDeadline(pos);
        }
    }
    void CheckDeadline(SourcePos pos);
    // False, with the stack overflow pending, when the call would nest too deep.
    bool EnterCall(SourcePos pos) {
        char probe = 0;
        if (++depth > max_depth || &probe < stack_limit) [[unlikely]] {
            --depth;
            SetStackOverflow(pos);
            return false;
        }
        Tick(pos);
        return true;
    }
    void LeaveCall() { --depth; }
    void SetStackOverflow(SourcePos pos);

    // Marks the running program as having execution errors and adds a message without position.
    void AddError(std::string_view text);

    // Output past this ends the execution: a script printing in an endless loop would fill the
    // memory long before the time limit is next looked at.
    static constexpr size_t kMaxOutputBytes = size_t{64} * 1024 * 1024;
    void CheckOutput(SourcePos pos) const {
        if (out->size() > kMaxOutputBytes) [[unlikely]] {
            RaiseOutputLimit(pos);
        }
    }
    [[noreturn]] static void RaiseOutputLimit(SourcePos pos);
};

// The lowest address the current thread's stack may grow to, keeping `reserve` bytes spare.
const char* StackLimit(size_t reserve);

} // namespace tl::script
