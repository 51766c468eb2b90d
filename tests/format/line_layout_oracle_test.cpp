// Builds the table of layout_reference.f90 with kelda::layout and compares it
// byte for byte with the table written by the Fortran runtime at build time.
// The sections, layouts and values here mirror that program one for one.

#include "line_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace L = kelda::layout;
using Args = std::vector<L::Arg>;

constexpr std::array<std::string_view, 18> kRealFmt = {
    "F7.3", "F7.5", "F10.2", "F4.1", "F3.0", "F2.0", "F12.6", "F30.10", "E10.3",
    "E12.3", "E13.4", "E14.3", "E9.3", "E8.3", "E20.12", "D10.3", "D12.4", "E7.1"};
constexpr std::array<std::string_view, 14> kExtraFmt = {
    "F1.0", "F3.1", "F4.3", "F5.3", "F8.0", "F9.0", "E3.1", "E4.1", "E5.1", "E6.1",
    "E9.2", "E30.20", "F40.30", "D9.2"};
constexpr std::array<int, 27> kPatterns = {1, 4, 5, 6, 9, 12, 45, 95, 99, 123, 445, 455, 995, 999,
    1001, 4445, 9995, 9999, 12345, 99995, 123456, 999995, 1234567, 15, 25, 125, 375};
constexpr int kDecadeLo = -12;
constexpr int kDecadeHi = 12;
constexpr std::array<std::string_view, 53> kBoundary = {
    "0", "-0", "0.9995", "-0.9995", "0.99949999", "9.9995E5", "9.99949E5", "0.5", "-0.5",
    "-12345.6", "1234.567", "999.9995", "-99.9995", "0.0005", "0.0625", "0.1875", "1.125",
    "2.5", "3.5", "0.25", "0.05", "0.95", "0.995", "9.995", "99.995", "1E-10", "-1E-10",
    "-0.0004", "1E-99", "1E-100", "9.9996E-100", "-1E-101", "1E99", "9.9996E98", "1E100",
    "-1E100", "1.7976931348623157E308", "-1.7976931348623157E308", "2.2250738585072014E-308",
    "4.9E-324", "-4.9E-324", "1E-320", "123456789012345678", "1E17", "1E22", "1E23",
    "9999999.9", "99999.5", "0.45", "0.55", "Inf", "-Inf", "NaN"};
constexpr std::array<std::string_view, 8> kIntFmt = {"I1", "I2", "I3", "I4", "I5", "I10", "I19", "I20"};
constexpr std::array<std::string_view, 5> kTextFmt = {"A", "A1", "A3", "A8", "A70"};
constexpr std::array<std::string_view, 4> kLogicalFmt = {"L1", "L2", "L3", "L9"};
constexpr std::string_view kAlphabet =
    "The quick brown fox jumps over the lazy dog 0123456789 !#$%&*+-./:;<=>?@[]^_{}~";

// The correctly rounded double of a decimal text, as the Fortran side reads it.
double parse(std::string_view text) {
    double v = 0.0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    EXPECT_EQ(r.ec, std::errc{}) << text;
    return v;
}

std::string decimal(bool negative, int m, int e) {
    return (negative ? "-" : "") + std::to_string(m) + "E" + std::to_string(e);
}

// The sweep layouts in both spellings the notation allows: the comma form of
// the Fortran program, and items separated by blanks with no outer brackets.
std::string sweepLayout(std::string_view head, std::string_view item, bool blanks) {
    std::string s = blanks ? std::string(head) : "(" + std::string(head);
    if (blanks) {
        for (char& c : s) {
            if (c == ',') c = ' ';
        }
        return s + " '|' " + std::string(item) + " '|'";
    }
    return s + ",'|'," + std::string(item) + ",'|')";
}

