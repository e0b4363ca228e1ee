// Executable statements.
#pragma once

#include "ansi_text.hpp"
#include "exec_node.hpp"
#include "float_format.hpp"
#include "types.hpp"

#include <type_traits>
#include <vector>

namespace tl::script {

// The count sits in the padding after the position: a run script has two blocks per formula.
struct Block final : StmtNode {
    Block(SourcePos p, ArenaSpan<const StmtNode*> b)
        : StmtNode(p), count(static_cast<uint32_t>(b.size)), body(b.data) {}
    Flow Exec(ExecContext& c) const override {
        for (const StmtNode* const* stmt = body; stmt != body + count; ++stmt) {
            Flow flow = (*stmt)->Exec(c);
            if (flow != Flow::Normal) [[unlikely]] {
                return flow;
            }
        }
        return Flow::Normal;
    }
    uint32_t count;
    const StmtNode* const* body;
};

// ---- assignment ------------------------------------------------------------------------------

// Integer, Char and Boolean (IsFloat false) or Float values.
template <class Loc, bool IsFloat>
struct AssignNumber final : StmtNode {
    AssignNumber(SourcePos p, Loc l, const ExprNode* v) : StmtNode(p), loc(l), value(v) {}
    Flow Exec(ExecContext& c) const override {
        if constexpr (IsFloat) {
            double v = value->Float(c);
            Slot* slot = loc.Get(c);
            if (c.Failed()) [[unlikely]] {
                return Flow::Raise;
            }
            slot->f = v;
        } else {
            int32_t v = value->Int(c);
            Slot* slot = loc.Get(c);
            if (c.Failed()) [[unlikely]] {
                return Flow::Raise;
            }
            slot->i = v;
        }
        return Flow::Normal;
    }
    Loc loc;
    const ExprNode* value;
};

template <class Loc>
struct AssignString final : StmtNode {
    AssignString(SourcePos p, Loc l, const ExprNode* v) : StmtNode(p), loc(l), value(v) {}
    Flow Exec(ExecContext& c) const override {
        Str v = value->String(c);
        Slot* slot = loc.Get(c);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        StrRelease(slot->s);
        slot->s = v.Release();
        return Flow::Normal;
    }
    Loc loc;
    const ExprNode* value;
};

template <class Loc>
struct AssignObject final : StmtNode {
    AssignObject(SourcePos p, Loc l, const ExprNode* v) : StmtNode(p), loc(l), value(v) {}
    Flow Exec(ExecContext& c) const override {
        ObjRep* v = value->Object(c);
        Slot* slot = loc.Get(c);
        if (c.Failed()) [[unlikely]] {
            ObjRelease(v);
            return Flow::Raise;
        }
        ObjRelease(slot->o);
        slot->o = v;
        return Flow::Normal;
    }
    Loc loc;
    const ExprNode* value;
};

template <class Loc>
struct AssignVariant final : StmtNode {
    AssignVariant(SourcePos p, Loc l, const ExprNode* v) : StmtNode(p), loc(l), value(v) {}
    Flow Exec(ExecContext& c) const override {
        Slot v[2] = {};
        value->Variant(c, v);
        Slot* slot = loc.Get(c);
        if (c.Failed()) [[unlikely]] {
            VariantClear(v);
            return Flow::Raise;
        }
        VariantClear(slot);
        slot[0] = v[0];
        slot[1] = v[1];
        return Flow::Normal;
    }
    Loc loc;
    const ExprNode* value;
};

// Whole arrays and records.
struct AssignAggregate final : StmtNode {
    AssignAggregate(SourcePos p, const ExprNode* t, const ExprNode* v, const Type* ty)
        : StmtNode(p), target(t), value(v), type(ty) {}
    Flow Exec(ExecContext& c) const override {
        const Slot* src = value->Address(c);
        Slot* dst = target->Address(c);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        CopyValue(type, dst, src);
        return Flow::Normal;
    }
    const ExprNode* target;
    const ExprNode* value;
    const Type* type;
};

// s[i] := ch
struct AssignStringChar final : StmtNode {
    AssignStringChar(SourcePos p, const ExprNode* t, const ExprNode* i, const ExprNode* v)
        : StmtNode(p), target(t), index(i), value(v) {}
    Flow Exec(ExecContext& c) const override;
    const ExprNode* target;
    const ExprNode* index;
    const ExprNode* value;
};

// E.Message := text
struct AssignMessage final : StmtNode {
    AssignMessage(SourcePos p, const ExprNode* o, const ExprNode* v) : StmtNode(p), object(o), value(v) {}
    Flow Exec(ExecContext& c) const override;
    const ExprNode* object;
    const ExprNode* value;
};

// A call whose result is dropped.
struct CallStatement final : StmtNode {
    CallStatement(SourcePos p, const ExprNode* e) : StmtNode(p), call(e) {}
    Flow Exec(ExecContext& c) const override {
        call->Run(c);
        return c.Failed() ? Flow::Raise : Flow::Normal;
    }
    const ExprNode* call;
};

// ---- control flow ----------------------------------------------------------------------------

struct IfNode final : StmtNode {
    IfNode(SourcePos p, const ExprNode* k, const StmtNode* t, const StmtNode* e)
        : StmtNode(p), cond(k), then_branch(t), else_branch(e) {}
    Flow Exec(ExecContext& c) const override {
        int32_t holds = cond->Int(c);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        if (holds != 0) {
            return then_branch != nullptr ? then_branch->Exec(c) : Flow::Normal;
        }
        return else_branch != nullptr ? else_branch->Exec(c) : Flow::Normal;
    }
    const ExprNode* cond;
    const StmtNode* then_branch;
    const StmtNode* else_branch;
};

// Pascal's for: both bounds are evaluated once, before the first iteration.
template <bool Down>
struct ForNode final : StmtNode {
    ForNode(SourcePos p, const ExprNode* v, const ExprNode* f, const ExprNode* t, const StmtNode* b)
        : StmtNode(p), var(v), from(f), to(t), body(b) {}
    Flow Exec(ExecContext& c) const override {
        int64_t first = from->Int(c);
        int64_t last = to->Int(c);
        Slot* slot = var->Address(c);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        for (int64_t i = first; Down ? i >= last : i <= last; Down ? --i : ++i) {
            slot->i = static_cast<int32_t>(i);
            c.Tick(pos);
            if (body == nullptr) {
                continue;
            }
            Flow flow = body->Exec(c);
            if (flow == Flow::Break) {
                break;
            }
            if (flow >= Flow::Exit) {
                return flow;
            }
        }
        return Flow::Normal;
    }
    const ExprNode* var;
    const ExprNode* from;
    const ExprNode* to;
    const StmtNode* body;
};

struct WhileNode final : StmtNode {
    WhileNode(SourcePos p, const ExprNode* k, const StmtNode* b) : StmtNode(p), cond(k), body(b) {}
    Flow Exec(ExecContext& c) const override {
        for (;;) {
            int32_t holds = cond->Int(c);
            if (c.Failed()) [[unlikely]] {
                return Flow::Raise;
            }
            if (holds == 0) {
                break;
            }
            c.Tick(pos);
            if (body == nullptr) {
                continue;
            }
            Flow flow = body->Exec(c);
            if (flow == Flow::Break) {
                break;
            }
            if (flow >= Flow::Exit) {
                return flow;
            }
        }
        return Flow::Normal;
    }
    const ExprNode* cond;
    const StmtNode* body;
};

struct RepeatNode final : StmtNode {
    RepeatNode(SourcePos p, const StmtNode* b, const ExprNode* k) : StmtNode(p), body(b), cond(k) {}
    Flow Exec(ExecContext& c) const override {
        for (;;) {
            c.Tick(pos);
            Flow flow = body->Exec(c);
            if (flow == Flow::Break) {
                break;
            }
            if (flow >= Flow::Exit) {
                return flow;
            }
            int32_t holds = cond->Int(c);
            if (c.Failed()) [[unlikely]] {
                return Flow::Raise;
            }
            if (holds != 0) {
                break;
            }
        }
        return Flow::Normal;
    }
    const StmtNode* body;
    const ExprNode* cond;
};

struct CaseNode final : StmtNode {
    struct Range {
        int32_t low;
        int32_t high;
        const StmtNode* body;
    };
    CaseNode(SourcePos p, const ExprNode* s) : StmtNode(p), selector(s) {}
    Flow Exec(ExecContext& c) const override {
        int32_t value = selector->Int(c);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        const StmtNode* chosen = else_body;
        for (const Range& range : ranges) {
            if (value >= range.low && value <= range.high) {
                chosen = range.body;
                break;
            }
        }
        if (chosen == nullptr) {
            return Flow::Normal;
        }
        Flow flow = chosen->Exec(c);
        // Outside any loop, break and continue leave the case statement.
        if (absorbs_break && (flow == Flow::Break || flow == Flow::Continue)) {
            return Flow::Normal;
        }
        return flow;
    }
    const ExprNode* selector;
    ArenaSpan<Range> ranges;
    const StmtNode* else_body = nullptr;
    bool absorbs_break = false;
};

struct FlowNode final : StmtNode {
    FlowNode(SourcePos p, Flow f) : StmtNode(p), flow(f) {}
    Flow Exec(ExecContext&) const override { return flow; }
    Flow flow;
};

// ---- exceptions ------------------------------------------------------------------------------

struct Handler {
    const Type* cls = nullptr; // nullptr: catches everything (bare except, else)
    int32_t var_offset = -1;   // slot of "E", -1 when the handler has no variable
    bool var_global = true;
    bool last = false; // the try statement's last handler
    const StmtNode* body = nullptr;
};

// A try block costs nothing until something is raised: the handlers run from the C++ catch or
// for the error pending when the body returns Flow::Raise.
//
// Handlers that only print constants and messages are shared by every try statement whose
// handlers read the same, compiled for the first of them: `line_shift` lines further down than
// there (0 for handlers of its own). Such a handler raises only at positions of its own print
// statements (the output limit, a nil object), never from a call, so an error that leaves it is
// moved by line_shift to the same place in this statement's text.
//
// The statements of the try block follow the node in memory (one block node less per formula).
struct TryExceptNode final : StmtNode {
    // Room for the node and its statements, which the caller copies to Body().
    static TryExceptNode* New(Arena& arena, SourcePos p, uint32_t count) {
        void* memory =
            arena.Allocate(sizeof(TryExceptNode) + count * sizeof(const StmtNode*), alignof(TryExceptNode));
        return new (memory) TryExceptNode(p, count);
    }
    Flow Exec(ExecContext& c) const override;
    const StmtNode** Body() { return reinterpret_cast<const StmtNode**>(this + 1); }
    const StmtNode* const* Body() const { return reinterpret_cast<const StmtNode* const*>(this + 1); }

