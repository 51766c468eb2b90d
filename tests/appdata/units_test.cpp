#include "kelda/data/units.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kelda::data {
namespace {

constexpr double kLbsPerKN = 224.8089237;
constexpr double kInPerM = 39.37007874;
constexpr double kFtPerM = 3.280839895;

struct FactorCase {
    const char* units;
    int from;
    int to;
    double expected;
};

class UnitsFactorTest : public ::testing::TestWithParam<FactorCase> {};

TEST_P(UnitsFactorTest, ConvertsByGrammar) {
    const FactorCase& c = GetParam();
    EXPECT_NEAR(UnitsFactor(c.from, c.to, c.units), c.expected, 1e-12 * std::fabs(c.expected)) << c.units;
}

INSTANTIATE_TEST_SUITE_P(
    Strings, UnitsFactorTest,
    ::testing::Values(FactorCase{"F/L2^3", kSI, kEnglish, kLbsPerKN / std::pow(kFtPerM, 3)},
                      FactorCase{"F/L^3", kSI, kEnglish, kLbsPerKN / std::pow(kInPerM, 3)},
                      FactorCase{"L2", kEnglish, kSI, 1.0 / kFtPerM},
                      FactorCase{"L1", kSI, kEnglish, 0.03937007874}, FactorCase{"L", kSI, kEnglish, kInPerM},
                      FactorCase{"F", kEnglish, kSI, 1.0 / kLbsPerKN},
                      FactorCase{"F-L", kSI, kEnglish, kLbsPerKN* kInPerM},
                      FactorCase{"F-L^2", kSI, kEnglish, kLbsPerKN* kInPerM* kInPerM},
                      FactorCase{"F-L/RAD.", kSI, kEnglish, kLbsPerKN* kInPerM},
                      FactorCase{"F/L", kSI, kEnglish, kLbsPerKN / kInPerM},
                      FactorCase{"F/L2", kSI, kEnglish, kLbsPerKN / kFtPerM},
                      FactorCase{"F/L^2", kSI, kEnglish, kLbsPerKN / (kInPerM * kInPerM)},
                      FactorCase{"F/L2^2", kSI, kEnglish, kLbsPerKN / (kFtPerM * kFtPerM)},
                      FactorCase{"F1", kSI, kEnglish, 0.2248089237},
                      FactorCase{"F2-L2", kSI, kEnglish, 0.1124044745 * kFtPerM},
                      FactorCase{"F0-L0", kSI, kEnglish, kLbsPerKN* kInPerM},
                      FactorCase{"SEE NOTES", kSI, kEnglish, 1.0}, FactorCase{"deg.", kEnglish, kSI, 1.0},
                      FactorCase{"", kSI, kEnglish, 1.0}, FactorCase{"F/L2^3", kOtherUnits, kEnglish, 1.0},
                      FactorCase{"F/L2^3", kSI, kOtherUnits, 1.0}, FactorCase{"F/L2^3", kSI, kSI, 1.0}));

TEST(UnitsFactorTest, EnglishToSIIsTheInverseOfSIToEnglish) {
    for (const char* units : {"F/L2^3", "F-L^2", "L1", "F-L/RAD."})
        EXPECT_NEAR(UnitsFactor(kEnglish, kSI, units) * UnitsFactor(kSI, kEnglish, units), 1.0, 1e-14)
            << units;
}

struct LabelCase {
    const char* units;
    const char* english;
    const char* si;
    const char* other;
};

class UnitsLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(UnitsLabelTest, ReplacesEverySymbol) {
    const LabelCase& c = GetParam();
    EXPECT_EQ(UnitsLabel(c.units, kEnglish), c.english);
    EXPECT_EQ(UnitsLabel(c.units, kSI), c.si);
    EXPECT_EQ(UnitsLabel(c.units, kOtherUnits), c.other);
}

INSTANTIATE_TEST_SUITE_P(
    InUse, UnitsLabelTest,
    ::testing::Values(
        LabelCase{"L", "in", "m", "L"}, LabelCase{"L1", "in", "mm", "L"}, LabelCase{"L2", "ft", "m", "L"},
        LabelCase{"F", "lbs", "kN", "F"}, LabelCase{"F-L", "lbs-in", "kN-m", "F-L"},
        LabelCase{"F-L^2", "lbs-in^2", "kN-m^2", "F-L^2"}, LabelCase{"F/L", "lbs/in", "kN/m", "F/L"},
        LabelCase{"F/L2", "lbs/ft", "kN/m", "F/L"}, LabelCase{"F/L^2", "lbs/in^2", "kN/m^2", "F/L^2"},
        LabelCase{"F/L^3", "lbs/in^3", "kN/m^3", "F/L^3"}, LabelCase{"F/L2^2", "lbs/ft^2", "kN/m^2", "F/L^2"},
        LabelCase{"F/L2^3", "lbs/ft^3", "kN/m^3", "F/L^3"},
        LabelCase{"F-L/RAD.", "lbs-in/RAD.", "kN-m/RAD.", "F-L/RAD."},
        LabelCase{"deg.", "deg.", "deg.", "deg."},
        LabelCase{"SEE NOTES", "SEE NOTES", "SEE NOTES", "SEE NOTES"}, LabelCase{"", "", "", ""},
        LabelCase{"F1-L2", "kips-ft", "kN-m", "F-L"}, LabelCase{"F4", "lb-sec2/in", "Mg", "M"}));

TEST(FieldUnitsLabelTest, ReplacesOneForceKindAndOneLengthKind) {
    EXPECT_EQ(FieldUnitsLabel("F/L2^3", kEnglish), "lbs/ft^3");
    EXPECT_EQ(FieldUnitsLabel("F/L2^3", kSI), "kN/m^3");
    EXPECT_EQ(FieldUnitsLabel("L1", kSI), "mm");
    // Only the first length kind found is replaced; plain L stays.
    EXPECT_EQ(FieldUnitsLabel("F1-L2/L", kEnglish), "kips-ft/L");
    // Once F1 is found, a plain F is left alone.
    EXPECT_EQ(FieldUnitsLabel("F1/F", kSI), "kN/F");
    EXPECT_EQ(FieldUnitsLabel("F/L2^3", kOtherUnits), "F/L2^3");
    EXPECT_EQ(FieldUnitsLabel("F/L2^3", 7), "F/L2^3");
    EXPECT_EQ(FieldUnitsLabel("F/L2^3", 0), "lbs/ft^3");
}

} // namespace
} // namespace kelda::data
