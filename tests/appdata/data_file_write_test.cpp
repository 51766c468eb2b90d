// The wall data file as the program writes it, to the byte.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <string>

#include "kelda/data/program_data.h"
#include "project_fixtures.h"

namespace kelda::data {
namespace {

using testing::BuildEveryRecord;
using testing::BuildMinimal;
using testing::ReadFile;
using testing::SetRow;
using testing::TempDir;
using testing::WriteFile;

TEST(DataFileWrite, BlockWithNoOptionalData) {
    TProgramData p;
    BuildMinimal(p);
    EXPECT_EQ(p.DataFileText(), "New Wall\r\n"
                                "1 0\t1\t0\t0\t0 0 1 0\r\n"
                                "10 12\t100\t1E-5\t0\r\n"
                                "0\t10\t1\t1E9\r\n"
                                "0\r\n"
                                "0\r\n"
                                "0\r\n");
}

// Every record of a block, in English units: depths in feet become inches,
// lb/ft loads lb/in, unit weights lb/in^3 and cohesions psi.
TEST(DataFileWrite, BlockWithEveryRecord) {
    TProgramData p;
    BuildEveryRecord(p);
    EXPECT_EQ(p.DataFileText(), "Tied-back wall, every record\r\n"
                                "1 1\t2\t2\t1\t2 1 1 1\r\n"
                                "40 6\t10\t1E-5\t180\r\n"
                                "1\t0\t0.5\t0\r\n"
                                "0\t20\t1\t5.4E9\r\n"
                                "20\t40\t1\t4.8E9\r\n"
                                "1\r\n"
                                "1\t0\t0\t1000\t0\t500\r\n"
                                "1\r\n"
                                "6\t6\t1\t20000\t0\r\n"
                                "0\t1\t1\r\n"
                                "180\t0.8\t0.9\r\n"
                                "2\r\n"
                                "0\t0\r\n"
                                "180\t50\r\n"
                                "180\t12\t12\t120\t180\t1\t1\t0\r\n"
                                "0.5\t0\t0\t0\t0\t0\r\n"
                                "1\r\n"
                                "3\t3.5\t96\t48\r\n"
                                "2\r\n"
                                "4 144 \r\n"
                                "0.069444444 0.0  32 0.0  90 0.0  \r\n"
                                "0.069444444 0.0  32 0.0  90 0.0  \r\n"
                                "3 480 \r\n"
                                "0.069444444 5.5 0.0  0.007 500 0.0  \r\n"
                                "0.072337963 6 0.0  0.005 1000 0.0  \r\n"
                                "30\t5\t1.5\t0.75\r\n"
                                "-2\t600\r\n"
                                "-0.2\t350\r\n"
                                "0\t0\r\n"
                                "0.2\t-350\r\n"
                                "2\t-600\r\n"
                                "0\t40\t3\r\n"
                                "0\t5.4E9\r\n"
                                "1000000\t5E9\r\n"
                                "2000000\t4E9\r\n"
                                "0\r\n");
    // The last stiffness row interpolated to a next row that does not exist:
    // the table itself now says constant.
    EXPECT_EQ(p.Tables().pileSect.asInteger(2, 1), 1);
    EXPECT_EQ(p.EarthPressureOption, 1);
    EXPECT_EQ(p.PYOption, 2);
}

struct NumberCase {
    double value;
    const char* text;
};

class DataFileNumbers : public ::testing::TestWithParam<NumberCase> {};

// The 8-significant-digit general format, seen in the tolerance position of
// the solution line.
TEST_P(DataFileNumbers, SolutionLineHoldsTheGeneralFormat) {
    TProgramData p;
    BuildMinimal(p);
    p.Tolerance = GetParam().value;
    const std::string text = p.DataFileText();
    const std::size_t line3 = text.find("\r\n", text.find("\r\n") + 2) + 2;
    EXPECT_EQ(text.substr(line3, text.find("\r\n", line3) - line3),
              std::string("10 12\t100\t") + GetParam().text + "\t0");
}

INSTANTIATE_TEST_SUITE_P(Table, DataFileNumbers,
                         ::testing::Values(NumberCase{0.0001, "0.0001"}, NumberCase{0.00001, "1E-5"},
                                           NumberCase{0.000012345, "1.2345E-5"},
                                           NumberCase{123456789, "1.2345679E8"}, NumberCase{120, "120"},
                                           NumberCase{0.5, "0.5"}, NumberCase{-0.25, "-0.25"},
                                           NumberCase{12345678, "12345678"}, NumberCase{0.0, "0"}));

TEST(DataFileWrite, EnglishConversions) {
    TProgramData p;
    BuildMinimal(p);
    p.GeneratePY = true;
    GridTable& soil = p.Tables().newSoil;
    soil.setInteger(0, 0, 1);
    soil.setFloat(1, 0, 10); // ft
    SetRow(*soil.asTable(2, 0), 0, {120, 1440, 0.01, 100});
    SetRow(*soil.asTable(2, 0), 1, {120, 1440, 0.01, 100});
    const std::string text = p.DataFileText();
    EXPECT_NE(text.find("\r\n1\r\n1 120 \r\n0.069444444 10 0.0  0.01 100 0.0  \r\n"), std::string::npos) << text;
}

// Options that are off empty their tables on saving: the counts are 0 and the
// rows are gone from the project. Moment-EI curves are only left out.
TEST(DataFileWrite, OptionsThatAreOffAreEmptied) {
    TProgramData p;
    BuildEveryRecord(p);
    p.UseRestraints = p.UseConcentratedLoads = p.UseSprings = p.UsePYMod = false;
    p.UseExternalPY = p.UseSurcharge = p.UseEICurves = false;
    const std::string text = p.DataFileText();
    EXPECT_EQ(text.substr(0, text.find("180\t12\t12")), "Tied-back wall, every record\r\n"
                                                        "1 0\t2\t0\t1\t2 0 1 0\r\n"
                                                        "40 6\t10\t1E-5\t180\r\n"
                                                        "0\t20\t1\t5.4E9\r\n"
                                                        "20\t40\t1\t4.8E9\r\n"
                                                        "0\r\n"
                                                        "0\r\n"
                                                        "2\r\n"
                                                        "0\t0\r\n"
                                                        "180\t50\r\n");
    EXPECT_NE(text.find("0.5\t0\t0\t0\t0\t0\r\n0\r\n2\r\n4 144 \r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("0.072337963 6 0.0  0.005 1000 0.0  \r\n0\r\n"));
    const ProjectTables& t = p.Tables();
    for (const GridTable* emptied : {&t.soillayer, &t.boundCond, &t.soilStrength, &t.pyMod, &t.pyCurves2,
                                     &t.surchargeTable})
        EXPECT_EQ(emptied->rowCount(), 0) << emptied->caption();
    EXPECT_EQ(t.meiCurves2.rowCount(), 1);
}

// The earth-pressure option derived from the flags.
TEST(DataFileWrite, EarthPressureAndPYOptions) {
    struct Case {
        bool user, generated, generatePY, external;
        int choice;
        int earthPressure, py;
    };
    const Case cases[] = {
        {false, false, false, false, 3, 0, 0}, {true, true, true, false, 3, 1, 2},
        {false, true, false, true, 3, 3, 1},   {false, false, true, false, 0, 0, 2},
        {false, false, true, false, 2, 2, 2},
    };
    for (const Case& c : cases) {
        TProgramData p;
        BuildMinimal(p);
        p.UserPressure = c.user;
        p.GeneratedPressure = c.generated;
        p.GeneratePY = c.generatePY;
        p.UseExternalPY = c.external;
        p.EarthPressureChoice = c.choice;
        p.DataFileText();
        EXPECT_EQ(p.EarthPressureOption, c.earthPressure);
        EXPECT_EQ(p.PYOption, c.py);
        if (c.user) {
            EXPECT_FALSE(p.GeneratedPressure);
        }
    }
}

TEST(DataFileWrite, LongTermBlockFollowsTheEndLine9) {
    TProgramData p;
    testing::BuildLongTerm(p);
    const std::string text = p.DataFileText();
    const std::string title = "Cantilever in clay, short term and long term, 4 m cut\r\n";
    const std::size_t second = text.find("\r\n9\r\n" + title);
    ASSERT_NE(second, std::string::npos);
    EXPECT_TRUE(text.starts_with(title + "2 0\t1\t0\t3\t2 0 1 0\r\n"));
    // The long-term block carries the triangular distribution and its own soil.
    EXPECT_EQ(text.substr(second + 5 + title.size(), 19), "2 0\t1\t0\t2\t2 0 1 0\r\n");
    EXPECT_TRUE(text.ends_with("4 12 \r\n18 0.0  28 0.0  20000 0.0  \r\n18 0.0  30 0.0  25000 0.0  \r\n0\r\n"));
}

TEST(DataFileWrite, StageBlockHeadingEndLineAndPressure) {
    TProgramData p;
    testing::BuildOtherUnits(p); // trapezoidal pressure
    p.StageCount = 3;
    p.CurrentStage = 3;
    const std::string text = p.StageBlockText();
    EXPECT_TRUE(text.starts_with(" Stage No : 3\r\n3 0\t1\t0\t2\t0 0 3 0\r\n")) << text;
    EXPECT_TRUE(text.ends_with("\r\n3\r\n"));
    p.CurrentStage = 1;
    EXPECT_TRUE(p.StageBlockText().starts_with("Anchored wall in other units\r\n"));
}

TEST(DataFileWrite, TitleIsOneLineOfAtMost80Characters) {
    TProgramData p;
    p.SetTitle("First line\r\nsecond line");
    EXPECT_EQ(p.Title, "First line");
    p.SetTitle(std::string(100, 'x'));
    EXPECT_EQ(p.Title.size(), 80u);
    // A title set directly still cannot split the first record.
    BuildMinimal(p);
    p.Title = "A\nB";
    EXPECT_TRUE(p.DataFileText().starts_with("A\r\n1 0\t"));
}

TEST(DataFileWrite, WriteMarksUnmodifiedAndSetsCurrentFormat) {
    TempDir dir;
    TProgramData p;
    BuildEveryRecord(p);
    p.FileName = dir.file("wall.kl4d");
    p.CurrentFormat = false;
    ASSERT_TRUE(p.IsModified());
    ASSERT_TRUE(p.WriteDataFile());
    EXPECT_FALSE(p.IsModified());
    EXPECT_TRUE(p.CurrentFormat);
    EXPECT_EQ(ReadFile(p.FileName), p.DataFileText());
}

// A save that fails part-way (here the file-size limit of the process stops
// the write after 200 bytes, as a full disk would) leaves the previous file
// as it was and the project modified.
TEST(DataFileWrite, FailedSaveKeepsThePreviousFile) {
    TempDir dir;
    const std::string path = dir.file("wall.kl4d");
    WriteFile(path, "previous contents\r\n");
    TProgramData p;
    BuildEveryRecord(p);
    p.FileName = path;

    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 200;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const FileResult result = p.WriteDataFile();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, path + ": File too large");
    EXPECT_EQ(ReadFile(path), "previous contents\r\n");
    EXPECT_TRUE(p.IsModified());
    // Nothing but the old file is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // Once the disk has room again the same save goes through.
    EXPECT_TRUE(p.WriteDataFile());
    EXPECT_FALSE(p.IsModified());
}

TEST(DataFileWrite, SaveIntoAMissingFolderFailsWithTheSystemMessage) {
    TempDir dir;
    TProgramData p;
    BuildMinimal(p);
    p.FileName = dir.file("no-such-folder/wall.kl4d");
    const FileResult result = p.WriteDataFile();
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, p.FileName + ": No such file or directory");
    EXPECT_TRUE(p.IsModified());
}

} // namespace
} // namespace kelda::data
