// Direct checks of the layout parser and of the single edit descriptors; the
// numeric output as such is checked against gfortran by the oracle test.

#include "line_layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace L = kelda::layout;

struct LayoutCase {
    const char* name;
    const char* layout;
    std::vector<L::Arg> args;
    const char* expected;
};

// Test names show the case name rather than the bytes of the case.
void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class LayoutCases : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutCases, Formats) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(L::format(c.layout, c.args), c.expected) << "layout: " << c.layout;
}

const std::string kTitle = "TITLE";

INSTANTIATE_TEST_SUITE_P(
    LineLayout, LayoutCases,
    ::testing::Values(
        // Blanks and commas separate items alike; the outer brackets are optional.
        LayoutCase{"Blanks", "( I2 2X A3 )", {7, "ab"}, " 7   ab\n"},
        LayoutCase{"Commas", "I2,2X,A3", {7, "ab"}, " 7   ab\n"},
        LayoutCase{"MixedSeparators", R"("   STA", 3X I4,2X , F5.1)", {3, 2.5}, "   STA      3    2.5\n"},
        // A blank ends a number: "I2 2X" is I2 followed by 2X, never I22.
        LayoutCase{"BlankEndsWidth", "I2 2X I1", {1, 2}, " 1  2\n"},
        LayoutCase{"NoSeparatorNeeded", "I2'|'2X/'x'", {5}, " 5|\nx\n"},
        LayoutCase{"LowerCase", "(i2,f5.1,e9.2,d9.2,a2,l2,1x)", {1, 1.0, 1.0, 1.0, "s", true},
                   " 1  1.0 0.10E+01 0.10D+01 s T\n"},
        // Literals: either quote, the other quote inside freely, doubled own quote.
        LayoutCase{"DoubleQuotedLiteral", R"("say ""hi"" it's")", {}, "say \"hi\" it's\n"},
        LayoutCase{"SingleQuotedLiteral", "'S'' ' 'x'", {}, "S' x\n"},
        LayoutCase{"LiteralWithBrackets", "( 'a(b)' ')' )", {}, "a(b))\n"},
        LayoutCase{"TwoGroupsNoOuterBrackets", "(I2)(I3)", {1, 2, 3}, " 1  2\n  3\n"},
        // Values left at the end: a new line and back to the last top-level group.
        LayoutCase{"RevertToLastGroup", "'h' I2 2( I2 ) 'e'", {1, 2, 3, 4, 5}, "h 1 2 3e\n 4 5e\n"},
        LayoutCase{"RevertToStart", "'>' I2", {1, 2}, "> 1\n> 2\n"},
        LayoutCase{"RevertNested", "I1 ( I1 2( 'x' I1 ) )", {1, 2, 3, 4, 5, 6, 7}, "12x3x4\n5x6x7\n"},
        // No value left: stop at the next data item, after what comes before it.
        LayoutCase{"StopAtMissingValue", "I2 'a' / 'b' I2 'c'", {1}, " 1a\nb\n"},
        LayoutCase{"StopInsideRepeat", "3I3 'end'", {1, 2}, "  1  2\n"},
        LayoutCase{"NoValuesAtAll", "( / 'x' I2 'y' )", {}, "\nx\n"},
        // Blanks skipped by X are written only when something follows.
        LayoutCase{"TrailingSkipDropped", "A 4X", {"ab"}, "ab\n"},
        LayoutCase{"SkipBeforeSlashDropped", "A 4X / 2X 'c'", {"ab"}, "ab\n  c\n"},
        LayoutCase{"SkipBeforeEmptyText", "A 4X A", {"ab", ""}, "ab    \n"},
        LayoutCase{"LiteralKeepsTrailingBlanks", "'ab  '", {}, "ab  \n"},
        LayoutCase{"SlashRepeat", "'a' 3/ 'b'", {}, "a\n\n\nb\n"},
        LayoutCase{"EmptyLayout", "", {}, "\n"},
        LayoutCase{"WholeTextWithoutWidth", "'[' A ']'", {kTitle}, "[TITLE]\n"}),
    [](const ::testing::TestParamInfo<LayoutCase>& p) { return std::string(p.param.name); });

TEST(LineLayout, WriteSendsTheSameLinesToAStream) {
    std::ostringstream out;
    L::write(out, "( / 6X 'Stage No :' I2 2X A5 )", {12, "WALL"});
    L::write(out, "F7.3", {0.9995});
    EXPECT_EQ(out.str(), "\n      Stage No :12   WALL\n  1.000\n");
}

// A write longer than the room kept in place for one write (a few kilobytes)
// carries on on the heap: the text stays that of format(), whether the room
// runs out inside a line of numbers or at one long text.
TEST(LineLayout, LongWritesGiveTheSameTextAsFormat) {
    std::vector<L::Arg> values;
    for (int i = 0; i < 400; ++i) values.emplace_back(1.0e-3 * i - 0.1);
    const std::string longText(5000, 'x');
    std::vector<L::Arg> text{"head", longText};
    for (const auto& [layout, args] : {std::pair{std::string_view("( 'row' 5E12.3 )"), &values},
                                       std::pair{std::string_view("( A / A 'end' )"), &text}}) {
        std::ostringstream out;
        L::write(out, layout, *args);
        EXPECT_EQ(out.str(), L::format(layout, *args)) << layout;
        EXPECT_GT(out.str().size(), 4096U) << layout;
    }
}

TEST(LineLayout, EditDescriptorsGiveExactlyTheirWidth) {
    EXPECT_EQ(L::editI(-45, 4), " -45");
    EXPECT_EQ(L::editI(12345, 4), "****");
    EXPECT_EQ(L::editF(0.9995, 7, 3), "  1.000");
    EXPECT_EQ(L::editF(1234.567, 7, 3), "*******");
    EXPECT_EQ(L::editF(-0.0001, 7, 3), " -0.000");
    EXPECT_EQ(L::editF(0.5, 4, 3), ".500");
    EXPECT_EQ(L::editF(1e300, 7, 3), "*******");
    EXPECT_EQ(L::editE(-12345.6, 10, 3), "-0.123E+05");
    EXPECT_EQ(L::editE(9.9995e5, 10, 3), " 0.100E+07");
    EXPECT_EQ(L::editE(1.5e100, 10, 3), " 0.150+101");
    EXPECT_EQ(L::editE(-1e-101, 10, 3, 'D'), "-0.100-100");
    EXPECT_EQ(L::editE(0.0, 10, 3, 'D'), " 0.000D+00");
    EXPECT_EQ(L::editE(-0.123, 9, 3), "-.123E+00");
    EXPECT_EQ(L::editE(std::numeric_limits<double>::infinity(), 10, 3), "  Infinity");
    EXPECT_EQ(L::editE(-std::numeric_limits<double>::infinity(), 3, 1), "***");
    EXPECT_EQ(L::editF(std::numeric_limits<double>::quiet_NaN(), 7, 3), "    NaN");
    EXPECT_EQ(L::editA("abcdef", 3), "abc");
    EXPECT_EQ(L::editA("ab", 4), "  ab");
    EXPECT_EQ(L::editA("abcdef", 0), "abcdef");
    EXPECT_EQ(L::editL(false, 3), "  F");
}

TEST(LineLayout, WideFieldsAreExact) {
    // Beyond the internal number buffer: still the exact decimal expansion.
    const std::string f = L::editF(0.1, 200, 150);
    ASSERT_EQ(f.size(), 200u);
    EXPECT_EQ(f.find_first_not_of(' '), 48u);
    EXPECT_EQ(f.substr(48, 24), "0.1000000000000000055511");
    const std::string e = L::editE(1.0 / 3.0, 200, 190);
    EXPECT_EQ(e.substr(0, 12), "    0.333333");
    EXPECT_EQ(e.substr(196), "E+00");
    const std::string big = L::editF(1e300, 400, 2);
    EXPECT_EQ(big.find_first_not_of(' '), 96u);
    EXPECT_EQ(big.substr(96, 17), "10000000000000000");
    EXPECT_EQ(big.substr(397), ".00");
}

// Programming errors: an assertion in a debug build; in a release build a
// visible mark in the output, and never an exception or a crash.
struct MisuseCase {
    const char* name;
    const char* layout;
    std::vector<L::Arg> args;
    const char* releaseOutput;
};

void PrintTo(const MisuseCase& c, std::ostream* os) { *os << c.name; }

class LayoutMisuse : public ::testing::TestWithParam<MisuseCase> {};

TEST_P(LayoutMisuse, IsVisibleAndDoesNotThrow) {
    const MisuseCase& c = GetParam();
#ifdef NDEBUG
    EXPECT_EQ(L::format(c.layout, c.args), c.releaseOutput);
#else
    EXPECT_DEATH((void)L::format(c.layout, c.args), "line layout");
#endif
}

INSTANTIATE_TEST_SUITE_P(
    LineLayout, LayoutMisuse,
    ::testing::Values(
        MisuseCase{"IntegerForF", "'x' F5.1 'y'", {3}, "x*****y\n"},
        MisuseCase{"RealForI", "I3", {3.0}, "***\n"},
        MisuseCase{"NumberForA", "A", {3}, "*\n"},
        MisuseCase{"TextForL", "L2", {"T"}, "**\n"},
        MisuseCase{"UnclosedGroup", "2( I3", {1}, "**** invalid layout: 2( I3\n"},
        MisuseCase{"UnbalancedBracket", "I3 )", {1}, "**** invalid layout: I3 )\n"},
        MisuseCase{"UnterminatedLiteral", "'abc", {}, "**** invalid layout: 'abc\n"},
        MisuseCase{"MissingDecimals", "F7", {1.0}, "**** invalid layout: F7\n"},
        MisuseCase{"ExponentWithoutDigits", "E10.0", {1.0}, "**** invalid layout: E10.0\n"},
        MisuseCase{"UnknownDescriptor", "G10.3", {1.0}, "**** invalid layout: G10.3\n"},
        MisuseCase{"XWithoutCount", "X I2", {1}, "**** invalid layout: X I2\n"},
        MisuseCase{"ZeroWidth", "I0", {1}, "**** invalid layout: I0\n"},
        MisuseCase{"RepeatedLiteral", "2'ab'", {}, "**** invalid layout: 2'ab'\n"},
        MisuseCase{"DoubleComma", "I2,,I3", {1, 2}, "**** invalid layout: I2,,I3\n"},
        MisuseCase{"TrailingComma", "(I2,)", {1}, "**** invalid layout: (I2,)\n"},
        MisuseCase{"EmptyGroup", "I2 ()", {1}, "**** invalid layout: I2 ()\n"},
        MisuseCase{"ValuesWithoutDataItems", "'a' / 'b'", {1},
                   "a\nb\n**** values left over for layout: 'a' / 'b'\n"}),
    [](const ::testing::TestParamInfo<MisuseCase>& p) { return std::string(p.param.name); });

} // namespace
