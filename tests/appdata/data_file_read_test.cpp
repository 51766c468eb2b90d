// Reading the wall data file: round trips, the three formats, and files
// edited by hand.

#include <gtest/gtest.h>

#include <string>

#include "kelda/data/program_data.h"
#include "project_fixtures.h"

namespace kelda::data {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// After any read, good or bad: every plain table holds at least its minimum
// rows, the stage bookkeeping is consistent and nothing is modified.
void expectValidProject(const TProgramData& p) {
    TProgramData& q = const_cast<TProgramData&>(p);
    for (const GridTable* t : q.Tables().plainTables()) EXPECT_GE(t->rowCount(), t->minRows()) << t->caption();
    EXPECT_GE(p.StageCount, 1);
    EXPECT_LE(p.StageCount, 5);
    EXPECT_LE(p.CurrentStage, p.StageCount);
    EXPECT_FALSE(p.LongTerm && p.StageCount > 1);
    EXPECT_FALSE(p.IsModified());
    EXPECT_TRUE(p.CurrentFormat);
}

class RoundTrip : public ::testing::TestWithParam<testing::Fixture> {};

// Write, read, write: the same bytes.
TEST_P(RoundTrip, WriteReadWriteGivesTheSameBytes) {
    TempDir dir;
    TProgramData written;
    GetParam().build(written);
    written.FileName = dir.file("wall.kl4d");
    ASSERT_TRUE(written.WriteDataFile());
    const std::string first = ReadFile(written.FileName);

    TProgramData read;
    const FileResult result = read.ReadDataFile(written.FileName, DataFormat::Format2013);
    ASSERT_TRUE(result) << result.message;
    expectValidProject(read);
    EXPECT_EQ(read.Title, written.Title);
    EXPECT_EQ(read.Units, written.Units);
    EXPECT_EQ(read.LongTerm, written.LongTerm);
    EXPECT_EQ(read.DataFileText(), first);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RoundTrip, ::testing::ValuesIn(testing::SingleStageFixtures()),
                         [](const auto& test) { return std::string(test.param.name); });

// The examples were written by the program's writer: reading and writing them
// again gives the same files.
TEST(DataFileRead, ExamplesReadAndWriteBackUnchanged) {
    for (const char* name : {"cantilever", "tied-back", "anchored-tie-back", "short-long-term"}) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string path = std::string(KELDA_SOURCE_DIR) + "/examples/" + name + ".kl4d";
        TProgramData p;
        ASSERT_TRUE(p.ReadDataFile(path, DataFormat::Format2013));
        EXPECT_EQ(p.DataFileText(), ReadFile(path));
    }
}

TEST(DataFileRead, FlagsFromTheControlLine) {
    TempDir dir;
    TProgramData written;
    testing::BuildEveryRecord(written);
    written.FileName = dir.file("wall.kl4d");
    ASSERT_TRUE(written.WriteDataFile());
    TProgramData p;
    ASSERT_TRUE(p.ReadDataFile(written.FileName, DataFormat::Format2013));
    EXPECT_TRUE(p.UseRestraints && p.UsePYMod && p.UseEICurves && p.UseConcentratedLoads && p.UseSprings &&
                p.UseSurcharge && p.UseExternalPY && p.UserPressure && p.GeneratePY);
    EXPECT_FALSE(p.GeneratedPressure);
    EXPECT_EQ(p.EarthPressureChoice, 1);
    EXPECT_EQ(p.FileName, written.FileName);
    // English values back in the units shown.
    EXPECT_NEAR(p.Tables().newSoil.asFloat(1, 1), 40.0, 1e-9);
    EXPECT_NEAR(p.Tables().newSoil.asTable(2, 1)->asFloat(0, 1), 125.0, 1e-5);
    EXPECT_NEAR(p.Tables().newSoil.asTable(2, 1)->asFloat(1, 1), 864.0, 1e-9);
    EXPECT_NEAR(p.Tables().distLoad.asFloat(1, 1), 600.0, 1e-9);
    EXPECT_EQ(p.Tables().newSoil.asTable(2, 1)->title(), "Clay  2");
}

// A block that reads fine but is followed by nothing else of a file.
const char* const kOld30 = "Old wall\r\n"
                           "1 0\t1\t0\t2\t2 0 1\r\n"
                           "10 12\t1\t1E-5\t60\r\n"
                           "0\t10\t1\t1E9\r\n"
                           "0\r\n"
                           "0\r\n"
                           "60\t12\t12\t0\t60\t0.036\t1\t0\r\n"
                           "0\t%X%\t100\t20\t5\t24\r\n"
                           "1\r\n"
                           "4 120 \r\n"
                           "0.069444444 0.0  32 0.0  90 0.0  \r\n"
                           "0.069444444 0.0  32 0.0  90 0.0  \r\n"
                           "0\r\n";

