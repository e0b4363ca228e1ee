#include "tlexecution/arbitrary_formula.hpp"

#include "tlscript/program.hpp"

namespace tl {

namespace {

std::vector<std::string> IncludeDirectories(const std::string& directory) {
    if (directory.empty()) {
        return {};
    }
    return {directory};
}

} // namespace

ArbitraryFormula::ArbitraryFormula(const ArbitraryFormulaLinks& links)
    : objects_(links.objects), states_(links.states), report_(links.report), errors_(links.errors),
      timings_(links.timings), module_(IncludeDirectories(links.include_directory)) {}

ArbitraryFormula::~ArbitraryFormula() = default;

} // namespace tl
