// Out-of-line parts of the executable nodes: the rarely taken paths and the larger nodes.
#include "ansi_text.hpp"
#include "exec_call.hpp"
#include "exec_ops.hpp"
#include "exec_stmt.hpp"
#include "float_format.hpp"
#include "tlscript/call_frame.hpp"

#include <cstdlib>
#include <fmt/format.h>

namespace tl::script {

// A node only implements the getters of its type; the checker never asks for another one.
int32_t ExprNode::Int(ExecContext&) const {
    std::abort();
}
double ExprNode::Float(ExecContext&) const {
    std::abort();
}
Str ExprNode::String(ExecContext&) const {
    std::abort();
}
ObjRep* ExprNode::Object(ExecContext&) const {
    std::abort();
}
void ExprNode::Variant(ExecContext&, Slot*) const {
    std::abort();
}
Slot* ExprNode::Address(ExecContext&) const {
    std::abort();
}
void ExprNode::Run(ExecContext&) const {
    std::abort();
}

void RaiseFloatError(ExecContext& c, double result, SourcePos pos) {
    if (std::isnan(result)) {
        c.RaiseClass("EInvalidOp", "Invalid floating point operation", pos);
    }
    c.RaiseClass("EOverflow", "Floating point overflow", pos);
}

void RaiseFloatDivision(ExecContext& c, double dividend, SourcePos pos) {
    if (dividend == 0 || std::isnan(dividend)) {
        c.RaiseClass("EInvalidOp", "Invalid floating point operation", pos);
    }
    c.RaiseClass("EZeroDivide", "Floating point division by zero", pos);
}

void RaiseIntDivision(ExecContext& c, SourcePos pos) {
    c.RaiseClass("EDivByZero", "Division by zero", pos);
}

void RaiseBounds(ExecContext& c, int32_t index, bool upper, SourcePos pos) {
    c.RaiseClass("ERangeError", fmt::format("{} bound exceeded! Index {}", upper ? "Upper" : "Lower", index),
                 pos);
}

void RaiseNilObject(ExecContext& c, SourcePos pos) {
    c.RaiseClass("Exception", "Access violation: the object is nil", pos);
}

int32_t StringIndex::Int(ExecContext& c) const {
    Str s = text->String(c);
    int32_t i = index->Int(c);
    if (i < 1 || static_cast<size_t>(i) > s.Size()) {
        c.RaiseClass("ERangeError", fmt::format("Out of string range: index {}", i), pos);
    }
    return static_cast<unsigned char>(s.View()[static_cast<size_t>(i - 1)]);
}

Str ExceptionMessage::String(ExecContext& c) const {
    ObjRep* obj = object->Object(c);
    if (obj == nullptr) {
        RaiseNilObject(c, pos);
    }
    Str result = class_name ? Str(obj->cls->name) : obj->message;
    ObjRelease(obj);
    return result;
}

int32_t ClassTest::Int(ExecContext& c) const {
    ObjRep* obj = object->Object(c);
    bool is = obj != nullptr && obj->cls->DescendsFrom(cls);
    ObjRelease(obj);
    return is ? 1 : 0;
}

ObjRep* ClassTest::Object(ExecContext& c) const {
    ObjRep* obj = object->Object(c);
    if (obj != nullptr && !obj->cls->DescendsFrom(cls)) {
        ObjRelease(obj);
        c.RaiseClass("EInvalidCast", "Invalid type cast", pos);
    }
    return obj;
}

void ToVariant::Variant(ExecContext& c, Slot* out) const {
    Slot value;
    value.raw = 0;
    VariantTag tag = VariantTag::Empty;
    switch (from) {
    case TypeKind::Integer:
        value.i = operand->Int(c);
        tag = VariantTag::Integer;
        break;
    case TypeKind::Float:
        value.f = operand->Float(c);
        tag = VariantTag::Float;
        break;
    case TypeKind::String:
        value.s = operand->String(c).Release();
        tag = VariantTag::String;
        break;
    case TypeKind::Boolean:
        value.i = operand->Int(c);
        tag = VariantTag::Boolean;
        break;
    case TypeKind::Char:
        value.i = operand->Int(c);
        tag = VariantTag::Char;
        break;
    default:
        break;
    }
    VariantSet(out, tag, value);
}

namespace {

const char* VariantTagName(VariantTag tag) {
    switch (tag) {
    case VariantTag::Empty:
        return "Empty";
    case VariantTag::Integer:
        return "Integer";
    case VariantTag::Float:
        return "Double";
    case VariantTag::String:
        return "String";
    case VariantTag::Boolean:
        return "Boolean";
    case VariantTag::Char:
        return "Char";
    }
    return "?";
}

// Holds a Variant temporary and releases it on every way out.
struct VariantTemp {
    Slot v[2] = {};
    ~VariantTemp() { VariantClear(v); }
    VariantTag Tag() const { return static_cast<VariantTag>(v[0].i); }
};

[[noreturn]] void RaiseVariant(ExecContext& c, VariantTag tag, const char* to, SourcePos pos) {
    c.RaiseClass(
        "EVariantError",
        fmt::format("Could not convert variant of type ({}) into type ({})", VariantTagName(tag), to), pos);
}

} // namespace

int32_t FromVariant::Int(ExecContext& c) const {
    VariantTemp t;
    operand->Variant(c, t.v);
    const char* name = to == TypeKind::Boolean ? "Boolean" : to == TypeKind::Char ? "Char" : "Integer";
    switch (t.Tag()) {
    case VariantTag::Empty:
        return 0;
    case VariantTag::Integer:
    case VariantTag::Boolean:
    case VariantTag::Char:
        return to == TypeKind::Boolean ? (t.v[1].i != 0 ? 1 : 0) : t.v[1].i;
    case VariantTag::Float:
        if (to == TypeKind::Integer && std::fabs(t.v[1].f) < 2147483648.0) {
            return static_cast<int32_t>(std::nearbyint(t.v[1].f));
        }
        break;
    case VariantTag::String: {
        std::string_view text = StrView(t.v[1].s);
        if (to == TypeKind::Char && text.size() == 1) {
            return static_cast<unsigned char>(text[0]);
        }
        if (to == TypeKind::Boolean) {
            std::string lower = LowerAscii(text);
            if (lower == "true" || lower == "false") {
                return lower == "true" ? 1 : 0;
            }
        }
        int32_t value = 0;
        if (to == TypeKind::Integer && ParseInt(text, value)) {
            return value;
        }
        break;
    }
    }
    RaiseVariant(c, t.Tag(), name, pos);
}

double FromVariant::Float(ExecContext& c) const {
    VariantTemp t;
    operand->Variant(c, t.v);
    switch (t.Tag()) {
    case VariantTag::Empty:
        return 0;
    case VariantTag::Integer:
    case VariantTag::Boolean:
        return t.v[1].i;
    case VariantTag::Float:
        return t.v[1].f;
    case VariantTag::String: {
        double value = 0;
        if (ParseFloat(StrView(t.v[1].s), c.decimal_separator, value)) {
            return value;
        }
        break;
    }
    case VariantTag::Char:
        break;
    }
    RaiseVariant(c, t.Tag(), "Double", pos);
}

Str FromVariant::String(ExecContext& c) const {
    VariantTemp t;
    operand->Variant(c, t.v);
    return Str(VariantText(t.v, c.decimal_separator));
}

Flow AssignStringChar::Exec(ExecContext& c) const {
    auto ch = static_cast<char>(value->Int(c));
    int32_t i = index->Int(c);
    Slot* slot = target->Address(c);
    if (c.Failed()) [[unlikely]] {
        return Flow::Raise;
    }
    Str s = Str::Adopt(slot->s);
    slot->s = nullptr;
    if (i < 1 || static_cast<size_t>(i) > s.Size()) {
        slot->s = s.Release();
        c.RaiseClass("ERangeError", fmt::format("Out of string range: index {}", i), pos);
    }
    s.MutableData()[i - 1] = ch;
    slot->s = s.Release();
    return Flow::Normal;
}

Flow AssignMessage::Exec(ExecContext& c) const {
    Str text = value->String(c);
    ObjRep* obj = object->Object(c);
    if (obj == nullptr) {
        RaiseNilObject(c, pos);
    }
    if (c.Failed()) [[unlikely]] {
        ObjRelease(obj);
        return Flow::Raise;
    }
    obj->message = std::move(text);
    ObjRelease(obj);
    return Flow::Normal;
}

namespace {

// The exception variable of a running handler, given up however the handler ends.
struct HandlerVariable {
    HandlerVariable(ObjRep* obj, Slot* slot) : var(slot) {
        ObjAddRef(obj);
        ObjRelease(var->o);
        var->o = obj;
    }
    ~HandlerVariable() {
        ObjRelease(var->o);
        var->o = nullptr;
    }
    Slot* var;
};

// The first handler that takes obj, nullptr when none does.
const Handler* ChooseHandler(const TryExceptNode& node, const ObjRep* obj) {
    for (const Handler* handler = node.handlers; handler != nullptr; ++handler) {
        if (handler->cls == nullptr || obj->cls->DescendsFrom(handler->cls)) {
            return handler;
        }
        if (handler->last) {
            break;
        }
    }
    return nullptr;
}

// A shared handler's body, with the position of an error leaving it moved to the try statement
// that runs it.
Flow RunShifted(ExecContext& c, const StmtNode& body, int32_t line_shift) {
    Flow flow;
    try {
        flow = body.Exec(c);
    } catch (ScriptError& error) {
        SourcePos pos = error.Pos();
        pos.line += line_shift;
        throw ScriptError(error.TakeObject(), pos);
    } catch (ScriptAbort& abort) {
        abort.pos.line += line_shift;
        throw;
    }
    if (flow == Flow::Raise) {
        c.pending_pos.line += line_shift;
    }
    return flow;
}

// The caller keeps obj alive while the handler runs.
Flow RunHandler(ExecContext& c, const Handler& handler, ObjRep* obj, int32_t line_shift) {
    if (handler.body == nullptr) {
        return Flow::Normal;
    }
    if (handler.var_offset < 0) {
        return line_shift == 0 ? handler.body->Exec(c) : RunShifted(c, *handler.body, line_shift);
    }
    HandlerVariable var(obj, (handler.var_global ? c.globals : c.frame) + handler.var_offset);
    return line_shift == 0 ? handler.body->Exec(c) : RunShifted(c, *handler.body, line_shift);
}

} // namespace

Flow TryExceptNode::Exec(ExecContext& c) const {
    Flow flow = Flow::Normal;
    try {
        for (const StmtNode* const* stmt = Body(); stmt != Body() + count; ++stmt) {
            flow = (*stmt)->Exec(c);
            if (flow != Flow::Normal) [[unlikely]] {
                break;
            }
        }
    } catch (const ScriptError& error) {
        const Handler* handler = ChooseHandler(*this, error.Object());
        if (handler == nullptr) {
            throw;
        }
        return RunHandler(c, *handler, error.Object(), line_shift);
    }
    if (flow != Flow::Raise) [[likely]] {
        return flow;
    }
    ScriptError error = c.TakePending();
    const Handler* handler = ChooseHandler(*this, error.Object());
    if (handler == nullptr) {
        c.SetPending(error.TakeObject(), error.Pos());
        return Flow::Raise;
    }
    return RunHandler(c, *handler, error.Object(), line_shift);
}

Flow TryFinallyNode::Exec(ExecContext& c) const {
    Flow flow;
    try {
        flow = body->Exec(c);
    } catch (...) {
        // An error of the finally block replaces the one on its way; its exit, break or
        // continue does not stop it.
        if (finally_body->Exec(c) == Flow::Raise) {
            return Flow::Raise;
        }
        throw;
    }
    if (flow == Flow::Raise) [[unlikely]] {
        // The finally block runs as in a clean state; the error goes on after it unless the block
        // raises one of its own.
        ScriptError error = c.TakePending();
        if (finally_body->Exec(c) != Flow::Raise) {
            c.SetPending(error.TakeObject(), error.Pos());
        }
        return Flow::Raise;
    }
    Flow after = finally_body->Exec(c);
    return after != Flow::Normal ? after : flow;
}

Flow RaiseNode::Exec(ExecContext& c) const {
    if (object == nullptr) {
        // Also inside a handler: a bare raise names no exception, so it raises one of its own.
        c.Raise(BuiltinTypes::Exception(), "User defined exception!", pos);
    }
    ObjRep* obj = object->Object(c);
    if (obj == nullptr) {
        RaiseNilObject(c, pos);
    }
    if (c.Failed()) [[unlikely]] {
        ObjRelease(obj);
        return Flow::Raise;
    }
    throw ScriptError(obj, pos);
}

Flow PrintNode::Exec(ExecContext& c) const {
    std::string& out = *c.out;
    if (prefix != nullptr) {
        out.append(StrView(prefix));
    }
    switch (kind) {
    case PrintKind::Int: {
        int32_t v = value->Int(c);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        char buffer[16];
        auto end = fmt::format_to(buffer, "{}", v);
        out.append(buffer, static_cast<size_t>(end - buffer));
        break;
    }
    case PrintKind::Float: {
        double v = value->Float(c);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        AppendFloat(out, v, c.decimal_separator);
        break;
    }
    case PrintKind::String: {
        Str s = value->String(c);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        AppendAsUtf8(out, s.View());
        break;
    }
    case PrintKind::Bool: {
        int32_t v = value->Int(c);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        out.append(v != 0 ? "True" : "False");
        break;
    }
    case PrintKind::Char: {
        auto ch = static_cast<char>(value->Int(c));
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        AppendAsUtf8(out, std::string_view(&ch, 1));
        break;
    }
    case PrintKind::Variant: {
        Slot v[2] = {};
        value->Variant(c, v);
        std::string text = VariantText(v, c.decimal_separator);
        VariantClear(v);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        AppendAsUtf8(out, text);
        break;
    }
    }
    if (newline) {
        out.append("\r\n");
    }
    c.CheckOutput(pos);
    return Flow::Normal;
}

// ---- native calls ----------------------------------------------------------------------------

namespace {

// Argument temporaries of a native call that own references (strings, Variants).
struct NativeTemps {
    Slot variants[2 * kMaxNativeArgs];
    int variant_count = 0;
    StrRep* strings[kMaxNativeArgs];
    int string_count = 0;
    ~NativeTemps() {
        for (int i = 0; i < string_count; ++i) {
            StrRelease(strings[i]);
        }
        for (int i = 0; i < variant_count; ++i) {
            VariantClear(variants + 2 * i);
        }
    }
};

} // namespace

void NativeCall::Invoke(ExecContext& c, Slot* result) const {
    Slot argv[kMaxNativeArgs];
    const size_t count = args.size;
    std::memcpy(static_cast<void*>(argv), constants, count * sizeof(Slot));
    if (simple) {
        for (size_t i = 0; i < count; ++i) {
            const NativeArg& arg = args[i];
            if (arg.node == nullptr) {
                continue;
            }
            if (arg.type == ValueType::Float) {
                argv[i].f = arg.node->Float(c);
            } else {
                argv[i].i = arg.node->Int(c);
            }
        }
        if (c.Failed()) [[unlikely]] {
            return;
        }
        CallFrame frame(argv, static_cast<int>(count), result, def, &c, pos.line, pos.column, pos.file);
        def->fn(frame);
        return;
    }
    NativeTemps temps;
    for (size_t i = 0; i < count; ++i) {
        const NativeArg& arg = args[i];
        if (arg.by_ref) {
            argv[i].ref = arg.node->Address(c);
            continue;
        }
        if (arg.node == nullptr) {
            continue;
        }
        switch (arg.type) {
        case ValueType::Float:
            argv[i].f = arg.node->Float(c);
            break;
        case ValueType::String:
            argv[i].s = arg.node->String(c).Release();
            temps.strings[temps.string_count++] = argv[i].s;
            break;
        case ValueType::Variant: {
            Slot* v = temps.variants + 2 * temps.variant_count++;
            v[0].raw = 0;
            v[1].raw = 0;
            arg.node->Variant(c, v);
            argv[i].ref = v;
            break;
        }
        default:
            argv[i].i = arg.node->Int(c);
            break;
        }
    }
    if (c.Failed()) [[unlikely]] {
        return;
    }
    CallFrame frame(argv, static_cast<int>(count), result, def, &c, pos.line, pos.column, pos.file);
    def->fn(frame);
}

int32_t NativeCall::Int(ExecContext& c) const {
    Slot result;
    result.raw = 0;
    Invoke(c, &result);
    return result.i;
}

double NativeCall::Float(ExecContext& c) const {
    Slot result;
    result.raw = 0;
    Invoke(c, &result);
    return result.f;
}

Str NativeCall::String(ExecContext& c) const {
    Slot result;
    result.raw = 0;
    try {
        Invoke(c, &result);
    } catch (...) {
        StrRelease(result.s);
        throw;
    }
    return Str::Adopt(result.s);
}

void NativeCall::Run(ExecContext& c) const {
    Slot result;
    result.raw = 0;
    Invoke(c, &result);
    if (def->result == ValueType::String) {
        StrRelease(result.s);
    }
}

// ---- script calls ----------------------------------------------------------------------------

// A call that fails, or finds an error pending, leaves result as the caller cleared it. Inlined
// into each of its callers: a deep recursion pays for every native frame a script call adds.
[[gnu::always_inline]] inline void ScriptCall::Invoke(ExecContext& c, Slot* result) const {
    InvokeWith(c, pos, result, [this, &c](Slot* frame) {
        for (const ScriptArg& arg : args) {
            Slot* slot = frame + arg.offset;
            if (arg.by_ref) {
                slot->ref = arg.node->Address(c);
                continue;
            }
            switch (arg.kind) {
            case TypeKind::Float:
                slot->f = arg.node->Float(c);
                break;
            case TypeKind::String:
                slot->s = arg.node->String(c).Release();
                break;
            case TypeKind::Class:
                slot->o = arg.node->Object(c);
                break;
            case TypeKind::Variant:
                arg.node->Variant(c, slot);
                break;
            case TypeKind::Array:
            case TypeKind::Record:
                CopyValue(arg.type, slot, arg.node->Address(c));
                break;
            default: {
                // The whole slot: the frame was not cleared below the arguments' end.
                Slot value;
                value.raw = 0;
                value.i = arg.node->Int(c);
                *slot = value;
                break;
            }
            }
        }
    });
}

int32_t ScriptCall::Int(ExecContext& c) const {
    Slot result[2] = {};
    Invoke(c, result);
    return result[0].i;
}

double ScriptCall::Float(ExecContext& c) const {
    Slot result[2] = {};
    Invoke(c, result);
    return result[0].f;
}

Str ScriptCall::String(ExecContext& c) const {
    Slot result[2] = {};
    Invoke(c, result);
    return Str::Adopt(result[0].s);
}

ObjRep* ScriptCall::Object(ExecContext& c) const {
    Slot result[2] = {};
    Invoke(c, result);
    return result[0].o;
}

void ScriptCall::Variant(ExecContext& c, Slot* out) const {
    Slot result[2] = {};
    Invoke(c, result);
    VariantClear(out);
    out[0] = result[0];
    out[1] = result[1];
}

void ScriptCall::Run(ExecContext& c) const {
    Slot result[2] = {};
    Invoke(c, result);
    if (routine->result != nullptr && routine->result->managed) {
        ReleaseValue(routine->result, result);
    }
}

} // namespace tl::script
