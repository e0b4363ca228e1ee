// The executable form of a program: a tree of typed nodes built once by the compiler. Every
// operation and its operand types are fixed at compile time, so a node does exactly one job
// (add two Floats, read one global slot, ...) and no value carries a run-time type tag.
#pragma once

#include "arena.hpp"
#include "runtime.hpp"
#include "source_pos.hpp"
#include "tlscript/str.hpp"
#include "tlscript/value.hpp"

#include <cmath>
#include <cstdint>

namespace tl::script {

// Raise: a script error is pending in the context (the statement stopped before its effect).
// Exit and Raise leave every loop.
enum class Flow : uint8_t { Normal, Break, Continue, Exit, Raise };

// Nodes live in the program's arena and are never deleted one by one: their destructors stay
// trivial so that the arena has nothing to run for them.
struct ExprNode {
    explicit ExprNode(SourcePos p) : pos(p) {}
    ExprNode(const ExprNode&) = delete;
    ExprNode& operator=(const ExprNode&) = delete;

    // Integer, Char (its code) and Boolean (0 or 1) values.
    virtual int32_t Int(ExecContext& c) const;
    virtual double Float(ExecContext& c) const;
    virtual Str String(ExecContext& c) const;
    // A new reference to an exception object (or nullptr for nil).
    virtual ObjRep* Object(ExecContext& c) const;
    // Writes a Variant into two cleared slots; the caller owns the result.
    virtual void Variant(ExecContext& c, Slot* out) const;
    // The storage of a variable, array element or record field.
    virtual Slot* Address(ExecContext& c) const;
    // A call whose result is not used.
    virtual void Run(ExecContext& c) const;

    SourcePos pos;

protected:
    ~ExprNode() = default;
};

struct StmtNode {
    explicit StmtNode(SourcePos p) : pos(p) {}
    StmtNode(const StmtNode&) = delete;
    StmtNode& operator=(const StmtNode&) = delete;
    virtual Flow Exec(ExecContext& c) const = 0;

    SourcePos pos;

protected:
    ~StmtNode() = default;
};

// Raising the standard run-time errors.
[[noreturn]] void RaiseFloatError(ExecContext& c, double result, SourcePos pos);
[[noreturn]] void RaiseFloatDivision(ExecContext& c, double dividend, SourcePos pos);
[[noreturn]] void RaiseIntDivision(ExecContext& c, SourcePos pos);
[[noreturn]] void RaiseBounds(ExecContext& c, int32_t index, bool upper, SourcePos pos);
[[noreturn]] void RaiseNilObject(ExecContext& c, SourcePos pos);

inline double CheckFloat(ExecContext& c, double r, SourcePos pos) {
    if (!std::isfinite(r)) [[unlikely]] {
        RaiseFloatError(c, r, pos);
    }
    return r;
}

// ---- constants -------------------------------------------------------------------------------

struct ConstInt final : ExprNode {
    ConstInt(SourcePos p, int32_t v) : ExprNode(p), value(v) {}
    int32_t Int(ExecContext&) const override { return value; }
    int32_t value;
};

struct ConstFloat final : ExprNode {
    ConstFloat(SourcePos p, double v) : ExprNode(p), value(v) {}
    double Float(ExecContext&) const override { return value; }
    double value;
};

struct ConstString final : ExprNode {
    // The string is owned by the program's constant pool.
    ConstString(SourcePos p, StrRep* v) : ExprNode(p), value(v) {}
    Str String(ExecContext&) const override {
        StrAddRef(value);
        return Str::Adopt(value);
    }
    StrRep* value;
};

struct ConstNil final : ExprNode {
    using ExprNode::ExprNode;
    ObjRep* Object(ExecContext&) const override { return nullptr; }
};

// ---- storage ---------------------------------------------------------------------------------

// Where a variable lives: a slot of the globals, of the current frame, or behind a var
// parameter's address.
struct GlobalLoc {
    int32_t offset;
    Slot* Get(ExecContext& c) const { return c.globals + offset; }
};
struct LocalLoc {
    int32_t offset;
    Slot* Get(ExecContext& c) const { return c.frame + offset; }
};
struct RefLoc {
    int32_t offset;
    Slot* Get(ExecContext& c) const { return c.frame[offset].ref; }
};
struct AddrLoc {
    const ExprNode* node;
    Slot* Get(ExecContext& c) const { return node->Address(c); }
};

// A value read from storage: every getter reads the slot that Derived::Place finds.
template <class Derived>
struct StorageNode : ExprNode {
    using ExprNode::ExprNode;
    Slot* Address(ExecContext& c) const final { return Self().Place(c); }
    int32_t Int(ExecContext& c) const final { return Self().Place(c)->i; }
    double Float(ExecContext& c) const final { return Self().Place(c)->f; }
    Str String(ExecContext& c) const final {
        StrRep* rep = Self().Place(c)->s;
        StrAddRef(rep);
        return Str::Adopt(rep);
    }
    ObjRep* Object(ExecContext& c) const final {
        ObjRep* obj = Self().Place(c)->o;
        ObjAddRef(obj);
        return obj;
    }
    void Variant(ExecContext& c, Slot* out) const final { VariantCopy(out, Self().Place(c)); }

protected:
    ~StorageNode() = default;

private:
    const Derived& Self() const { return static_cast<const Derived&>(*this); }
};

template <class Loc>
struct VarNode final : StorageNode<VarNode<Loc>> {
    VarNode(SourcePos p, Loc l) : StorageNode<VarNode<Loc>>(p), loc(l) {}
    Slot* Place(ExecContext& c) const { return loc.Get(c); }
    Loc loc;
};

// An element of a static array, the index checked against the bounds.
template <class Loc>
struct ElementNode final : StorageNode<ElementNode<Loc>> {
    ElementNode(SourcePos p, Loc b, const ExprNode* i, int32_t lo, int32_t hi, int64_t size)
        : StorageNode<ElementNode<Loc>>(p), base(b), index(i), low(lo), high(hi), element_slots(size) {}
    Slot* Place(ExecContext& c) const {
        int32_t i = index->Int(c);
        if (i > high) [[unlikely]] {
            RaiseBounds(c, i, true, this->pos);
        }
        if (i < low) [[unlikely]] {
            RaiseBounds(c, i, false, this->pos);
        }
        return base.Get(c) + (static_cast<int64_t>(i) - low) * element_slots;
    }
    Loc base;
    const ExprNode* index;
    int32_t low;
    int32_t high;
    int64_t element_slots;
};

// An index known at compile time to lie outside the bounds: raises when evaluated.
struct BadElementNode final : StorageNode<BadElementNode> {
    BadElementNode(SourcePos p, int32_t i, bool up) : StorageNode<BadElementNode>(p), index(i), upper(up) {}
    [[noreturn]] Slot* Place(ExecContext& c) const { RaiseBounds(c, index, upper, pos); }
    int32_t index;
    bool upper;
};

// A field of a record, or an element at a constant index, behind a computed address.
struct FieldNode final : StorageNode<FieldNode> {
    FieldNode(SourcePos p, const ExprNode* b, int32_t o) : StorageNode<FieldNode>(p), base(b), offset(o) {}
    Slot* Place(ExecContext& c) const { return base->Address(c) + offset; }
    const ExprNode* base;
    int32_t offset;
};

} // namespace tl::script
