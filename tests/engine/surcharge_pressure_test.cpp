// Lateral pressure from point, line and strip loads behind the wall. The
// expected values were computed independently from the design formulas with
// the coefficients in single precision (0.28, 1.77, 0.16, 0.4, 0.203, 1.273,
// 0.6366, pi as 3.1416) and are held to 1e-12 relative.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "surcharge_pressure.h"

namespace kelda {
namespace {

constexpr double kH = 100.0;

std::unique_ptr<ProblemRecord> recordWith(std::initializer_list<SurchargeRecord> records) {
    auto rec = std::make_unique<ProblemRecord>();
    for (const SurchargeRecord& r : records)
        rec->surcharges[static_cast<std::size_t>(rec->surchargeCount++)] = r;
    return rec;
}

struct FormulaCase {
    const char* name;
    SurchargeRecord record;
    double expected; // pressure at the sampling depth 25 x 0.02 x H
};

class SurchargeFormula : public ::testing::TestWithParam<FormulaCase> {};

// Depth 50.0001 lies just below the 25th sampling depth (0.5 H in single
// precision), so the record is evaluated there.
TEST_P(SurchargeFormula, PressureAtTheSamplingDepthAboveThePoint) {
    const FormulaCase& c = GetParam();
    const auto rec = recordWith({c.record});
    EXPECT_NEAR(surchargePressureAt(*rec, kH, 50.0001), c.expected, 1e-12 * c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Loads, SurchargeFormula,
    ::testing::Values(
        // At m = 0.4 exactly the near-wall formula applies, just past it the far one.
        FormulaCase{"point m=0.4", {1, 1000.0, 40.0, 0.0}, 0.10156556742467265},
        FormulaCase{"point m=0.41", {1, 1000.0, 41.0, 0.0}, 0.10177485599530932},
        FormulaCase{"unknown type is a point load", {7, 1000.0, 41.0, 0.0}, 0.10177485599530932},
        FormulaCase{"line m=0.4", {2, 50.0, 40.0, 0.0}, 0.30190363508264045},
        FormulaCase{"line m=0.41", {2, 50.0, 41.0, 0.0}, 0.30609519928982},
        // Strip centred on the wall: alpha = 0, beta = 2 atan(B / 2z).
        FormulaCase{"strip at the wall", {3, 2.0, 0.0, 30.0}, 0.0413227355369299},
        FormulaCase{"strip away from the wall", {3, 2.0, 60.0, 30.0}, 0.3750811424263731}),
    [](const auto& param) {
        std::string name = param.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST(SurchargePressureAt, IsAStepFunctionOfTheSamplingDepths) {
    const auto rec = recordWith({{1, 1000.0, 40.0, 0.0}});
    // Above the first sampling depth (0.02 H) there is nothing.
    EXPECT_EQ(surchargePressureAt(*rec, kH, 0.0), 0.0);
    EXPECT_EQ(surchargePressureAt(*rec, kH, 1.9999999), 0.0);
    EXPECT_GT(surchargePressureAt(*rec, kH, 2.0001), 0.0);
    // Between two sampling depths the upper one holds.
    EXPECT_EQ(surchargePressureAt(*rec, kH, 50.0001), surchargePressureAt(*rec, kH, 51.9));
    EXPECT_NE(surchargePressureAt(*rec, kH, 51.9), surchargePressureAt(*rec, kH, 52.1));
    // Below the excavation level the value at H holds.
    EXPECT_NEAR(surchargePressureAt(*rec, kH, 150.0), 0.017938416373437176, 1e-15);
    EXPECT_EQ(surchargePressureAt(*rec, kH, 150.0), surchargePressureAt(*rec, kH, 1.0E6));
}

TEST(SurchargePressureAt, SumsTheWholeListWhateverTheMagnitudes) {
    const auto both = recordWith({{1, 1000.0, 40.0, 0.0}, {2, 50.0, 41.0, 0.0}, {1, -1.0E-5, 10.0, 0.0}});
    const double tiny = 1.0E-5 * 0.28 * 0.25 / (kH * kH * std::pow(0.16 + 0.25, 3)); // m = 0.1, near formula
    EXPECT_NEAR(surchargePressureAt(*both, kH, 50.0001), 0.10156556742467265 + 0.30609519928982 - tiny, 1e-9);
}

TEST(SurchargePressureAt, EmptyListOrNoFreeHeightGivesZero) {
    auto rec = recordWith({{1, 1000.0, 40.0, 0.0}});
    EXPECT_EQ(surchargePressureAt(*rec, 0.0, 50.0), 0.0); // the formulas divide by H
    rec->surchargeCount = 0; // a later problem without records; the old rows stay in the record
    EXPECT_EQ(surchargePressureAt(*rec, kH, 50.0), 0.0);
}

TEST(CurrentSurcharge, EachRecordReplacesTheLoadsAndOnlyAStripChangesTheWidth) {
    SurchargeLine line;
    line.distanceX = 5.0;
    line.pointLoad = 1.0;
    line.lineLoad = 2.0;
    line.stripLoad = 3.0;
    line.stripWidth = 4.0;
    CurrentSurcharge c = currentSurchargeFromLine(line);
    EXPECT_EQ(c.pointLoad, 1.0);
    EXPECT_EQ(c.lineLoad, 2.0);
    EXPECT_EQ(c.stripLoad, 3.0);
    EXPECT_EQ(c.distance, 5.0);
    EXPECT_EQ(c.stripWidth, 4.0);

    applySurchargeRecord(c, {3, 30.0, 60.0, 12.0});
    EXPECT_EQ(c.pointLoad, 0.0);
    EXPECT_EQ(c.lineLoad, 0.0);
    EXPECT_EQ(c.stripLoad, 30.0);
    EXPECT_EQ(c.distance, 60.0);
    EXPECT_EQ(c.stripWidth, 12.0);

    applySurchargeRecord(c, {2, 7.0, 20.0, 99.0});
    EXPECT_EQ(c.lineLoad, 7.0);
    EXPECT_EQ(c.stripLoad, 0.0);
    EXPECT_EQ(c.distance, 20.0);
    EXPECT_EQ(c.stripWidth, 12.0); // kept from the strip

    applySurchargeRecord(c, {1, 9.0, 8.0, 0.0});
    EXPECT_EQ(c.pointLoad, 9.0);
    EXPECT_EQ(c.lineLoad, 0.0);
    EXPECT_EQ(c.distance, 8.0);
}

TEST(LayerSurchargeForce, TenSlicesEachAtItsBottom) {
    // Layer from 20 to 50 with H = 100; one load at a time.
    CurrentSurcharge point{1000.0, 0.0, 0.0, 30.0, 0.0};
    EXPECT_NEAR(layerSurchargeForce(point, kH, 20.0, 30.0), 4.198438151580295, 1e-12);
    CurrentSurcharge line{0.0, 50.0, 0.0, 60.0, 0.0}; // far formula with 1.273
    EXPECT_NEAR(layerSurchargeForce(line, kH, 20.0, 30.0), 9.883348091648221, 1e-12);
    CurrentSurcharge strip{0.0, 0.0, 2.0, 60.0, 30.0}; // with 0.6366
    EXPECT_NEAR(layerSurchargeForce(strip, kH, 20.0, 30.0), 12.193797120482705, 1e-12);
    CurrentSurcharge all{1000.0, 50.0, 2.0, 60.0, 30.0};
    EXPECT_NEAR(layerSurchargeForce(all, kH, 20.0, 30.0),
                layerSurchargeForce({1000.0, 0, 0, 60.0, 0}, kH, 20.0, 30.0) + 9.883348091648221 +
                    12.193797120482705,
                1e-11);
}

TEST(LayerSurchargeForce, LoadsOfAtMostTenThousandthLeaveTheLayerAlone) {
    // 1.0E-4 in single precision is a hair below 1.0E-4 itself.
    EXPECT_EQ(layerSurchargeForce({9.99999e-5, 0.0, 0.0, 30.0, 0.0}, kH, 20.0, 30.0), 0.0);
    EXPECT_EQ(layerSurchargeForce({-1000.0, -50.0, -2.0, 30.0, 10.0}, kH, 20.0, 30.0), 0.0);
    EXPECT_GT(layerSurchargeForce({1.0E-4, 0.0, 0.0, 30.0, 0.0}, kH, 20.0, 30.0), 0.0);
    EXPECT_EQ(layerSurchargeForce({1000.0, 50.0, 2.0, 30.0, 10.0}, 0.0, 20.0, 30.0), 0.0); // no free height
    // A strip at the surface of a zero-thickness layer: no NaN.
    EXPECT_EQ(layerSurchargeForce({0.0, 0.0, 2.0, 0.0, 10.0}, kH, 0.0, 0.0), 0.0);
}

} // namespace
} // namespace kelda
