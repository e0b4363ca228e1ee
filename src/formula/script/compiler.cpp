#include "compiler.hpp"

#include "ansi_text.hpp"
#include "builtins.hpp"
#include "exec_call.hpp"
#include "exec_ops.hpp"
#include "exec_stmt.hpp"
#include "print_calls.hpp"
#include "symbols.hpp"

#include <algorithm>
#include <cstdlib>

namespace tl::script {
namespace {

template <class F>
auto VisitLocation(const Compiler::Location& loc, F&& f) {
    switch (loc.kind) {
    case Compiler::Location::Global:
        return f(GlobalLoc{loc.offset});
    case Compiler::Location::Local:
        return f(LocalLoc{loc.offset});
    case Compiler::Location::Ref:
        return f(RefLoc{loc.offset});
    case Compiler::Location::Addr:
        break;
    }
    return f(AddrLoc{loc.node});
}

bool IsDecl(StmtKind kind) {
    return kind == StmtKind::VarDecl || kind == StmtKind::ConstDecl || kind == StmtKind::TypeDecl ||
           kind == StmtKind::Uses;
}

// Copies what a call needs to know of its routine's frame into the call.
void SetCallShape(ScriptCall* call) {
    const RoutineInfo* routine = call->routine;
    call->frame_slots = routine->frame_slots;
    // The arguments write their parameters' slots whole, except a Variant, an array or a record,
    // whose copy releases what the slots held, and a managed value, whose slot a failing
    // argument before it would leave for the release on return uncleared.
    int64_t written = 0;
    bool whole = true;
    for (const ParamInfo& param : routine->params) {
        bool by_ref = param.by_ref();
        TypeKind kind = param.type->kind;
        if (!by_ref && (param.type->managed || kind == TypeKind::Variant || kind == TypeKind::Array ||
                        kind == TypeKind::Record)) {
            whole = false;
        }
        written = std::max<int64_t>(written, param.offset + (by_ref ? 1 : param.type->slots));
    }
    call->clear_from = whole ? written : 0;
    if (routine->result_symbol != nullptr) {
        call->result_offset = routine->result_symbol->offset;
        call->result_move = routine->result->kind == TypeKind::Variant ? ResultMove::Variant
                            : routine->result->managed                 ? ResultMove::Managed
                                                                       : ResultMove::Plain;
    }
}

// Appends the text that a print of a constant String or Integer writes; false (nothing appended)
// for a print of anything else.
bool ConstPrintText(const CallExpr* print, std::string& text) {
    const Expr* arg = PrintedValue(print);
    if (!IsConstText(arg)) {
        return false;
    }
    // Printed text is UTF-8: the constant is converted once, here.
    text += arg->type->kind == TypeKind::String ? ToUtf8(arg->value.s) : std::to_string(arg->value.i);
    if (IsPrintLnFunction(print->native)) {
        text += "\r\n";
    }
    return true;
}

} // namespace

void Compiler::CompileItem(Stmt* item) {
    switch (item->kind) {
    case StmtKind::Routine:
        CompileRoutine(static_cast<RoutineStmt*>(item));
        break;
    case StmtKind::VarDecl: {
        const auto* decl = static_cast<const VarDeclStmt*>(item);
        if (decl->init != nullptr) {
            for (const Symbol* symbol : decl->symbols) {
                inits_.push_back(CompileInit(symbol, decl->init));
            }
        }
        break;
    }
    case StmtKind::ConstDecl: {
        const auto* decl = static_cast<const ConstDeclStmt*>(item);
        if (decl->symbol != nullptr && decl->symbol->kind == SymbolKind::Variable) {
            inits_.push_back(CompileInit(decl->symbol, decl->value));
        }
        break;
    }
    case StmtKind::TypeDecl:
    case StmtKind::Uses:
    case StmtKind::Empty:
        break;
    default:
        main_.push_back(CompileStmt(item));
        break;
    }
}

void Compiler::Finish() {
    for (ScriptCall* call : script_calls_) {
        SetCallShape(call);
    }
    script_calls_.clear();
    inits_.insert(inits_.end(), main_.begin(), main_.end());
    code_.main = MakeBlock(inits_, SourcePos{1, 1, 0});
    inits_.clear();
    main_.clear();
}

const StmtNode* Compiler::CompileInit(const Symbol* symbol, const Expr* value) {
    NameExpr target(symbol->pos, symbol->name);
    target.symbol = symbol;
    target.type = symbol->type;
    return CompileAssign(&target, value, symbol->pos);
}

const Block* Compiler::MakeBlock(const std::vector<const StmtNode*>& body, SourcePos pos) {
    return arena_.New<Block>(pos, ArenaSpan<const StmtNode*>::From(arena_, body));
}

void Compiler::CompileRoutine(RoutineStmt* decl) {
    RoutineInfo* info = decl->info;
    if (info == nullptr || decl->is_forward || decl->body == nullptr) {
        return;
    }
    int saved_loops = loop_depth_;
    loop_depth_ = 0;
    std::vector<const StmtNode*> body;
    for (const VarInit& init : info->inits) {
        body.push_back(CompileInit(init.symbol, init.value));
    }
    info->inits.clear();
    for (const Stmt* stmt : decl->body->body) {
        if (stmt->kind != StmtKind::Empty) {
            body.push_back(CompileStmt(stmt));
        }
    }
    // A body of one statement is that statement: one native frame less per call, which is what an
    // error pays for when it leaves a deep recursion.
    info->code = body.size() == 1 ? body[0] : MakeBlock(body, decl->body->pos);
    loop_depth_ = saved_loops;
}

const Block* Compiler::CompileBlock(const std::vector<Stmt*>& body, SourcePos pos) {
    std::vector<const StmtNode*> nodes;
    CompileStatements(body, nodes);
    return MakeBlock(nodes, pos);
}

void Compiler::CompileStatements(const std::vector<Stmt*>& body, std::vector<const StmtNode*>& nodes) {
    nodes.reserve(body.size());
    // Consecutive prints of constants become one text, written first by the print that follows
    // them or else by a node of its own: a run script prints a constant before each value.
    std::string pending;
    SourcePos pending_pos;
    bool has_pending = false;
    const auto flush = [&] {
        if (has_pending) {
            nodes.push_back(arena_.New<PrintConst>(pending_pos, code_.InternView(pending)));
            pending.clear();
            has_pending = false;
        }
    };
    for (const Stmt* stmt : body) {
        if (IsDecl(stmt->kind) || stmt->kind == StmtKind::Empty) {
            continue;
        }
        const CallExpr* print = PrintCall(stmt);
        if (print != nullptr && ConstPrintText(print, pending)) {
            if (!has_pending) {
                pending_pos = stmt->pos;
                has_pending = true;
            }
            continue;
        }
        if (print != nullptr && has_pending) {
            nodes.push_back(CompileCallStmt(print, stmt->pos, code_.Intern(pending)));
            pending.clear();
            has_pending = false;
            continue;
        }
        flush();
        nodes.push_back(CompileStmt(stmt));
    }
    flush();
}

// ---- statements ------------------------------------------------------------------------------

const StmtNode* Compiler::CompileStmt(const Stmt* stmt) {
    switch (stmt->kind) {
    case StmtKind::Assign: {
        const auto* s = static_cast<const AssignStmt*>(stmt);
        return CompileAssign(s->target, s->value, s->pos);
    }
    case StmtKind::Call: {
        const auto* s = static_cast<const CallStmt*>(stmt);
        return CompileCallStmt(static_cast<const CallExpr*>(s->expr), s->pos);
    }
    case StmtKind::Compound:
        return CompileBlock(static_cast<const CompoundStmt*>(stmt)->body, stmt->pos);
    case StmtKind::If: {
        const auto* s = static_cast<const IfStmt*>(stmt);
        return arena_.New<IfNode>(s->pos, CompileExpr(s->cond),
                                  s->then_branch != nullptr ? CompileStmt(s->then_branch) : nullptr,
                                  s->else_branch != nullptr ? CompileStmt(s->else_branch) : nullptr);
    }
    case StmtKind::For: {
        const auto* s = static_cast<const ForStmt*>(stmt);
        const ExprNode* var = CompileExpr(s->var);
        const ExprNode* from = CompileExpr(s->from);
        const ExprNode* to = CompileExpr(s->to);
        ++loop_depth_;
        const StmtNode* body = s->body != nullptr ? CompileStmt(s->body) : nullptr;
        --loop_depth_;
        if (s->downto) {
            return arena_.New<ForNode<true>>(s->pos, var, from, to, body);
        }
        return arena_.New<ForNode<false>>(s->pos, var, from, to, body);
    }
    case StmtKind::While: {
        const auto* s = static_cast<const WhileStmt*>(stmt);
        const ExprNode* cond = CompileExpr(s->cond);
        ++loop_depth_;
        const StmtNode* body = s->body != nullptr ? CompileStmt(s->body) : nullptr;
        --loop_depth_;
        return arena_.New<WhileNode>(s->pos, cond, body);
    }
    case StmtKind::Repeat: {
        const auto* s = static_cast<const RepeatStmt*>(stmt);
        ++loop_depth_;
        const StmtNode* body = CompileBlock(s->body, s->pos);
        --loop_depth_;
        return arena_.New<RepeatNode>(s->pos, body, CompileExpr(s->cond));
    }
    case StmtKind::Case:
        return CompileCase(static_cast<const CaseStmt*>(stmt));
    case StmtKind::TryExcept:
        return CompileTryExcept(static_cast<const TryExceptStmt*>(stmt));
    case StmtKind::TryFinally: {
        const auto* s = static_cast<const TryFinallyStmt*>(stmt);
        return arena_.New<TryFinallyNode>(s->pos, CompileBlock(s->body, s->pos),
                                          CompileBlock(s->finally_body, s->pos));
    }
    case StmtKind::Raise: {
        const auto* s = static_cast<const RaiseStmt*>(stmt);
        return arena_.New<RaiseNode>(s->pos, s->expr != nullptr ? CompileExpr(s->expr) : nullptr);
    }
    case StmtKind::Exit: {
        const auto* s = static_cast<const ExitStmt*>(stmt);
        if (s->value == nullptr || s->result == nullptr) {
            return arena_.New<FlowNode>(s->pos, Flow::Exit);
        }
        return MakeBlock({CompileInit(s->result, s->value), arena_.New<FlowNode>(s->pos, Flow::Exit)},
                         s->pos);
    }
    case StmtKind::Break:
        return arena_.New<FlowNode>(stmt->pos, Flow::Break);
    case StmtKind::Continue:
        return arena_.New<FlowNode>(stmt->pos, Flow::Continue);
    case StmtKind::Routine:
        CompileRoutine(const_cast<RoutineStmt*>(static_cast<const RoutineStmt*>(stmt)));
        return MakeBlock({}, stmt->pos);
    default:
        return MakeBlock({}, stmt->pos);
    }
}

const StmtNode* Compiler::CompileCase(const CaseStmt* stmt) {
    auto* node = arena_.New<CaseNode>(stmt->pos, CompileExpr(stmt->selector));
    node->absorbs_break = loop_depth_ == 0;
    std::vector<CaseNode::Range> ranges;
    for (const CaseBranch& branch : stmt->branches) {
        const StmtNode* body = branch.body != nullptr ? CompileStmt(branch.body) : MakeBlock({}, stmt->pos);
        for (const CaseLabel& label : branch.labels) {
            auto low = static_cast<int32_t>(label.low->value.i);
            auto high = label.high != nullptr ? static_cast<int32_t>(label.high->value.i) : low;
            ranges.push_back({low, high, body});
        }
    }
    node->ranges = ArenaSpan<CaseNode::Range>::From(arena_, ranges);
    if (stmt->has_else) {
        node->else_body = CompileBlock(stmt->else_body, stmt->pos);
    }
    return node;
}

const StmtNode* Compiler::CompileAssign(const Expr* target, const Expr* value, SourcePos pos) {
    const Type* type = target->type;
    if (target->kind == ExprKind::Member &&
        static_cast<const MemberExpr*>(target)->member == MemberKind::Message) {
        const auto* member = static_cast<const MemberExpr*>(target);
        return arena_.New<AssignMessage>(pos, CompileExpr(member->base), CompileExpr(value));
    }
    if (target->kind == ExprKind::Index &&
        static_cast<const IndexExpr*>(target)->base->type->kind == TypeKind::String) {
        const auto* index = static_cast<const IndexExpr*>(target);
        return arena_.New<AssignStringChar>(pos, CompileExpr(index->base), CompileExpr(index->index),
                                            CompileExpr(value));
    }
    if (type->kind == TypeKind::Float && Flattenable(value)) {
        FloatCode code;
        if (BuildFloatCode(value, code)) {
            return VisitLocation(LocationOf(target), [&](auto l) -> const StmtNode* {
                return arena_.New<AssignFloatCode<decltype(l)>>(pos, l, code);
            });
        }
    }
    const ExprNode* source = CompileExpr(value);
    if (type->IsAggregate()) {
        return arena_.New<AssignAggregate>(pos, CompileExpr(target), source, type);
    }
    Location loc = LocationOf(target);
    return VisitLocation(loc, [&](auto l) -> const StmtNode* {
        using L = decltype(l);
        switch (type->kind) {
        case TypeKind::Float:
            return arena_.New<AssignNumber<L, true>>(pos, l, source);
        case TypeKind::String:
            return arena_.New<AssignString<L>>(pos, l, source);
        case TypeKind::Class:
            return arena_.New<AssignObject<L>>(pos, l, source);
        case TypeKind::Variant:
            return arena_.New<AssignVariant<L>>(pos, l, source);
        default:
            return arena_.New<AssignNumber<L, false>>(pos, l, source);
        }
    });
}

const StmtNode* Compiler::CompileCallStmt(const CallExpr* call, SourcePos pos, const StrRep* prefix) {
    // Print and PrintLn write their argument's text straight into the output.
    if (call->call_kind == CallKind::Native && IsPrintFunction(call->native)) {
        bool newline = IsPrintLnFunction(call->native);
        std::string text(StrView(prefix));
        if (ConstPrintText(call, text)) {
            return arena_.New<PrintConst>(pos, code_.InternView(text));
        }
        const Expr* arg = PrintedValue(call);
        PrintKind kind = PrintKind::Variant;
        switch (arg->type->kind) {
        case TypeKind::Integer:
            kind = PrintKind::Int;
            break;
        case TypeKind::Float:
            // A result printed from its variable, as every block of a run script does it.
            if (!arg->is_const && (arg->kind == ExprKind::Name || arg->kind == ExprKind::Index)) {
                const Location loc = LocationOf(arg);
                if (loc.kind != Location::Addr) {
                    return VisitLocation(loc, [&](auto l) -> const StmtNode* {
                        using L = decltype(l);
                        return newline ? static_cast<const StmtNode*>(
                                             arena_.New<PrintFloatAt<L, true>>(pos, l, prefix))
                                       : arena_.New<PrintFloatAt<L, false>>(pos, l, prefix);
                    });
                }
                return arena_.New<PrintNode>(pos, loc.node, PrintKind::Float, newline, prefix);
            }
            kind = PrintKind::Float;
            break;
        case TypeKind::String:
            if (const MemberExpr* member = PrintedMessage(arg)) {
                const bool class_name = member->member == MemberKind::ClassName;
                return VisitLocation(LocationOf(member->base), [&](auto l) -> const StmtNode* {
                    return arena_.New<PrintMessageAt<decltype(l)>>(pos, member->pos, l, newline, class_name,
                                                                   prefix);
                });
            }
            kind = PrintKind::String;
            break;
        case TypeKind::Boolean:
            kind = PrintKind::Bool;
            break;
        case TypeKind::Char:
            kind = PrintKind::Char;
            break;
        default:
            arg = call->args[0];
            break;
        }
        return arena_.New<PrintNode>(pos, CompileExpr(arg), kind, newline, prefix);
    }
    return arena_.New<CallStatement>(pos, CompileCall(call));
}

// ---- expressions -----------------------------------------------------------------------------

Compiler::Location Compiler::LocationOf(const Expr* expr) {
    Location loc;
    if (expr->kind == ExprKind::Name) {
        const Symbol* symbol = static_cast<const NameExpr*>(expr)->symbol;
        loc.offset = symbol->offset;
        loc.kind = symbol->storage == Storage::Global  ? Location::Global
                   : symbol->storage == Storage::Local ? Location::Local
                                                       : Location::Ref;
        return loc;
    }
    // A constant index or a field of a variable with a fixed place is a fixed place itself;
    // elsewhere it is a constant distance from the place of its base.
    if (expr->kind == ExprKind::Index) {
        const auto* index = static_cast<const IndexExpr*>(expr);
        const Type* array = index->base->type;
        if (array->kind == TypeKind::Array && index->index->is_const) {
            int64_t i = index->index->value.i;
            if (i >= array->low && i <= array->high) {
                return Offset(LocationOf(index->base),
                              static_cast<int32_t>((i - array->low) * array->element->slots), expr->pos);
            }
        }
    } else if (expr->kind == ExprKind::Member) {
        const auto* member = static_cast<const MemberExpr*>(expr);
        if (member->member == MemberKind::Field) {
            return Offset(LocationOf(member->base), member->offset, expr->pos);
        }
    }
    loc.kind = Location::Addr;
    loc.node = CompileExpr(expr);
    return loc;
}

Compiler::Location Compiler::Offset(Location base, int32_t delta, SourcePos pos) {
    if (base.kind == Location::Global || base.kind == Location::Local) {
        base.offset += delta;
        return base;
    }
    Location loc;
    loc.kind = Location::Addr;
    loc.node = arena_.New<FieldNode>(pos, CompileLocation(base, pos), delta);
    return loc;
}

const ExprNode* Compiler::CompileLocation(const Location& loc, SourcePos pos) {
    if (loc.kind == Location::Addr) {
        return loc.node;
    }
    return VisitLocation(loc,
                         [&](auto l) -> const ExprNode* { return arena_.New<VarNode<decltype(l)>>(pos, l); });
}

const ExprNode* Compiler::CompileConst(const Expr* expr) {
    switch (expr->type->kind) {
    case TypeKind::Float:
        return arena_.New<ConstFloat>(expr->pos, expr->value.f);
    case TypeKind::String:
        return arena_.New<ConstString>(expr->pos, code_.Intern(expr->value.s));
    case TypeKind::Nil:
    case TypeKind::Class:
        return arena_.New<ConstNil>(expr->pos);
    default:
        return arena_.New<ConstInt>(expr->pos, static_cast<int32_t>(expr->value.i));
    }
}

const ExprNode* Compiler::CompileExpr(const Expr* expr) {
    if (Flattenable(expr)) {
        if (const ExprNode* node = CompileFloatCode(expr)) {
            return node;
        }
    }
    return CompileTree(expr);
}

const ExprNode* Compiler::CompileTree(const Expr* expr) {
    if (expr->is_const) {
        return CompileConst(expr);
    }
    switch (expr->kind) {
    case ExprKind::Name:
        return CompileLocation(LocationOf(expr), expr->pos);
    case ExprKind::Call:
        return CompileCall(static_cast<const CallExpr*>(expr));
    case ExprKind::Index:
        return CompileIndex(static_cast<const IndexExpr*>(expr));
    case ExprKind::Member:
        return CompileMember(static_cast<const MemberExpr*>(expr));
    case ExprKind::Unary:
        return CompileUnary(static_cast<const UnaryExpr*>(expr));
    case ExprKind::Binary:
        return CompileBinary(static_cast<const BinaryExpr*>(expr));
    case ExprKind::Convert:
        return CompileConvert(static_cast<const ConvertExpr*>(expr));
    default:
        break;
    }
    // The checker lets no other expression through to a program without compile errors.
    std::abort();
}

const ExprNode* Compiler::CompileIndex(const IndexExpr* expr) {
    const Type* base_type = expr->base->type;
    if (base_type->kind == TypeKind::String) {
        return arena_.New<StringIndex>(expr->pos, CompileExpr(expr->base), CompileExpr(expr->index));
    }
    if (expr->index->is_const) {
        int64_t i = expr->index->value.i;
        if (i > base_type->high || i < base_type->low) {
            return arena_.New<BadElementNode>(expr->pos, static_cast<int32_t>(i), i > base_type->high);
        }
        return CompileLocation(LocationOf(expr), expr->pos);
    }
    Location base = LocationOf(expr->base);
    const ExprNode* index = CompileExpr(expr->index);
    return VisitLocation(base, [&](auto l) -> const ExprNode* {
        return arena_.New<ElementNode<decltype(l)>>(expr->pos, l, index, base_type->low, base_type->high,
                                                    base_type->element->slots);
    });
}

const ExprNode* Compiler::CompileMember(const MemberExpr* expr) {
    if (expr->member == MemberKind::Message || expr->member == MemberKind::ClassName) {
        const bool class_name = expr->member == MemberKind::ClassName;
        if (expr->base->kind == ExprKind::Name && !expr->base->is_const) {
            return VisitLocation(LocationOf(expr->base), [&](auto l) -> const ExprNode* {
                return arena_.New<ExceptionMessageAt<decltype(l)>>(expr->pos, l, class_name);
            });
        }
        return arena_.New<ExceptionMessage>(expr->pos, CompileExpr(expr->base), class_name);
    }
    return CompileLocation(LocationOf(expr), expr->pos);
}

const ExprNode* Compiler::CompileUnary(const UnaryExpr* expr) {
    const ExprNode* operand = CompileExpr(expr->operand);
    switch (expr->type->kind) {
    case TypeKind::Float:
        return arena_.New<FloatNegate>(expr->pos, operand);
    case TypeKind::Boolean:
        return arena_.New<BoolNot>(expr->pos, operand);
    default:
        if (expr->op == Tok::Minus) {
            return arena_.New<IntNegate>(expr->pos, operand);
        }
        return arena_.New<IntNot>(expr->pos, operand);
    }
}

namespace {

template <template <CmpOp> class Node>
const ExprNode* MakeCompare(Arena& arena, Tok op, SourcePos pos, const ExprNode* l, const ExprNode* r) {
    switch (op) {
    case Tok::Equal:
        return arena.New<Node<CmpOp::Eq>>(pos, l, r);
    case Tok::NotEqual:
        return arena.New<Node<CmpOp::Ne>>(pos, l, r);
    case Tok::Less:
        return arena.New<Node<CmpOp::Lt>>(pos, l, r);
    case Tok::LessEq:
        return arena.New<Node<CmpOp::Le>>(pos, l, r);
    case Tok::Greater:
        return arena.New<Node<CmpOp::Gt>>(pos, l, r);
    default:
        return arena.New<Node<CmpOp::Ge>>(pos, l, r);
    }
}

bool IsComparisonOp(Tok op) {
    return op == Tok::Equal || op == Tok::NotEqual || op == Tok::Less || op == Tok::LessEq ||
           op == Tok::Greater || op == Tok::GreaterEq;
}

template <FloatOp Op>
const ExprNode* MakeFloatArith(Arena& arena, SourcePos pos, const Expr* left, const Expr* right,
                               const ExprNode* l, const ExprNode* r) {
    if (right->is_const) {
        return arena.New<FloatBinaryConst<Op>>(pos, l, right->value.f);
    }
    if (left->is_const && Op != FloatOp::Sub) {
        return arena.New<FloatBinaryConst<Op>>(pos, r, left->value.f);
    }
    return arena.New<FloatBinary<Op>>(pos, l, r);
}

} // namespace

const ExprNode* Compiler::CompileBinary(const BinaryExpr* expr) {
    SourcePos pos = expr->pos;
    if (expr->op == Tok::KwIs || expr->op == Tok::KwAs) {
        return arena_.New<ClassTest>(pos, CompileExpr(expr->left), expr->operand_type, expr->op == Tok::KwAs);
    }
    const ExprNode* l = CompileExpr(expr->left);
    const ExprNode* r = CompileExpr(expr->right);
    const TypeKind kind = expr->operand_type->kind;
    if (IsComparisonOp(expr->op)) {
        switch (kind) {
        case TypeKind::Float:
            return MakeCompare<FloatCompare>(arena_, expr->op, pos, l, r);
        case TypeKind::String:
            return MakeCompare<StringCompare>(arena_, expr->op, pos, l, r);
        case TypeKind::Class:
        case TypeKind::Nil:
            if (expr->op == Tok::Equal) {
                return arena_.New<ObjectCompare<true>>(pos, l, r);
            }
            return arena_.New<ObjectCompare<false>>(pos, l, r);
        default:
            return MakeCompare<IntCompare>(arena_, expr->op, pos, l, r);
        }
    }
    switch (kind) {
    case TypeKind::Float:
        switch (expr->op) {
        case Tok::Plus:
            return MakeFloatArith<FloatOp::Add>(arena_, pos, expr->left, expr->right, l, r);
        case Tok::Minus:
            return MakeFloatArith<FloatOp::Sub>(arena_, pos, expr->left, expr->right, l, r);
        case Tok::Star:
            return MakeFloatArith<FloatOp::Mul>(arena_, pos, expr->left, expr->right, l, r);
        default:
            return arena_.New<FloatDivide>(pos, l, r);
        }
    case TypeKind::String:
        return arena_.New<StringConcat>(pos, l, r);
    case TypeKind::Boolean:
        if (expr->op == Tok::KwAnd) {
            return arena_.New<BoolShortCircuit<true>>(pos, l, r);
        }
        if (expr->op == Tok::KwOr) {
            return arena_.New<BoolShortCircuit<false>>(pos, l, r);
        }
        return arena_.New<IntBinary<IntXor>>(pos, l, r);
    default:
        break;
    }
    switch (expr->op) {
    case Tok::Plus:
        return arena_.New<IntBinary<IntAdd>>(pos, l, r);
    case Tok::Minus:
        return arena_.New<IntBinary<IntSub>>(pos, l, r);
    case Tok::Star:
        return arena_.New<IntBinary<IntMul>>(pos, l, r);
    case Tok::KwDiv:
        return arena_.New<IntDivision<false>>(pos, l, r);
    case Tok::KwMod:
        return arena_.New<IntDivision<true>>(pos, l, r);
    case Tok::KwAnd:
        return arena_.New<IntBinary<IntAnd>>(pos, l, r);
    case Tok::KwOr:
        return arena_.New<IntBinary<IntOr>>(pos, l, r);
    default:
        return arena_.New<IntBinary<IntXor>>(pos, l, r);
    }
}

const ExprNode* Compiler::CompileConvert(const ConvertExpr* expr) {
    const ExprNode* operand = CompileExpr(expr->operand);
    TypeKind from = expr->operand->type->kind;
    TypeKind to = expr->type->kind;
    if (to == TypeKind::Variant) {
        return arena_.New<ToVariant>(expr->pos, operand, from);
    }
    if (from == TypeKind::Variant) {
        return arena_.New<FromVariant>(expr->pos, operand, to);
    }
    if (to == TypeKind::Float) {
        return arena_.New<IntToFloat>(expr->pos, operand);
    }
    if (to == TypeKind::String) {
        return arena_.New<CharToString>(expr->pos, operand);
    }
    return operand;
}

const ExprNode* Compiler::CompileCall(const CallExpr* call) {
    switch (call->call_kind) {
    case CallKind::Native: {
        auto* node = arena_.New<NativeCall>(call->pos, call->native);
        const size_t count = call->args.size();
        node->constants = arena_.NewArray<Slot>(count);
        node->args = ArenaSpan<NativeArg>::Allocate(arena_, count);
        for (size_t i = 0; i < count; ++i) {
            const Expr* arg = call->args[i];
            const ParamSpec& param = call->native->params[i];
            NativeArg native_arg;
            native_arg.type = param.type;
            native_arg.by_ref = param.by_ref;
            node->constants[i].raw = 0;
            if (param.by_ref) {
                native_arg.node = CompileExpr(arg);
            } else if (arg->is_const && param.type != ValueType::Variant) {
                switch (param.type) {
                case ValueType::Float:
                    node->constants[i].f = arg->value.f;
                    break;
                case ValueType::String:
                    node->constants[i].s = code_.Intern(arg->value.s);
                    break;
                default:
                    node->constants[i].i = static_cast<int32_t>(arg->value.i);
                    break;
                }
            } else {
                native_arg.node = CompileExpr(arg);
            }
            if (param.by_ref || param.type == ValueType::String || param.type == ValueType::Variant) {
                node->simple = false;
            }
            node->args[i] = native_arg;
        }
        return node;
    }
    case CallKind::Script: {
        auto* node = arena_.New<ScriptCall>(call->pos, call->routine);
        node->args = ArenaSpan<ScriptArg>::Allocate(arena_, call->args.size());
        for (size_t i = 0; i < call->args.size(); ++i) {
            const ParamInfo& param = call->routine->params[i];
            ScriptArg arg;
            arg.type = param.type;
            arg.by_ref = param.by_ref();
            arg.offset = param.offset;
            arg.kind = param.type->kind;
            arg.node = CompileExpr(call->args[i]);
            node->args[i] = arg;
        }
        script_calls_.push_back(node);
        return node;
    }
    case CallKind::Constructor:
        return arena_.New<ExceptionCreate>(call->pos, call->class_type, CompileExpr(call->args[0]));
    default:
        break;
    }
    std::abort();
}

} // namespace tl::script
