// Executable operators, one node class per operation and operand type.
#pragma once

#include "exec_node.hpp"
#include "int_ops.hpp"

#include <cmath>
#include <cstring>

namespace tl::script {

// ---- Integer ---------------------------------------------------------------------------------

template <int32_t (*Op)(int32_t, int32_t)>
struct IntBinary final : ExprNode {
    IntBinary(SourcePos p, const ExprNode* l, const ExprNode* r) : ExprNode(p), left(l), right(r) {}
    int32_t Int(ExecContext& c) const override {
        int32_t a = left->Int(c);
        return Op(a, right->Int(c));
    }
    const ExprNode* left;
    const ExprNode* right;
};

inline int32_t IntAnd(int32_t a, int32_t b) {
    return a & b;
}
inline int32_t IntOr(int32_t a, int32_t b) {
    return a | b;
}
inline int32_t IntXor(int32_t a, int32_t b) {
    return a ^ b;
}

template <bool IsMod>
struct IntDivision final : ExprNode {
    IntDivision(SourcePos p, const ExprNode* l, const ExprNode* r) : ExprNode(p), left(l), right(r) {}
    int32_t Int(ExecContext& c) const override {
        int32_t a = left->Int(c);
        int32_t b = right->Int(c);
        if (b == 0) [[unlikely]] {
            RaiseIntDivision(c, pos);
        }
        return IsMod ? IntMod(a, b) : IntDiv(a, b);
    }
    const ExprNode* left;
    const ExprNode* right;
};

struct IntNegate final : ExprNode {
    IntNegate(SourcePos p, const ExprNode* o) : ExprNode(p), operand(o) {}
    int32_t Int(ExecContext& c) const override { return IntNeg(operand->Int(c)); }
    const ExprNode* operand;
};

struct IntNot final : ExprNode {
    IntNot(SourcePos p, const ExprNode* o) : ExprNode(p), operand(o) {}
    int32_t Int(ExecContext& c) const override { return ~operand->Int(c); }
    const ExprNode* operand;
};

// ---- Float -----------------------------------------------------------------------------------

enum class FloatOp { Add, Sub, Mul };

template <FloatOp Op>
struct FloatBinary final : ExprNode {
    FloatBinary(SourcePos p, const ExprNode* l, const ExprNode* r) : ExprNode(p), left(l), right(r) {}
    double Float(ExecContext& c) const override {
        double a = left->Float(c);
        double b = right->Float(c);
        double r = Op == FloatOp::Add ? a + b : Op == FloatOp::Sub ? a - b : a * b;
        return CheckFloat(c, r, pos);
    }
    const ExprNode* left;
    const ExprNode* right;
};

// The common "expression * constant" shape of loss formulas.
template <FloatOp Op>
struct FloatBinaryConst final : ExprNode {
    FloatBinaryConst(SourcePos p, const ExprNode* l, double k) : ExprNode(p), left(l), constant(k) {}
    double Float(ExecContext& c) const override {
        double a = left->Float(c);
        double r = Op == FloatOp::Add ? a + constant : Op == FloatOp::Sub ? a - constant : a * constant;
        return CheckFloat(c, r, pos);
    }
    const ExprNode* left;
    double constant;
};

struct FloatDivide final : ExprNode {
    FloatDivide(SourcePos p, const ExprNode* l, const ExprNode* r) : ExprNode(p), left(l), right(r) {}
    double Float(ExecContext& c) const override {
        double a = left->Float(c);
        double b = right->Float(c);
        if (b == 0) [[unlikely]] {
            RaiseFloatDivision(c, a, pos);
        }
        return CheckFloat(c, a / b, pos);
    }
    const ExprNode* left;
    const ExprNode* right;
};

struct FloatNegate final : ExprNode {
    FloatNegate(SourcePos p, const ExprNode* o) : ExprNode(p), operand(o) {}
    double Float(ExecContext& c) const override { return -operand->Float(c); }
    const ExprNode* operand;
};

struct IntToFloat final : ExprNode {
    IntToFloat(SourcePos p, const ExprNode* o) : ExprNode(p), operand(o) {}
    double Float(ExecContext& c) const override { return operand->Int(c); }
    const ExprNode* operand;
};

// ---- comparisons -----------------------------------------------------------------------------

enum class CmpOp { Eq, Ne, Lt, Le, Gt, Ge };

template <CmpOp Op, class T>
inline bool Compare(const T& a, const T& b) {
    switch (Op) {
    case CmpOp::Eq:
        return a == b;
    case CmpOp::Ne:
        return a != b;
    case CmpOp::Lt:
        return a < b;
    case CmpOp::Le:
        return a <= b;
    case CmpOp::Gt:
        return a > b;
    case CmpOp::Ge:
        return a >= b;
    }
    return false;
}

// Integer-like (IsFloat false) or Float operands.
template <CmpOp Op, bool IsFloat>
struct NumberCompare final : ExprNode {
    NumberCompare(SourcePos p, const ExprNode* l, const ExprNode* r) : ExprNode(p), left(l), right(r) {}
    int32_t Int(ExecContext& c) const override {
        if constexpr (IsFloat) {
            double a = left->Float(c);
            return Compare<Op>(a, right->Float(c)) ? 1 : 0;
        } else {
            int32_t a = left->Int(c);
            return Compare<Op>(a, right->Int(c)) ? 1 : 0;
        }
    }
    const ExprNode* left;
    const ExprNode* right;
};
template <CmpOp Op>
using IntCompare = NumberCompare<Op, false>;
template <CmpOp Op>
using FloatCompare = NumberCompare<Op, true>;

// Strings compare by bytes, case-sensitively.
template <CmpOp Op>
struct StringCompare final : ExprNode {
    StringCompare(SourcePos p, const ExprNode* l, const ExprNode* r) : ExprNode(p), left(l), right(r) {}
    int32_t Int(ExecContext& c) const override {
        Str a = left->String(c);
        Str b = right->String(c);
        return Compare<Op>(a.View(), b.View()) ? 1 : 0;
    }
    const ExprNode* left;
    const ExprNode* right;
};

template <bool Equal>
struct ObjectCompare final : ExprNode {
    ObjectCompare(SourcePos p, const ExprNode* l, const ExprNode* r) : ExprNode(p), left(l), right(r) {}
    int32_t Int(ExecContext& c) const override {
        ObjRep* a = left->Object(c);
        ObjRep* b = right->Object(c);
        bool same = a == b;
        ObjRelease(a);
        ObjRelease(b);
        return same == Equal ? 1 : 0;
    }
    const ExprNode* left;
    const ExprNode* right;
};

// ---- Boolean ---------------------------------------------------------------------------------

// and / or evaluate their right side only when it decides the result.
template <bool IsAnd>
struct BoolShortCircuit final : ExprNode {
    BoolShortCircuit(SourcePos p, const ExprNode* l, const ExprNode* r) : ExprNode(p), left(l), right(r) {}
    int32_t Int(ExecContext& c) const override {
        bool a = left->Int(c) != 0;
        if (a != IsAnd) {
            return a ? 1 : 0;
        }
        return right->Int(c) != 0 ? 1 : 0;
    }
    const ExprNode* left;
    const ExprNode* right;
};

struct BoolNot final : ExprNode {
    BoolNot(SourcePos p, const ExprNode* o) : ExprNode(p), operand(o) {}
    int32_t Int(ExecContext& c) const override { return operand->Int(c) != 0 ? 0 : 1; }
    const ExprNode* operand;
};

// ---- String ----------------------------------------------------------------------------------

struct StringConcat final : ExprNode {
    StringConcat(SourcePos p, const ExprNode* l, const ExprNode* r) : ExprNode(p), left(l), right(r) {}
    Str String(ExecContext& c) const override {
        Str a = left->String(c);
        Str b = right->String(c);
        if (b.Empty()) {
            return a;
        }
        if (a.Empty()) {
            return b;
        }
        return Concat(a.View(), b.View());
    }
    const ExprNode* left;
    const ExprNode* right;
};

struct CharToString final : ExprNode {
    CharToString(SourcePos p, const ExprNode* o) : ExprNode(p), operand(o) {}
    Str String(ExecContext& c) const override {
        char ch = static_cast<char>(operand->Int(c));
        return Str(std::string_view(&ch, 1));
    }
    const ExprNode* operand;
};

// s[i] of a String: the character, 1-based.
struct StringIndex final : ExprNode {
    StringIndex(SourcePos p, const ExprNode* s, const ExprNode* i) : ExprNode(p), text(s), index(i) {}
    int32_t Int(ExecContext& c) const override;
    const ExprNode* text;
    const ExprNode* index;
};

// ---- classes ---------------------------------------------------------------------------------

struct ExceptionCreate final : ExprNode {
    ExceptionCreate(SourcePos p, const Type* t, const ExprNode* m) : ExprNode(p), cls(t), message(m) {}
    ObjRep* Object(ExecContext& c) const override { return ObjCreate(cls, message->String(c)); }
    // Created and dropped: a constructor called as a statement.
    void Run(ExecContext& c) const override { ObjRelease(Object(c)); }
    const Type* cls;
    const ExprNode* message;
};

struct ExceptionMessage final : ExprNode {
    ExceptionMessage(SourcePos p, const ExprNode* o, bool name) : ExprNode(p), object(o), class_name(name) {}
    Str String(ExecContext& c) const override;
    const ExprNode* object;
    bool class_name;
};

// "E.Message" (or "E.ClassName") of the exception a variable holds, as every handler of a run
// script prints it: one node instead of two.
template <class Loc>
struct ExceptionMessageAt final : ExprNode {
    ExceptionMessageAt(SourcePos p, Loc l, bool name) : ExprNode(p), loc(l), class_name(name) {}
    Str String(ExecContext& c) const override {
        const ObjRep* obj = loc.Get(c)->o;
        if (obj == nullptr) {
            RaiseNilObject(c, pos);
        }
        return class_name ? Str(obj->cls->name) : obj->message;
    }
    Loc loc;
    bool class_name;
};

struct ClassTest final : ExprNode {
    ClassTest(SourcePos p, const ExprNode* o, const Type* t, bool cast)
        : ExprNode(p), object(o), cls(t), is_cast(cast) {}
    int32_t Int(ExecContext& c) const override;
    ObjRep* Object(ExecContext& c) const override;
    const ExprNode* object;
    const Type* cls;
    bool is_cast;
};

// ---- Variant ---------------------------------------------------------------------------------

struct ToVariant final : ExprNode {
    ToVariant(SourcePos p, const ExprNode* o, TypeKind k) : ExprNode(p), operand(o), from(k) {}
    void Variant(ExecContext& c, Slot* out) const override;
    const ExprNode* operand;
    TypeKind from;
};

struct FromVariant final : ExprNode {
    FromVariant(SourcePos p, const ExprNode* o, TypeKind k) : ExprNode(p), operand(o), to(k) {}
    int32_t Int(ExecContext& c) const override;
    double Float(ExecContext& c) const override;
    Str String(ExecContext& c) const override;
    const ExprNode* operand;
    TypeKind to;
};

} // namespace tl::script
