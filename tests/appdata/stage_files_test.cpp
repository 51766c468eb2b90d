// Stage files of a staged project and the stage operations on them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "kelda/data/program_data.h"
#include "project_fixtures.h"

namespace kelda::data {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

bool exists(const std::string& path) {
    return std::filesystem::exists(path);
}

// A block without its title line and its end line.
std::string body(const std::string& block) {
    const std::size_t first = block.find("\r\n") + 2;
    const std::size_t last = block.rfind("\r\n", block.size() - 3) + 2;
    return block.substr(first, last - first);
}

std::string controlLine(const std::string& block) {
    const std::size_t first = block.find("\r\n") + 2;
    return block.substr(first, block.find("\r\n", first) - first);
}

// A saved single-stage project with distinct data, made staged with `stages`.
void makeStaged(TProgramData& p, const TempDir& dir, int stages) {
    testing::BuildEveryRecord(p);
    p.FileName = dir.file("wall.kl4d");
    ASSERT_TRUE(p.WriteDataFile());
    ASSERT_TRUE(p.ApplyStageCount(stages));
}

TEST(StageFiles, OpeningAThreeStageFileSplitsItAndRemovesStaleStageFiles) {
    TempDir dir;
    const std::string path = dir.file("wall.kl4d");
    std::filesystem::copy_file(std::string(KELDA_SOURCE_DIR) + "/examples/three-stages.kl4d", path);
    WriteFile(dir.file("wall.st4"), "left from five stages\r\n");
    WriteFile(dir.file("wall.st5"), "left from five stages\r\n");
    TProgramData p;
    ASSERT_TRUE(p.Open(path, DataFormat::Format2013));
    EXPECT_EQ(p.StageCount, 3);
    EXPECT_EQ(p.CurrentStage, 1);
    EXPECT_FALSE(exists(dir.file("wall.st4")));
    EXPECT_FALSE(exists(dir.file("wall.st5")));
    const std::string stage2 = ReadFile(dir.file("wall.st2"));
    EXPECT_TRUE(stage2.starts_with(" Stage No : 2\r\n"));
    EXPECT_TRUE(stage2.ends_with("\r\n2\r\n"));
    // The stage files together are the data file.
    EXPECT_EQ(ReadFile(dir.file("wall.st1")) + stage2 + ReadFile(dir.file("wall.st3")), ReadFile(path));
    // Saving assembles the same file again.
    p.SetModified(true);
    ASSERT_TRUE(p.Save());
    EXPECT_EQ(ReadFile(path), ReadFile(std::string(KELDA_SOURCE_DIR) + "/examples/three-stages.kl4d"));
    EXPECT_FALSE(p.IsModified());
}

TEST(StageFiles, MakingAProjectStagedCopiesItIntoEveryStage) {
    TempDir dir;
    WriteFile(dir.file("wall.st2"), "an unrelated earlier stage file\r\n");
    TProgramData p;
    makeStaged(p, dir, 3);
    EXPECT_EQ(p.CurrentStage, 1);
    EXPECT_TRUE(p.IsModified());
    const std::string stage1 = ReadFile(dir.file("wall.st1"));
    EXPECT_TRUE(stage1.starts_with("Tied-back wall, every record\r\n1 1\t2\t2\t1\t2 1 3 1\r\n"));
    for (int k = 2; k <= 3; ++k) {
        const std::string stage = ReadFile(StageFileOf(p.FileName, k));
        EXPECT_TRUE(stage.starts_with(" Stage No : " + std::to_string(k) + "\r\n"));
        EXPECT_EQ(body(stage), body(stage1));
    }
    // Staged data files carry every stage; the engine sees three problems.
    ASSERT_TRUE(p.Save());
    EXPECT_EQ(ReadFile(p.FileName), stage1 + ReadFile(dir.file("wall.st2")) + ReadFile(dir.file("wall.st3")));
}

TEST(StageFiles, FromTwoToFourStagesCopiesStageTwo) {
    TempDir dir;
    TProgramData p;
    makeStaged(p, dir, 2);
    ASSERT_TRUE(p.ChangeStage(2));
    p.Increments = 36; // stage 2 differs; the edit is not yet in its file
    ASSERT_TRUE(p.ApplyStageCount(4));
    EXPECT_EQ(p.CurrentStage, 2);
    EXPECT_EQ(p.Increments, 36);
    const std::string stage2 = ReadFile(dir.file("wall.st2"));
    EXPECT_NE(stage2.find("\r\n36 6\t"), std::string::npos);
    for (int k = 1; k <= 4; ++k) {
        const std::string stage = ReadFile(StageFileOf(p.FileName, k));
        EXPECT_EQ(controlLine(stage), "1 1\t2\t2\t1\t2 1 4 1") << k;
        EXPECT_TRUE(stage.ends_with("\r\n" + std::to_string(k) + "\r\n"));
        if (k >= 3) {
            EXPECT_EQ(body(stage), body(stage2)) << k;
        }
    }
    EXPECT_EQ(body(ReadFile(dir.file("wall.st1"))).find("\r\n36 6\t"), std::string::npos);
}

TEST(StageFiles, FromFourToTwoStagesDeletesStagesThreeAndFour) {
    TempDir dir;
    TProgramData p;
    makeStaged(p, dir, 4);
    ASSERT_TRUE(p.ChangeStage(3));
    ASSERT_TRUE(p.ApplyStageCount(2));
    EXPECT_EQ(p.CurrentStage, 1);
    EXPECT_EQ(p.StageCount, 2);
    EXPECT_TRUE(exists(dir.file("wall.st2")));
    EXPECT_FALSE(exists(dir.file("wall.st3")));
    EXPECT_FALSE(exists(dir.file("wall.st4")));
    EXPECT_EQ(controlLine(ReadFile(dir.file("wall.st2"))), "1 1\t2\t2\t1\t2 1 2 1");
}

TEST(StageFiles, BackToOneStageDeletesEveryStageFileAndKeepsTheTitle) {
    TempDir dir;
    TProgramData p;
    makeStaged(p, dir, 3);
    ASSERT_TRUE(p.ChangeStage(3));
    ASSERT_TRUE(p.ApplyStageCount(1));
    for (int k = 1; k <= 5; ++k) EXPECT_FALSE(exists(StageFileOf(p.FileName, k)));
    EXPECT_EQ(p.StageCount, 1);
    EXPECT_EQ(p.CurrentStage, 1);
    EXPECT_EQ(p.Title, "Tied-back wall, every record");
    EXPECT_EQ(p.StageStatusText(), "");
}

TEST(StageFiles, CopyPreviousStage) {
    TempDir dir;
    TProgramData p;
    makeStaged(p, dir, 3);
    ASSERT_TRUE(p.ChangeStage(2));
    p.Increments = 30;
    p.Tables().soillayer.setFloat(2, 0, 0.25);
    ASSERT_TRUE(p.ChangeStage(3));
    p.Increments = 44;
    ASSERT_TRUE(p.CanCopyPreviousStage());
    ASSERT_TRUE(p.CopyPreviousStage());
    EXPECT_EQ(p.CurrentStage, 3);
    EXPECT_EQ(p.Increments, 30);
    const std::string stage3 = ReadFile(dir.file("wall.st3"));
    EXPECT_TRUE(stage3.starts_with(" Stage No : 3\r\n"));
    EXPECT_EQ(body(stage3), body(ReadFile(dir.file("wall.st2"))));
    EXPECT_NE(stage3.find("1\t0\t0.25\t0\r\n"), std::string::npos);
}

TEST(StageFiles, ChangingStagesKeepsTheModifiedState) {
    TempDir dir;
    TProgramData p;
    makeStaged(p, dir, 3);
    for (const bool modified : {true, false}) {
        p.SetModified(modified);
        ASSERT_TRUE(p.ChangeStage(p.CurrentStage == 1 ? 2 : 1));
        EXPECT_EQ(p.IsModified(), modified);
    }
    // The current stage's own button does nothing.
    const std::string before = ReadFile(StageFileOf(p.FileName, p.CurrentStage));
    p.Increments = 7;
    ASSERT_TRUE(p.ChangeStage(p.CurrentStage));
    EXPECT_EQ(p.Increments, 7);
    EXPECT_EQ(ReadFile(StageFileOf(p.FileName, p.CurrentStage)), before);
}

TEST(StageFiles, AMissingStageFileStartsTheStageAsACopy) {
    TempDir dir;
    TProgramData p;
    makeStaged(p, dir, 3);
    ASSERT_TRUE(p.ChangeStage(2));
    p.Increments = 25;
    std::filesystem::remove(dir.file("wall.st3"));
    ASSERT_TRUE(p.ChangeStage(3));
    EXPECT_EQ(p.Increments, 25);
}

TEST(StageFiles, SaveAsMovesTheStageFiles) {
    TempDir dir;
    TProgramData p;
    makeStaged(p, dir, 2);
    ASSERT_TRUE(p.ChangeStage(2));
    p.Increments = 32;
    ASSERT_TRUE(p.SaveAs(dir.file("renamed.kl4d")));
    EXPECT_EQ(p.FileName, dir.file("renamed.kl4d"));
    EXPECT_EQ(p.PreviousFileName, dir.file("wall.kl4d"));
    EXPECT_FALSE(exists(dir.file("wall.st1")));
    EXPECT_FALSE(exists(dir.file("wall.st2")));
    const std::string stage2 = ReadFile(dir.file("renamed.st2"));
    EXPECT_NE(stage2.find("\r\n32 6\t"), std::string::npos);
    EXPECT_EQ(ReadFile(dir.file("renamed.kl4d")), ReadFile(dir.file("renamed.st1")) + stage2);
    EXPECT_FALSE(p.IsModified());
    // The project goes on under its new name.
    ASSERT_TRUE(p.ChangeStage(1));
    EXPECT_EQ(p.StageFileName, dir.file("renamed.st1"));
}

TEST(StageFiles, AssemblingWithAMissingStageFileFails) {
    TempDir dir;
    TProgramData p;
    makeStaged(p, dir, 3);
    ASSERT_TRUE(p.Save());
    const std::string saved = ReadFile(p.FileName);
    std::filesystem::remove(dir.file("wall.st3"));
    const FileResult result = p.Save();
    EXPECT_EQ(result.message, dir.file("wall.st3") + ": No such file or directory");
    EXPECT_EQ(ReadFile(p.FileName), saved);
    EXPECT_TRUE(p.IsModified());
}

// A staged format 3.0 file: split, then each stage brought to format 2013.
TEST(StageFiles, StagedFormat30IsConvertedStageByStage) {
    TempDir dir;
    const std::string block = "\r\n2 0\t1\t0\t2\t2 0 2\r\n"
                              "10 0.3\t0.1\t1E-5\t1.2\r\n"
                              "0\t10\t1\t50000\r\n"
                              "0\r\n"
                              "0\r\n"
                              "1.2\t1\t1\t3\t3\t0.036\t1\t0\r\n"
                              "0\t%X%\t10\t0\t0\t0\r\n"
                              "1\r\n"
                              "4 4 \r\n"
                              "18 0.0  30 0.0  20000 0.0  \r\n"
                              "18 0.0  30 0.0  20000 0.0  \r\n";
    std::string stage1 = "Old staged wall" + block + "1\r\n";
    std::string stage2 = " Stage No : 2" + block + "2\r\n";
    stage1.replace(stage1.find("%X%"), 3, "0.5");
    stage2.replace(stage2.find("%X%"), 3, "0");
    WriteFile(dir.file("old.kld"), stage1 + stage2);
    TProgramData p;
    ASSERT_TRUE(p.Open(dir.file("old.kld"), DataFormat::Format30));
    EXPECT_EQ(p.StageCount, 2);
    EXPECT_EQ(p.CurrentStage, 1);
    EXPECT_TRUE(p.CurrentFormat);
    EXPECT_FALSE(p.IsModified());
    EXPECT_EQ(p.Title, "Old staged wall");
    const std::string converted2 = ReadFile(dir.file("old.st2"));
    // Format 2013: the moment-EI count on the control line and a surcharge
    // table. Stage 2's surcharge line has no distance: none of stage 1's
    // three loads is carried into it (the option stays on, as for a stage
    // whose table is empty, with the table's default row of no load).
    EXPECT_TRUE(converted2.starts_with(" Stage No : 2\r\n2 0\t1\t0\t2\t2 0 2 0\r\n")) << converted2;
    EXPECT_NE(converted2.find("\r\n0\t0\t10\t0\t0\t0\r\n1\r\n1\t0\t0\t0\r\n1\r\n4 4 \r\n"), std::string::npos) << converted2;
    const std::string converted1 = ReadFile(dir.file("old.st1"));
    EXPECT_NE(converted1.find("\r\n0\t0.5\t10\t0\t0\t0\r\n3\r\n1\t10\t0.5\t0\r\n2\t0\t0.5\t0\r\n"), std::string::npos)
        << converted1;
    // In memory the SI table shows the distance in millimetres.
    ASSERT_EQ(p.Tables().surchargeTable.rowCount(), 3);
    EXPECT_EQ(p.Tables().surchargeTable.asFloat(2, 0), 500);
    // The 2013 stage files read back as they are.
    TProgramData again;
    again.FileName = dir.file("old.kld");
    again.StageFileName = dir.file("old.st2");
    again.CurrentStage = 2;
    ASSERT_TRUE(again.ReadStageBlock(again.StageFileName));
    EXPECT_EQ(again.StageBlockText(), converted2);
}

} // namespace
} // namespace kelda::data
