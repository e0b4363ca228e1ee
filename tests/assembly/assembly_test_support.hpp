// Pieces shared by the assembly tests: element lists of formulas and an engine with stand-ins for
// functions of the script unit.
#pragma once

#include "tlmethods/calc_objects.hpp"
#include "tlscript/engine.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tl::testing {

struct FormulaElement {
    ElementAddress address;
    std::string formula;
};

TCalcObjects FormulaObjects(const std::vector<FormulaElement>& elements);

// An engine that knows W(a, b) and T of the script unit, for compile checks.
std::unique_ptr<script::Engine> StandInEngine();

} // namespace tl::testing