std::string buildTable() {
    std::string out;
    out.reserve(2u << 20);
    long long idx = 0;

    // 1. Every real format with every pattern in every decade, both signs.
    for (std::size_t k = 0; k < kRealFmt.size(); ++k) {
        const std::string layout = sweepLayout("I6,1X,A6,1X,A14", kRealFmt[k], k % 2 == 1);
        for (int e = kDecadeLo; e <= kDecadeHi; ++e) {
            for (int m : kPatterns) {
                for (bool neg : {false, true}) {
                    const std::string text = decimal(neg, m, e);
                    out += L::format(layout, {++idx, kRealFmt[k], text, parse(text)});
                }
            }
        }
    }

    // 2. Boundary values with every real format.
    for (std::size_t k = 0; k < kRealFmt.size() + kExtraFmt.size(); ++k) {
        const std::string_view name = k < kRealFmt.size() ? kRealFmt[k] : kExtraFmt[k - kRealFmt.size()];
        const std::string layout = sweepLayout("I6,1X,A6,1X,A24", name, k % 2 == 0);
        for (std::string_view text : kBoundary) {
            out += L::format(layout, {++idx, name, text, parse(text)});
        }
    }

    // 3. Integers: powers of ten and their neighbours, both signs, extremes.
    std::vector<long long> ints;
    long long p = 1;
    for (int j = 0; j <= 18; ++j) {
        ints.insert(ints.end(), {p, p - 1, -p, -(p - 1)});
        if (j < 18) p *= 10;
    }
    ints.push_back(std::numeric_limits<long long>::max());
    ints.push_back(std::numeric_limits<long long>::min());
    for (std::size_t k = 0; k < kIntFmt.size(); ++k) {
        const std::string layout = sweepLayout("I6,1X,A6,1X,I20", kIntFmt[k], k % 2 == 1);
        for (long long v : ints) out += L::format(layout, {++idx, kIntFmt[k], v, v});
    }

    // 4. Texts of every length from 0 to 75 with and without a width; logicals.
    for (std::size_t k = 0; k < kTextFmt.size(); ++k) {
        const std::string layout = sweepLayout("I6,1X,A6,1X,I3", kTextFmt[k], k % 2 == 1);
        for (int j = 0; j <= 75; ++j) {
            out += L::format(layout, {++idx, kTextFmt[k], j, kAlphabet.substr(0, static_cast<std::size_t>(j))});
        }
    }
    for (std::string_view f : kLogicalFmt) {
        const std::string layout = "(I6,1X,A6,'|'," + std::string(f) + ",'|'," + std::string(f) + ",'|')";
        out += L::format(layout, {++idx, f, true, false});
    }

    // 5. Reversion with many values: all values of one decade in one call.
    for (int e = kDecadeLo; e <= kDecadeHi; ++e) {
        std::vector<double> vals;
        for (int m : kPatterns) {
            for (bool neg : {false, true}) vals.push_back(parse(decimal(neg, m, e)));
        }
        Args a{++idx};
        a.insert(a.end(), vals.begin(), vals.end());
        out += L::format("(I6,4(1X,E12.3))", a);
        a[0] = ++idx;
        out += L::format("I6 / (1X 5F10.3)", a);
        Args mixed{++idx};
        for (std::size_t j = 0; j < vals.size(); ++j) {
            mixed.emplace_back(static_cast<long long>(j + 1));
            mixed.emplace_back(vals[j]);
        }
        out += L::format("(I6,2(1X,I4,1X,D10.3))", mixed);
    }

    // 6. Layout structure, in the report's blank-separated spelling where
    //    the Fortran program has to use commas.
    struct Case {
        std::string_view layout;
        Args args;
    };
    const std::vector<Case> cases = {
        {"( / 6X 'Stage No :' I2 2X A70 )", {3, "SHEET PILE WALL - STAGE 3"}},
        {R"("   STA", 3X, I4, 2X, 5E10.3)", {12, 1.5, -2.25, 0.0, 1e-5, 123456.0}},
        {R"("   STA", 3X, I4, 2X, 5E10.3)", {12, 1.5, -2.25}},
        {"( / / / '     END OF ANALYSIS                             ' )", {}},
        {"( '     FROM TO CONTD     EI         Q        S''        T         R         P' )", {}},
        {R"( "q""q" 'it''s' )", {}},
        {"(/)", {}},
        {"( // )", {}},
        {"( 'a' // 'b' / )", {}},
        {"( 2/ 'c' )", {}},
        {"( A 5X )", {"ab"}},
        {"( A 5X / A 3X )", {"ab", "cd"}},
        {"( A 5X A )", {"ab", ""}},
        {"( 2( I3 2X ) )", {1, 2}},
        {"( 2( I3 2X ) )", {1}},
        {"( 'a' / I2 'b' / I3 'c' )", {1}},
        {"( 'a' / I2 'b' / I3 'c' )", {}},
        {"(I2,I3)", {1, 2, 3, 4, 5}},
        {"(I2,2(I3,1X),I4)", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"( I2 ( I3 2( I4 ) ) )", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"( 3( 'x' I2 ) )", {1, 2}},
        {"( 5X 2I4 I3 1X 6E10.3 )", {1, 10, 0, 3.0e7, 0.0, 0.0, 0.0, 0.0, 0.0}},
        {"( 10X I3 7X I2 3X 2( 5X E10.3 ) )", {5, 3, -0.00125, 2.5e-3}},
        {"( / 9X I4 I3 5X 2E14.3 1( 10X I3 ) )", {7, 0, 1.0, 0.5, 12}},
        {"( 2X I4 2X E10.3 6E12.3 )", {0, 0.0, -0.0, 1.0e-3, -250.0, 12.5, -1.0e-300, 2.9e10}},
        {"( 18X A4 A1 A2 A2 A1 4X A4 4X A4 A1 A2 3X A3 A1 A3 2X A3 A1 A3 4X A4 )",
         {" LBS", "-", "IN", "**", "2", " LBS", " LBS", "/", "IN", " IN", "-", "LBS", " IN", "-", "LBS",
          " LBS"}},
        {"( / '                    ' )", {}},
        {"( '[' A ']' A3 '|' A3 )", {"abc", "abcdef", ""}},
        {"( 1X L1 L3 2X L2 )", {true, false, true}},
        {"( 6X 'NUMBER OF INCREMENTS                               = ' I3 / "
         "6X 'INCREMENT LENGTH                                   = ' F7.3 A3 )",
         {40, 0.5, " IN"}},
        {"(i3,f7.2,e10.3,a4,l2)", {-7, 3.14159, -2.5e-7, "kN", false}},
        {"( 3X 2( I2 2( 1X F5.1 ) ) '|' )", {1, 1.0, 2.0, 2, 3.0, 4.0, 3, 5.0}},
        {"()", {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        out += L::format("(\"== case \",I3)", {++n});
        out += L::format(c.layout, c.args);
    }
    return out;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The first differing lines with their numbers, blanks made visible by bars.
std::string describeDifferences(std::string_view expected, std::string_view actual) {
    const auto e = splitLines(expected);
    const auto a = splitLines(actual);
    std::ostringstream msg;
    msg << "reference has " << e.size() << " lines, formatter wrote " << a.size() << "\n";
    int shown = 0;
    for (std::size_t i = 0; i < std::max(e.size(), a.size()) && shown < 25; ++i) {
        const std::string_view le = i < e.size() ? e[i] : "<none>";
        const std::string_view la = i < a.size() ? a[i] : "<none>";
        if (le == la) continue;
        msg << "line " << i + 1 << "\n  gfortran: |" << le << "|\n  kelda:    |" << la << "|\n";
        ++shown;
    }
    return msg.str();
}

TEST(LineLayoutOracle, TableMatchesGfortranByteForByte) {
    const std::string referencePath = KELDA_LAYOUT_REFERENCE;
    if (referencePath.empty()) GTEST_SKIP() << "gfortran was not found when the build was configured";
    std::ifstream in(referencePath, std::ios::binary);
    ASSERT_TRUE(in) << "cannot read " << referencePath;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    const std::string expected = buffer.str();

    const std::string actual = buildTable();
    // Kept next to the reference for a full `diff` when this fails.
    const std::string actualPath = referencePath.substr(0, referencePath.rfind('/') + 1) + "layout_actual.txt";
    std::ofstream(actualPath, std::ios::binary) << actual;

    ASSERT_GT(expected.size(), 100000u) << "reference table is truncated";
    EXPECT_TRUE(expected == actual) << describeDifferences(expected, actual) << "full output: " << actualPath;
}

} // namespace
