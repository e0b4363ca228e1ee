#include "tlexecution/arbitrary_formula.hpp"

#include "tlscript/program.hpp"

namespace tl {

ArbitraryFormula::ArbitraryFormula(const ArbitraryFormulaLinks& links)
    : objects_(links.objects), states_(links.states), report_(links.report), errors_(links.errors),
      timings_(links.timings) {}

ArbitraryFormula::~ArbitraryFormula() = default;

} // namespace tl
