#include "kelda/data/number_format.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <string_view>
#include <system_error>

namespace kelda::data {

namespace {

// Lays out the decimal digits `digits` (no leading or trailing zeros, at least one
// digit) of a number d.ddd × 10^exponent.
std::string layOut(bool negative, std::string_view digits, int exponent, int maxIntegerDigits,
                   char separator) {
    std::string out;
    if (negative) out += '-';
    const bool fixed = exponent >= -4 && exponent < maxIntegerDigits;
    if (fixed) {
        if (exponent >= 0) {
            const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
            if (digits.size() <= integerDigits) {
                out += digits;
                out.append(integerDigits - digits.size(), '0');
            } else {
                out += digits.substr(0, integerDigits);
                out += separator;
                out += digits.substr(integerDigits);
            }
        } else {
            out += '0';
            out += separator;
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        }
        return out;
    }
    out += digits[0];
    if (digits.size() > 1) {
        out += separator;
        out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
    return out;
}

// Splits the output of std::to_chars in scientific form ("1.2345e+08") into its
// significant digits without trailing zeros and its decimal exponent.
std::string format(double value, int precision, int maxIntegerDigits, char separator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0.0) return "0";
    char buffer[64];
    const double magnitude = std::fabs(value);
    const std::to_chars_result result =
        precision > 0
            ? std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                            precision - 1)
            : std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    std::string digits;
    for (const char c : text.substr(0, e))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    int exponent = 0;
    const std::string_view exponentText = text.substr(e + 1);
    const bool negativeExponent = exponentText.front() == '-';
    std::from_chars(exponentText.data() + 1, exponentText.data() + exponentText.size(), exponent);
    if (negativeExponent) exponent = -exponent;
    return layOut(value < 0, digits, exponent, maxIntegerDigits, separator);
}

} // namespace

char DecimalSeparator() {
    const std::lconv* conventions = std::localeconv();
    if (conventions == nullptr || conventions->decimal_point == nullptr) return '.';
    const char* point = conventions->decimal_point;
    if (std::strlen(point) != 1 || static_cast<unsigned char>(point[0]) >= 0x80) return '.';
    return point[0];
}

std::string FormatGeneral(double value, int significantDigits, char separator) {
    const int digits = significantDigits < 1 ? 1 : (significantDigits > 17 ? 17 : significantDigits);
    return format(value, digits, significantDigits < 1 ? 1 : significantDigits, separator);
}

std::string FormatExact(double value, char separator) {
    return format(value, 0, 18, separator);
}

} // namespace kelda::data
