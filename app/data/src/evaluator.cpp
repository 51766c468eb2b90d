#include "kelda/data/evaluator.h"

#include "kelda/data/number_format.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <system_error>
#include <vector>

namespace kelda::data {

namespace {

enum class Fault {
    None,
    Blank,
    Parentheses,
    InvalidExpression,
    InvalidCharacters,
    Factorial,
    Hex,
    Overflow,
    DivisionByZero,
    InvalidOperation,
};

std::string_view messageOf(Fault fault) {
    switch (fault) {
    case Fault::Blank:
        return kMsgBlank;
    case Fault::Parentheses:
        return kMsgParentheses;
    case Fault::InvalidExpression:
        return kMsgInvalidExpression;
    case Fault::InvalidCharacters:
        return kMsgInvalidCharacters;
    case Fault::Factorial:
        return kMsgFactorial;
    case Fault::Hex:
        return kMsgHex;
    case Fault::Overflow:
        return kMsgOverflow;
    case Fault::DivisionByZero:
        return kMsgDivisionByZero;
    case Fault::InvalidOperation:
        return kMsgInvalidOperation;
    case Fault::None:
        break;
    }
    return {};
}

// A finite result passes; infinities are overflow and NaN an invalid operation,
// so that no non-finite value ever reaches a field or a table.
Fault checked(double value, double& out) {
    if (std::isnan(value)) return Fault::InvalidOperation;
    if (std::isinf(value)) return Fault::Overflow;
    out = value;
    return Fault::None;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// ---------------------------------------------------------------------------
// Numbers

enum class NumberRead { Ok, NotANumber, Overflow };

NumberRead readDecimal(std::string_view text, char separator, bool allowPlus, double& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || (allowPlus && text[i] == '+'))) negative = text[i++] == '-';
    const std::size_t mantissaStart = i;
    std::size_t digitCount = 0;
    // Decimal exponent of the first non-zero digit, to tell overflow from underflow.
    long long leadExponent = 0;
    bool seenNonZero = false;
    bool seenSeparator = false;
    long long integerDigits = 0;
    long long zerosAfterSeparator = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            ++digitCount;
            if (!seenSeparator) {
                if (seenNonZero || c != '0') ++integerDigits;
            } else if (!seenNonZero && c == '0') {
                ++zerosAfterSeparator;
            }
            if (c != '0') seenNonZero = true;
        } else if (c == separator && !seenSeparator) {
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (digitCount == 0) return NumberRead::NotANumber;
    const std::size_t mantissaEnd = i;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) negativeExponent = text[i++] == '-';
        const std::size_t exponentStart = i;
        for (; i < text.size() && isDigit(text[i]); ++i)
            if (exponent < 1'000'000'000) exponent = exponent * 10 + (text[i] - '0');
        if (i == exponentStart) return NumberRead::NotANumber;
        if (negativeExponent) exponent = -exponent;
    }
    if (i != text.size()) return NumberRead::NotANumber;
    if (!seenNonZero) {
        value = negative ? -0.0 : 0.0;
        return NumberRead::Ok;
    }
    leadExponent = exponent + (integerDigits > 0 ? integerDigits - 1 : -(zerosAfterSeparator + 1));
    if (leadExponent > 400) return NumberRead::Overflow;
    if (leadExponent < -400) {
        value = negative ? -0.0 : 0.0;
        return NumberRead::Ok;
    }

    // std::from_chars reads '.' whatever the locale: hand it the text with the
    // separator replaced. Long inputs are rare; short ones stay on the stack.
    std::array<char, 64> local{};
    std::string heap;
    char* buffer = local.data();
    const std::size_t length = text.size() - mantissaStart;
    if (length > local.size()) {
        heap.resize(length);
        buffer = heap.data();
    }
    for (std::size_t k = mantissaStart; k < text.size(); ++k)
        buffer[k - mantissaStart] = (k < mantissaEnd && text[k] == separator) ? '.' : text[k];
    double magnitude = 0.0;
    const auto [end, error] = std::from_chars(buffer, buffer + length, magnitude);
    if (error == std::errc::result_out_of_range) {
        if (leadExponent > 0) return NumberRead::Overflow;
        magnitude = 0.0;
    } else if (error != std::errc() || end != buffer + length) {
        return NumberRead::NotANumber;
    }
    if (std::isinf(magnitude)) return NumberRead::Overflow;
    value = negative ? -magnitude : magnitude;
    return NumberRead::Ok;
}

// ---------------------------------------------------------------------------
// Operands