std::string old30(const char* x) {
    std::string text = kOld30;
    text.replace(text.find("%X%"), 3, x);
    return text;
}

TEST(DataFileRead, Format30SurchargeLineWithoutDistance) {
    TempDir dir;
    WriteFile(dir.file("old.kld"), old30("0"));
    TProgramData p;
    ASSERT_TRUE(p.ReadDataFile(dir.file("old.kld"), DataFormat::Format30));
    expectValidProject(p);
    EXPECT_FALSE(p.UseSurcharge);
    EXPECT_EQ(p.Tables().surchargeTable.rowCount(), 1); // its default row
    EXPECT_EQ(p.PressureFactor, 1.0);                   // 0.036 meant "no modification"
    EXPECT_EQ(p.Tables().meiCurves2.rowCount(), 0);
    EXPECT_NEAR(p.Tables().newSoil.asFloat(1, 0), 10.0, 1e-12);
}

TEST(DataFileRead, Format30SurchargeLineWithDistance) {
    TempDir dir;
    WriteFile(dir.file("old.kld"), old30("36"));
    TProgramData p;
    ASSERT_TRUE(p.ReadDataFile(dir.file("old.kld"), DataFormat::Format30));
    EXPECT_TRUE(p.UseSurcharge);
    const GridTable& s = p.Tables().surchargeTable;
    ASSERT_EQ(s.rowCount(), 3);
    const double magnitudes[3] = {100, 20, 5};
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(s.asInteger(0, r), r + 1);
        EXPECT_EQ(s.asFloat(1, r), magnitudes[r]);
        EXPECT_EQ(s.asFloat(2, r), 36);
        EXPECT_EQ(s.asFloat(3, r), 24);
    }
    // Written back in the current format, with its surcharge table.
    EXPECT_NE(p.DataFileText().find("0\t36\t100\t20\t5\t24\r\n3\r\n1\t100\t36\t24\r\n2\t20\t36\t24\r\n3\t5\t36\t24\r\n"),
              std::string::npos);
}

TEST(DataFileRead, OnlyExactly0036IsReplaced) {
    TempDir dir;
    std::string text = old30("0");
    text.replace(text.find("0.036"), 5, "0.037");
    WriteFile(dir.file("old.kld"), text);
    TProgramData p;
    ASSERT_TRUE(p.ReadDataFile(dir.file("old.kld"), DataFormat::Format30));
    EXPECT_EQ(p.PressureFactor, 0.037);
}

// Format 2.0: layers by thickness, one line of five values for both rows,
// no weak rock values, no stage count and no end line.
TEST(DataFileRead, Format20SoilLayers) {
    TempDir dir;
    WriteFile(dir.file("older.kld"), "Older wall\r\n"
                                     "1 0\t1\t0\t2\t2 0\r\n"
                                     "10 12\t1\t1E-5\t60\r\n"
                                     "0\t10\t1\t1E9\r\n"
                                     "0\r\n"
                                     "0\r\n"
                                     "60\t12\t12\t0\t60\t1\t1\t0\r\n"
                                     "0\t0\t0\t0\t0\t0\r\n"
                                     "3\r\n"
                                     "4 5\r\n"
                                     "0.07 0 30 0 60\r\n"
                                     "7 3\r\n"
                                     "5 4\r\n"
                                     "0.065 4 25 0.01 200\r\n");
    TProgramData p;
    ASSERT_TRUE(p.ReadDataFile(dir.file("older.kld"), DataFormat::Format20));
    expectValidProject(p);
    const GridTable& soil = p.Tables().newSoil;
    ASSERT_EQ(soil.rowCount(), 3);
    EXPECT_EQ(soil.asFloat(1, 0), 5);
    EXPECT_EQ(soil.asFloat(1, 1), 8);
    EXPECT_EQ(soil.asFloat(1, 2), 12);
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(soil.asTable(2, 0)->asFloat(0, row), 0.07);
        EXPECT_EQ(soil.asTable(2, 0)->asFloat(1, row), 30); // friction angle
        EXPECT_EQ(soil.asTable(2, 0)->asFloat(2, row), 60); // k
        EXPECT_EQ(soil.asTable(2, 1)->caption(), "Weak Rock");
        EXPECT_EQ(soil.asTable(2, 1)->asFloat(0, row), 0);
        EXPECT_EQ(soil.asTable(2, 2)->asFloat(1, row), 25); // silt: angle, then cohesion
        EXPECT_EQ(soil.asTable(2, 2)->asFloat(2, row), 4);
        EXPECT_EQ(soil.asTable(2, 2)->asFloat(4, row), 200);
    }
    EXPECT_EQ(p.StageCount, 1);
}

