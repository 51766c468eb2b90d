// The project object: defaults, new project, unit switching, modified state.

#include <gtest/gtest.h>

#include "kelda/data/number_format.h"
#include "kelda/data/program_data.h"
#include "project_fixtures.h"

namespace kelda::data {
namespace {

TEST(ProgramData, NewProjectDefaults) {
    TProgramData p;
    EXPECT_EQ(p.FileName, "NewWall.kl4d");
    EXPECT_EQ(p.Title, "New Wall");
    EXPECT_EQ(p.Units, 1);
    EXPECT_EQ(p.MaxDeflection, 100.0);
    EXPECT_EQ(p.Tolerance, 0.00001);
    EXPECT_EQ(p.PressureFactor, 1.0);
    EXPECT_EQ(p.ExtraOption, 1);
    EXPECT_TRUE(p.GeneratePY);
    EXPECT_FALSE(p.UserPressure || p.GeneratedPressure || p.UseExternalPY || p.UsePYMod || p.UseRestraints ||
                 p.UseConcentratedLoads || p.UseSprings || p.UseSurcharge || p.UseEICurves || p.LongTerm);
    EXPECT_EQ(p.StageCount, 1);
    EXPECT_EQ(p.CurrentStage, 1);
    EXPECT_TRUE(p.CurrentFormat);
    EXPECT_FALSE(p.IsModified());
    const ProjectTables& t = p.Tables();
    EXPECT_EQ(t.pileSect.rowCount(), 1);
    EXPECT_EQ(t.pyMod.rowCount(), 2);
    EXPECT_EQ(t.distLoad.rowCount(), 2);
    EXPECT_EQ(t.longDist.rowCount(), 1);
    EXPECT_EQ(t.pyCurves2.rowCount(), 0);
    EXPECT_EQ(t.meiCurves2.rowCount(), 0);
}

// File New after a project with external p-y curves, in SI, staged: nothing
// of it is left.
TEST(ProgramData, NewProjectReplacesEverything) {
    TProgramData p;
    testing::BuildSI(p);
    p.Tables().pyCurves2.setRowCount(3);
    p.StageCount = 4;
    p.CurrentStage = 2;
    p.NewProject();
    EXPECT_EQ(p.Units, 1);
    EXPECT_EQ(p.Tables().pileSect.units(), 1);
    EXPECT_EQ(p.Tables().pyCurves2.rowCount(), 0);
    EXPECT_EQ(p.Tables().newSoil.rowCount(), 1);
    EXPECT_EQ(p.Tables().newSoil.asInteger(0, 0), 1);
    EXPECT_EQ(p.StageCount, 1);
    EXPECT_EQ(p.FreeHeight, 0.0);
    EXPECT_FALSE(p.IsModified());
}

TEST(ProgramData, SwitchingUnitsThereAndBack) {
    TProgramData p;
    p.FreeHeight = 120; // in
    p.PointSurcharge = 1000; // lbs
    p.UniformSurcharge = 1;  // psi
    p.Tables().newSoil.setFloat(1, 0, 10); // ft
    p.SetUnits(2);
    EXPECT_EQ(FormatGeneral(p.FreeHeight, 8, '.'), "3.048");
    EXPECT_NEAR(p.PointSurcharge, 4.4482224680607, 1e-12);
    EXPECT_NEAR(p.UniformSurcharge, 1.0 / 224.8089 / (0.0254 * 0.0254), 1e-9);
    EXPECT_NEAR(p.Tables().newSoil.asFloat(1, 0), 3.048, 1e-9);
    p.SetUnits(1);
    // The fixed factors are not exact reciprocals for lengths.
    EXPECT_EQ(FormatGeneral(p.FreeHeight, 8, '.'), "120.00006");
    EXPECT_NEAR(p.PointSurcharge, 1000, 1e-9);
}

TEST(ProgramData, OtherUnitsConvertNothing) {
    TProgramData p;
    p.FreeHeight = 120;
    p.Tables().newSoil.setFloat(1, 0, 10);
    p.SetUnits(3);
    EXPECT_EQ(p.FreeHeight, 120);
    EXPECT_EQ(p.Tables().newSoil.asFloat(1, 0), 10);
    EXPECT_EQ(p.Tables().newSoil.units(), 3);
    p.SetUnits(2);
    EXPECT_EQ(p.FreeHeight, 120);
    p.SetUnits(7); // clamped to 3
    EXPECT_EQ(p.Units, 3);
}

TEST(ProgramData, ModifiedStateFollowsTheFlagAndEveryTable) {
    TProgramData p;
    p.SetModified(true);
    EXPECT_TRUE(p.IsModified());
    p.SetModified(false);
    EXPECT_FALSE(p.IsModified());
    p.Tables().meiCurves2.setRowCount(1); // a chart table counts too
    EXPECT_TRUE(p.IsModified());
    p.SetModified(false);
    EXPECT_FALSE(p.IsModified());
    p.Tables().newSoil.asTable(2, 0)->setFloat(0, 0, 110); // so does a sub-table
    EXPECT_TRUE(p.IsModified());
}

TEST(ProgramData, FormatsAndStageFileNames) {
    EXPECT_EQ(FormatFromFilterIndex(1), DataFormat::Format2013);
    EXPECT_EQ(FormatFromFilterIndex(2), DataFormat::Format30);
    EXPECT_EQ(FormatFromFilterIndex(3), DataFormat::Format20);
    EXPECT_EQ(FormatFromFilterIndex(4), DataFormat::Format20);
    EXPECT_EQ(FormatFromFileName("old/WALL.KLD"), DataFormat::Format30);
    EXPECT_EQ(FormatFromFileName("wall.kl4d"), DataFormat::Format2013);
    EXPECT_EQ(StageFileOf("/data/wall.kl4d", 3), "/data/wall.st3");
    EXPECT_EQ(StageFileOf("wall", 1), "wall.st1");
    TProgramData p;
    EXPECT_EQ(p.StageStatusText(), "");
    p.StageCount = 3;
    p.CurrentStage = 3;
    EXPECT_EQ(p.StageStatusText(), "Construction Stage Number: 3");
    EXPECT_EQ(p.CopyPreviousStageQuestion(), "Do you want to copy all information from Stage 2 to Stage 3");
}

} // namespace
} // namespace kelda::data
