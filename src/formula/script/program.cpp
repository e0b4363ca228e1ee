#include "tlscript/program.hpp"

#include "ansi_text.hpp"
#include "compiled_code.hpp"
#include "diagnostics.hpp"
#include "exec_node.hpp"
#include "runtime.hpp"
#include "tlcommon/failure_text.hpp"
#include "tlscript/engine.hpp"

#include <cstring>
#include <new>

namespace tl::script {

// What survives from one execution to the next: allocations only, never values.
struct ExecState {
    std::unique_ptr<Slot[]> globals;
    ExecContext ctx;
};

namespace {

// Stack kept free below the deepest script call for the handlers and the host's own frames.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kStackReserve = 1024 * 1024;
#else
constexpr size_t kStackReserve = 256 * 1024;
#endif

} // namespace

Program::Program(const Engine& engine, std::unique_ptr<CompiledCode> code, MessageList messages)
    : engine_(engine), code_(std::move(code)), messages_(std::move(messages)),
      state_(std::make_unique<ExecState>()) {
    messages_.compiling_ = false;
    if (code_->global_slots > 0) {
        state_->globals = std::make_unique<Slot[]>(static_cast<size_t>(code_->global_slots));
    }
}

Program::~Program() = default;

bool Program::Execute() {
    auto refuse = [this](const char* text) {
        Message message;
        message.kind = MessageKind::GeneralError;
        message.text = text;
        messages_.Add(std::move(message));
        messages_.MarkExecutionErrors();
        return false;
    };
    if (executing_) {
        return refuse("Скрипт уже выполняется!");
    }
    messages_.ClearExecution();
    output_.clear();
    if (HasCompileErrors() || code_->main == nullptr) {
        return refuse("Скрипт откомпилирован с ошибками. Невозможно выполнить!");
    }
    executing_ = true;
    struct Running {
        bool& flag;
        ~Running() { flag = false; }
    } running{executing_};

    const EngineSettings& settings = engine_.Settings();
    Slot* globals = state_->globals.get();
    if (globals != nullptr) {
        std::memset(static_cast<void*>(globals), 0, static_cast<size_t>(code_->global_slots) * sizeof(Slot));
    }
    ExecContext& ctx = state_->ctx;
    ctx.globals = globals;
    ctx.frame = globals;
    ctx.out = &output_;
    ctx.messages = &messages_;
    ctx.files = &code_->files;
    ctx.float_code_natives = code_->float_code_natives.data();
    ctx.float_code_calls = code_->float_code_calls.data();
    ctx.decimal_separator = settings.decimal_separator;
    ctx.depth = 0;
    ctx.max_depth = settings.max_call_depth;
    ctx.max_frame_slots = (settings.max_data_bytes > 0 ? settings.max_data_bytes : kDefaultMaxDataBytes) /
                          static_cast<int64_t>(sizeof(Slot));
    ctx.stack_limit = StackLimit(kStackReserve);
    ctx.ticks_left = 4096;
    ctx.interrupt = settings.interrupt_flag;
    ctx.has_deadline = settings.time_limit_ms > 0;
    if (ctx.has_deadline) {
        ctx.deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(settings.time_limit_ms);
    }

    auto fail = [&](std::string text, SourcePos pos) {
        messages_.Add(MakeMessage(MessageKind::ExecutionError, std::move(text), pos, code_->files));
    };
    ctx.ClearPending();
    try {
        if (code_->main->Exec(ctx) == Flow::Raise) {
            ScriptError error = ctx.TakePending();
            fail(ToUtf8(error.Object()->message.View()), error.Pos());
        }
    } catch (const ScriptError& error) {
        fail(ToUtf8(error.Object()->message.View()), error.Pos());
    } catch (const ScriptAbort& abort) {
        fail(abort.text, abort.pos);
    } catch (const std::bad_alloc&) {
        fail("Недостаточно памяти для выполнения скрипта", {});
    } catch (const std::exception& error) {
        fail(FailureText(error), {}); // the log takes Russian texts only
    }
    ctx.ClearPending(); // an abort may end the execution while an error is pending
    for (const ManagedSlot& slot : code_->global_managed) {
        ReleaseValue(slot.type, globals + slot.offset);
    }
    return !messages_.HasExecutionErrors();
}

} // namespace tl::script
