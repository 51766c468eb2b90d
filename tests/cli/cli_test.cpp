// The kelda tool run as a user runs it: exit statuses, messages, output files.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "engine_test_support.h"
#include "run_kelda.h"

namespace {

namespace fs = std::filesystem;
using kelda::test::readFile;
using kelda::test::TempDir;
using kelda::test::writeFile;

using Result = kelda::test::ToolResult;
using kelda::test::kelda;

const std::string kGood = "CLI test\n3 0 1 0 0 0 0 1 0\n10 1 10 0.001 0\n0 10 1 100\n0\n0\n0\n";

TEST(Cli, RunWritesTheThreeFilesBesideTheDataFile) {
    TempDir dir;
    writeFile(dir / "wall.kl4d", kGood);
    const Result r = kelda("run '" + (dir / "wall.kl4d").string() + "'");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(readFile(dir / "wall.kl4o").find("CLI test"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "wall.kl4p"));
    EXPECT_TRUE(fs::exists(dir / "wall.kl4r"));
}

TEST(Cli, OutputDirectoryIsCreatedAndUsed) {
    TempDir dir;
    writeFile(dir / "wall.kl4d", kGood);
    const Result r = kelda("run '" + (dir / "wall.kl4d").string() + "' -o '" + (dir / "out/sub").string() + "'");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(fs::exists(dir / "out/sub/wall.kl4o"));
    EXPECT_FALSE(fs::exists(dir / "wall.kl4o"));
}

TEST(Cli, ErrorInTheDataExitsWithOne) {
    TempDir dir;
    writeFile(dir / "bad.kl4d", "CLI test\n3 0 1 0 0 0 0 1 0\n10 1 10 0.001 0\n0 10 1 abc\n0\n0\n0\n");
    const Result r = kelda("run '" + (dir / "bad.kl4d").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("A NUMBER WAS EXPECTED FOR THE FLEXURAL RIGIDITY, FOUND 'abc'"), std::string::npos)
        << r.output;
    EXPECT_NE(readFile(dir / "bad.kl4o").find("END OF ANALYSIS"), std::string::npos);
}

TEST(Cli, MissingDataFileExitsWithTwoAndOneLine) {
    TempDir dir;
    const Result r = kelda("run '" + (dir / "absent.kl4d").string() + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1) << r.output;
    EXPECT_NE(r.output.find("cannot open the data file"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "absent.kl4o"));
}

// 200 files analysed two at a time give the same bytes as one at a time.
TEST(Cli, BatchInParallelMatchesOneAtATime) {
    TempDir dir;
    const fs::path examples = fs::path(KELDA_SOURCE_DIR) / "examples";
    std::vector<std::string> sources;
    for (const auto& entry : fs::directory_iterator(examples)) {
        if (entry.path().extension() == ".kl4d") sources.push_back(readFile(entry.path()));
    }
    ASSERT_FALSE(sources.empty());
    std::string all;
    for (int i = 0; i < 200; ++i) {
        const std::string name = "wall" + std::to_string(i) + ".kl4d";
        writeFile(dir / name, sources[static_cast<std::size_t>(i) % sources.size()]);
        all += " '" + (dir / name).string() + "'";
    }
    const Result parallel = kelda("run -q -j 2 -o '" + (dir / "parallel").string() + "'" + all);
    const Result serial = kelda("run -q -j 1 -o '" + (dir / "serial").string() + "'" + all);
    EXPECT_EQ(parallel.status, serial.status) << parallel.output;
    for (int i = 0; i < 200; ++i) {
        for (const char* ext : {".kl4o", ".kl4p", ".kl4r"}) {
            const std::string name = "wall" + std::to_string(i) + ext;
            const std::string a = readFile(dir / "parallel" / name);
            ASSERT_FALSE(a.empty()) << name;
            ASSERT_EQ(a, readFile(dir / "serial" / name)) << name;
        }
    }
}

TEST(Cli, BatchReportsEveryFailureAndTheWorstStatus) {
    TempDir dir;
    writeFile(dir / "good.kl4d", kGood);
    writeFile(dir / "bad.kl4d", "CLI test\n3 0 1 0 0 0 0 1 0\n10 1 10 0.001 0\n0 10 1 abc\n0\n0\n0\n");
    const Result r = kelda("run -j 2 '" + (dir / "good.kl4d").string() + "' '" + (dir / "bad.kl4d").string() + "' '" +
                           (dir / "absent.kl4d").string() + "'");
    EXPECT_EQ(r.status, 2) << r.output;
    EXPECT_NE(r.output.find("bad.kl4d: ERROR -- DATA FILE LINE 4"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("absent.kl4d: cannot open the data file"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("3 files: 1 analysed, 1 with errors in the data, 1 not opened"), std::string::npos)
        << r.output;
}

TEST(Cli, TwoFilesWritingTheSameOutputsAreRefused) {
    TempDir dir;
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");
    writeFile(dir / "a/wall.kl4d", kGood);
    writeFile(dir / "b/wall.kl4d", kGood);
    const Result r = kelda("run -o '" + (dir / "out").string() + "' '" + (dir / "a/wall.kl4d").string() + "' '" +
                           (dir / "b/wall.kl4d").string() + "'");
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.output.find("would write the same report"), std::string::npos) << r.output;
}

TEST(Cli, CsvAndJsonCarryEveryResultSetInTheFileUnits) {
    TempDir dir;
    const fs::path data = fs::path(KELDA_SOURCE_DIR) / "examples/short-long-term.kl4d";
    const Result r = kelda("run -q '" + data.string() + "' -o '" + dir.path().string() + "' --csv '" +
                           (dir / "csv").string() + "' --json '" + (dir / "r.json").string() + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    const auto shortTerm = kelda::test::lines(readFile(dir / "csv/short-long-term_short-term.csv"));
    ASSERT_EQ(shortTerm.size(), 42U) << "a header and stations 0 to 40";
    EXPECT_EQ(shortTerm[0], "station,depth (m),deflection (m),slope (rad),moment (kN-m),shear (kN),"
                            "soil reaction (kN per station),EI (kN-m^2)");
    EXPECT_EQ(shortTerm[1].substr(0, 4), "0,0,");
    EXPECT_TRUE(fs::exists(dir / "csv/short-long-term_long-term.csv"));
    const auto pressure = kelda::test::lines(readFile(dir / "csv/short-long-term_long-term_earth-pressure.csv"));
    ASSERT_EQ(pressure.size(), 4U);
    EXPECT_EQ(pressure[2], "4,26,26,0");
    const std::string json = readFile(dir / "r.json");
    EXPECT_NE(json.find("\"name\": \"Short-Term\""), std::string::npos);
    EXPECT_NE(json.find("\"name\": \"Long-Term\""), std::string::npos);
    EXPECT_NE(json.find("\"ending\": \"completed\""), std::string::npos);
    // The JSON and the CSV carry the same full-precision deflection at the top.
    const std::string topDeflection = shortTerm[1].substr(4, shortTerm[1].find(',', 4) - 4);
    EXPECT_NE(json.find("\"deflection\": " + topDeflection + ","), std::string::npos) << topDeflection;
}

// The curves each station really used: a chain of user curves at stations
// 24, 30, ... gives half of the first curve at its station, a blend between
// curves, and two halves (a whole curve) where segments meet.
TEST(Cli, CsvShowsTheCurvesEachStationUsed) {
    TempDir dir;
    const fs::path data = fs::path(KELDA_SOURCE_DIR) / "examples/cantilever.kl4d";
    const Result r = kelda("run -q '" + data.string() + "' -o '" + dir.path().string() + "' --csv '" +
                           (dir / "csv").string() + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    const std::string curves = readFile(dir / "csv/cantilever_results_py-curves.csv");
    EXPECT_EQ(curves.rfind("station,depth (m),y (m),p (kN/m)\n", 0), 0U);
    EXPECT_NE(curves.find("\n24,6,0.02,-40\n"), std::string::npos) << "half of the first curve (80 kN/m)";
    EXPECT_NE(curves.find("\n27,6.75,0.02,-160\n"), std::string::npos) << "halfway from 80 to 240";
    EXPECT_NE(curves.find("\n30,7.5,0.02,-240\n"), std::string::npos) << "two halves of the curve at 30";
    EXPECT_EQ(curves.find("\n23,"), std::string::npos) << "no soil above the first curve";
}

TEST(Cli, ExportReadsAnExistingPlotFileAndNamesItsSets) {
    TempDir dir;
    writeFile(dir / "wall.kl4d", readFile(fs::path(KELDA_SOURCE_DIR) / "examples/short-long-term.kl4d"));
    ASSERT_EQ(kelda("run -q '" + (dir / "wall.kl4d").string() + "'").status, 0);
    const Result r = kelda("export '" + (dir / "wall.kl4p").string() + "' --csv '" + (dir / "csv").string() +
                           "' --json '" + (dir / "wall.json").string() + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    // The data file beside the plot file tells short and long term from stages.
    const auto longTerm = kelda::test::lines(readFile(dir / "csv/wall_long-term.csv"));
    ASSERT_EQ(longTerm.size(), 43U) << "a header and stations 0 to NINC+1";
    EXPECT_EQ(longTerm[0], "depth (m),deflection (m),moment (kN-m),shear (kN),soil reaction (kN per station)");
    EXPECT_TRUE(fs::exists(dir / "csv/wall_short-term_earth-pressure.csv"));
    EXPECT_NE(readFile(dir / "wall.json").find("\"name\": \"Long-Term\""), std::string::npos);

    writeFile(dir / "broken.kl4p", " 1\n 0 0 abc 0\n");
    const Result broken = kelda("export '" + (dir / "broken.kl4p").string() + "' --json '" + (dir / "b.json").string() + "'");
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.output.find("a number for a pressure from soils was expected, found 'abc'"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "b.json"));
    EXPECT_EQ(kelda("export '" + (dir / "absent.kl4p").string() + "' --csv x").status, 2);
    EXPECT_EQ(kelda("export '" + (dir / "wall.kl4p").string() + "'").status, 64);
}

TEST(Cli, VerifyPrintsItsTableAndPasses) {
    const Result r = kelda("verify");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_NE(r.output.find("case "), std::string::npos);
    EXPECT_EQ(r.output.find("FAIL"), std::string::npos);
}

TEST(Cli, HelpVersionAndUsage) {
    const Result help = kelda("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("Usage: kelda run FILE.kl4d... [-o DIR] [-j N] [-q]"), std::string::npos);
    const Result version = kelda("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.output, "kelda 2013.4.8\n");
    EXPECT_EQ(kelda("").status, 64);
    EXPECT_EQ(kelda("frobnicate").status, 64);
    EXPECT_EQ(kelda("run").status, 64);
}

} // namespace