    int32_t line_shift = 0;            // in the padding after the position
    const Handler* handlers = nullptr; // up to the one marked last; nullptr: none
    uint32_t count;

private:
    TryExceptNode(SourcePos p, uint32_t n) : StmtNode(p), count(n) {}
};
static_assert(std::is_trivially_destructible_v<TryExceptNode> &&
              alignof(TryExceptNode) >= alignof(const StmtNode*) &&
              sizeof(TryExceptNode) % alignof(const StmtNode*) == 0);

struct TryFinallyNode final : StmtNode {
    TryFinallyNode(SourcePos p, const StmtNode* b, const StmtNode* f)
        : StmtNode(p), body(b), finally_body(f) {}
    Flow Exec(ExecContext& c) const override;
    const StmtNode* body;
    const StmtNode* finally_body;
};

struct RaiseNode final : StmtNode {
    RaiseNode(SourcePos p, const ExprNode* o) : StmtNode(p), object(o) {}
    Flow Exec(ExecContext& c) const override;
    const ExprNode* object; // nullptr: raise "User defined exception!"
};

// ---- output ----------------------------------------------------------------------------------

enum class PrintKind : uint8_t { Int, Float, String, Bool, Char, Variant };

// A print statement may also write the text of the constant prints right before it (`prefix`,
// kept by the program's constant pool; nullptr when there were none), first: "Print('Result0=');
// PrintLn(x)" is one node.
struct PrintNode final : StmtNode {
    PrintNode(SourcePos p, const ExprNode* v, PrintKind k, bool nl, const StrRep* pre)
        : StmtNode(p), value(v), prefix(pre), kind(k), newline(nl) {}
    Flow Exec(ExecContext& c) const override;
    const ExprNode* value;
    const StrRep* prefix;
    PrintKind kind;
    bool newline;
};

// Print (Newline false) or PrintLn of a Float variable with a fixed place.
template <class Loc, bool Newline>
struct PrintFloatAt final : StmtNode {
    PrintFloatAt(SourcePos p, Loc l, const StrRep* pre) : StmtNode(p), loc(l), prefix(pre) {}
    Flow Exec(ExecContext& c) const override {
        if (prefix != nullptr) {
            c.out->append(StrView(prefix));
        }
        AppendFloat(*c.out, loc.Get(c)->f, c.decimal_separator);
        if constexpr (Newline) {
            c.out->append("\r\n", 2);
        }
        return Flow::Normal;
    }
    Loc loc;
    const StrRep* prefix;
};

// Print or PrintLn of E.Message (or E.ClassName) of the exception a variable holds, as every
// handler of a run script prints it. `member` is where ".Message" stands, for the error of a nil
// object, which comes after the prefix is written, as in PrintNode.
template <class Loc>
struct PrintMessageAt final : StmtNode {
    PrintMessageAt(SourcePos p, SourcePos m, Loc l, bool nl, bool name, const StrRep* pre)
        : StmtNode(p), member(m), prefix(pre), loc(l), newline(nl), class_name(name) {}
    Flow Exec(ExecContext& c) const override {
        if (prefix != nullptr) {
            c.out->append(StrView(prefix));
        }
        const ObjRep* obj = loc.Get(c)->o;
        if (obj == nullptr) [[unlikely]] {
            RaiseNilObject(c, member);
        }
        AppendAsUtf8(*c.out, class_name ? std::string_view(obj->cls->name) : obj->message.View());
        if (newline) {
            c.out->append("\r\n", 2);
        }
        c.CheckOutput(pos);
        return Flow::Normal;
    }
    SourcePos member;
    const StrRep* prefix;
    Loc loc;
    bool newline;
    bool class_name;
};

struct PrintConst final : StmtNode {
    PrintConst(SourcePos p, std::string_view t) : StmtNode(p), text(t) {}
    Flow Exec(ExecContext& c) const override {
        c.out->append(text);
        return Flow::Normal;
    }
    std::string_view text; // kept by the program's constant pool
};

} // namespace tl::script
