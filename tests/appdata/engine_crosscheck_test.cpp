// Every file the writer produces in the data-file tests is read by the
// engine's own reader, and the two agree on every value the engine stores
// from it: control line, solution line, restraints, station tables, p-y
// modification factors, user-specified pressure, wall configuration,
// surcharges, soil layers, external p-y curves and moment-EI sets.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "kelda/data/program_data.h"
#include "kelda/data/units.h"
#include "project_fixtures.h"
#include "run_driver.h"

namespace kelda::data {
namespace {

using kelda::ProblemRecord;

// Reals stand in the file with 8 significant digits.
void expectNear8(double file, double held, const char* what) {
    EXPECT_LE(std::fabs(file - held), 1e-7 * std::max(std::fabs(file), std::fabs(held)) + 1e-300)
        << what << ": engine " << file << ", project " << held;
}

// The engine's record after reading each problem of `text`.
std::vector<std::unique_ptr<ProblemRecord>> engineRead(const std::string& text) {
    std::vector<std::unique_ptr<ProblemRecord>> problems;
    kelda::RunHooks hooks;
    hooks.at = [&](kelda::Run& run, kelda::RunStep step) {
        if (step == kelda::RunStep::ProblemRead) problems.push_back(std::make_unique<ProblemRecord>(run.rec));
    };
    std::istringstream data(text);
    std::ostringstream report, plot, notes, console;
    const kelda::RunSummary summary = kelda::runProblems(data, report, plot, notes, console, &hooks);
    EXPECT_NE(summary.ending, kelda::RunEnding::InputError) << summary.message;
    return problems;
}

// A constant-mode station table as the engine distributes it: each row's
// value over its stations, half at both ends, whole at a single station.
std::vector<double> constantRows(const GridTable& t, int fromColumn, int toColumn, int valueColumn,
                                 double sign, int stations) {
    std::vector<double> v(static_cast<std::size_t>(stations + 4), 0.0);
    for (int r = 0; r < t.rowCount(); ++r) {
        const int from = t.asInteger(fromColumn, r);
        const int to = t.asInteger(toColumn, r);
        const double value = sign * t.asFloat(valueColumn, r);
        for (int j = from; j <= to; ++j) v[static_cast<std::size_t>(j)] += value;
        if (from != to) {
            v[static_cast<std::size_t>(from)] -= 0.5 * value;
            v[static_cast<std::size_t>(to)] -= 0.5 * value;
        }
    }
    return v;
}

void expectStations(const kelda::StationArray<double>& engine, const std::vector<double>& expected, int ninc,
                    const char* what) {
    for (int j = 0; j <= ninc; ++j) expectNear8(engine[j], expected[static_cast<std::size_t>(j)], what);
}

enum class Block { ShortTerm, LongTerm, Stage };

void expectAgreement(TProgramData& p, Block block, const ProblemRecord& rec) {
    const ProjectTables& t = p.Tables();
    const bool english = p.Units == kEnglish;
    const double ft = english ? 12.0 : 1.0;

    // control line
    EXPECT_EQ(rec.control.units, p.Units);
    EXPECT_EQ(rec.control.restraintCount, t.soillayer.rowCount());
    EXPECT_EQ(rec.control.stiffnessRowCount, t.pileSect.rowCount());
    EXPECT_EQ(rec.control.pyModificationCount, t.pyMod.rowCount());
    const int ep = block == Block::ShortTerm ? p.EarthPressureOption
                                             : (p.UserPressure ? 1 : (p.EarthPressureOption == 0 && !p.GeneratePY &&
                                                                              !p.GeneratedPressure
                                                                          ? 0
                                                                          : 2));
    EXPECT_EQ(rec.control.earthPressureOption, ep);
    EXPECT_EQ(rec.control.pyOption, p.PYOption);
    EXPECT_EQ(rec.control.userPyCurveCount, t.pyCurves2.rowCount());
    EXPECT_EQ(rec.control.stageCount, p.StageCount);
    EXPECT_EQ(rec.control.momentEISetCount, p.UseEICurves ? t.meiCurves2.rowCount() : 0);

    // solution line
    const int ninc = p.Increments;
    EXPECT_EQ(rec.solution.ninc, ninc);
    expectNear8(rec.solution.h, p.IncrementLength, "h");
    expectNear8(rec.solution.maxAllowableDeflection, p.MaxDeflection, "maximum deflection");
    expectNear8(rec.solution.closureTolerance, p.Tolerance, "tolerance");
    expectNear8(rec.solution.freeHeight, p.FreeHeight, "free height");

    // restraints
    ASSERT_EQ(rec.restraintCount, t.soillayer.rowCount());
    for (int r = 0; r < rec.restraintCount; ++r) {
        const kelda::Restraint& e = rec.restraints[static_cast<std::size_t>(r)];
        EXPECT_EQ(e.caseCode, t.soillayer.asInteger(0, r));
        EXPECT_EQ(e.station, t.soillayer.asInteger(1, r));
        expectNear8(e.deflection, t.soillayer.asFloat(2, r), "restraint deflection");
        expectNear8(e.slope, t.soillayer.asFloat(3, r), "restraint slope");
    }

    // station tables (the fixtures use constant rows)
    expectStations(rec.ei, constantRows(t.pileSect, 0, 1, 3, 1.0, ninc), ninc, "EI");
    expectStations(rec.t, constantRows(t.boundCond, 1, 2, 4, 1.0, ninc), ninc, "moment");
    expectStations(rec.p, constantRows(t.boundCond, 1, 2, 5, -1.0, ninc), ninc, "axial load");
    expectStations(rec.s, constantRows(t.soilStrength, 1, 2, 3, 1.0, ninc), ninc, "lateral spring");
    expectStations(rec.r, constantRows(t.soilStrength, 1, 2, 4, 1.0, ninc), ninc, "rotational spring");
    if (ep == 0) expectStations(rec.q, constantRows(t.boundCond, 1, 2, 3, 1.0, ninc), ninc, "lateral load");

    // p-y modification factors
    ASSERT_EQ(rec.pyModificationCount, t.pyMod.rowCount());
    for (int r = 0; r < rec.pyModificationCount; ++r) {
        const kelda::PyModification& m = rec.pyModifications[static_cast<std::size_t>(r)];
        expectNear8(m.depth, t.pyMod.asFloat(0, r) * ft, "p-y modification depth");
        expectNear8(m.pFactor, t.pyMod.asFloat(1, r), "p-factor");
        expectNear8(m.yFactor, t.pyMod.asFloat(2, r), "y-factor");
    }

    // user-specified pressure
    if (ep == 1) {
        const GridTable& dist = block == Block::LongTerm ? t.longDist : t.distLoad;
        ASSERT_EQ(rec.earthPressure.count, dist.rowCount());
        for (int r = 0; r < dist.rowCount(); ++r) {
            expectNear8(rec.earthPressure.depth[static_cast<std::size_t>(r)], dist.asFloat(0, r) * ft, "depth");
            expectNear8(rec.earthPressure.withoutSurcharge[static_cast<std::size_t>(r)], dist.asFloat(1, r) / ft,
                        "pressure");
        }
    }

    if (ep > 1 || p.PYOption == 2) {
        const kelda::WallConfiguration& w = rec.wall;
        expectNear8(w.freeHeight, p.FreeHeight, "H");
        expectNear8(w.wa, p.ActiveWidth, "Wa");
        expectNear8(w.wp, p.PYWidth, "Wp");
        expectNear8(w.waterDepthBackfill, p.WaterDepthBackfill, "DWb");
        expectNear8(w.waterDepthExcavation, p.WaterDepthExcavation, "DWe");
        expectNear8(w.activeModificationFactor, p.PressureFactor, "modification factor");
        EXPECT_EQ(w.option, p.ExtraOption);
        expectNear8(w.backfillSlopeDegrees, p.BackfillSlope, "beta");
        const kelda::SurchargeLine& s = rec.surchargeLine;
        expectNear8(s.uniformPressure, p.UniformSurcharge, "SP");
        expectNear8(s.distanceX, p.SurchargeDistance, "X");
        expectNear8(s.pointLoad, p.PointSurcharge, "point load");
        expectNear8(s.lineLoad, p.LineSurcharge, "line load");
        expectNear8(s.stripLoad, p.StripSurcharge, "strip load");
        expectNear8(s.stripWidth, p.StripWidth, "strip width");

        // The engine takes surcharge distances in metres; SI tables show mm.
        const double mm = p.Units == kSI ? 1000.0 : 1.0;
        ASSERT_EQ(rec.surchargeCount, t.surchargeTable.rowCount());
        for (int r = 0; r < rec.surchargeCount; ++r) {
            const kelda::SurchargeRecord& e = rec.surcharges[static_cast<std::size_t>(r)];
            EXPECT_EQ(e.type, t.surchargeTable.asInteger(0, r));
            expectNear8(e.magnitude, t.surchargeTable.asFloat(1, r), "surcharge magnitude");
            expectNear8(e.distance, t.surchargeTable.asFloat(2, r) / mm, "surcharge distance");
            expectNear8(e.width, t.surchargeTable.asFloat(3, r) / mm, "surcharge width");
        }

        const GridTable& soil = block == Block::LongTerm ? t.longSoil : t.newSoil;
        ASSERT_EQ(rec.soilLayerCount, soil.rowCount());
        // Per soil type, which parameter-table column stands in each of the six
        // positions (-1: none).
        const int positions[8][6] = {{},
                                     {0, 1, -1, 2, 3, -1},
                                     {0, 1, -1, 2, 3, -1},
                                     {0, 1, -1, 2, 3, -1},
                                     {0, -1, 1, -1, 2, -1},
                                     {0, 2, 1, 3, 4, -1},
                                     {0, 1, -1, -1, -1, -1},
                                     {0, 1, -1, 2, 3, 4}};
        for (int r = 0; r < soil.rowCount(); ++r) {
            const kelda::SoilLayer& layer = rec.soilLayers[static_cast<std::size_t>(r)];
            const int type = soil.asInteger(0, r);
            EXPECT_EQ(layer.type, type);
            expectNear8(layer.bottomDepth, soil.asFloat(1, r) * ft, "layer bottom");
            const GridTable* parameters = soil.asTable(2, r);
            for (int k = 0; k < 6; ++k) {
                const int column = positions[type][k];
                for (int row = 0; row < 2; ++row) {
                    double expected = column < 0 ? 0.0 : parameters->asFloat(column, row);
                    if (english && column == 0) expected /= 1728.0;
                    if (english && ((type <= 3 && column == 1) || (type == 5 && column == 2))) expected /= 144.0;
                    const double engine = (row == 0 ? layer.top : layer.bottom)[static_cast<std::size_t>(k)];
                    expectNear8(engine, expected, "soil parameter");
                }
            }
        }
    }

    // external p-y curves: y times the y-multiplier, p times h and the p-multiplier
    ASSERT_EQ(rec.userPyCurveHeaderCount, t.pyCurves2.rowCount());
    for (int r = 0; r < rec.userPyCurveHeaderCount; ++r) {
        const kelda::UserPyCurveHeader& head = rec.userPyCurveHeaders[static_cast<std::size_t>(r)];
        const GridTable& curve = *t.pyCurves2.asTable(1, r);
        EXPECT_EQ(head.station, t.pyCurves2.asInteger(0, r));
        ASSERT_EQ(head.pointCount, curve.rowCount());
        expectNear8(head.pMultiplier, t.pyCurves2.asFloat(2, r), "p-multiplier");
        expectNear8(head.yMultiplier, t.pyCurves2.asFloat(3, r), "y-multiplier");
        const kelda::PyCurve& c = rec.pyCurves[static_cast<std::size_t>(r)];
        for (int k = 0; k < head.pointCount; ++k) {
            expectNear8(c.y[static_cast<std::size_t>(k)], head.yMultiplier * curve.asFloat(0, k), "p-y point y");
            expectNear8(c.p[static_cast<std::size_t>(k)], rec.solution.h * head.pMultiplier * curve.asFloat(1, k),
                        "p-y point p");
        }
    }

    // moment-EI sets
    ASSERT_EQ(rec.momentEISetCount, p.UseEICurves ? t.meiCurves2.rowCount() : 0);
    for (int r = 0; r < rec.momentEISetCount; ++r) {
        const kelda::MomentEISet& set = rec.momentEISets[static_cast<std::size_t>(r)];
        const GridTable& points = *t.meiCurves2.asTable(2, r);
        EXPECT_EQ(set.firstStation, t.meiCurves2.asInteger(0, r));
        EXPECT_EQ(set.lastStation, t.meiCurves2.asInteger(1, r));
        ASSERT_EQ(set.pointCount, points.rowCount());
        for (int k = 0; k < set.pointCount; ++k) {
            expectNear8(set.moment[static_cast<std::size_t>(k)], points.asFloat(0, k), "moment");
            expectNear8(set.ei[static_cast<std::size_t>(k)], points.asFloat(1, k), "EI");
        }
    }
}

class EngineCrossCheck : public ::testing::TestWithParam<testing::Fixture> {};

TEST_P(EngineCrossCheck, EngineReadsWhatTheProjectHolds) {
    testing::TempDir dir;
    TProgramData p;
    GetParam().build(p);
    p.FileName = dir.file("wall.kl4d");
    ASSERT_TRUE(p.WriteDataFile());
    const auto problems = engineRead(testing::ReadFile(p.FileName));
    ASSERT_EQ(problems.size(), p.LongTerm ? 2u : 1u);
    {
        SCOPED_TRACE("short-term block");
        expectAgreement(p, Block::ShortTerm, *problems[0]);
    }
    if (p.LongTerm) {
        SCOPED_TRACE("long-term block");
        expectAgreement(p, Block::LongTerm, *problems[1]);
    }
    // The same file read back by the program is the same project for the engine.
    TProgramData again;
    ASSERT_TRUE(again.ReadDataFile(p.FileName, DataFormat::Format2013));
    again.DataFileText();
    expectAgreement(again, Block::ShortTerm, *problems[0]);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, EngineCrossCheck, ::testing::ValuesIn(testing::SingleStageFixtures()),
                         [](const auto& test) { return std::string(test.param.name); });

// A staged project: the assembled data file holds one problem per stage.
TEST(EngineCrossCheckStages, EveryStageOfTheAssembledFile) {
    testing::TempDir dir;
    TProgramData p;
    testing::BuildEveryRecord(p);
    p.FileName = dir.file("wall.kl4d");
    ASSERT_TRUE(p.WriteDataFile());
    ASSERT_TRUE(p.ApplyStageCount(3));
    ASSERT_TRUE(p.ChangeStage(2));
    p.FreeHeight = 192;
    p.UniformSurcharge = 1.0;
    ASSERT_TRUE(p.ChangeStage(3));
    p.FreeHeight = 204;
    p.UseConcentratedLoads = false;
    ASSERT_TRUE(p.Save());
    const auto problems = engineRead(testing::ReadFile(p.FileName));
    ASSERT_EQ(problems.size(), 3u);
    for (int k = 1; k <= 3; ++k) {
        SCOPED_TRACE("stage " + std::to_string(k));
        ASSERT_TRUE(p.ChangeStage(k));
        p.StageBlockText(); // the derived options of this stage's block
        expectAgreement(p, Block::Stage, *problems[static_cast<std::size_t>(k - 1)]);
    }
}

} // namespace
} // namespace kelda::data
