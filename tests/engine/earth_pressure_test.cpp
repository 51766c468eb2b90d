// Generated earth and water pressure: subdivision of the profile, stresses,
// coefficients, layer forces and the pressure table, against values worked
// out by hand. Coefficients come from the single-precision degree factor, so
// pressures are compared to 5e-6 relative (57.2958 is 3.4e-7 off the
// true degrees per radian).

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "earth_pressure_fixture.h"
#include "run_errors.h"
#include "surcharge_pressure.h"

namespace kelda {
namespace {

using test::PressureProblem;

constexpr double kRelative = 5e-6;

void expectClose(double actual, double expected, const std::string& what) {
    EXPECT_NEAR(actual, expected, kRelative * std::max(1.0, std::abs(expected))) << what;
}

// ---- subdivision ----------------------------------------------------------

struct SubdivisionCase {
    const char* name;
    double h, dwb;
    std::vector<double> bottoms; // input layer bottoms
    std::vector<double> tops;    // working layer tops expected
    int dredgeLine, waterTable;
};

class Subdivision : public ::testing::TestWithParam<SubdivisionCase> {};

TEST_P(Subdivision, SplitsAtTheExcavationLevelAndTheWaterTable) {
    const SubdivisionCase& c = GetParam();
    PressureProblem p(c.h);
    p.rec->wall.waterDepthBackfill = c.dwb;
    for (double bottom : c.bottoms) p.sand(bottom, 18.0, 30.0);
    copyEarthPressureInput(*p.rec);
    subdivideLayers(p.rec->soil);
    const SoilState& soil = p.soil();
    ASSERT_EQ(soil.layerCount, static_cast<int>(c.tops.size())) << c.name;
    for (std::size_t i = 0; i < c.tops.size(); ++i) {
        EXPECT_DOUBLE_EQ(p.workingLayer(static_cast<int>(i) + 1).top, c.tops[i])
            << c.name << " layer " << i + 1;
    }
    // Thicknesses add up to the profile, and the slot after the last holds its bottom.
    double sum = 0.0;
    for (int i = 1; i <= soil.layerCount; ++i) sum += p.workingLayer(i).thickness;
    EXPECT_DOUBLE_EQ(sum, c.bottoms.back()) << c.name;
    EXPECT_DOUBLE_EQ(p.workingLayer(soil.layerCount + 1).top, c.bottoms.back()) << c.name;
    EXPECT_EQ(soil.dredgeLineLayer, c.dredgeLine) << c.name;
    EXPECT_EQ(soil.waterTableLayer, c.waterTable) << c.name;
    EXPECT_FALSE(soil.layerOverflow) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, Subdivision,
    ::testing::Values(
        SubdivisionCase{"water table at the excavation level: one break", 10, 10, {20}, {0, 10}, 2, 2},
        SubdivisionCase{"water table above the excavation", 10, 4, {20}, {0, 4, 10}, 3, 2},
        SubdivisionCase{"water table below the excavation", 10, 15, {20}, {0, 10, 15}, 2, 3},
        SubdivisionCase{"water table at the surface: no split at 0", 10, 0, {20}, {0, 10}, 2, 1},
        SubdivisionCase{"breaks on layer boundaries", 10, 25, {10, 25, 30}, {0, 10, 25}, 2, 3},
        SubdivisionCase{"water table below the profile", 10, 40, {10, 20}, {0, 10}, 2, 0},
        SubdivisionCase{"break within the tolerance of a boundary", 8, 10.000005, {10, 20}, {0, 8, 10}, 2, 3},
        SubdivisionCase{"one layer split twice", 3, 7, {5, 12}, {0, 3, 5, 7}, 2, 4},
        SubdivisionCase{"water standing above the surface splits nothing", 10, -2, {20}, {0, 10}, 2, 0},
        SubdivisionCase{"excavation at the bottom of the profile", 10, 40, {4, 10}, {0, 4}, 0, 0}),
    [](const auto& param) {
        std::string name = param.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST(Subdivision, MoreThanTwentyWorkingLayersOverflow) {
    PressureProblem twenty(10.5);
    for (int i = 1; i <= 20; ++i) twenty.sand(i, 18.0, 30.0); // the excavation splits layer 11
    copyEarthPressureInput(*twenty.rec);
    subdivideLayers(twenty.rec->soil);
    EXPECT_TRUE(twenty.soil().layerOverflow);
    EXPECT_EQ(twenty.soil().layerCount, 20);

    PressureProblem onBoundaries(10.0);
    onBoundaries.rec->wall.waterDepthBackfill = 5.0;
    for (int i = 1; i <= 20; ++i) onBoundaries.sand(i, 18.0, 30.0);
    copyEarthPressureInput(*onBoundaries.rec);
    subdivideLayers(onBoundaries.rec->soil);
    EXPECT_FALSE(onBoundaries.soil().layerOverflow);
    EXPECT_EQ(onBoundaries.soil().layerCount, 20);
}

// ---- pressure tables worked out by hand --------------------------------------

struct TableCase {
    const char* name;
    std::function<void(PressureProblem&)> setUp;
    double expectedKa;                      // of layer 1
    std::function<double(double)> pressure; // expected P at depth z (kN/m²)
};

class PressureTable : public ::testing::TestWithParam<TableCase> {};

TEST_P(PressureTable, PointsFollowTheHandComputedDiagram) {
    const TableCase& c = GetParam();
    PressureProblem p(10.0);
    c.setUp(p);
    p.generate();
    expectClose(p.workingLayer(1).ka, c.expectedKa, std::string(c.name) + " KA");
    const GeneratedPressure& t = p.soil().pressure;
    ASSERT_EQ(t.count, 11) << c.name; // a point per metre
    for (int i = 0; i < t.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        expectClose(t.depth[k], i, std::string(c.name) + " depth");
        expectClose(t.pressure[k], c.pressure(t.depth[k]),
                    std::string(c.name) + " P at " + std::to_string(i));
        EXPECT_EQ(t.withoutSurcharge[k], t.pressure[k]) << c.name; // no surcharge records
        EXPECT_EQ(t.surcharge[k], 0.0) << c.name;
    }
}

const double kKa30 = 1.0 / 3.0;              // tan²(45° − 30°/2)
const double kKaSloping = 0.349519833813974; // Rankine, beta 10°, phi 30°

INSTANTIATE_TEST_SUITE_P(
    HandComputed, PressureTable,
    ::testing::Values(TableCase{"dry sand", [](PressureProblem& p) { p.sand(20, 18, 30); }, kKa30,
                                [](double z) { return kKa30 * 18 * z; }},
                      TableCase{"dry sand under a uniform surcharge",
                                [](PressureProblem& p) {
                                    p.sand(20, 18, 30);
                                    p.rec->surchargeLine.uniformPressure = 10;
                                },
                                kKa30, [](double z) { return kKa30 * (10 + 18 * z); }},
                      TableCase{"sand with a water table at 4 m",
                                [](PressureProblem& p) {
                                    p.sand(20, 20, 30);
                                    p.rec->wall.waterDepthBackfill = 4;
                                },
                                kKa30,
                                [](double z) {
                                    return z <= 4 ? kKa30 * 20 * z
                                                  : kKa30 * (80 + 10 * (z - 4)) + 10 * (z - 4);
                                }},
                      // Cohesion 30 holds the top 60/18 m in tension: zero there, then
                      // rising linearly to the net pressure 180 − 60 at the excavation level.
                      TableCase{"clay with a tension crack", [](PressureProblem& p) { p.clay(20, 18, 30); },
                                1.0, [](double z) { return std::max(0.0, 18 * z - 60); }},
                      TableCase{"backfill sloping up at 10 degrees",
                                [](PressureProblem& p) {
                                    p.sand(20, 18, 30);
                                    p.rec->wall.backfillSlopeDegrees = 10;
                                },
                                kKaSloping, [](double z) { return kKaSloping * 18 * z; }},
                      TableCase{"backfill sloping down at 10 degrees",
                                [](PressureProblem& p) {
                                    p.sand(20, 18, 30);
                                    p.rec->wall.backfillSlopeDegrees = -10;
                                },
                                kKaSloping, [](double z) { return kKaSloping * 18 * z; }},
                      TableCase{"modified active pressure",
                                [](PressureProblem& p) {
                                    p.sand(20, 18, 30);
                                    p.rec->wall.activeModificationFactor = 1.5;
                                },
                                kKa30, [](double z) { return 1.5 * kKa30 * 18 * z; }}),
    [](const auto& param) {
        std::string name = param.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST(LayerForces, TensionCrackLeavesOnlyTheTriangleBelowTheTip) {
    PressureProblem p(10.0);
    p.clay(20, 18, 30);
    p.generate();
    const WorkingLayer& w = p.workingLayer(1);
    EXPECT_EQ(w.pa1, 0.0);
    EXPECT_EQ(w.pa2, 0.0);
    EXPECT_EQ(w.pa3, 0.0);
    expectClose(w.crackHeight, 120.0 * 10.0 / 180.0, "ZC");
    expectClose(w.pa4, 120.0 * (20.0 / 3.0) / 2.0, "PA4");
    expectClose(w.z3, 10.0 - 20.0 / 9.0, "Z3");
    EXPECT_NE(
        p.report.str().find("       1       0.00   5.00       0.00   6.67       0.00   7.78     400.00\n"),
        std::string::npos)
        << p.report.str();
}

TEST(LayerForces, SandWithWaterHasWaterForcesAndEffectiveStresses) {
    PressureProblem p(10.0);
    p.sand(20, 20, 30);
    p.rec->wall.waterDepthBackfill = 4;
    p.generate();
    // Layers 0–4 (dry), 4–10 (submerged), 10–20.
    expectClose(p.workingLayer(2).backfillStress, 80.0, "SIGV(2)");
    expectClose(p.workingLayer(3).backfillStress, 80.0 + 6 * 20 - 6 * 10, "SIGV(3)");
    EXPECT_DOUBLE_EQ(p.rec->backfillStressAtExcavation, p.workingLayer(3).backfillStress);
    expectClose(p.workingLayer(1).pa2, 0.5 * 20 * 16 * kKa30, "PA2(1)");
    expectClose(p.workingLayer(2).pa1, 80 * kKa30 * 6, "PA1(2)");
    expectClose(p.workingLayer(2).pa2, 0.5 * 10 * 36 * kKa30, "PA2(2), buoyant");
    EXPECT_EQ(p.workingLayer(2).pw1, 0.0); // its top is at the water table
    expectClose(p.workingLayer(2).pw2, -0.5 * 10 * 36, "PW2(2)");
    EXPECT_EQ(p.workingLayer(1).pw2, 0.0);
    const std::string report = p.report.str();
    EXPECT_NE(report.find("*      ACTIVE WATER PRESSURE OF EACH LAYER       *"), std::string::npos);
    EXPECT_NE(report.find("       2       0.00   7.00     180.00   8.00\n"), std::string::npos) << report;
}

TEST(LayerForces, WaterTableBelowTheExcavationGivesNoWaterSection) {
    PressureProblem p(10.0);
    p.sand(20, 20, 30);
    p.rec->wall.waterDepthBackfill = 12;
    p.generate();
    EXPECT_EQ(p.report.str().find("ACTIVE WATER PRESSURE"), std::string::npos);
    expectClose(p.soil().pressure.pressure[10], kKa30 * 200, "no water term above the excavation");
}

TEST(LayerForces, ExcavationSideStressStartsAtTheExcavationLevel) {
    PressureProblem p(10.0);
    p.sand(12, 20, 30).clay(20, 18, 50);
    p.rec->wall.waterDepthBackfill = 4;
    p.generate();
    // Layers: 0–4, 4–10 (sand), 10–12 (sand, dredge line), 12–20 (clay).
    ASSERT_EQ(p.soil().dredgeLineLayer, 3);
    EXPECT_EQ(p.workingLayer(3).excavationStress, 0.0); // drained at the excavation level
    // Below: buoyant sand weight over 2 m; clay keeps the total stress,
    // plus the water above the drained dredge-line layer.
    expectClose(p.workingLayer(4).excavationStress, 2 * 20 + 6 * 10, "SIGP(4)");
}

TEST(Coefficients, SlopeNotLessThanTheFrictionAngleWarnsAndKeepsTheLevelCoefficient) {
    PressureProblem p(10.0);
    p.sand(5, 18, 30).clay(20, 18, 100);
    p.rec->wall.backfillSlopeDegrees = 30;
    p.generate();
    expectClose(p.workingLayer(1).ka, kKa30, "KA sand");
    const std::string warning =
        "\n\n**** WARNING ******\n"
        "THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.\n";
    // Both the sand (30 >= 30) and the clay above the excavation (5–10 m)
    // warn; the clay below the excavation does not.
    EXPECT_EQ(p.notes.str(), warning + warning);
    const std::string report = p.report.str();
    const auto first = report.find(warning);
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(report.find(warning, first + 1), std::string::npos);
    EXPECT_EQ(report.find(warning, report.find(warning, first + 1) + 1), std::string::npos);
}

TEST(PressurePoints, ThinLayersGetTheirThicknessRoundedAsPointCount) {
    PressureProblem p(2.9);
    p.sand(0.4, 18, 30).sand(2.9, 18, 30).sand(10, 18, 30);
    p.generate();
    const GeneratedPressure& t = p.soil().pressure;
    ASSERT_EQ(t.count, 4); // surface, none in 0.4 m, three in 2.5 m
    expectClose(t.depth[1], 0.4 + 2.5 / 3, "first point of the 2.5 m layer");
    expectClose(t.depth[2], 0.4 + 5.0 / 3, "second point");
    expectClose(t.depth[3], 2.9, "excavation level");
    expectClose(t.pressure[3], kKa30 * 18 * 2.9, "P at the excavation level");
    // Running thrust with unit spacing.
    expectClose(t.thrust, (t.pressure[0] + 2 * t.pressure[1] + 2 * t.pressure[2] + t.pressure[3]) / 2,
                "thrust");
}

TEST(PressurePoints, TableTextHoldsTheCountAndFourColumnsOfThreeDigits) {
    PressureProblem p(2.0);
    p.sand(10, 18, 30);
    p.rec->surchargeLine.uniformPressure = 10;
    p.generate();
    EXPECT_EQ(p.run.earthPressureTableFile.str(),
              "           3\n"
              "      0.000E+00     0.333E+01     0.333E+01     0.000E+00\n"
              "      0.100E+01     0.933E+01     0.933E+01     0.000E+00\n"
              "      0.200E+01     0.153E+02     0.153E+02     0.000E+00\n");
}

TEST(PressurePoints, SurchargeRecordsAddTheirSampledPressure) {
    PressureProblem p(10.0);
    p.sand(20, 18, 30);
    p.rec->surcharges[0] = {2, 50.0, 2.0, 0.0};
    p.rec->surchargeCount = 1;
    p.generate();
    const GeneratedPressure& t = p.soil().pressure;
    for (int i = 1; i < t.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        // Sampled just above the point: at 0.02·H steps, the point itself
        // never being a sampling depth it lies strictly below.
        EXPECT_GT(t.surcharge[k], 0.0);
        EXPECT_DOUBLE_EQ(t.pressure[k], t.withoutSurcharge[k] + t.surcharge[k]);
    }
    // The line load also enters PA1 through the current surcharge.
    expectClose(p.workingLayer(1).pa1, layerSurchargeForce({0.0, 50.0, 0.0, 2.0, 0.0}, 10.0, 0.0, 10.0),
                "PA1 of the top layer is the surcharge force when QS = 0");
}

// ---- anchored walls -----------------------------------------------------------

// Dry sand, H = 9 m, γ = 18, φ = 30: P = KA·γ·z at whole metres, so the
// thrust with unit spacing is KA·γ·H²/2.
struct AnchoredWall : PressureProblem {
    AnchoredWall(int springRows, double firstSupport, double lastSupport) : PressureProblem(9.0, 2, 3) {
        sand(20, 18, 30);
        rec->springRowCount = springRows;
        rec->firstSupportDepth = firstSupport;
        rec->lastSupportDepth = lastSupport;
        rec->firstSupportSet = rec->lastSupportSet = springRows > 0;
    }
};

TEST(Trapezoid, OneSupportRisesToPmaxAtTwoThirdsOfItsDepthAndCarriesOnePointThreeTimesTheThrust) {
    AnchoredWall p(1, 3.0, 3.0);
    p.generate();
    const GeneratedPressure& t = p.soil().pressure;
    ASSERT_EQ(t.count, 10);
    const double thrust = kKa30 * 18 * 81 / 2;
    expectClose(t.thrust, thrust, "A");
    const double pmax = 1.3 * thrust * 3 / (2 * 9.0);
    EXPECT_EQ(t.pressure[0], 0.0);
    expectClose(t.pressure[1], pmax / 2, "halfway up the rise");
    expectClose(t.pressure[2], pmax, "PMAX at 2·D1/3");
    // HB = 2·(9 − 3)/3 = 4: constant down to 5 m, then falling to 0 at 9 m.
    expectClose(t.pressure[5], pmax, "end of the constant part");
    expectClose(t.pressure[7], pmax / 2, "halfway down");
    EXPECT_NEAR(t.pressure[9], 0.0, 1e-12);
    // Area of the trapezoid: PMAX·(HT − (HA + HB)/2) = 1.3·A.
    expectClose(pmax * (9.0 - (2.0 + 4.0) / 2), 1.3 * thrust, "area");
    // The earth pressure without surcharge keeps the triangular values.
    expectClose(t.withoutSurcharge[9], kKa30 * 18 * 9, "P2 at the excavation level");
}

TEST(Trapezoid, TwoSupportsSpanFromTheFirstToTheLast) {
    AnchoredWall p(2, 3.0, 6.0);
    p.generate();
    const GeneratedPressure& t = p.soil().pressure;
    const double thrust = kKa30 * 18 * 81 / 2;
    // HA = 2, HB = 2·(9 − 6)/3 = 2: PMAX over 2..7 m.
    const double pmax = 1.3 * thrust / (9.0 - (2.0 + 2.0) / 2);
    expectClose(t.pressure[1], pmax / 2, "rise");
    expectClose(t.pressure[2], pmax, "top of the constant part");
    expectClose(t.pressure[7], pmax, "end of the constant part");
    expectClose(t.pressure[8], pmax / 2, "fall");
    EXPECT_NEAR(t.pressure[9], 0.0, 1e-12);
}

TEST(Trapezoid, WithoutASupportTheProblemStopsWithAMessage) {
    AnchoredWall p(0, 0.0, 0.0);
    try {
        p.generate();
        FAIL() << "expected an input error";
    } catch (const InputError& e) {
        EXPECT_EQ(e.message, "ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE SUPPORT OF THE ANCHORED WALL:"
                             " A SPRING APPLIED AT A SINGLE STATION");
    }
}

// A spring table whose first record spans several stations locates no
// support: the depth of an earlier problem must not be taken for it.
TEST(Trapezoid, SpringsThatLocateNoSupportStopWithAMessage) {
    AnchoredWall p(2, 3.0, 6.0);
    p.rec->firstSupportSet = false;
    EXPECT_THROW(p.generate(), InputError);
    AnchoredWall q(2, 3.0, 6.0);
    q.rec->lastSupportSet = false;
    EXPECT_THROW(q.generate(), InputError);
}

TEST(Trapezoid, SupportsThatLeaveNoWidthStopWithAMessage) {
    AnchoredWall p(2, 30.0, 0.0); // first support far below the last
    EXPECT_THROW(p.generate(), InputError);
}

// ---- water in the excavation and degenerate layers -------------------------------

TEST(ExcavationWater, PushesBackAndLeavesATinyPositivePressureWhereTheNetIsNotPositive) {
    // Clay cracked to 60/18 m with water standing in the excavation from the
    // surface: the net pressure in the crack zone is negative.
    PressureProblem p(10.0);
    p.clay(20, 18, 30);
    p.rec->wall.waterDepthBackfill = 0.0;
    p.rec->wall.waterDepthExcavation = 0.0;
    p.generate();
    const GeneratedPressure& t = p.soil().pressure;
    for (int i = 1; i <= 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        EXPECT_DOUBLE_EQ(t.pressure[k], (i + 1) * static_cast<double>(1.0E-12f)) << "point " << i + 1;
        expectClose(t.withoutSurcharge[k], -10.0 * i, "P2 keeps the net value");
    }
    // Below the crack tip: 18z − 60 − 10z while it stays positive.
    EXPECT_NEAR(t.pressure[10], 180 - 60 - 100, 120 * kRelative) << "P at the excavation level";
    EXPECT_NE(p.run.earthPressureTableFile.str().find("0.300E-11"), std::string::npos);
}

TEST(DegenerateLayers, ZeroUnitWeightUnderACrackedTopGivesNoPressureAndNoNaN) {
    // Unit weight 0: the net pressure is the same tension throughout the
    // layer, so the crack runs through it.
    PressureProblem p(5.0);
    p.clay(10, 0.0, 20);
    p.generate();
    const WorkingLayer& w = p.workingLayer(1);
    EXPECT_EQ(w.crackHeight, 0.0);
    EXPECT_EQ(w.pa4, 0.0);
    EXPECT_EQ(w.z3, 5.0);
    const GeneratedPressure& t = p.soil().pressure;
    for (int i = 0; i < t.count; ++i) EXPECT_EQ(t.pressure[static_cast<std::size_t>(i)], 0.0);
    for (const std::string& text : {p.report.str(), p.run.earthPressureTableFile.str()}) {
        EXPECT_EQ(text.find("NaN"), std::string::npos) << text;
        EXPECT_EQ(text.find("Inf"), std::string::npos) << text;
    }
    EXPECT_NE(p.report.str().find("Net active pressure is negative."), std::string::npos);
    EXPECT_NE(p.console.str().find("\n\n     Net active pressure is negative.\n\n"), std::string::npos);
}

TEST(DegenerateLayers, OverflowingDataEndWithAMessageAndNothingInfiniteInTheReport) {
    PressureProblem p(100.0);
    p.clay(100, 1.0E307, 10).clay(200, 1.0E307, 10); // the stress at 100 m overflows
    try {
        p.generate();
        FAIL() << "expected an input error";
    } catch (const InputError& e) {
        EXPECT_EQ(e.message, "ERROR -- THE SOIL AND WALL DATA GIVE EARTH PRESSURES TOO LARGE TO COMPUTE");
    }
    EXPECT_EQ(p.report.str(), "");
    EXPECT_EQ(p.run.earthPressureTableFile.str(), "");
}

TEST(DegenerateLayers, ExcavationAtTheSurfaceGivesTheSurfacePointOnly) {
    PressureProblem p(0.0);
    p.sand(10, 18, 30);
    p.rec->surchargeLine.uniformPressure = 6.0;
    p.generate();
    const GeneratedPressure& t = p.soil().pressure;
    ASSERT_EQ(t.count, 1);
    expectClose(t.pressure[0], kKa30 * 6.0, "KA·QS");
}

// ---- stops --------------------------------------------------------------------

TEST(Stops, NoLayerAtTheExcavationLevelStopsWithCodeOneAfterTheSoilTable) {
    PressureProblem p(10.0);
    p.sand(10, 18, 30);
    try {
        p.generate();
        FAIL() << "expected a stop";
    } catch (const EngineStop& stop) {
        EXPECT_EQ(stop.stopCode, "1");
    }
    const std::string report = p.report.str();
    const std::string lastLine = "         1     10.0        0.0  30.0   18.000     T      0.00\n";
    ASSERT_GE(report.size(), lastLine.size());
    EXPECT_EQ(report.substr(report.size() - lastLine.size()), lastLine);
    EXPECT_NE(p.console.str().find("LAYER THICKNESS COHESION  PHI   WEIGHT   DRAINED  ZTOP"),
              std::string::npos);
}

TEST(Stops, MoreThanTwentyWorkingLayersStopsWithCodeTwo) {
    PressureProblem p(10.5);
    for (int i = 1; i <= 20; ++i) p.sand(i, 18.0, 30.0);
    try {
        p.generate();
        FAIL() << "expected a stop";
    } catch (const EngineStop& stop) {
        EXPECT_EQ(stop.stopCode, "2");
    }
}

} // namespace
} // namespace kelda
