// What an operator gives tlscript to try a formula with: the interval and the values that the
// functions of MyUnit read, written as the calls a formula makes ("W2(100, 0, 5) = 50").
#pragma once

#include "tlcommon/date_time.hpp"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tl::tool {

// A line that cannot be read; the text names its place.
class UnitValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct UnitCall {
    std::string call; // "W2(100, 0, 5)"
    double value = 0;
    std::string place; // "values.txt:3" or "--set"
};

struct UnitInputs {
    int pass = 7;      // the interval kind: 30 minutes unless told
    DateTime time = 0; // the end of the interval; 0: today at 00:00
    std::vector<UnitCall> calls;
};

// One line: "interval = KIND", "time = yyyy-mm-dd hh:nn[:ss]", "CALL = NUMBER"; text after "#"
// and blank lines are nothing. Throws UnitValueError.
void ReadUnitLine(std::string_view line, const std::string& place, UnitInputs& inputs);
// Every line of a file's text; `name` prefixes the places.
void ReadUnitLines(std::string_view text, const std::string& name, UnitInputs& inputs);

} // namespace tl::tool
