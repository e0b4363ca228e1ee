// Everything a compiled program owns: its types, routines, executable nodes and data layout.
#pragma once

#include "arena.hpp"
#include "symbols.hpp"
#include "types.hpp"

#include <deque>
#include <string>
#include <vector>

namespace tl::script {

struct StmtNode;

struct CompiledCode {
    Arena nodes;
    std::deque<Type> types;
    std::deque<RoutineInfo> routines;
    std::deque<Symbol> symbols;
    int64_t global_slots = 0;
    std::vector<ManagedSlot> global_managed;
    std::vector<VarInit> global_inits;
    StmtNode* main = nullptr;
    std::vector<std::string> files; // 0: the main text
};

} // namespace tl::script
