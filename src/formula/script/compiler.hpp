// Lowers the checked syntax tree to executable nodes, choosing for every operation the node of
// its operand types and resolving every variable to a fixed slot.
#pragma once

#include "ast.hpp"
#include "compiled_code.hpp"
#include "exec_node.hpp"
#include "float_code.hpp"

#include <string>
#include <unordered_map>
#include <vector>

namespace tl::script {

struct Block;
struct Handler;
struct ScriptCall;

class Compiler {
public:
    explicit Compiler(CompiledCode& code) : code_(code), arena_(code.nodes) {}
    // One checked top-level item; Finish after the last builds the main block.
    void CompileItem(Stmt* item);
    void Finish();

    // Where a value lives: a fixed slot of the globals or the frame, behind a var parameter, or
    // computed by a node.
    struct Location {
        enum Kind : uint8_t { Global, Local, Ref, Addr } kind = Addr;
        int32_t offset = 0;
        const ExprNode* node = nullptr;
    };

private:
    void CompileRoutine(RoutineStmt* decl);
    const StmtNode* CompileStmt(const Stmt* stmt);
    const Block* CompileBlock(const std::vector<Stmt*>& body, SourcePos pos);
    void CompileStatements(const std::vector<Stmt*>& body, std::vector<const StmtNode*>& nodes);
    const Block* MakeBlock(const std::vector<const StmtNode*>& body, SourcePos pos);
    const StmtNode* CompileInit(const Symbol* symbol, const Expr* value);
    const StmtNode* CompileAssign(const Expr* target, const Expr* value, SourcePos pos);
    // `prefix`: the text of the constant prints right before a print, which it writes first.
    const StmtNode* CompileCallStmt(const CallExpr* call, SourcePos pos, const StrRep* prefix = nullptr);
    const StmtNode* CompileCase(const CaseStmt* stmt);
    const StmtNode* CompileTryExcept(const TryExceptStmt* stmt);

    // A Float computation becomes byte code; everything else a tree of nodes.
    const ExprNode* CompileExpr(const Expr* expr);
    const ExprNode* CompileTree(const Expr* expr);
    const ExprNode* CompileConst(const Expr* expr);
    const ExprNode* CompileIndex(const IndexExpr* expr);
    const ExprNode* CompileMember(const MemberExpr* expr);
    const ExprNode* CompileUnary(const UnaryExpr* expr);
    const ExprNode* CompileBinary(const BinaryExpr* expr);
    const ExprNode* CompileConvert(const ConvertExpr* expr);
    const ExprNode* CompileCall(const CallExpr* expr);
    const ExprNode* CompileLocation(const Location& loc, SourcePos pos);
    Location LocationOf(const Expr* expr);
    Location Offset(Location base, int32_t delta, SourcePos pos);

    // Float expressions as byte code (compiler_float_code.cpp).
    struct FloatCodeBuffer {
        struct State {
            int depth = 0;
            bool failed = false; // too deep, or too many positions: the tree form is kept
            size_t positions_base = 0;
        };
        std::vector<uint8_t> ops;
        std::vector<SourcePos> positions;
        State state;
    };
    static bool Flattenable(const Expr* expr);
    bool BuildFloatCode(const Expr* expr, FloatCode& code);
    const ExprNode* CompileFloatCode(const Expr* expr);
    void EmitFloat(const Expr* expr);
    void EmitInt(const Expr* expr);
    void EmitArith(const BinaryExpr* expr);
    void EmitNative(const CallExpr* call);
    void EmitScript(const CallExpr* call);
    const ScriptCall* CallShapeOf(const CallExpr* call);
    void EmitLoad(const Expr* expr, bool as_float);
    void EmitTree(const ExprNode* node, bool as_float);
    void EmitOp(FloatCodeOp op);
    template <class T>
    void EmitOperand(T value);
    void EmitPosition(SourcePos pos);
    void EmitFloatConst(double value);
    void EmitIntConst(int32_t value);
    template <class T>
    void EmitIndex(const T* target, std::unordered_map<const T*, uint16_t>& indexes,
                   std::vector<const T*>& table);
    void Push(int count);

    CompiledCode& code_;
    Arena& arena_;
    int loop_depth_ = 0;
    bool cold_ = false;                  // allocating in the cold arena
    std::vector<const StmtNode*> inits_; // initial values of globals run first
    std::vector<const StmtNode*> main_;
    // A routine declared forward has its frame laid out only when its body is checked, so the
    // calls learn their frame's shape when compilation ends.
    std::vector<ScriptCall*> script_calls_;
    std::unordered_map<const RoutineInfo*, const ScriptCall*> call_shapes_;
    std::unordered_map<const FunctionDef*, uint16_t> native_indexes_;
    std::unordered_map<const ScriptCall*, uint16_t> call_indexes_;
    FloatCodeBuffer float_code_;
    // Handlers that only print, by what they are made of (compiler_handlers.cpp).
    struct SharedHandlers {
        const Handler* handlers;
        int32_t base_line; // where the lines of their key count from, in the text they were compiled for
    };
    std::unordered_map<std::string, SharedHandlers> shared_handlers_;
    std::string handler_key_;
};

} // namespace tl::script
