// The expression evaluator behind every number a user types into a field or a
// table cell: a plain number or a formula such as 12*3.5 or sqrt(2)/2.
//
// Rules, in the order they apply:
//  1. Empty text is an error; blanks and TABs are removed.
//  2. Each bracketed group, innermost first and left to right, is evaluated and
//     replaced in the text by its value in FormatExact form (so "2*(-3)" becomes
//     "2*-3" and "(2)(3)" becomes "23"). A ")" without a "(" before it is an
//     error; a "(" left over stays in the text and fails as an invalid character.
//  3. A "-" is a sign (part of its operand) at the start of an operand, after any
//     operator character (% & * + - / = ^ |), after the "E" of a number's
//     exponent, and after a function name; otherwise it is a subtraction.
//  4. Operators are applied in four passes, each left to right: "^"; then "*",
//     "/", "%" (remainder of the operands cut to whole numbers), "&"; then "+",
//     "-", "|"; then "=". So 2^3^2 is (2^3)^2 = 64.
//  5. Operands: pi, e, the functions (longest name first), "n!" factorial,
//     "$hex", or a decimal number with the user's decimal separator.
//
// The evaluator never recurses on its input and never throws: bad text, however
// long or strange, ends in one of the messages below.
#pragma once

#include <string>
#include <string_view>

namespace kelda::data {

// Line breaks inside messages are '\n'.
inline constexpr std::string_view kMsgBlank = "Entry could not be evaluated:\nentry cannot be blank";
inline constexpr std::string_view kMsgParentheses =
    "Entry could not be evaluated:\n() (parentheses) do not match";
inline constexpr std::string_view kMsgInvalidExpression = "Entry could not be evaluated:\ninvalid expression";
inline constexpr std::string_view kMsgInvalidCharacters =
    "Entry could not be evaluated:\ninvalid character(s) in expression";
inline constexpr std::string_view kMsgFactorial =
    "Entry could not be evaluated:\n! (factoral) applicable to integers only";
inline constexpr std::string_view kMsgHex = "Entry could not be evaluated:\ninvalid use of $ (hex function)";
// Arithmetic faults; the value held by the caller stays unchanged.
inline constexpr std::string_view kMsgOverflow = "Floating point overflow";
inline constexpr std::string_view kMsgDivisionByZero = "Floating point division by zero";
inline constexpr std::string_view kMsgInvalidOperation = "Invalid floating point operation";

// The result of an evaluation: a finite value, or a message for the user.
struct EvalResult {
    bool ok = false;
    double value = 0.0;
    std::string message;

    explicit operator bool() const { return ok; }
};

// Evaluates `text` with `decimalSeparator` as the decimal separator of numbers.
EvalResult Evaluate(std::string_view text, char decimalSeparator);

// Evaluates `text` with the decimal separator of the user's locale.
EvalResult Evaluate(std::string_view text);

// Reads a complete decimal number: optional sign ("-", and "+" when `allowPlus`),
// digits with at most one `decimalSeparator`, optional exponent ("E" or "e",
// optional sign, digits). Values too small for a double read as 0; values too
// large are rejected. Returns false unless the whole text is such a number.
bool ParseDecimal(std::string_view text, char decimalSeparator, bool allowPlus, double& value);

} // namespace kelda::data
