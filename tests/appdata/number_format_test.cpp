#include "kelda/data/number_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace kelda::data {
namespace {

struct FormatCase {
    double value;
    const char* eight; // FormatGeneral(value, 8, '.')
    const char* exact; // FormatExact(value, ',')
};

class FormatTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTest, GeneralAndExactForms) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatGeneral(c.value, 8, '.'), c.eight);
    EXPECT_EQ(FormatExact(c.value, ','), c.exact);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FormatTest,
    ::testing::Values(
        FormatCase{0.0, "0", "0"}, FormatCase{-0.0, "0", "0"}, FormatCase{120.0, "120", "120"},
        FormatCase{0.5, "0.5", "0,5"}, FormatCase{0.0001, "0.0001", "0,0001"},
        FormatCase{0.00001, "1E-5", "1E-5"}, FormatCase{0.000012345, "1.2345E-5", "1,2345E-5"},
        FormatCase{123456789.0, "1.2345679E8", "123456789"}, FormatCase{12345678.0, "12345678", "12345678"},
        FormatCase{120.00006, "120.00006", "120,00006"}, FormatCase{120.000064, "120.00006", "120,000064"},
        FormatCase{0.1 + 0.2, "0.3", "0,30000000000000004"}, FormatCase{-2.5e20, "-2.5E20", "-2,5E20"},
        FormatCase{1e18, "1E18", "1E18"}, FormatCase{1e17, "1E17", "100000000000000000"},
        FormatCase{99999999.5, "1E8", "99999999,5"},
        FormatCase{1.0 / 3.0, "0.33333333", "0,3333333333333333"}));

TEST(DecimalSeparatorTest, CLocaleUsesPoint) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(DecimalSeparator(), '.');
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace
} // namespace kelda::data
