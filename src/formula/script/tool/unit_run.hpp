// tlscript with the function unit: a formula tried as a task would run it for one interval, or
// script files run with MyUnit and the given values.
#pragma once

#include "unit_world.hpp"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tl::tool {

// The formula (an expression, or statements assigning %RESULT0% and %RESULT1%) joined with the
// common script into the task's run script for one element, run once over the world's interval;
// prints T and the two results. Exit status 0, 1 for compile errors, 2 for an execution error or a
// result that failed.
int TryFormula(ScriptDataModule& module, const UnitWorld& world, std::string_view common_script,
               std::string_view formula, std::ostream& out, std::ostream& err);

// Each file compiled and run with the world's values; prints its output. Exit status as TryFormula.
int RunWithUnit(ScriptDataModule& module, const UnitWorld& world, const std::vector<std::string>& files,
                std::ostream& out, std::ostream& err);

} // namespace tl::tool
