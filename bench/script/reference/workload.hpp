#pragma once

// The reference workload: the element blocks of a calculation script, written once and rendered
// both as Lua and as the formula script language, so that the Lua VMs and the script engine do
// the same arithmetic and the same host calls.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tl::bench {

enum class Language { Lua, Script };

enum class Output {
    Stored,  // results stay in the two arrays; nothing is printed
    Printed, // each block prints "Result0=" and "Result1=" lines
};

// The source of a script with `elements` blocks. Element k (0-based) reads the elements
// (100 + k % 50, item) through W and P and computes Value0 and, for some shapes, Value1.
std::string RenderWorkload(Language language, Output output, int elements);

// The host side: values of the current stamp by (object code, item).
class StampValues {
public:
    static constexpr int kFirstCode = 100;
    static constexpr int kCodes = 50;
    static constexpr int kItems = 16;

    // Fills the table for stamp number `stamp` with non-zero values that change from stamp to
    // stamp.
    void Fill(std::uint32_t stamp);

    // Stored power of (code, item); 0 for an element that is not in the table.
    double Value(int code, int item) const;

private:
    double values_[kCodes * kItems] = {};
};

// The functions registered for the scripts, for a 30-minute interval.
struct HostFunctions {
    static constexpr double kIntervalHours = 0.5;

    static double W(const StampValues& table, int code, int item) {
        return table.Value(code, item) / (60.0 / 30.0);
    }
    static double P(const StampValues& table, int code, int item) { return table.Value(code, item); }
    // Two-winding transformer losses with the defaults for cosf = 0 and T = 0.
    static double T2LossesWA(double pxx, double pk, double snom, double cosf, double t, double w);
};

// One element's results read back from printed output.
struct ElementResult {
    double value0 = 0;
    double value1 = 0;
    bool failed = false;
};

// Reads the "Result0=" / "Result1=" line pairs of printed output into `results` (cleared
// first); returns false when a line is missing or is not a result line.
bool ParseResults(std::string_view output, std::vector<ElementResult>& results);

} // namespace tl::bench
