// Flattening of Float expressions into byte code (float_code.hpp). The code mirrors what the
// tree compiler builds for the same expression: operands in the same order, the same constant
// forms of + - * and the same positions for the errors; what it cannot express stays a tree
// node that the code calls.
#include "compiler.hpp"
#include "exec_call.hpp"
#include "float_code.hpp"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace tl::script {
namespace {

bool IsScalarArg(const ParamSpec& param) {
    return !param.by_ref && (param.type == ValueType::Integer || param.type == ValueType::Float ||
                             param.type == ValueType::Boolean || param.type == ValueType::Char);
}

// A native function that takes and returns numbers only: its arguments are the code's stack.
bool IsScalarNative(const Expr* expr) {
    if (expr->kind != ExprKind::Call) {
        return false;
    }
    const auto* call = static_cast<const CallExpr*>(expr);
    if (call->call_kind != CallKind::Native || call->args.size() > static_cast<size_t>(kMaxNativeArgs)) {
        return false;
    }
    const ValueType result = call->native->result;
    if (result == ValueType::Void || result == ValueType::String || result == ValueType::Variant) {
        return false;
    }
    for (const ParamSpec& param : call->native->params) {
        if (!IsScalarArg(param)) {
            return false;
        }
    }
    return true;
}

bool IsScalarKind(TypeKind kind) {
    return kind == TypeKind::Integer || kind == TypeKind::Float || kind == TypeKind::Boolean ||
           kind == TypeKind::Char;
}

// A script function that takes numbers by value and returns a number: the code's stack holds
// its arguments until the call copies them into the frame.
bool IsScalarScriptCall(const Expr* expr) {
    if (expr->kind != ExprKind::Call) {
        return false;
    }
    const auto* call = static_cast<const CallExpr*>(expr);
    if (call->call_kind != CallKind::Script || call->args.size() > static_cast<size_t>(kMaxNativeArgs) ||
        call->args.size() != call->routine->params.size()) {
        return false;
    }
    const RoutineInfo* routine = call->routine;
    if (!routine->is_function || routine->result == nullptr || !IsScalarKind(routine->result->kind)) {
        return false;
    }
    for (const ParamInfo& param : routine->params) {
        if (param.by_ref() || !IsScalarKind(param.type->kind)) {
            return false;
        }
    }
    return true;
}

bool IsFloatArith(const Expr* expr) {
    if (expr->kind != ExprKind::Binary) {
        return false;
    }
    const auto* binary = static_cast<const BinaryExpr*>(expr);
    return binary->operand_type->kind == TypeKind::Float &&
           (binary->op == Tok::Plus || binary->op == Tok::Minus || binary->op == Tok::Star ||
            binary->op == Tok::Slash);
}

} // namespace

// Worth flattening: a Float computation (not a lone constant or variable).
bool Compiler::Flattenable(const Expr* expr) {
    if (expr->is_const || expr->type->kind != TypeKind::Float || expr->height > kFloatCodeHeight) {
        return false;
    }
    if (expr->kind == ExprKind::Unary) {
        return true;
    }
    return IsFloatArith(expr) || IsScalarNative(expr) || IsScalarScriptCall(expr);
}

bool Compiler::BuildFloatCode(const Expr* expr, FloatCode& code) {
    FloatCodeBuffer& b = float_code_;
    // A subexpression left as a tree node may build code of its own on the same buffer, in the
    // middle of this one: its state is saved and given back.
    const FloatCodeBuffer::State saved = b.state;
    const size_t ops_mark = b.ops.size();
    const size_t positions_mark = b.positions.size();
    b.state = FloatCodeBuffer::State{};
    b.state.positions_base = positions_mark;
    EmitFloat(expr);
    EmitOp(FloatCodeOp::End);
    const size_t pos_count = b.positions.size() - positions_mark;
    const SourcePos* positions = b.positions.data() + positions_mark;
    // Every position as a line distance from the first one and a column, in the first one's file.
    bool fit = true;
    for (size_t i = 0; i < pos_count; ++i) {
        const int64_t line = int64_t{positions[i].line} - positions[0].line;
        fit = fit && positions[i].file == positions[0].file && line >= INT16_MIN && line <= INT16_MAX &&
              positions[i].column >= 0 && positions[i].column <= UINT16_MAX;
    }
    const bool ok = !b.state.failed && fit;
    if (ok) {
        const size_t op_bytes = b.ops.size() - ops_mark;
        const size_t table_bytes = pos_count == 0 ? 0 : sizeof(SourcePos) + pos_count * 4;
        auto* data = arena_.NewArray<uint8_t>(1 + table_bytes + op_bytes);
        data[0] = static_cast<uint8_t>(pos_count);
        uint8_t* at = data + 1;
        if (pos_count > 0) {
            std::memcpy(at, positions, sizeof(SourcePos));
            at += sizeof(SourcePos);
            for (size_t i = 0; i < pos_count; ++i) {
                const auto line = static_cast<int16_t>(positions[i].line - positions[0].line);
                const auto column = static_cast<uint16_t>(positions[i].column);
                std::memcpy(at, &line, 2);
                std::memcpy(at + 2, &column, 2);
                at += 4;
            }
        }
        std::memcpy(at, b.ops.data() + ops_mark, op_bytes);
        code.data = data;
    }
    b.ops.resize(ops_mark);
    b.positions.resize(positions_mark);
    b.state = saved;
    return ok;
}

