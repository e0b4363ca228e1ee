#include "tlscript/function_registry.hpp"

#include "exec_call.hpp"

#include <stdexcept>

namespace tl::script {

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

const FunctionDef& FunctionRegistry::Add(FunctionDef def) {
    if (def.fn == nullptr || def.name.empty()) {
        throw std::invalid_argument("a native function needs a name and a handler");
    }
    if (def.params.size() > static_cast<size_t>(kMaxNativeArgs)) {
        throw std::invalid_argument("too many parameters for a native function: " + def.name);
    }
    if (def.result == ValueType::Variant) {
        throw std::invalid_argument("a native function cannot return a Variant: " + def.name);
    }
    AddUnit(def.unit);
    FunctionDef& stored = functions_.emplace_back(std::move(def));
    by_name_[LowerAscii(stored.name)].push_back(&stored);
    return stored;
}

void FunctionRegistry::AddConstant(ConstantDef def) {
    AddUnit(def.unit);
    ConstantDef& stored = constants_.emplace_back(std::move(def));
    constants_by_name_[LowerAscii(stored.name)] = &stored;
}

void FunctionRegistry::AddUnit(std::string_view unit) {
    if (!unit.empty() && !HasUnit(LowerAscii(unit))) {
        units_.push_back(LowerAscii(unit));
    }
}

const std::vector<const FunctionDef*>* FunctionRegistry::FindFunction(std::string_view name) const {
    auto found = by_name_.find(LowerAscii(name));
    return found == by_name_.end() ? nullptr : &found->second;
}

const ConstantDef* FunctionRegistry::FindConstant(std::string_view name) const {
    auto found = constants_by_name_.find(LowerAscii(name));
    return found == constants_by_name_.end() ? nullptr : found->second;
}

bool FunctionRegistry::HasUnit(std::string_view unit) const {
    std::string lower = LowerAscii(unit);
    for (const std::string& known : units_) {
        if (known == lower) {
            return true;
        }
    }
    return false;
}

} // namespace tl::script
