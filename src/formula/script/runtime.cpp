#include "runtime.hpp"

#include "float_format.hpp"
#include "tlscript/function_registry.hpp"

#include <algorithm>
#include <fmt/format.h>

#if defined(__linux__)
#include <pthread.h>
#endif

namespace tl::script {

void ObjRelease(ObjRep* obj) {
    if (obj != nullptr && --obj->refs == 0) {
        delete obj;
    }
}

ObjRep* ObjCreate(const Type* cls, Str message) {
    auto* obj = new ObjRep;
    obj->cls = cls;
    obj->message = std::move(message);
    return obj;
}

void VariantClear(Slot* v) {
    if (static_cast<VariantTag>(v[0].i) == VariantTag::String) {
        StrRelease(v[1].s);
    }
    v[0].raw = 0;
    v[1].raw = 0;
}

void VariantCopy(Slot* dst, const Slot* src) {
    if (dst == src) {
        return;
    }
    if (static_cast<VariantTag>(src[0].i) == VariantTag::String) {
        StrAddRef(src[1].s);
    }
    VariantClear(dst);
    dst[0] = src[0];
    dst[1] = src[1];
}

void VariantSet(Slot* v, VariantTag tag, Slot value) {
    VariantClear(v);
    v[0].i = static_cast<int32_t>(tag);
    v[1] = value;
}

std::string VariantText(const Slot* v, char decimal_separator) {
    switch (static_cast<VariantTag>(v[0].i)) {
    case VariantTag::Empty:
        return {};
    case VariantTag::Integer:
        return fmt::format("{}", v[1].i);
    case VariantTag::Float: {
        std::string text;
        AppendFloat(text, v[1].f, decimal_separator);
        return text;
    }
    case VariantTag::String:
        return std::string(StrView(v[1].s));
    case VariantTag::Boolean:
        return v[1].i != 0 ? "True" : "False";
    case VariantTag::Char:
        return std::string(1, static_cast<char>(v[1].i));
    }
    return {};
}

Slot* SlotStack::PushSlow(int64_t count, int64_t limit) {
    constexpr int64_t kChunkSlots = 64 * 1024;
    if (in_use_ + count > limit) {
        return nullptr;
    }
    if (count == 0) {
        return &empty_;
    }
    if (chunks_.empty()) {
        chunks_.emplace_back();
    }
    Chunk* chunk = &chunks_[current_];
    if (top_ == base_) {
        // An empty chunk that is too small is replaced, so that every chunk below the current
        // one holds at least one frame.
        chunk->size = std::max(count, kChunkSlots);
        chunk->data.reset(new Slot[static_cast<size_t>(chunk->size)]);
    } else {
        chunk->used = top_ - base_;
        ++current_;
        if (current_ == chunks_.size()) {
            chunks_.emplace_back();
        }
        chunk = &chunks_[current_];
        if (chunk->size < count) {
            chunk->size = std::max(count, kChunkSlots);
            chunk->data.reset(new Slot[static_cast<size_t>(chunk->size)]);
        }
    }
    base_ = chunk->data.get();
    end_ = base_ + chunk->size;
    top_ = base_ + count;
    in_use_ += count;
    return base_;
}

void SlotStack::PopChunk() {
    chunks_[current_].used = 0;
    --current_;
    Chunk& below = chunks_[current_];
    base_ = below.data.get();
    top_ = base_ + below.used;
    end_ = base_ + below.size;
}

void ExecContext::SetPending(ObjRep* owned, SourcePos pos) {
    if (pending != nullptr) {
        ObjRelease(owned);
        return;
    }
    pending = owned;
    pending_pos = pos;
}

void ExecContext::SetPending(const ScriptError& error) {
    ObjAddRef(error.Object());
    SetPending(error.Object(), error.Pos());
}

void ExecContext::Raise(const Type* cls, std::string_view text, SourcePos pos) {
    if (pending != nullptr) {
        throw TakePending();
    }
    throw ScriptError(ObjCreate(cls, Str(text)), pos);
}

void ExecContext::RaiseClass(std::string_view class_name, std::string_view text, SourcePos pos) {
    const Type* cls = BuiltinTypes::FindClass(LowerAscii(class_name));
    Raise(cls != nullptr ? cls : BuiltinTypes::Exception(), text, pos);
}

void ExecContext::CheckDeadline(SourcePos pos) {
    ticks_left = 4096;
    if (interrupt != nullptr && __atomic_load_n(interrupt, __ATOMIC_RELAXED) != 0) {
        // Not catchable either: the host wants the execution to end, not the script's handlers.
        throw ScriptAbort{"Выполнение скрипта прервано", pos};
    }
    if (has_deadline && std::chrono::steady_clock::now() >= deadline) {
        // A time-out is not catchable by the script: a handler could only run into it again.
        has_deadline = false;
        throw ScriptAbort{"Превышено время выполнения скрипта", pos};
    }
}

void ExecContext::RaiseOutputLimit(SourcePos pos) {
    // Not catchable: a handler that prints would only run into it again.
    throw ScriptAbort{fmt::format("Слишком большой вывод скрипта: больше {} байт", kMaxOutputBytes), pos};
}

void ExecContext::SetStackOverflow(SourcePos pos) {
    const Type* cls = BuiltinTypes::FindClass("estackoverflow");
    SetPending(ObjCreate(cls != nullptr ? cls : BuiltinTypes::Exception(), Str("Stack overflow")), pos);
}

void ExecContext::AddError(std::string_view text) {
    Message message;
    message.kind = MessageKind::GeneralError;
    message.text = std::string(text);
    messages->Add(std::move(message));
    messages->MarkExecutionErrors();
}

namespace {

// The lowest address of the current thread's stack, or nullptr when unknown. Asking the system
// reads the process's memory map for the main thread, which costs more than a short script's
// whole execution; a thread's stack never moves, so each thread asks once.
const char* StackBottom() {
#if defined(__linux__)
    thread_local const char* bottom = [] {
        const char* low = nullptr;
        pthread_attr_t attr;
        if (pthread_getattr_np(pthread_self(), &attr) == 0) {
            void* address = nullptr;
            size_t size = 0;
            pthread_attr_getstack(&attr, &address, &size);
            pthread_attr_destroy(&attr);
            low = static_cast<const char*>(address);
        }
        return low;
    }();
    return bottom;
#else
    return nullptr;
#endif
}

} // namespace

const char* StackLimit(size_t reserve) {
    char probe = 0;
    const char* here = &probe;
    const char* bottom = StackBottom();
    if (bottom != nullptr && here > bottom) {
        // A stack with less than the reserve left keeps half of what is left.
        auto left = static_cast<size_t>(here - bottom);
        return bottom + (left > reserve ? reserve : left / 2);
    }
    // Without knowledge of the stack, allow one megabyte below the current point.
    constexpr uintptr_t kFallback = 1024 * 1024;
    auto address = reinterpret_cast<uintptr_t>(here);
    return reinterpret_cast<const char*>(address > kFallback ? address - kFallback : 0);
}

} // namespace tl::script