const ExprNode* Compiler::CompileFloatCode(const Expr* expr) {
    FloatCode code;
    if (!BuildFloatCode(expr, code)) {
        return nullptr;
    }
    return arena_.New<FloatCodeExpr>(expr->pos, code);
}

void Compiler::EmitOp(FloatCodeOp op) {
    float_code_.ops.push_back(static_cast<uint8_t>(op));
}

template <class T>
void Compiler::EmitOperand(T value) {
    auto& ops = float_code_.ops;
    const size_t at = ops.size();
    ops.resize(at + sizeof(T));
    std::memcpy(ops.data() + at, &value, sizeof(T));
}

void Compiler::EmitPosition(SourcePos pos) {
    FloatCodeBuffer& b = float_code_;
    size_t index = b.positions.size() - b.state.positions_base;
    if (index >= static_cast<size_t>(kFloatCodePositions)) {
        b.state.failed = true;
        index = 0;
    }
    b.positions.push_back(pos);
    b.ops.push_back(static_cast<uint8_t>(index));
}

// Constants take the shortest form that holds them exactly: formulas are full of small whole
// numbers (element codes, channel numbers, zeros).
void Compiler::EmitFloatConst(double value) {
    const bool whole = value >= INT16_MIN && value <= INT16_MAX && std::trunc(value) == value &&
                       !(value == 0 && std::signbit(value));
    if (whole) {
        EmitOp(FloatCodeOp::PushWhole);
        EmitOperand(static_cast<int16_t>(value));
    } else {
        EmitOp(FloatCodeOp::PushFloat);
        EmitOperand(value);
    }
    Push(1);
}

void Compiler::EmitIntConst(int32_t value) {
    if (value >= INT8_MIN && value <= INT8_MAX) {
        EmitOp(FloatCodeOp::PushInt8);
        EmitOperand(static_cast<int8_t>(value));
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
        EmitOp(FloatCodeOp::PushInt16);
        EmitOperand(static_cast<int16_t>(value));
    } else {
        EmitOp(FloatCodeOp::PushInt);
        EmitOperand(value);
    }
    Push(1);
}

// The index of what an op calls in the program's table; more than a two-byte index can name
// keeps the expression a tree.
template <class T>
void Compiler::EmitIndex(const T* target, std::unordered_map<const T*, uint16_t>& indexes,
                         std::vector<const T*>& table) {
    auto [found, added] = indexes.try_emplace(target, static_cast<uint16_t>(table.size()));
    if (added) {
        if (table.size() > UINT16_MAX) {
            float_code_.state.failed = true;
            indexes.erase(found);
            EmitOperand(uint16_t{0});
            return;
        }
        table.push_back(target);
    }
    EmitOperand(found->second);
}

void Compiler::Push(int count) {
    FloatCodeBuffer& b = float_code_;
    b.state.depth += count;
    if (b.state.depth > kFloatCodeStack) {
        b.state.failed = true;
    }
}

void Compiler::EmitTree(const ExprNode* node, bool as_float) {
    EmitOp(as_float ? FloatCodeOp::NodeFloat : FloatCodeOp::NodeInt);
    EmitOperand(node);
    Push(1);
}

// A variable, array element or field: its fixed slot when it has one.
void Compiler::EmitLoad(const Expr* expr, bool as_float) {
    const Location loc = LocationOf(expr);
    switch (loc.kind) {
    case Location::Global:
        EmitOp(FloatCodeOp::Global);
        break;
    case Location::Local:
        EmitOp(FloatCodeOp::Local);
        break;
    case Location::Ref:
        EmitOp(FloatCodeOp::Ref);
        break;
    case Location::Addr:
        EmitTree(CompileLocation(loc, expr->pos), as_float);
        return;
    }
    EmitOperand(loc.offset);
    Push(1);
}

void Compiler::EmitNative(const CallExpr* call) {
    const FunctionDef* def = call->native;
    for (size_t i = 0; i < call->args.size(); ++i) {
        const Expr* arg = call->args[i];
        // Constant arguments are read as the tree compiler reads them, by the parameter's type.
        if (def->params[i].type == ValueType::Float) {
            if (arg->is_const) {
                EmitFloatConst(arg->value.f);
            } else {
                EmitFloat(arg);
            }
        } else if (arg->is_const) {
            EmitIntConst(static_cast<int32_t>(arg->value.i));
        } else {
            EmitInt(arg);
        }
    }
    EmitOp(FloatCodeOp::Native);
    EmitIndex(def, native_indexes_, code_.float_code_natives);
    float_code_.ops.push_back(static_cast<uint8_t>(call->args.size()));
    EmitPosition(call->pos);
    Push(1 - static_cast<int>(call->args.size()));
}

