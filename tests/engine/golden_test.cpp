// The bundled examples analysed whole and compared with their stored report
// and plot file. Set KELDA_UPDATE_GOLDEN=1 to rewrite the stored files after
// a deliberate change, then read the diff before committing it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

#include "engine_test_support.h"
#include "kelda/engine.h"

namespace kelda {
namespace {

namespace fs = std::filesystem;
using test::firstDifference;
using test::readFile;
using test::TempDir;
using test::writeFile;

class Golden : public ::testing::TestWithParam<const char*> {};

TEST_P(Golden, ReportAndPlotFileMatchTheStoredOnes) {
    const fs::path source = fs::path(KELDA_SOURCE_DIR) / "examples" / (std::string(GetParam()) + ".kl4d");
    const fs::path goldenDir = fs::path(KELDA_TEST_DATA_DIR) / "golden";
    TempDir dir;
    const std::string base = (dir / GetParam()).string();
    const RunSummary summary = runAnalysis({source.string(), base + ".kl4o", base + ".kl4p", base + ".kl4r"});
    EXPECT_TRUE(summary.performed()) << summary.message;
    for (const char* extension : {".kl4o", ".kl4p", ".kl4r"}) {
        const std::string actual = readFile(base + extension);
        const fs::path golden = goldenDir / (std::string(GetParam()) + extension);
        if (std::getenv("KELDA_UPDATE_GOLDEN") != nullptr) {
            fs::create_directories(goldenDir);
            writeFile(golden, actual);
            continue;
        }
        ASSERT_TRUE(fs::exists(golden)) << golden << " is missing; run with KELDA_UPDATE_GOLDEN=1";
        const std::string expected = readFile(golden);
        EXPECT_TRUE(expected == actual) << golden.filename() << ": " << firstDifference(expected, actual);
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, Golden,
                         ::testing::Values("cantilever", "tied-back", "short-long-term", "three-stages",
                                           "cantilever-sand-over-clay", "anchored-tie-back",
                                           "py-soft-clay-under-stiff-clay", "py-stiff-clay-below-water",
                                           "py-sand-silt-water-table", "py-sand-over-rock"),
                         [](const auto& caseInfo) {
                             std::string name = caseInfo.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// A record handed from run to run is reset as a new one would be: the
// examples analysed one after another in one record, the longest first so
// that every later run meets data left behind, give the stored files.
TEST(GoldenInOneRecord, ExamplesRunInTurnMatchTheStoredOnes) {
    const fs::path goldenDir = fs::path(KELDA_TEST_DATA_DIR) / "golden";
    const auto record = std::make_unique<ProblemRecord>();
    for (const char* name : {"three-stages", "anchored-tie-back", "py-sand-over-rock", "cantilever",
                             "cantilever-sand-over-clay", "short-long-term"}) {
        std::istringstream data(
            readFile(fs::path(KELDA_SOURCE_DIR) / "examples" / (std::string(name) + ".kl4d")));
        std::ostringstream report, plot, notes, console;
        const RunSummary summary = runProblems(*record, data, report, plot, notes, console);
        EXPECT_TRUE(summary.performed()) << name << ": " << summary.message;
        for (const auto& [extension, actual] :
             {std::pair{".kl4o", report.str()}, std::pair{".kl4p", plot.str()},
              std::pair{".kl4r", notes.str()}}) {
            const std::string expected = readFile(goldenDir / (std::string(name) + extension));
            EXPECT_TRUE(expected == actual) << name << extension << ": " << firstDifference(expected, actual);
        }
    }
}

} // namespace
} // namespace kelda
