// What every text given to the coefficient record parser must satisfy, shared by the fuzzer and
// the regression test of its inputs.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tl::fuzz {

class RecordPropertyViolation : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Parses `text` as a coefficient record with the decimal separator `separator` ('.' or ','). A
// refused text gives the reason, which must not be empty; an accepted one gives an empty text
// after these have held: LoadFromText agrees with the parse, the record's stored form parses
// again, and storing that second record gives the same text (the two decimals are a fixed point).
std::string CheckCoefficientRecord(std::string_view text, char separator);

} // namespace tl::fuzz
