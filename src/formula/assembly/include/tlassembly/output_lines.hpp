// Reading what the run script printed: its output cut into lines, and the two result lines of
// each element.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tl {

// Blanks and line breaks at both ends dropped, the rest cut at CR LF or LF. `lines` is cleared
// and refilled with views into `output`, so a kept vector costs no allocation per call.
void SplitOutputLines(std::string_view output, std::vector<std::string_view>& lines);

struct OutputValue {
    bool found = false; // the line is a "Result<r>" line
    double value = 0;
    std::string error; // the formula's exception text, or why the number did not convert
};

// One line for result `result_number`: "Result0=12,5" gives 12.5 with either decimal separator,
// "Result1=Err:Division by zero" the error "Division by zero" and 0.
OutputValue ParseOutputLine(int result_number, std::string_view line);

// The text of a failed number conversion, as the script's StrToFloat words it.
std::string InvalidFloatMessage(std::string_view text);

} // namespace tl
