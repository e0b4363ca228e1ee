// The handlers of try statements. A run script has a try statement per formula, each with the same
// handler printing the exception's message: a handler that only prints constants and messages is
// compiled once and shared by every try statement whose handlers read the same.
#include "compiler.hpp"
#include "exec_stmt.hpp"
#include "print_calls.hpp"

#include <algorithm>
#include <cstring>

namespace tl::script {
namespace {

// The key of handlers that may be shared: everything their compiled form is made of, with the
// lines counted from the first position written, so that the same text anywhere gives the same key.
class HandlerKey {
public:
    explicit HandlerKey(std::string& key) : key_(key) { key_.clear(); }

    // False for handlers that do anything else than print constants and messages.
    bool Write(const TryExceptStmt* stmt) {
        for (const ExceptHandler& handler : stmt->handlers) {
            Raw(handler.cls);
            Raw(handler.var != nullptr ? handler.var->offset : -1);
            Raw(handler.var != nullptr ? handler.var->storage : Storage::Global);
            if (handler.body == nullptr) {
                Raw('-');
            } else if (handler.body->kind == StmtKind::Compound) {
                if (!List(static_cast<const CompoundStmt*>(handler.body)->body)) {
                    return false;
                }
            } else if (!Print(handler.body)) {
                return false;
            }
        }
        Raw(stmt->has_else);
        return !stmt->has_else || List(stmt->else_body);
    }

    int32_t BaseLine() const { return base_line_; }

private:
    // A Block's own position is left out: it is never read when the program runs (a block raises
    // nothing of its own), and a bare except's block has the position of its try statement.
    bool List(const std::vector<Stmt*>& body) {
        for (const Stmt* stmt : body) {
            // Skipped as the compiler skips them.
            if (stmt->kind == StmtKind::Empty || stmt->kind == StmtKind::VarDecl ||
                stmt->kind == StmtKind::ConstDecl || stmt->kind == StmtKind::TypeDecl ||
                stmt->kind == StmtKind::Uses) {
                continue;
            }
            if (!Print(stmt)) {
                return false;
            }
        }
        Raw('.');
        return true;
    }

    bool Print(const Stmt* stmt) {
        const CallExpr* call = PrintCall(stmt);
        if (call == nullptr) {
            return false;
        }
        Raw(call->native);
        Pos(stmt->pos);
        const Expr* value = PrintedValue(call);
        if (IsConstText(value)) {
            Raw(value->type->kind);
            Raw(value->value.i);
            Raw(value->value.s.size());
            key_.append(value->value.s);
            return true;
        }
        const MemberExpr* member = PrintedMessage(value);
        if (member == nullptr) {
            return false;
        }
        const Symbol* symbol = static_cast<const NameExpr*>(member->base)->symbol;
        if (symbol == nullptr || symbol->kind != SymbolKind::Variable) {
            return false;
        }
        Raw(member->member);
        Pos(member->pos);
        Raw(symbol->storage);
        Raw(symbol->offset);
        return true;
    }

    void Pos(SourcePos pos) {
        if (!has_base_) {
            base_line_ = pos.line;
            has_base_ = true;
        }
        Raw(pos.line - base_line_);
        Raw(pos.column);
        Raw(pos.file);
    }

    template <class T>
    void Raw(T value) {
        char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        key_.append(bytes, sizeof(T));
    }

    std::string& key_;
    int32_t base_line_ = 0;
    bool has_base_ = false;
};

} // namespace

const StmtNode* Compiler::CompileTryExcept(const TryExceptStmt* stmt) {
    std::vector<const StmtNode*> body;
    CompileStatements(stmt->body, body);
    auto* node = TryExceptNode::New(arena_, stmt->pos, static_cast<uint32_t>(body.size()));
    std::copy(body.begin(), body.end(), node->Body());
    HandlerKey key(handler_key_);
    const bool shareable = key.Write(stmt);
    if (shareable) {
        auto found = shared_handlers_.find(handler_key_);
        if (found != shared_handlers_.end()) {
            node->handlers = found->second.handlers;
            node->line_shift = key.BaseLine() - found->second.base_line;
            return node;
        }
    }
    // The handlers and everything they run go to the cold arena.
    struct ColdScope {
        ColdScope(CompiledCode& c, bool& flag) : code(c), cold(flag), entered(!flag) {
            if (entered) {
                code.nodes.Swap(code.cold_nodes);
                cold = true;
            }
        }
        ~ColdScope() {
            if (entered) {
                code.nodes.Swap(code.cold_nodes);
                cold = false;
            }
        }
        CompiledCode& code;
        bool& cold;
        bool entered;
    } cold_scope(code_, cold_);
    std::vector<Handler> handlers;
    for (const ExceptHandler& h : stmt->handlers) {
        Handler handler;
        handler.cls = h.cls;
        if (h.var != nullptr) {
            handler.var_offset = h.var->offset;
            handler.var_global = h.var->storage == Storage::Global;
        }
        handler.body = h.body != nullptr ? CompileStmt(h.body) : nullptr;
        handlers.push_back(handler);
    }
    if (stmt->has_else) {
        Handler handler;
        handler.body = CompileBlock(stmt->else_body, stmt->pos);
        handlers.push_back(handler);
    }
    if (!handlers.empty()) {
        handlers.back().last = true;
        node->handlers = ArenaSpan<Handler>::From(arena_, handlers).data;
    }
    if (shareable) {
        shared_handlers_.emplace(handler_key_, SharedHandlers{node->handlers, key.BaseLine()});
    }
    return node;
}

} // namespace tl::script