// Files edited by hand: each ends in an orderly way, with the reader's kind
// of message or none, and leaves a valid project.
struct HandEdit {
    const char* name;
    const char* find;    // text of the minimal file to replace
    const char* replace; // by this
    const char* message; // "" for a file that reads
};

class HandEdited : public ::testing::TestWithParam<HandEdit> {};

TEST_P(HandEdited, EndsInAnOrderlyWay) {
    TempDir dir;
    TProgramData written;
    testing::BuildMinimal(written);
    std::string text = written.DataFileText();
    const HandEdit& e = GetParam();
    const std::size_t at = text.find(e.find);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::string(e.find).size(), e.replace);
    WriteFile(dir.file("edited.kl4d"), text);

    TProgramData p;
    const FileResult result = p.ReadDataFile(dir.file("edited.kl4d"), DataFormat::Format2013);
    EXPECT_EQ(result.message, e.message);
    EXPECT_EQ(result.ok, std::string(e.message).empty());
    expectValidProject(p);
    EXPECT_EQ(p.Title, "New Wall");
}

INSTANTIATE_TEST_SUITE_P(
    Files, HandEdited,
    ::testing::Values(
        HandEdit{"BlankLinesBetweenRecords", "0\r\n0\r\n0\r\n", "0\r\n\r\n \t \r\n0\r\n\r\n0\r\n", ""},
        HandEdit{"NegativeCount", "1E9\r\n0\r\n", "1E9\r\n-4\r\n", ""},
        HandEdit{"ModeOutsideItems", "0\t10\t1\t1E9", "0\t10\t3\t1E9",
                 "Error on Line 4 Item 3\rAn integer from 1 to 2 was expected but not found."},
        HandEdit{"CountBeyondTheFile", "1E9\r\n0\r\n", "1E9\r\n2000000000\r\n",
                 "This file either invalid or incomplete."},
        HandEdit{"ControlCountBeyondTheFile", "1 0\t1\t", "1 2147483647\t1\t",
                 "This file either invalid or incomplete."},
        HandEdit{"TooManyStages", "0 0 1 0", "0 0 9 0",
                 "Error on Line 2 Item 8\rAn integer from 1 to 5 was expected but not found."},
        HandEdit{"NoStages", "0 0 1 0", "0 0 0 0", ""},
        HandEdit{"TextForANumber", "10 12\t100", "10 twelve\t100",
                 "Error on Line 3 Item 2\rA floating point number was expected but not found."},
        HandEdit{"FractionForAnInteger", "10 12\t100", "10.5 12\t100",
                 "Error on Line 3 Item 1\rAn integer was expected but not found."},
        HandEdit{"Truncated", "0\t10\t1\t1E9\r\n0\r\n0\r\n0\r\n", "0\t10\t1", "This file either invalid or incomplete."},
        HandEdit{"SurplusValueShiftsTheRest", "10 12\t100", "10 12\t100\t7",
                 "Error on Line 4 Item 2\rAn integer from 1 to 2 was expected but not found."}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(DataFileRead, SoilTypeOutsideOneToSeven) {
    TempDir dir;
    TProgramData written;
    testing::BuildGeneratedCurvesOnly(written);
    std::string text = written.DataFileText();
    text.replace(text.find("\r\n4 360 \r\n"), 10, "\r\n9 360 \r\n");
    WriteFile(dir.file("edited.kl4d"), text);
    TProgramData p;
    const FileResult result = p.ReadDataFile(dir.file("edited.kl4d"), DataFormat::Format2013);
    EXPECT_EQ(result.message, "Error on Line 11 Item 1\rAn integer from 1 to 7 was expected but not found.");
    expectValidProject(p);
    // What was read before the error stays.
    EXPECT_EQ(p.Increments, 20);
    EXPECT_EQ(p.ActiveWidth, 24);
}

TEST(DataFileRead, MissingFileAndEmptyFile) {
    TempDir dir;
    TProgramData p;
    FileResult result = p.ReadDataFile(dir.file("none.kl4d"), DataFormat::Format2013);
    EXPECT_EQ(result.message, dir.file("none.kl4d") + ": No such file or directory");
    expectValidProject(p);
    WriteFile(dir.file("empty.kl4d"), "");
    result = p.ReadDataFile(dir.file("empty.kl4d"), DataFormat::Format2013);
    EXPECT_EQ(result.message, "This file either invalid or incomplete.");
    expectValidProject(p);
}

} // namespace
} // namespace kelda::data
