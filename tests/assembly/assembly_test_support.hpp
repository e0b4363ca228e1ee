// Pieces shared by the assembly tests: element lists of formulas and an engine with stand-ins for
// the energy and power functions of the script unit.
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

// W(a, b) = a * b, P(a, b) = a + b, W2(a, b, c) = a + b + c, T = 0.5: enough to tell the results
// of the elements apart.
std::unique_ptr<script::Engine> StandInEngine(char decimal_separator = '.');

// The test name of a case of a table that names its rows.
template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& row) {
    return row.param.name;
}

} // namespace tl::testing