enum class Function {
    ArcTanH,
    ArcTan,
    CoTan,
    TanH,
    Tan,
    ArcCosH,
    ArcCos,
    CosH,
    Cos,
    Sec,
    ArcSinH,
    ArcSin,
    SinH,
    Sin,
    CoSec,
    Abs,
    Frac,
    Int,
    Ln,
    Round,
    Ceil,
    Floor,
    Log,
    Sqrt,
};

struct FunctionName {
    std::string_view name;
    Function function;
};

// Sorted longest first, so that a name that begins another ("arctan" and
// "arctanh", "cos" and "cosec") is only taken when the longer one does not fit.
constexpr std::array<FunctionName, 25> kFunctions{{
    {"arctanh", Function::ArcTanH}, {"arccosh", Function::ArcCosH}, {"arcsinh", Function::ArcSinH},
    {"arctan", Function::ArcTan},   {"arccos", Function::ArcCos},   {"arcsin", Function::ArcSin},
    {"cotan", Function::CoTan},     {"cosec", Function::CoSec},     {"round", Function::Round},
    {"floor", Function::Floor},     {"tanh", Function::TanH},       {"cosh", Function::CosH},
    {"sinh", Function::SinH},       {"frac", Function::Frac},       {"ceil", Function::Ceil},
    {"sqrt", Function::Sqrt},       {"tan", Function::Tan},         {"cos", Function::Cos},
    {"sec", Function::Sec},         {"sin", Function::Sin},         {"csc", Function::CoSec},
    {"abs", Function::Abs},         {"int", Function::Int},         {"log", Function::Log},
    {"ln", Function::Ln},
}};

// The length of the function name that `text` (lower case) starts with, or 0.
std::size_t functionPrefix(std::string_view text, Function* function) {
    for (const FunctionName& f : kFunctions) {
        if (text.substr(0, f.name.size()) == f.name) {
            if (function != nullptr) *function = f.function;
            return f.name.size();
        }
    }
    return 0;
}

// Case-blind variant for the sign test, which looks at the text before lowering.
bool isFunctionChain(std::string_view text) {
    while (!text.empty() && text.front() == '-') text.remove_prefix(1);
    if (text.empty()) return false;
    char lowered[8];
    while (!text.empty()) {
        std::size_t matched = 0;
        for (const FunctionName& f : kFunctions) {
            if (text.size() < f.name.size()) continue;
            for (std::size_t k = 0; k < f.name.size(); ++k) lowered[k] = lower(text[k]);
            if (std::string_view(lowered, f.name.size()) == f.name) {
                matched = f.name.size();
                break;
            }
        }
        if (matched == 0) return false;
        text.remove_prefix(matched);
    }
    return true;
}

Fault applyFunction(Function f, double x, double& out) {
    switch (f) {
    case Function::ArcTanH:
        // The inverse hyperbolic tangent is infinite at ±1 and undefined beyond.
        if (std::fabs(x) >= 1.0) return Fault::InvalidOperation;
        return checked(std::atanh(x), out);
    case Function::ArcTan:
        return checked(std::atan(x), out);
    case Function::CoTan: {
        const double t = std::tan(x);
        if (t == 0.0) return Fault::DivisionByZero;
        return checked(1.0 / t, out);
    }
    case Function::TanH:
        return checked(std::tanh(x), out);
    case Function::Tan:
        return checked(std::tan(x), out);
    // Values up to 1 give 0 rather than an error, as users of the field expect.
    case Function::ArcCosH:
        return checked(x <= 1.0 ? 0.0 : std::acosh(x), out);
    case Function::ArcCos:
        return checked(std::acos(x), out);
    case Function::CosH:
        return checked(std::cosh(x), out);
    case Function::Cos:
        return checked(std::cos(x), out);
    case Function::Sec: {
        const double c = std::cos(x);
        if (c == 0.0) return Fault::DivisionByZero;
        return checked(1.0 / c, out);
    }
    case Function::ArcSinH:
        return checked(std::asinh(x), out);
    case Function::ArcSin:
        return checked(std::asin(x), out);
    case Function::SinH:
        return checked(std::sinh(x), out);
    case Function::Sin:
        return checked(std::sin(x), out);
    case Function::CoSec: {
        const double s = std::sin(x);
        if (s == 0.0) return Fault::DivisionByZero;
        return checked(1.0 / s, out);
    }
    case Function::Abs:
        return checked(std::fabs(x), out);
    case Function::Frac:
        return checked(x - std::trunc(x), out);
    case Function::Int:
        return checked(std::trunc(x), out);
    case Function::Ln:
        if (x <= 0.0) return Fault::InvalidOperation;
        return checked(std::log(x), out);
    case Function::Round:
        return checked(std::round(x), out);
    case Function::Ceil:
        return checked(std::ceil(x), out);
    case Function::Floor:
        return checked(std::floor(x), out);
    case Function::Log:
        if (x <= 0.0) return Fault::InvalidOperation;
        return checked(std::log10(x), out);
    case Function::Sqrt:
        if (x < 0.0) return Fault::InvalidOperation;
        return checked(std::sqrt(x), out);
    }
    return Fault::InvalidOperation;
}

