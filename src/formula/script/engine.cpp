#include "tlscript/engine.hpp"

#include "builtins.hpp"
#include "checker.hpp"
#include "compiled_code.hpp"
#include "compiler.hpp"
#include "lexer.hpp"
#include "parser.hpp"
#include "tlcommon/failure_text.hpp"

#include <new>

namespace tl::script {

Engine::Engine() : Engine(EngineSettings{}) {}

Engine::Engine(EngineSettings settings) : settings_(std::move(settings)) {
    RegisterCoreBuiltins(registry_);
}

Engine::~Engine() = default;

const FunctionDef& Engine::RegisterFunction(FunctionDef def) {
    return registry_.Add(std::move(def));
}

void Engine::RegisterConstant(ConstantDef def) {
    registry_.AddConstant(std::move(def));
}

std::unique_ptr<Program> Engine::Compile(std::string_view source, std::string_view source_name) const {
    MessageList messages;
    auto code = std::make_unique<CompiledCode>();
    SourceStore sources;
    sources.AddFile(std::string(source_name));
    Diagnostics diag(messages, sources);
    try {
        Arena ast_arena;
        Lexer lexer(source, settings_.include_dirs, diag, sources);
        Parser parser(lexer, ast_arena, diag);
        Checker checker(*this, diag, ast_arena, sources, *code);
        Compiler compiler(*code);
        // Item by item: the syntax tree of one top-level item is dropped once it is compiled, so
        // that memory follows the largest item, not the whole text. Names and types are checked
        // only while the text parses: a broken statement would otherwise produce a trail of
        // follow-up errors.
        bool parsed = true;
        std::vector<Stmt*> items;
        for (;;) {
            int before = diag.ErrorCount();
            if (!parser.ParseItems(items)) {
                break;
            }
            parsed = parsed && diag.ErrorCount() == before;
            if (parsed) {
                for (Stmt* item : items) {
                    checker.CheckItem(item);
                }
            }
            if (diag.ErrorCount() == 0) {
                for (Stmt* item : items) {
                    compiler.CompileItem(item);
                }
            }
            items.clear();
            ast_arena.Reset();
        }
        if (diag.ErrorCount() == 0) {
            checker.Finish();
        }
        if (diag.ErrorCount() == 0) {
            compiler.Finish();
        }
    } catch (const std::bad_alloc&) {
        diag.Error({}, "Недостаточно памяти для компиляции скрипта");
    } catch (const std::exception& error) {
        diag.Error({}, "Внутренняя ошибка компилятора: " + FailureText(error));
    }
    code->files = sources.FileNames();
    return std::make_unique<Program>(*this, std::move(code), std::move(messages));
}

} // namespace tl::script
