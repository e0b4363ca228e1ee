// The check of a task's scripts exactly as the run compiles them: the run script of the common
// script and every element formula, with each compiler message told as a position inside the
// common script or inside the formula it belongs to.
#pragma once

#include "tlmethods/calc_objects.hpp"
#include "tlscript/engine.hpp"
#include "tlscript/messages.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tl {

struct FormulaMessage {
    // Index into the calculation objects; -1 for the common script.
    int32_t element = -1;
    // Line and column inside the common script or the element's formula; as the compiler gave
    // them inside an included file; none when the position lies in generated text only.
    script::Message message;
};

struct RunScriptCheck {
    // Whether the run script compiles, which decides whether the run gets past its compilation.
    bool compiles = true;
    // False when the common script does not compile alone: every formula carries it, so the
    // formulas were not checked one by one.
    bool formulas_checked = true;
    std::vector<FormulaMessage> messages;
};

// Compiles the run script of `common_script` and `objects` (each holding a formula record) with
// `engine`. When it fails, the common part and then each element's block are compiled on their
// own, so that every message is told with the element it comes from and one element's error does
// not hide another's; should they all compile alone, the run script's own messages are given.
RunScriptCheck CheckRunScript(const script::Engine& engine, std::string_view common_script,
                              const TCalcObjects& objects);

} // namespace tl
