// Generated p-y curves: the criteria at hand-computed points, the
// multipliers, the offset force, the equivalent depth, the profile and the
// curve text, and the stops.

#include "py_generation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine_test_support.h"
#include "run_errors.h"

namespace kelda {
namespace {

// A problem record in SI units with a wall configuration and soil layers,
// ready for the generation.
struct Generation {
    std::unique_ptr<ProblemRecord> rec = std::make_unique<ProblemRecord>();
    std::istringstream data;
    std::ostringstream report, plot, notes, console;
    Run run{*rec, data, report, plot, notes, console};

    Generation(double freeHeight, int ninc, double h) {
        rec->control.units = 2;
        rec->labels = UnitLabels::si();
        rec->solution.ninc = ninc;
        rec->solution.h = h;
        rec->wall.freeHeight = freeHeight;
        rec->wall.wa = 1.0;
        rec->wall.wp = 1.0;
        rec->wall.waterDepthBackfill = 100.0;
    }
    void layer(int type, double bottom, std::array<double, 6> top, std::array<double, 6> bot) {
        const int i = rec->soilLayerCount++;
        SoilLayer& l = rec->soilLayers[static_cast<std::size_t>(i)];
        const double previous = i == 0 ? 0.0 : rec->soilLayers[static_cast<std::size_t>(i - 1)].bottomDepth;
        l.type = type;
        l.bottomDepth = bottom;
        l.thickness = bottom - previous;
        l.top = top;
        l.bottom = bot;
    }
    void generate() { generatePySoilCurves(run); }
    std::string curveText() const { return run.pyCurveFile.str(); }
};

// ---- the criteria at hand-computed points --------------------------------------

struct CriterionCase {
    const char* name;
    std::function<double()> actual;
    double expected;
    double relativeTolerance;
};

void PrintTo(const CriterionCase& c, std::ostream* os) { *os << c.name; }

class Criterion : public ::testing::TestWithParam<CriterionCase> {};

TEST_P(Criterion, MatchesTheHandComputedValue) {
    const CriterionCase& c = GetParam();
    const double actual = c.actual();
    EXPECT_NEAR(actual, c.expected, std::abs(c.expected) * c.relativeTolerance + 1e-12) << c.name;
}

// Soft clay: c = 20, gamma = 8, z = 2, D = 0.6, E50 = 0.02:
// Np = 3 + 0.8 + 1.6667 = 5.4667, pu = 65.6, y50 = 0.03.
SoftClayCurve softClay() { return softClayPoints(20.0, 8.0, 2.0, 0.6, 0.02); }
// Stiff clay with free water: c = 100, CA = 90, gamma = 10, z = 0, xs = 1,
// D = 0.5, E50 = 0.005, k = 1e5: pct = 90 + 5 + 2.83·90 = 349.7 < pcd = 550.
StiffClayWetCurve stiffWet() { return stiffClayWetPoints(100.0, 90.0, 10.0, 0.0, 1.0, 0.5, 0.005, 1.0e5); }
// Stiff clay without free water: c = 50, CA = 45, gamma = 9, z = 1.5, D = 0.6,
// E50 = 0.01: pu = min(81 + 8.1 + 33.75, 270) = 122.85, y50 = 0.015.
StiffClayDryCurve stiffDry() { return stiffClayDryPoints(50.0, 45.0, 9.0, 1.5, 0.6, 0.01); }
// Sand: phi = 35 degrees, gamma = 10, z = xs = 2, D = 0.6, k = 20000.
SandCurve sand() { return sandPoints(35.0 * kSandPi / 180.0, 10.0, 2.0, 2.0, 0.6, 20000.0); }
// Silt: phi = 30 degrees, c = 10, gamma = 9, z = 1.2, D = 0.6, k = 15000.
SandCurve silt() { return siltPoints(30.0 * 3.141592653589793 / 180.0, 10.0, 9.0, 1.2, 0.6, 15000.0); }
// Strong rock: qu = 10000, gamma = 20, xs = 1, D = 0.6: su = 5000, pu = 3000.
StrongRockCurve strongRock() { return strongRockPoints(10000.0, 20.0, 1.0, 0.6, 1.0); }
// Weak rock: q = 2000, RQD = 50, xr = 0.3, D = 0.5, krm = 5e-4, Em = 1e5.
WeakRockCurve weakRock() { return weakRockPoints(2000.0, 50.0, 0.3, 0.5, 5.0e-4, 1.0e5); }

const double kExact = 1e-12;

INSTANTIATE_TEST_SUITE_P(
    HandComputed, Criterion,
    ::testing::Values(
        CriterionCase{"soft clay pu", [] { return softClay().pu; }, 65.6, kExact},
        CriterionCase{"soft clay y50", [] { return softClay().y50; }, 0.03, kExact},
        CriterionCase{"soft clay y2 = 0.008f y50", [] { return softClay().points.y[1]; }, 2.400000113993883e-4, 1e-12},
        CriterionCase{"soft clay p7 at 1.25 y50", [] { return softClay().points.p[6]; }, 35.332728916522896, 1e-12},
        CriterionCase{"soft clay p = pu at 8 y50", [] { return softClay().points.p[14] / softClay().pu; }, 1.0, 1e-12},
        CriterionCase{"soft clay p17 = pu", [] { return softClay().points.p[16]; }, 65.6, kExact},
        CriterionCase{"soft clay Np capped at 9", [] { return softClayPoints(20.0, 8.0, 50.0, 0.6, 0.02).pu; }, 108.0,
                      kExact},
        CriterionCase{"soft clay without cohesion", [] { return softClayPoints(0.0, 8.0, 2.0, 0.6, 0.02).points.p[16]; },
                      0.0, kExact},
        CriterionCase{"stiff wet As at z = 0", [] { return stiffClayFactorAs(0.0); }, 0.223, 1e-7},
        CriterionCase{"stiff wet As at z/D = 2.5", [] { return stiffClayFactorAs(2.5); }, 0.5699999928474426, 1e-12},
        CriterionCase{"stiff wet As at z/D = 5", [] { return stiffClayFactorAs(5.0); }, 0.6, 1e-7},
        CriterionCase{"stiff wet As at z/D = 40", [] { return stiffClayFactorAs(40.0); }, 0.6, 1e-7},
        CriterionCase{"stiff wet pc", [] { return stiffWet().pc; }, 349.6999931335449, 1e-12},
        CriterionCase{"stiff wet y50", [] { return stiffWet().y50; }, 0.0025, kExact},
        CriterionCase{"stiff wet p2 on the cap k x y", [] { return stiffWet().points.p[1]; }, 27.875000610947605, 1e-12},
        CriterionCase{"stiff wet p5 at 2 As y50", [] { return stiffWet().points.p[4]; }, 97.53697962101187, 1e-12},
        CriterionCase{"stiff wet p14 at 10 As y50", [] { return stiffWet().points.p[13]; }, 39.029925801771455, 1e-10},
        CriterionCase{"stiff wet p17 on the final branch", [] { return stiffWet().points.p[16]; }, 0.03837571278769758,
                      1e-8},
        CriterionCase{"stiff dry pu", [] { return stiffDry().pu; }, 122.85, kExact},
        CriterionCase{"stiff dry p8 at 0.01 x 16 y50", [] { return stiffDry().points.p[7]; }, 38.84858083808517, 1e-12},
        CriterionCase{"stiff dry p = pu at 16 y50", [] { return stiffDry().points.p[14] / stiffDry().pu; }, 1.0, 1e-15},
        CriterionCase{"sand A at r = 0", [] { return sandFactors(0.0).a; }, 2.83, 1e-7},
        CriterionCase{"sand B at r = 0", [] { return sandFactors(0.0).b; }, 2.14, 1e-7},
        CriterionCase{"sand A at r = 7", [] { return sandFactors(7.0).a; }, 0.88, 1e-7},
        CriterionCase{"sand B at r = 5", [] { return sandFactors(5.0).b; }, 0.5, 1e-7},
        CriterionCase{"sand pst", [] { return sand().pst; }, 159.84945123009973, 1e-12},
        CriterionCase{"sand psd", [] { return sand().psd; }, 645.555550471327, 1e-12},
        CriterionCase{"sand A at xs/D = 3.33", [] { return sand().a; }, 1.006666620572408, 1e-12},
        CriterionCase{"sand pu", [] { return sand().pu; }, 160.91510687015844, 1e-12},
        CriterionCase{"sand p2 on the initial line", [] { return sand().points.p[1]; }, 33.333333333333336, 1e-12},
        CriterionCase{"sand p10 on the parabola", [] { return sand().points.p[9]; }, 91.57556144221915, 1e-10},
        CriterionCase{"sand p13 = pm at ym", [] { return sand().points.p[12]; }, 103.90213948845692, 1e-10},
        CriterionCase{"sand p14 = pu at yu", [] { return sand().points.p[13]; }, 160.91510687015844, 1e-12},
        CriterionCase{"silt ps", [] { return silt().ps; }, 42.055691064925455, 1e-12},
        CriterionCase{"silt puc", [] { return silt().puc; }, 30.48, 1e-12},
        CriterionCase{"silt pu", [] { return silt().pu; }, 92.72242357823832, 1e-12},
        CriterionCase{"silt pm", [] { return silt().pm; }, 74.63847361280011, 1e-12},
        CriterionCase{"silt without cohesion: no cohesion term",
                      [] { return siltPoints(0.5, 0.0, 9.0, 1.2, 0.6, 15000.0).puc; }, 0.0, kExact},
        CriterionCase{"strong rock y2 = 0.0024 D", [] { return strongRock().y2; }, 0.0014400001151952892, 1e-12},
        CriterionCase{"strong rock pu", [] { return strongRock().pu; }, 3000.0, kExact},
        CriterionCase{"strong rock p9 on the linear branch", [] { return strongRock().points.p[8]; },
                      2663.999973121099, 1e-12},
        CriterionCase{"strong rock p17 residual", [] { return strongRock().points.p[16]; }, 6.0, kExact},
        CriterionCase{"weak rock alphar", [] { return weakRock().alphar; }, 0.6666666585952044, 1e-15},
        CriterionCase{"weak rock pur", [] { return weakRock().pur; }, 1226.666642278433, 1e-12},
        CriterionCase{"weak rock Mir", [] { return weakRock().mir; }, 1.8e7, kExact},
        CriterionCase{"weak rock p1 on the initial line", [] { return weakRock().points.p[0]; }, 2.2500001068692654,
                      1e-9},
        // 0.5·12^0.25 = 0.9306: the 12 yrm point lies below the flat branch,
        // which begins at 16 yrm.
        CriterionCase{"weak rock p at 12 yrm", [] { return weakRock().points.p[16] / weakRock().pur; },
                      0.9306048591020996, 1e-12},
        CriterionCase{"weak rock at xr = 3D, pur", [] { return weakRockPoints(2000, 50, 1.5, 0.5, 5e-4, 1e5).pur; },
                      3466.6665770113473, 1e-12},
        CriterionCase{"weak rock beyond 3D, pur", [] { return weakRockPoints(2000, 50, 1.6, 0.5, 5e-4, 1e5).pur; },
                      3466.666497538489, 1e-12},
        CriterionCase{"weak rock at 3D, Mir", [] { return weakRockPoints(2000, 50, 1.5, 0.5, 5e-4, 1e5).mir; }, 5.0e7,
                      1e-12}),
    [](const auto& caseInfo) { return "case" + std::to_string(caseInfo.index); });

TEST(CriterionShape, DeflectionsIncreaseAndSoftClayUsesTheSecantModulusBelow1e14) {
    // A strain so small that y2 = 0.008 y50 lies below 1.0E-14.
    const SoftClayCurve tiny = softClayPoints(20.0, 8.0, 2.0, 0.6, 1.0e-15);
    ASSERT_LT(tiny.points.y[1], kSoftClaySmallDeflection);
    const double es = softClaySmallDeflectionModulus(tiny.pu, tiny.y50);
    EXPECT_DOUBLE_EQ(tiny.points.p[1], es * tiny.points.y[1]);
    EXPECT_NEAR(es * kSoftClaySmallDeflection,
                0.5 * tiny.pu * std::cbrt(kSoftClaySmallDeflection / tiny.y50), 1e-9 * tiny.pu);
    for (const SidePoints& pts : {softClay().points, stiffWet().points, stiffDry().points, sand().points,
                                  silt().points, strongRock().points, weakRock().points}) {
        for (std::size_t j = 1; j < pts.y.size(); ++j) EXPECT_GT(pts.y[j], pts.y[j - 1]);
    }
}

// ---- multipliers -----------------------------------------------------------------

struct MultiplierCase {
    const char* name;
    double wa, wp;
    std::vector<PyModification> table;
    double x, p, y;
};
void PrintTo(const MultiplierCase& c, std::ostream* os) { *os << c.name; }
class Multipliers : public ::testing::TestWithParam<MultiplierCase> {};

TEST_P(Multipliers, AtDepth) {
    const MultiplierCase& c = GetParam();
    auto rec = std::make_unique<ProblemRecord>();
    rec->wall.freeHeight = 4.0;
    rec->wall.wa = c.wa;
    rec->wall.wp = c.wp;
    rec->pyModificationCount = static_cast<int>(c.table.size());
    for (std::size_t i = 0; i < c.table.size(); ++i) rec->pyModifications[i] = c.table[i];
    EXPECT_DOUBLE_EQ(pMultiplier(*rec, c.x), c.p) << c.name;
    EXPECT_DOUBLE_EQ(yMultiplier(*rec, c.x), c.y) << c.name;
}

const std::vector<PyModification> kTable{{10.0, 0.5, 2.0}, {20.0, 0.7, 3.0}};
const std::vector<PyModification> kTwice{{10.0, 0.5, 2.0}, {10.0, 0.9, 4.0}, {20.0, 1.0, 1.0}};

INSTANTIATE_TEST_SUITE_P(
    Cases, Multipliers,
    ::testing::Values(
        MultiplierCase{"WA = WP below the excavation", 1.0, 1.0, {}, 5.0, static_cast<double>(0.5292f), 1.0},
        MultiplierCase{"WA = WP above the excavation", 1.0, 1.0, {}, 3.0, 1.0, 1.0},
        MultiplierCase{"WA/WP = 2", 2.0, 1.0, {}, 5.0,
                       static_cast<double>(0.5292f) * std::pow(2.0, static_cast<double>(0.5659f)), 1.0},
        MultiplierCase{"WA/WP = 3.1", 3.1, 1.0, {}, 5.0, 1.0, 1.0},
        MultiplierCase{"table: above its first depth", 1.0, 1.0, kTable, 5.0, 1.0, 1.0},
        MultiplierCase{"table: beyond its last depth", 1.0, 1.0, kTable, 25.0, 1.0, 1.0},
        MultiplierCase{"table: between rows", 1.0, 1.0, kTable, 15.0, 0.6, 2.5},
        MultiplierCase{"table: at a row", 1.0, 1.0, kTable, 20.0, 0.7, 3.0},
        MultiplierCase{"table: a depth listed twice takes the second row", 1.0, 1.0, kTwice, 10.0, 0.9, 4.0}),
    [](const auto& caseInfo) { return "case" + std::to_string(caseInfo.index); });

// ---- offset force --------------------------------------------------------------------

TEST(OffsetForce, RulesOfEachSoilAndSmallPressures) {
    auto rec = std::make_unique<ProblemRecord>();
    rec->wall.wa = 1.0;
    rec->wall.wp = 1.0;
    rec->backfillStressAtExcavation = 40.0;
    const double ka = 0.25;
    struct Case {
        double pdl;
        OffsetRule rule;
        double c, expected;
    };
    const Case cases[] = {
        {50.0, OffsetRule::Clay, 5.0, 30.0},           // min(50 - 10, 40 - 10)
        {20.0, OffsetRule::Clay, 5.0, 10.0},           // min(20 - 10, 40 - 10)
        {5.0, OffsetRule::Clay, 5.0, 0.0},             // cohesion carries it all
        {50.0, OffsetRule::Sand, 0.0, 10.0},           // min(50, 40·0.25)
        {50.0, OffsetRule::Silt, 2.0, 10.0 - 2.0},     // S = 2·2·0.5
        {1.0e-5, OffsetRule::Sand, 0.0, 0.0},          // no pressure at the excavation level
        {5.0e-5, OffsetRule::Sand, 0.0, 5.0e-5},       // small pressure, small offset
        {5.0e-5, OffsetRule::Clay, 0.0, 5.0e-5},       // the same for a clay without cohesion
        {5.0e-11, OffsetRule::Silt, 0.0, 0.0},         // below the silt's limit
        {9.0e-6, OffsetRule::Silt, 0.0, 0.0},          // offset below 1.0E-5
    };
    for (const Case& c : cases) {
        rec->earthPressure.lastPressure = c.pdl;
        EXPECT_DOUBLE_EQ(offsetForce(*rec, c.rule, c.c, ka, 1.0), c.expected) << c.pdl;
    }
    // Wide spacing: the pressure is shared by WA/WP = 2 pile widths.
    rec->wall.wa = 2.0;
    rec->earthPressure.lastPressure = 50.0;
    EXPECT_DOUBLE_EQ(offsetForce(*rec, OffsetRule::Sand, 0.0, ka, 1.0), 10.0);
    EXPECT_DOUBLE_EQ(offsetForce(*rec, OffsetRule::Clay, 5.0, ka, 1.0), 15.0);
}

// ---- curve text ---------------------------------------------------------------------------

struct TextBlock {
    double depth = 0.0;
    int count = 0;
    std::vector<std::array<double, 3>> points; // index, p, y
};

std::vector<TextBlock> parseCurveText(const std::string& text, int& total) {
    std::istringstream in(text);
    in >> total;
    std::vector<TextBlock> blocks;
    for (int k = 0; k < total; ++k) {
        TextBlock b;
        in >> b.depth >> b.count;
        for (int i = 0; i < b.count; ++i) {
            std::array<double, 3> p{};
            in >> p[0] >> p[1] >> p[2];
            b.points.push_back(p);
        }
        blocks.push_back(b);
    }
    return blocks;
}

TEST(CurveText, ThreeLayersGiveFifteenCurvesOf34PointsAtTheirDepths) {
    Generation g(4.0, 40, 0.25);
    g.layer(3, 6.0, {19, 60, 0, 0.005, 0, 0}, {19, 60, 0, 0.005, 0, 0});
    g.layer(4, 8.0, {18, 0, 32, 0, 20000, 0}, {18, 0, 34, 0, 20000, 0});
    g.layer(1, 20.0, {17, 20, 0, 0.02, 0, 0}, {17, 40, 0, 0.02, 0, 0});
    g.generate();
    int total = 0;
    const std::vector<TextBlock> blocks = parseCurveText(g.curveText(), total);
    ASSERT_EQ(total, 15);
    ASSERT_EQ(blocks.size(), 15U);
    EXPECT_EQ(test::lines(g.curveText()).size(), 1U + 15U * 35U);
    const double expectedDepths[15] = {4.1, 4.5, 5.0, 5.5, 5.9, 6.1, 6.5, 7.0, 7.5, 7.9, 8.1, 8.625, 9.25, 9.875, 10.4};
    for (std::size_t k = 0; k < 15; ++k) {
        const TextBlock& b = blocks[k];
        EXPECT_NEAR(b.depth, expectedDepths[k], 1e-7) << k;
        EXPECT_EQ(b.count, 34);
        for (std::size_t i = 0; i < 34; ++i) {
            EXPECT_EQ(b.points[i][0], static_cast<double>(i % 17 + 1));
            if (i % 17 > 0) {
                EXPECT_GT(b.points[i][2], b.points[i - 1][2]) << "y increases on each side";
            }
        }
        EXPECT_EQ(b.points[0][2], 0.0);
        EXPECT_EQ(b.points[17][2], 0.0);
    }
    // The tip plus two increments (10.5 m) is 6.5 m below the excavation level:
    // the soft clay ends there with its strength interpolated.
    const PySoilState& s = g.rec->pySoil;
    EXPECT_DOUBLE_EQ(s.layer[2].bottom, 6.5);
    EXPECT_DOUBLE_EQ(s.cohesion[5], 20.0 + 20.0 * (6.5 - 4.0) / 12.0);
    EXPECT_EQ(g.console.str(), " READ SOIL DATA....\n");
}

TEST(CurveText, UserCurvesComeFirstAsTheDataFileGaveThem) {
    // Case 3: a user curve at station 4 beside the generated ones, through a
    // whole run.
    const std::string data =
        "Mixed curves\n2 0 1 0 1 2 1 1 0\n40 0.25 0.5 1E-5 4\n0 40 1 60000\n0\n0\n2\n0 0\n4 24\n"
        "4 1 1 20 20 1 1 0\n0 0 0 0 0 0\n0\n1\n1 14\n17 20 0 0.02 0 0\n17 35 0 0.02 0 0\n"
        "4 3 2 0.5\n-0.2 10\n0 0\n0.2 -10\n0\n";
    const test::MemoryRun r = test::runText(data);
    ASSERT_TRUE(r.summary.performed()) << r.report;
    EXPECT_NE(r.report.find("RESULTS -- ITERATION"), std::string::npos);
    EXPECT_NE(r.report.find("INPUTTED  SOIL RESISTANCE (P-Y) CURVES"), std::string::npos);
    EXPECT_NE(r.report.find("THE SOIL IS A SOFT CLAY"), std::string::npos);
    EXPECT_NE(r.plot.find(" 2 6\n"), std::string::npos) << "one user and five generated curves: " << r.plot;
}

TEST(CurveText, ZeroCohesionSoftClayCarriesTheOffsetForceOnBothSides) {
    Generation g(4.0, 40, 0.25);
    g.rec->earthPressure.lastPressure = 30.0;
    g.rec->backfillStressAtExcavation = 50.0;
    g.layer(1, 20.0, {17, 0, 0, 0.02, 0, 0}, {17, 0, 0, 0.02, 0, 0});
    g.generate();
    int total = 0;
    const auto blocks = parseCurveText(g.curveText(), total);
    ASSERT_EQ(total, 5);
    for (const TextBlock& b : blocks) {
        for (std::size_t i = 0; i < 17; ++i) EXPECT_EQ(b.points[i][1], -30.0);
        for (std::size_t i = 17; i < 34; ++i) EXPECT_EQ(b.points[i][1], 30.0);
    }
}

// ---- profile -------------------------------------------------------------------------------

TEST(Profile, ExcavationInsideALayerWaterTableInsideTheNextAndThinLayers) {
    Generation g(3.0, 40, 0.25);
    g.rec->wall.waterDepthBackfill = 6.0; // 3 m below the excavation surface
    g.layer(4, 3.15, {18, 0, 30, 0, 10000, 0}, {18, 0, 30, 0, 10000, 0}); // 0.15 m below the excavation
    g.layer(4, 3.15, {18, 0, 30, 0, 10000, 0}, {18, 0, 30, 0, 10000, 0}); // no thickness
    g.layer(4, 3.45, {19, 0, 32, 0, 10000, 0}, {19, 0, 32, 0, 10000, 0}); // 0.3 m
    g.layer(4, 9.0, {20, 0, 34, 0, 20000, 0}, {20, 0, 36, 0, 20000, 0});
    g.generate();
    const PySoilState& s = g.rec->pySoil;
    ASSERT_EQ(s.layerCount, 4);
    EXPECT_DOUBLE_EQ(s.layer[0].bottom, 0.15);
    EXPECT_EQ(s.layer[1].curveCount, 0) << "a layer without thickness gets no curve";
    // Every curve inside its layer and the chain in depth order.
    ASSERT_EQ(s.curveCount, 15);
    for (int K = 1; K <= 4; ++K) {
        const PyLayer& l = s.layer[static_cast<std::size_t>(K - 1)];
        for (int k = 1; k <= l.curveCount; ++k) {
            EXPECT_GT(curveDepth(s, K, k), l.top);
            EXPECT_LT(curveDepth(s, K, k), l.bottom);
        }
    }
    for (int i = 1; i < s.curveCount; ++i) EXPECT_GT(s.curveDepth[static_cast<std::size_t>(i)], s.curveDepth[static_cast<std::size_t>(i - 1)]);
    EXPECT_DOUBLE_EQ(curveDepth(s, 1, 1), 0.15 / 8.0);
    EXPECT_DOUBLE_EQ(curveDepth(s, 4, 1), 0.45 + static_cast<double>(0.1f));

    // Unit weights: the last layer is dry down to the water table at 3 m
    // and submerged (20 - 10) below it.
    const int n = s.unitWeightCount;
    ASSERT_EQ(n, 10);
    EXPECT_DOUBLE_EQ(s.unitWeightDepth[6], 0.45);
    EXPECT_DOUBLE_EQ(s.unitWeightDepth[7], 3.0);
    EXPECT_DOUBLE_EQ(s.unitWeight[7], 20.0);
    EXPECT_DOUBLE_EQ(s.unitWeightDepth[8], 3.0);
    EXPECT_DOUBLE_EQ(s.unitWeight[8], 10.0);
    EXPECT_DOUBLE_EQ(s.unitWeightDepth[9], 6.0);
    // Average down to 4 m: 0.15·18 + 0.3·19 + 2.55·20 + 1·10, over 4.
    EXPECT_NEAR(averageUnitWeight(g.run, 4.0), (0.15 * 18 + 0.3 * 19 + 2.55 * 20 + 10.0) / 4.0, 1e-12);
    EXPECT_DOUBLE_EQ(averageUnitWeight(g.run, 0.0), 18.0);
    // Strength at the boundary of two sands: the lower layer's angle.
    EXPECT_NEAR(phiAt(g.run, s.layer[3].top) * 180.0 / kSandPi, 34.0, 1e-12);
    EXPECT_NEAR(phiAt(g.run, 3.225) * 180.0 / kSandPi, 35.0, 1e-12);
}

TEST(Profile, ThinLayersKeepTheCurvesInOrderThroughASolution) {
    // The excavation level 0.15 m above a layer boundary: curves at 0.1 and
    // 0.05 would turn back and stop the solution with stations out of order.
    const std::string data =
        "Thin layer\n2 0 1 0 1 2 0 1 0\n40 0.05 0.5 1E-5 0.5\n0 40 1 60000\n0\n0\n2\n0 0\n0.5 5\n"
        "0.5 1 1 20 20 1 1 0\n0 0 0 0 0 0\n0\n2\n4 0.65\n18 0 30 0 20000 0\n18 0 30 0 20000 0\n"
        "4 5\n19 0 35 0 30000 0\n19 0 35 0 30000 0\n0\n";
    const test::MemoryRun r = test::runText(data);
    EXPECT_TRUE(r.summary.performed()) << r.report;
    EXPECT_EQ(r.report.find("NOT IN ORDER"), std::string::npos);
    EXPECT_NE(r.report.find("RESULTS -- ITERATION"), std::string::npos);
}

// ---- equivalent depth -------------------------------------------------------------------------

// Depth at which the integral of `rate` from 0 reaches f, by fine steps.
template <class Rate>
double integrateTo(double f, Rate rate) {
    const double dz = 1.0e-5;
    double sum = 0.0;
    for (double z = 0.0;; z += dz) {
        const double add = 0.5 * (rate(z) + rate(z + dz)) * dz;
        if (sum + add >= f) return z + dz * (f - sum) / add;
        sum += add;
    }
}

TEST(EquivalentDepth, SoftClayUnderStiffClayMatchesTheIntegratedResistance) {
    Generation g(4.0, 40, 0.25);
    g.layer(3, 5.0, {19, 60, 0, 0.005, 0, 0}, {19, 60, 0, 0.005, 0, 0});
    g.layer(1, 20.0, {17, 20, 0, 0.02, 0, 0}, {17, 20, 0, 0.02, 0, 0});
    g.generate();
    const PySoilState& s = g.rec->pySoil;
    // Upper layer (1 m): curves at 0.1, 0.25, 0.5, 0.75, 0.9 with c = CA = 60,
    // gamma = 19, D = 1: pu = min(180 + 19 z + 30 z, 540) = 180 + 49 z.
    const double x[5] = {0.1000000014901161, 0.25, 0.5, 0.75, 0.8999999985098839};
    double iu = 0.0;
    for (int k = 1; k < 5; ++k) iu += (x[k] - x[k - 1]) * (360.0 + 49.0 * (x[k] + x[k - 1])) / 2.0;
    EXPECT_NEAR(s.layer[0].integratedResistance, iu, 1e-9);
    // Lower layer at its first curve (1.1): c = 20, average unit weight
    // (19·1 + 17·0.1)/1.1; its own resistance min(3cD + gamma D z + 0.5 c z, 9cD).
    const double gamma = (19.0 + 1.7000000253319740) / 1.1000000014901161;
    const double h = integrateTo(iu, [&](double z) { return std::min(60.0 + gamma * z + 10.0 * z, 180.0); });
    EXPECT_NEAR(s.layer[1].equivalentDepth, h, 1e-6);
    EXPECT_GT(h, 1.0) << "a strong upper layer puts the soft clay deep";
}

TEST(EquivalentDepth, StepwiseSoilsAgreeWithAFineIntegration) {
    const double d = 0.6, gamma = 9.0;
    // Sand, phi = 32 degrees: rate gamma D^2 (A2 r^2 + A1 r) A(r).
    LayerTopProperties sandTop{4, 0.0, 0.0, gamma, d, 32.0 * kSandPi / 180.0, 2.1};
    const SandWedge w = sandWedge(sandTop.phi, kSandPi);
    const auto sandRate = [&](double z) {
        const SandResistance r = sandResistance(w, gamma, z, d);
        return std::min(r.wedge, r.flow) * sandFactors(z / d).a;
    };
    const double hSand = integrateTo(200.0, sandRate);
    EXPECT_NEAR(equivalentDepth(sandTop, 200.0), hSand, 0.02 * hSand);

    // Stiff clay with free water, c = 80, CA = 70: rate pc(z)·FA(z).
    LayerTopProperties wetTop{2, 80.0, 70.0, gamma, d, 0.0, 2.1};
    const auto wetRate = [&](double z) {
        const double pc = std::min(2.0 * 70.0 * d + gamma * d * z + static_cast<double>(2.83f) * 70.0 * z, 11.0 * 80.0 * d);
        return pc * stiffClayFlatFactor(stiffClayFactorAs(z / d));
    };
    const double hWet = integrateTo(10.0, wetRate);
    EXPECT_NEAR(equivalentDepth(wetTop, 10.0), hWet, 0.03 * hWet);

    // Nothing above: the layer starts at its own top.
    EXPECT_EQ(equivalentDepth(sandTop, 0.0), 0.0);
    // No cohesion in a soft clay: depth has no effect, none is taken.
    EXPECT_EQ(equivalentDepth({1, 0.0, 0.0, 0.0, d, 0.0, 2.1}, 100.0), 0.0);
    // A sand without friction has practically no resistance: a very large
    // depth, but a number.
    EXPECT_TRUE(std::isfinite(equivalentDepth({4, 0.0, 0.0, gamma, d, 0.0, 2.1}, 100.0)));
}

// ---- stops and data errors -----------------------------------------------------------------------

TEST(Stops, PropertyFunctionsBeyondTheirDistributions) {
    Generation g(4.0, 40, 0.25);
    g.layer(1, 20.0, {17, 20, 0, 0.02, 0, 0}, {17, 20, 0, 0.02, 0, 0});
    buildPyProfile(*g.rec);
    try {
        cohesionAt(g.run, 7.0);
        FAIL();
    } catch (const EngineStop& stop) {
        EXPECT_EQ(stop.stopCode, "1");
    }
    const std::string warning = "\n                             **** WARNING ****\n"
                                "     THE VALUE OF X =  0.7D+01IS BEYOND THE EXTENT OF\n"
                                "     THE INPUT STRENGTH CURVE\n";
    EXPECT_EQ(g.console.str(), warning + warning);
    try {
        phiAt(g.run, 7.0);
        FAIL();
    } catch (const EngineStop& stop) {
        EXPECT_EQ(stop.stopCode, "");
    }
    EXPECT_NE(g.console.str().find(" IS BEYOND THE EXTENT OF\n     THE INPUT PHI CURVE\n"), std::string::npos);
    try {
        averageUnitWeight(g.run, 7.0);
        FAIL();
    } catch (const EngineStop& stop) {
        EXPECT_EQ(stop.stopCode, "4");
    }
}

TEST(Stops, SiltWithoutFrictionAndWeakRockWithoutStrength) {
    Generation silt(4.0, 40, 0.25);
    silt.layer(5, 20.0, {17, 10, 0, 0.01, 10000, 0}, {17, 10, 0, 0.01, 10000, 0});
    try {
        silt.generate();
        FAIL();
    } catch (const EngineStop& stop) {
        EXPECT_EQ(stop.stopCode, "");
    }
    EXPECT_NE(silt.console.str().find("\n\n       WARNING-------The Angle of the slope can not\n"), std::string::npos);

    Generation rock(4.0, 40, 0.25);
    rock.layer(7, 20.0, {21, 0, 0, 5e-4, 1e5, 50}, {21, 0, 0, 5e-4, 1e5, 50});
    try {
        rock.generate();
        FAIL();
    } catch (const EngineStop& stop) {
        EXPECT_EQ(stop.stopCode, "");
    }
    EXPECT_NE(rock.console.str().find("THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT"), std::string::npos);
    int total = 0;
    std::istringstream text(rock.curveText());
    text >> total;
    EXPECT_EQ(test::lines(rock.curveText()).size(), 1U + 35U) << "the first curve is written, the second stops";
}

struct DataErrorCase {
    const char* name;
    int type;
    std::array<double, 6> values;
    double wp;
    const char* message;
};
void PrintTo(const DataErrorCase& c, std::ostream* os) { *os << c.name; }
class DataErrors : public ::testing::TestWithParam<DataErrorCase> {};

TEST_P(DataErrors, StopTheProblemWithAMessageNamingTheLayer) {
    const DataErrorCase& c = GetParam();
    Generation g(4.0, 40, 0.25);
    g.rec->wall.wp = c.wp;
    g.layer(c.type, 20.0, c.values, c.values);
    try {
        g.generate();
        FAIL() << c.name;
    } catch (const InputError& e) {
        EXPECT_EQ(e.message, c.message);
    }
    EXPECT_EQ(g.curveText(), "") << "nothing is written before the data are known to be usable";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataErrors,
    ::testing::Values(
        DataErrorCase{"clay without E50", 1, {17, 20, 0, 0, 0, 0}, 1.0,
                      "ERROR -- P-Y LAYER 1 (CLAY): E50 AT ITS TOP MUST BE POSITIVE, FOUND 0.000E+00"},
        DataErrorCase{"no width", 3, {17, 20, 0, 0.01, 0, 0}, 0.0,
                      "ERROR -- THE WIDTH FOR P-Y SOIL RESISTANCE MUST BE POSITIVE TO GENERATE P-Y CURVES, FOUND "
                      "0.000E+00"},
        DataErrorCase{"weak rock without krm", 7, {21, 2000, 0, 0, 1e5, 50}, 1.0,
                      "ERROR -- P-Y LAYER 1 (WEAK ROCK): KRM AT ITS TOP MUST BE POSITIVE, FOUND 0.000E+00"},
        DataErrorCase{"weak rock without modulus", 7, {21, 2000, 0, 5e-4, -1, 50}, 1.0,
                      "ERROR -- P-Y LAYER 1 (WEAK ROCK): THE ROCK MASS MODULUS MUST BE POSITIVE, FOUND -0.100E+01"},
        DataErrorCase{"rock without strength", 6, {22, 0, 0, 0, 0, 0}, 1.0,
                      "ERROR -- P-Y LAYER 1 (ROCK): THE COMPRESSIVE STRENGTH AT ITS TOP MUST BE POSITIVE, FOUND "
                      "0.000E+00"}),
    [](const auto& caseInfo) { return "case" + std::to_string(caseInfo.index); });

TEST(Report, SiltHeaderShowsPhiInUtf8) {
    Generation g(4.0, 40, 0.25);
    g.layer(5, 20.0, {18, 10, 30, 0.01, 15000, 0}, {18, 10, 30, 0.01, 15000, 0});
    g.generate();
    const std::string report = g.report.str();
    EXPECT_NE(report.find("     Puc       Pu\xCF\x86\n"), std::string::npos);
    EXPECT_EQ(report.find('\xED'), std::string::npos);
    EXPECT_EQ(report.find("nan"), std::string::npos);
}

} // namespace
} // namespace kelda
