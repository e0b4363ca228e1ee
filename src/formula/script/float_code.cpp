#include "float_code.hpp"

#include "exec_call.hpp"
#include "tlscript/call_frame.hpp"

#include <cmath>
#include <cstring>

namespace tl::script {
namespace {

template <class T>
T Read(const uint8_t*& pc) {
    T value;
    std::memcpy(&value, pc, sizeof(T));
    pc += sizeof(T);
    return value;
}

// Position `index` of a piece of code: `positions` points at its first, whole one.
SourcePos PositionAt(const uint8_t* positions, uint8_t index) {
    SourcePos first;
    std::memcpy(&first, positions, sizeof(first));
    int16_t line = 0;
    uint16_t column = 0;
    const uint8_t* entry = positions + sizeof(SourcePos) + index * 4;
    std::memcpy(&line, entry, 2);
    std::memcpy(&column, entry + 2, 2);
    return SourcePos{first.line + line, column, first.file};
}

double Checked(ExecContext& c, double r, const uint8_t* positions, uint8_t index) {
    if (!std::isfinite(r)) [[unlikely]] {
        RaiseFloatError(c, r, PositionAt(positions, index));
    }
    return r;
}

// Runs the code from pc to its End, or to the ArgsEnd of a call's arguments, pushing above top;
// returns the topmost value.
Slot* RunOps(const uint8_t* pc, Slot* top, const uint8_t* positions, ExecContext& c) {
    for (;;) {
        switch (static_cast<FloatCodeOp>(*pc++)) {
        case FloatCodeOp::End:
        case FloatCodeOp::ArgsEnd:
            return top;
        case FloatCodeOp::PushFloat:
            (++top)->f = Read<double>(pc);
            break;
        case FloatCodeOp::PushWhole:
            (++top)->f = Read<int16_t>(pc);
            break;
        case FloatCodeOp::PushInt:
            (++top)->i = Read<int32_t>(pc);
            break;
        case FloatCodeOp::PushInt8:
            (++top)->i = Read<int8_t>(pc);
            break;
        case FloatCodeOp::PushInt16:
            (++top)->i = Read<int16_t>(pc);
            break;
        case FloatCodeOp::Global:
            *++top = c.globals[Read<int32_t>(pc)];
            break;
        case FloatCodeOp::Local:
            *++top = c.frame[Read<int32_t>(pc)];
            break;
        case FloatCodeOp::Ref:
            *++top = *c.frame[Read<int32_t>(pc)].ref;
            break;
        case FloatCodeOp::IntToFloat:
            top->f = top->i;
            break;
        case FloatCodeOp::Negate:
            top->f = -top->f;
            break;
        case FloatCodeOp::Add:
            --top;
            top->f = Checked(c, top->f + top[1].f, positions, *pc++);
            break;
        case FloatCodeOp::Sub:
            --top;
            top->f = Checked(c, top->f - top[1].f, positions, *pc++);
            break;
        case FloatCodeOp::Mul:
            --top;
            top->f = Checked(c, top->f * top[1].f, positions, *pc++);
            break;
        case FloatCodeOp::Div: {
            --top;
            const uint8_t index = *pc++;
            if (top[1].f == 0) [[unlikely]] {
                RaiseFloatDivision(c, top->f, PositionAt(positions, index));
            }
            top->f = Checked(c, top->f / top[1].f, positions, index);
            break;
        }
        case FloatCodeOp::AddConst: {
            double k = Read<double>(pc);
            top->f = Checked(c, top->f + k, positions, *pc++);
            break;
        }
        case FloatCodeOp::SubConst: {
            double k = Read<double>(pc);
            top->f = Checked(c, top->f - k, positions, *pc++);
            break;
        }
        case FloatCodeOp::MulConst: {
            double k = Read<double>(pc);
            top->f = Checked(c, top->f * k, positions, *pc++);
            break;
        }
        case FloatCodeOp::Native: {
            const FunctionDef* def = c.float_code_natives[Read<uint16_t>(pc)];
            const int count = *pc++;
            const SourcePos pos = PositionAt(positions, *pc++);
            Slot* args = top - count + 1;
            Slot result;
            result.raw = 0;
            if (!c.Failed()) [[likely]] {
                CallFrame frame(args, count, &result, def, &c, pos.line, pos.column, pos.file);
                def->fn(frame);
            }
            top = args;
            *top = result;
            break;
        }
        case FloatCodeOp::NodeFloat:
            (++top)->f = Read<const ExprNode*>(pc)->Float(c);
            break;
        case FloatCodeOp::NodeInt:
            (++top)->i = Read<const ExprNode*>(pc)->Int(c);
            break;
        case FloatCodeOp::Script: {
            const ScriptCall* call = c.float_code_calls[Read<uint16_t>(pc)];
            const SourcePos pos = PositionAt(positions, *pc++);
            const auto length = Read<uint32_t>(pc);
            const uint8_t* args_code = pc;
            pc += length;
            Slot result;
            result.raw = 0;
            call->InvokeWith(c, pos, &result, [&](Slot* frame) {
                RunOps(args_code, top, positions, c);
                const Slot* value = top + 1;
                for (const ScriptArg& arg : call->args) {
                    if (arg.kind == TypeKind::Float) {
                        frame[arg.offset] = *value;
                    } else {
                        // The whole slot: the frame was not cleared below the arguments' end.
                        frame[arg.offset].raw = 0;
                        frame[arg.offset].i = value->i;
                    }
                    ++value;
                }
            });
            *++top = result;
            break;
        }
        }
    }
}

} // namespace

double RunFloatCode(FloatCode code, ExecContext& c) {
    // stack[0] is never a value: it keeps "below the first value" inside the array.
    Slot stack[kFloatCodeStack + 1];
    const uint8_t count = code.data[0];
    const uint8_t* positions = code.data + 1;
    const uint8_t* ops = count == 0 ? positions : positions + sizeof(SourcePos) + count * 4;
    return RunOps(ops, stack, positions, c)->f;
}

} // namespace tl::script