// The routine's shape, one per routine: the frame and the parameters' slots, without argument
// nodes.
const ScriptCall* Compiler::CallShapeOf(const CallExpr* call) {
    auto [found, added] = call_shapes_.try_emplace(call->routine, nullptr);
    if (added) {
        auto* shape = arena_.New<ScriptCall>(call->routine->pos, call->routine);
        shape->args = ArenaSpan<ScriptArg>::Allocate(arena_, call->routine->params.size());
        for (size_t i = 0; i < call->routine->params.size(); ++i) {
            const ParamInfo& param = call->routine->params[i];
            shape->args[i].type = param.type;
            shape->args[i].offset = param.offset;
            shape->args[i].kind = param.type->kind;
        }
        script_calls_.push_back(shape);
        found->second = shape;
    }
    return found->second;
}

// Arguments as the tree call evaluates them, in order, each as its parameter's type.
void Compiler::EmitScript(const CallExpr* call) {
    EmitOp(FloatCodeOp::Script);
    EmitIndex(CallShapeOf(call), call_indexes_, code_.float_code_calls);
    EmitPosition(call->pos);
    std::vector<uint8_t>& ops = float_code_.ops;
    const size_t length_at = ops.size();
    EmitOperand(uint32_t{0});
    for (size_t i = 0; i < call->args.size(); ++i) {
        if (call->routine->params[i].type->kind == TypeKind::Float) {
            EmitFloat(call->args[i]);
        } else {
            EmitInt(call->args[i]);
        }
    }
    EmitOp(FloatCodeOp::ArgsEnd);
    const auto length = static_cast<uint32_t>(ops.size() - length_at - sizeof(uint32_t));
    std::memcpy(ops.data() + length_at, &length, sizeof(length));
    Push(1 - static_cast<int>(call->args.size()));
}

void Compiler::EmitFloat(const Expr* expr) {
    if (expr->is_const) {
        EmitFloatConst(expr->value.f);
        return;
    }
    switch (expr->kind) {
    case ExprKind::Name:
    case ExprKind::Index:
    case ExprKind::Member:
        if (expr->kind != ExprKind::Member ||
            static_cast<const MemberExpr*>(expr)->member == MemberKind::Field) {
            EmitLoad(expr, true);
            return;
        }
        break;
    case ExprKind::Unary:
        if (expr->type->kind == TypeKind::Float) {
            EmitFloat(static_cast<const UnaryExpr*>(expr)->operand);
            EmitOp(FloatCodeOp::Negate);
            return;
        }
        break;
    case ExprKind::Binary:
        if (IsFloatArith(expr)) {
            EmitArith(static_cast<const BinaryExpr*>(expr));
            return;
        }
        break;
    case ExprKind::Convert: {
        const Expr* operand = static_cast<const ConvertExpr*>(expr)->operand;
        if (expr->type->kind == TypeKind::Float && operand->type->kind != TypeKind::Variant) {
            EmitInt(operand);
            EmitOp(FloatCodeOp::IntToFloat);
            return;
        }
        break;
    }
    case ExprKind::Call:
        if (IsScalarNative(expr)) {
            EmitNative(static_cast<const CallExpr*>(expr));
            return;
        }
        if (IsScalarScriptCall(expr)) {
            EmitScript(static_cast<const CallExpr*>(expr));
            return;
        }
        break;
    default:
        break;
    }
    EmitTree(CompileTree(expr), true);
}

void Compiler::EmitInt(const Expr* expr) {
    if (expr->is_const) {
        EmitIntConst(static_cast<int32_t>(expr->value.i));
        return;
    }
    if (expr->kind == ExprKind::Name || expr->kind == ExprKind::Index ||
        (expr->kind == ExprKind::Member &&
         static_cast<const MemberExpr*>(expr)->member == MemberKind::Field)) {
        EmitLoad(expr, false);
        return;
    }
    if (IsScalarNative(expr)) {
        EmitNative(static_cast<const CallExpr*>(expr));
        return;
    }
    if (IsScalarScriptCall(expr)) {
        EmitScript(static_cast<const CallExpr*>(expr));
        return;
    }
    EmitTree(CompileExpr(expr), false);
}

// The shapes of the tree compiler: "x op constant", "constant op x" for + and *, else both.
void Compiler::EmitArith(const BinaryExpr* expr) {
    const Expr* left = expr->left;
    const Expr* right = expr->right;
    const Tok op = expr->op;
    if (op != Tok::Slash && (right->is_const || (left->is_const && op != Tok::Minus))) {
        const bool right_const = right->is_const;
        EmitFloat(right_const ? left : right);
        EmitOp(op == Tok::Plus    ? FloatCodeOp::AddConst
               : op == Tok::Minus ? FloatCodeOp::SubConst
                                  : FloatCodeOp::MulConst);
        EmitOperand(right_const ? right->value.f : left->value.f);
        EmitPosition(expr->pos);
        return;
    }
    EmitFloat(left);
    EmitFloat(right);
    EmitOp(op == Tok::Plus    ? FloatCodeOp::Add
           : op == Tok::Minus ? FloatCodeOp::Sub
           : op == Tok::Star  ? FloatCodeOp::Mul
                              : FloatCodeOp::Div);
    EmitPosition(expr->pos);
    Push(-1);
}

} // namespace tl::script
