// The text form of a Float: the general format with up to 15 significant digits, trailing zeros
// dropped, the exponent form outside 1E-5 .. 1E15, as Pascal's FloatToStr writes it.
#pragma once

#include <string>
#include <string_view>

namespace tl::script {

void AppendFloat(std::string& out, double value, char decimal_separator);
std::string FloatToText(double value, char decimal_separator);

// Parses a whole text as a Float the way StrToFloat does: blanks around it allowed, either
// separator accepted when it is the given one or '.'. False when the text is not a number.
bool ParseFloat(std::string_view text, char decimal_separator, double& value);
// StrToInt: leading blanks, optional sign, decimal or "$"/"0x" hexadecimal; nothing after it.
bool ParseInt(std::string_view text, int32_t& value);

} // namespace tl::script