// Whole numbers are recognised with the same 1e-10 allowance as integer cells,
// so that (0.1*30)! is 3! although 0.1*30 is 3.0000000000000004 in binary.
bool nearestInteger(double x, double& whole) {
    whole = std::round(x);
    return std::fabs(x - whole) <= 1e-10;
}

Fault factorial(double x, double& out) {
    double n = 0.0;
    if (!nearestInteger(x, n)) return Fault::Factorial;
    const double magnitude = std::fabs(n);
    if (magnitude > 170.0) return Fault::Overflow; // 171! exceeds the double range
    double product = 1.0;
    for (int k = 2; k <= static_cast<int>(magnitude); ++k) product *= k;
    out = n < 0 ? -product : product;
    return Fault::None;
}

Fault readHex(std::string_view digits, double& out) {
    if (digits.empty()) return Fault::Hex;
    double value = 0.0;
    for (const char c : digits) {
        int d = 0;
        if (isDigit(c))
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else
            return Fault::Hex;
        value = value * 16.0 + d;
    }
    return checked(value, out);
}

enum class StepKind { Function, Factorial, Negate };
struct Step {
    StepKind kind;
    Function function;
};

// Evaluates one operand. Prefixes (functions, a leading minus) and suffixes
// ("!") are peeled off in a loop and applied afterwards innermost first, so a
// chain as long as the text costs no recursion.
Fault evaluateOperand(std::string_view raw, char separator, double& out) {
    // Case is ignored, and every "--" is removed (a double sign is no sign).
    std::string text;
    text.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '-' && i + 1 < raw.size() && raw[i + 1] == '-') {
            ++i;
            continue;
        }
        text += lower(raw[i]);
    }

    std::vector<Step> steps;
    std::string_view rest = text;
    double value = 0.0;
    for (;;) {
        if (rest == "pi") {
            value = std::numbers::pi;
            break;
        }
        if (rest == "-pi") {
            value = -std::numbers::pi;
            break;
        }
        if (rest == "e") {
            value = std::numbers::e;
            break;
        }
        if (rest == "-e") {
            value = -std::numbers::e;
            break;
        }
        Function function{};
        if (const std::size_t length = functionPrefix(rest, &function); length > 0) {
            steps.push_back({StepKind::Function, function});
            rest.remove_prefix(length);
            if (rest.empty()) return Fault::InvalidCharacters;
            continue;
        }
        if (rest.size() > 1 && rest.back() == '!') {
            steps.push_back({StepKind::Factorial, {}});
            rest.remove_suffix(1);
            continue;
        }
        if (!rest.empty() && rest.front() == '$') {
            if (const Fault f = readHex(rest.substr(1), value); f != Fault::None) return f;
            break;
        }
        const NumberRead read = readDecimal(rest, separator, false, value);
        if (read == NumberRead::Ok) break;
        if (read == NumberRead::Overflow) return Fault::Overflow;
        // A leading minus before anything but a plain number ("-sqrt4", "-$10")
        // negates the operand that follows.
        if (rest.size() > 1 && rest.front() == '-') {
            steps.push_back({StepKind::Negate, {}});
            rest.remove_prefix(1);
            continue;
        }
        return Fault::InvalidCharacters;
    }
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        Fault f = Fault::None;
        switch (step->kind) {
        case StepKind::Function:
            f = applyFunction(step->function, value, value);
            break;
        case StepKind::Factorial:
            f = factorial(value, value);
            break;
        case StepKind::Negate:
            value = -value;
            break;
        }
        if (f != Fault::None) return f;
    }
    out = value;
    return Fault::None;
}

// ---------------------------------------------------------------------------
// Operators

bool isOperatorChar(char c) {
    return c == '^' || c == '*' || c == '/' || c == '%' || c == '+' || c == '=' || c == '|' || c == '&';
}

// Is the '-' at `i` a sign? `operandStart` is where the current operand began.
bool isSign(std::string_view text, std::size_t i, std::size_t operandStart, char separator) {
    if (i == operandStart) return true;
    const char before = text[i - 1];
    if (isOperatorChar(before) || before == '-') return true;
    if (before == 'E' || before == 'e') {
        // The exponent of a number ("1E-5"), not Euler's number ("e-1") and not
        // a hexadecimal digit ("$1E-5").
        if (i >= 2 && i - 2 >= operandStart && (isDigit(text[i - 2]) || text[i - 2] == separator) &&
            text[operandStart] != '$')
            return true;
    }
    return isFunctionChain(text.substr(operandStart, i - operandStart));
}

