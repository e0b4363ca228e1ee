// Everything a compiled program owns: its types, routines, executable nodes and data layout.
#pragma once

#include "arena.hpp"
#include "diagnostics.hpp"
#include "symbols.hpp"
#include "types.hpp"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tl::script {

struct FunctionDef;
struct ScriptCall;
struct StmtNode;

// Without a configured bound, neither the globals nor one routine frame nor all frames of the
// running calls together may hold more than 512 MiB.
inline constexpr int64_t kDefaultMaxDataBytes = int64_t{512} * 1024 * 1024;

struct CompiledCode {
    Arena nodes;
    // Exception handlers, which run only after a raise: kept apart so that the nodes that run
    // on every execution lie close together in memory.
    Arena cold_nodes;
    std::deque<Type> types;
    std::deque<RoutineInfo> routines;
    std::deque<Symbol> symbols;
    int64_t global_slots = 0;
    std::vector<ManagedSlot> global_managed;
    const StmtNode* main = nullptr;
    std::vector<std::string> files; // 0: the main text
    // What Float code calls, by a two-byte index instead of an eight-byte pointer.
    std::vector<const FunctionDef*> float_code_natives;
    std::vector<const ScriptCall*> float_code_calls;

    // String constants, each text kept once.
    StrRep* Intern(std::string_view text) {
        auto found = strings.find(text);
        if (found == strings.end()) {
            found = strings.emplace(std::string(text), Str(text)).first;
        }
        return found->second.Rep();
    }
    std::string_view InternView(std::string_view text) { return StrView(Intern(text)); }
    std::unordered_map<std::string, Str, TextHash, std::equal_to<>> strings;
};

} // namespace tl::script
