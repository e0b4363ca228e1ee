// Float expressions as compact byte code. A formula such as "W(101, 5) * 0.02 + P(101, 7)" is a
// handful of nodes in the tree form, each a separate object reached through a pointer and a
// virtual call; flattened, it is a few dozen bytes run by one loop, which keeps a run script of
// thousands of formulas within the caches. Evaluation order, checks and error positions are
// those of the tree nodes the code replaces.
#pragma once

#include "exec_node.hpp"
#include "tlscript/function_registry.hpp"

#include <cstdint>

namespace tl::script {

// Operands follow their opcode unaligned, in the order listed.
enum class FloatCodeOp : uint8_t {
    End,        // the value on top of the stack is the result
    PushFloat,  // double
    PushWhole,  // int16: a Float constant that is a small whole number
    PushInt,    // int32
    PushInt8,   // int8
    PushInt16,  // int16
    Global,     // int32 slot offset: the slot of a global
    Local,      // int32 slot offset: the slot of the current frame
    Ref,        // int32 slot offset: the slot behind a var parameter
    IntToFloat, //
    Negate,     //
    Add,        // uint8 position index; Sub, Mul and Div alike
    Sub,
    Mul,
    Div,
    AddConst, // double, uint8 position index: top op constant; SubConst and MulConst alike
    SubConst,
    MulConst,
    Native,    // uint16 index of the FunctionDef, uint8 argument count, uint8 position index
    NodeFloat, // const ExprNode*: a subexpression left in tree form
    NodeInt,   // const ExprNode*
    // uint16 index of the routine's ScriptCall, uint8 position index, uint32 length of the argument code: a
    // call of a script function of numbers. The argument code follows, ended by ArgsEnd; it runs once the
    // call is entered, as a tree call evaluates its arguments.
    Script,
    ArgsEnd,
};

// The deepest stack that flattened code may need, and the tallest expression flattened whole:
// taller ones keep their upper levels as tree nodes, which bounds the work of a failed attempt.
inline constexpr int kFloatCodeStack = 64;
inline constexpr int32_t kFloatCodeHeight = 32;
// Positions of the operations that can raise, per piece of code.
inline constexpr int kFloatCodePositions = 255;

// One piece of code: the count of its positions (one byte), then, when there are any, the first
// position whole and every position as its line's distance from the first one's (int16) and its
// column (uint16), all in the same file; then the ops. A piece whose positions do not fit this
// form stays a tree.
struct FloatCode {
    const uint8_t* data = nullptr;
};

double RunFloatCode(FloatCode code, ExecContext& c);

struct FloatCodeExpr final : ExprNode {
    FloatCodeExpr(SourcePos p, FloatCode k) : ExprNode(p), code(k) {}
    double Float(ExecContext& c) const override { return RunFloatCode(code, c); }
    FloatCode code;
};

template <class Loc>
struct AssignFloatCode final : StmtNode {
    AssignFloatCode(SourcePos p, Loc l, FloatCode k) : StmtNode(p), loc(l), code(k) {}
    Flow Exec(ExecContext& c) const override {
        double v = RunFloatCode(code, c);
        Slot* slot = loc.Get(c);
        if (c.Failed()) [[unlikely]] {
            return Flow::Raise;
        }
        slot->f = v;
        return Flow::Normal;
    }
    Loc loc;
    FloatCode code;
};

} // namespace tl::script
