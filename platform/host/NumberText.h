#pragma once
// Numbers as text, the same in every process locale: the one parser and formatter behind every edit
// field, data exchange, stored setting and attribute text.
//
// Parsing reads a decimal number: optional leading white space, one "+" or "-", digits with an
// optional "." and an optional exponent ("1.5e-3"). Hexadecimal numbers, "inf" and "nan" are not
// numbers, nor is a value outside the range of a double.
//
// Formatting gives exactly what printf gives for "%.Nf" and "%.Ng" in the "C" locale ("." as the
// decimal point, no grouping).
#include <optional>
#include <string>
#include <string_view>

namespace TAVHost::NumberText {

// The number at the start of the text; whatever follows it is ignored ("12.5 m" gives 12.5). Empty
// when the text does not start with a number.
std::optional<double> ParseLeading(std::string_view text);
// The number when the whole text is one (blanks around it allowed); empty otherwise.
std::optional<double> ParseWhole(std::string_view text);
// ParseLeading, with 0 for a text that does not start with a number: what an edit field's text
// means as a number.
double ParseOrZero(std::string_view text);

// "%.<decimals>f".
std::string Fixed(double value, int decimals);
// "%.<precision>g".
std::string General(double value, int precision);
// A number as a field shows it: `decimals` decimals, trailing zeros and then a trailing "." removed
// ("1.5", "3", "-0.25"); never "-0"; empty for a value that is not finite.
std::string Trimmed(double value, int decimals = 6);

}  // namespace TAVHost::NumberText
