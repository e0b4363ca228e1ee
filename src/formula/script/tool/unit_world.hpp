// The rows, momentary values and element states of one interval, built from an operator's values
// so that the functions of MyUnit read them as a run would.
#pragma once

#include "tldata/data_list.hpp"
#include "tldata/state_container.hpp"
#include "tlmethods/calc_objects.hpp"
#include "tlunit/script_data_module.hpp"
#include "unit_values.hpp"

#include <string>
#include <vector>

namespace tl::tool {

class UnitWorld {
public:
    // Each call is resolved by the unit itself: a collection run of "PrintLn(call);" tells which
    // element it reads and whether it is an energy or power, a momentary value or a state. Throws
    // UnitValueError for a call that does not compile or reads nothing.
    UnitWorld(ScriptDataModule& module, const UnitInputs& inputs);

    ScriptContext Context() const;
    int Pass() const { return pass_; }
    DateTime Time() const { return time_; }
    // Notes on the elements a collection run of the program read that were given no value.
    std::vector<std::string> Unset(std::span<const ElementAddress> power,
                                   std::span<const ElementAddress> momentary,
                                   std::span<const ElementAddress> states) const;

private:
    void AddState(const ElementAddress& element, double value);

    int pass_;
    DateTime time_;
    TDataList data_;
    TDataList momentary_;
    TStateContainer states_{nullptr, false};
    TCalcObjects objects_;
};

} // namespace tl::tool
