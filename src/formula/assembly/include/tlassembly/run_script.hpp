// The run script of the arbitrary-formula method: the task's common script and every element
// formula joined into one program that prints two result lines per element.
#pragma once

#include "tlmethods/calc_objects.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tl {

// Element k of `objects` (0-based) owns index k+1 of the result arrays and prints lines 2k and
// 2k+1 of the output. Every object must hold a TMethod2Obj; any other record throws
// std::invalid_argument.
std::string BuildRunScript(std::string_view common_script, const TCalcObjects& objects);

// Frees the formula texts of `objects` once their run script is compiled: the program holds
// what they do, and a run of ten thousand formulas would otherwise keep them to its end.
void ReleaseFormulaTexts(TCalcObjects& objects);

class RunScriptMap;

// The run script with only the blocks of `elements` (ascending indices into `objects`; the
// declarations still count every object), and in `map` where each text of the task lies in it.
// With every index it is the text of BuildRunScript.
std::string BuildMappedRunScript(std::string_view common_script, const TCalcObjects& objects,
                                 std::span<const int32_t> elements, RunScriptMap& map);

} // namespace tl
