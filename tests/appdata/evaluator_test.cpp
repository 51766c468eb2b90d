#include "kelda/data/evaluator.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <numbers>
#include <string>

namespace kelda::data {
namespace {

struct ValueCase {
    const char* text;
    double expected;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class EvaluateValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(EvaluateValueTest, GivesTheValue) {
    const ValueCase& c = GetParam();
    const EvalResult r = Evaluate(c.text, '.');
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_NEAR(r.value, c.expected, 1e-12 * std::max(1.0, std::fabs(c.expected)));
}

constexpr double kPi = std::numbers::pi;

INSTANTIATE_TEST_SUITE_P(
    Rules, EvaluateValueTest,
    ::testing::Values(
        ValueCase{"42", 42}, ValueCase{" 1 2\t", 12}, ValueCase{"12*3.5+sqrt(2)/2", 42 + std::sqrt(2.0) / 2},
        // operator passes, each left to right
        ValueCase{"2^3^2", 64}, ValueCase{"1+2*3", 7}, ValueCase{"8/2/2", 2}, ValueCase{"2-3", -1},
        ValueCase{"10-2-3", 5}, ValueCase{"2*3^2", 18}, ValueCase{"1+1=2", 1}, ValueCase{"1+1=3", 0},
        ValueCase{"0|3", 1}, ValueCase{"0|0", 0}, ValueCase{"2&0", 0}, ValueCase{"2&5", 1},
        ValueCase{"10%4", 2}, ValueCase{"7.9%2", 1}, ValueCase{"-7%3", -1},
        // signs
        ValueCase{"2*-3", -6}, ValueCase{"-2^2", 4}, ValueCase{"1E-5", 1e-5}, ValueCase{"2.5e-3*2", 5e-3},
        ValueCase{"2^-1", 0.5}, ValueCase{"2-(-3)", 5}, ValueCase{"--3", 3}, ValueCase{"2*(-(-3))", 6},
        ValueCase{"e-1", std::numbers::e - 1}, ValueCase{"2*sin(-1)", 2 * std::sin(-1.0)},
        ValueCase{"sin-1", std::sin(-1.0)}, ValueCase{"-sqrt(4)", -2}, ValueCase{"$1E-5", 25},
        // parentheses become their values in the text
        ValueCase{"(2)(3)", 23}, ValueCase{"((((1+1))))*2", 4}, ValueCase{"(1+2)*(3+4)", 21},
        // operands
        ValueCase{"pi", kPi}, ValueCase{"-PI", -kPi}, ValueCase{"E", std::numbers::e},
        ValueCase{"-e", -std::numbers::e}, ValueCase{"sin(pi/2)", 1}, ValueCase{"arcsin(1)", kPi / 2},
        ValueCase{"arccos(1)", 0}, ValueCase{"arctan1", kPi / 4}, ValueCase{"arctanh(0.5)", std::atanh(0.5)},
        ValueCase{"tanh1", std::tanh(1.0)}, ValueCase{"cotan1", 1 / std::tan(1.0)}, ValueCase{"sec0", 1},
        ValueCase{"cosec(pi/2)", 1}, ValueCase{"csc(pi/2)", 1}, ValueCase{"cosh0", 1}, ValueCase{"sinh0", 0},
        ValueCase{"arcsinh0", 0}, ValueCase{"arccosh(0.5)", 0}, ValueCase{"arccosh2", std::acosh(2.0)},
        ValueCase{"abs-3", 3}, ValueCase{"frac(-2.75)", -0.75}, ValueCase{"int(-2.75)", -2},
        ValueCase{"ln(e)", 1}, ValueCase{"round2.6", 3}, ValueCase{"ceil2.1", 3}, ValueCase{"floor-2.1", -3},
        ValueCase{"log1000", 3}, ValueCase{"SQRT16", 4}, ValueCase{"sinsin0", 0}, ValueCase{"3!", 6},
        ValueCase{"0!", 1}, ValueCase{"-3!", -6}, ValueCase{"3!!", 720}, ValueCase{"(0.1*30)!", 6},
        ValueCase{"$FF", 255}, ValueCase{"$ff+1", 256}, ValueCase{"-$10", -16},
        // magnitudes
        ValueCase{"1E308", 1e308}, ValueCase{"1E-400", 0},
        ValueCase{"0.000000000000000000000000001e-320", 0}));

struct FailureCase {
    const char* text;
    std::string_view message;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class EvaluateFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(EvaluateFailureTest, GivesTheMessage) {
    const FailureCase& c = GetParam();
    const EvalResult r = Evaluate(c.text, '.');
    EXPECT_FALSE(r.ok) << r.value;
    EXPECT_EQ(r.message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, EvaluateFailureTest,
    ::testing::Values(
        FailureCase{"", kMsgBlank}, FailureCase{"  \t ", kMsgBlank}, FailureCase{"2*()", kMsgBlank},
        FailureCase{"((2)", kMsgInvalidCharacters}, FailureCase{"(2))", kMsgParentheses},
        FailureCase{")(", kMsgParentheses}, FailureCase{"((((", kMsgInvalidCharacters},
        FailureCase{"2*", kMsgInvalidExpression}, FailureCase{"*2", kMsgInvalidExpression},
        FailureCase{"2**3", kMsgInvalidExpression}, FailureCase{"+5", kMsgInvalidExpression},
        FailureCase{"abc", kMsgInvalidCharacters}, FailureCase{"sin", kMsgInvalidCharacters},
        FailureCase{"1.2.3", kMsgInvalidCharacters}, FailureCase{"1,5", kMsgInvalidCharacters},
        FailureCase{"\xc3\xa9", kMsgInvalidCharacters}, FailureCase{"1E", kMsgInvalidCharacters},
        FailureCase{"2.5!", kMsgFactorial}, FailureCase{"$", kMsgHex}, FailureCase{"$12G", kMsgHex},
        FailureCase{"1/0", kMsgDivisionByZero}, FailureCase{"0/0", kMsgInvalidOperation},
        FailureCase{"5%0.5", kMsgDivisionByZero}, FailureCase{"1E999999", kMsgOverflow},
        FailureCase{"1E308*10", kMsgOverflow}, FailureCase{"2^99999", kMsgOverflow},
        FailureCase{"171!", kMsgOverflow}, FailureCase{"1e99999999999999999999!", kMsgOverflow},
        FailureCase{"sqrt(-1)", kMsgInvalidOperation}, FailureCase{"ln0", kMsgInvalidOperation},
        FailureCase{"arctanh1", kMsgInvalidOperation}, FailureCase{"arctanh(-2)", kMsgInvalidOperation},
        FailureCase{"cotan0", kMsgDivisionByZero}, FailureCase{"(1/0))", kMsgDivisionByZero}));

TEST(EvaluateSeparatorTest, CommaLocaleReadsAndSubstitutesWithComma) {
    EXPECT_DOUBLE_EQ(Evaluate("1,5*2", ',').value, 3.0);
    EXPECT_DOUBLE_EQ(Evaluate("(0,5)*3", ',').value, 1.5);
    // A bracket with a fractional value is put back with the same separator.
    EXPECT_DOUBLE_EQ(Evaluate("(1/4)+1", ',').value, 1.25);
    EXPECT_DOUBLE_EQ(Evaluate("2,5E-3", ',').value, 2.5e-3);
    EXPECT_EQ(Evaluate("1.5", ',').message, kMsgInvalidCharacters);
}

TEST(EvaluateSeparatorTest, DefaultUsesTheLocaleSeparator) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_DOUBLE_EQ(Evaluate("1.5+1").value, 2.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

// Text a person can type or paste: the answer is a value or a message, quickly.
TEST(EvaluateBadInputTest, LongAndDeepTextEndsInAnAnswer) {
    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    EXPECT_DOUBLE_EQ(Evaluate(deep, '.').value, 1.0);
    EXPECT_EQ(Evaluate(std::string(10000, '('), '.').message, kMsgInvalidCharacters);
    EXPECT_EQ(Evaluate(std::string(10000, ')'), '.').message, kMsgParentheses);

    std::string sum = "1";
    while (sum.size() < 10000) sum += "+1";
    EXPECT_DOUBLE_EQ(Evaluate(sum, '.').value, static_cast<double>((sum.size() + 1) / 2));

    std::string chain;
    while (chain.size() < 10000) chain += "sin";
    EXPECT_NEAR(Evaluate(chain + "1", '.').value, 0.0, 0.1);
    EXPECT_EQ(Evaluate(std::string(10000, '9'), '.').message, kMsgOverflow);
    EXPECT_EQ(Evaluate("3" + std::string(10000, '!'), '.').message, kMsgOverflow);
    EXPECT_EQ(Evaluate(std::string(10000, '-') + "1", '.').value, 1.0);
}

} // namespace
} // namespace kelda::data
