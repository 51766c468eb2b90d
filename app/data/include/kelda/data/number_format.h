// Text forms of real numbers in the project data layer, and the one place that
// knows which decimal separator the user types.
#pragma once

#include <string>

namespace kelda::data {

// The decimal separator of the user's numeric locale (LC_NUMERIC), as reported by
// localeconv(). Numbers typed into fields and table cells, and the numbers shown
// there, use it; files always use '.'. A locale whose separator is not a single
// byte falls back to '.'. Callers read it once per entry and pass it down, so the
// evaluator itself never consults global state.
char DecimalSeparator();

// General format with `significantDigits` significant digits: fixed notation when
// the rounded value is 0, or when its magnitude is at least 0.0001 and it has at
// most `significantDigits` digits before the decimal point; otherwise scientific
// ("1E-5", "1.2345679E8": no plus sign, no leading zeros in the exponent).
// Trailing zeros are never shown. Non-finite values give "INF", "-INF" or "NAN".
// FormatGeneral(x, 8, '.') is the real-number form of the wall data file.
std::string FormatGeneral(double value, int significantDigits, char separator);

// General format at the full precision of a double: the fewest significant digits
// (at most 17) that read back as exactly the same value, laid out like
// FormatGeneral with up to 18 digits before the decimal point. This is the form
// in which the evaluator substitutes a bracket's value and in which numeric entry
// fields show their values: it never changes the value it shows, and it shows
// 0.1 as "0.1" rather than the binary noise a fixed digit count would reveal.
std::string FormatExact(double value, char separator);

} // namespace kelda::data