struct Operand {
    std::string_view text;
    double value = 0.0;
    bool evaluated = false;
};

Fault valueOf(Operand& operand, char separator, double& out) {
    if (!operand.evaluated) {
        if (const Fault f = evaluateOperand(operand.text, separator, operand.value); f != Fault::None)
            return f;
        operand.evaluated = true;
    }
    out = operand.value;
    return Fault::None;
}

Fault applyOperator(char op, double a, double b, double& out) {
    switch (op) {
    case '^':
        return checked(std::pow(a, b), out);
    case '*':
        return checked(a * b, out);
    case '/':
        if (b == 0.0) return a == 0.0 ? Fault::InvalidOperation : Fault::DivisionByZero;
        return checked(a / b, out);
    case '%': {
        const double divisor = std::trunc(b);
        if (divisor == 0.0) return Fault::DivisionByZero;
        return checked(std::fmod(std::trunc(a), divisor), out);
    }
    case '&':
        out = (a != 0.0 && b != 0.0) ? 1.0 : 0.0;
        return Fault::None;
    case '+':
        return checked(a + b, out);
    case '-':
        return checked(a - b, out);
    case '|':
        out = (a != 0.0 || b != 0.0) ? 1.0 : 0.0;
        return Fault::None;
    case '=':
        out = a == b ? 1.0 : 0.0;
        return Fault::None;
    default:
        return Fault::InvalidExpression;
    }
}

constexpr std::array<std::string_view, 4> kPasses{"^", "*/%&", "+-|", "="};

// Evaluates text without parentheses.
Fault evaluateFlat(std::string_view text, char separator, double& out) {
    if (text.empty()) return Fault::Blank;
    std::vector<Operand> operands;
    std::vector<char> operators;
    std::size_t operandStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool isOperator = isOperatorChar(c) || (c == '-' && !isSign(text, i, operandStart, separator));
        if (!isOperator) continue;
        operands.push_back({text.substr(operandStart, i - operandStart)});
        operators.push_back(c);
        operandStart = i + 1;
    }
    operands.push_back({text.substr(operandStart)});
    for (const Operand& operand : operands)
        if (operand.text.empty()) return Fault::InvalidExpression;

    for (const std::string_view pass : kPasses) {
        std::size_t kept = 0; // operands[0..kept] and operators[0..kept) are the compacted result
        for (std::size_t k = 0; k < operators.size(); ++k) {
            if (pass.find(operators[k]) == std::string_view::npos) {
                operators[kept] = operators[k];
                operands[++kept] = operands[k + 1];
                continue;
            }
            double a = 0.0;
            double b = 0.0;
            if (const Fault f = valueOf(operands[kept], separator, a); f != Fault::None) return f;
            if (const Fault f = valueOf(operands[k + 1], separator, b); f != Fault::None) return f;
            Operand result;
            if (const Fault f = applyOperator(operators[k], a, b, result.value); f != Fault::None) return f;
            result.evaluated = true;
            operands[kept] = result;
        }
        operators.resize(kept);
        operands.resize(kept + 1);
    }
    return valueOf(operands.front(), separator, out);
}

Fault evaluate(std::string_view input, char separator, double& out) {
    std::string work;
    work.reserve(input.size());
    std::vector<std::size_t> open; // positions in `work` of the "(" not yet closed
    for (const char c : input) {
        if (c == ' ' || c == '\t') continue;
        if (c == '(') {
            open.push_back(work.size());
            work += c;
        } else if (c == ')') {
            if (open.empty()) return Fault::Parentheses;
            const std::size_t at = open.back();
            open.pop_back();
            double value = 0.0;
            if (const Fault f = evaluateFlat(std::string_view(work).substr(at + 1), separator, value);
                f != Fault::None)
                return f;
            work.resize(at);
            work += FormatExact(value, separator);
        } else {
            work += c;
        }
    }
    if (work.empty()) return Fault::Blank;
    return evaluateFlat(work, separator, out);
}

} // namespace

EvalResult Evaluate(std::string_view text, char decimalSeparator) {
    EvalResult result;
    const Fault fault = evaluate(text, decimalSeparator, result.value);
    result.ok = fault == Fault::None;
    if (!result.ok) {
        result.value = 0.0;
        result.message = messageOf(fault);
    }
    return result;
}

EvalResult Evaluate(std::string_view text) {
    return Evaluate(text, DecimalSeparator());
}

bool ParseDecimal(std::string_view text, char decimalSeparator, bool allowPlus, double& value) {
    return readDecimal(text, decimalSeparator, allowPlus, value) == NumberRead::Ok;
}

} // namespace kelda::data
