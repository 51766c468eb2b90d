// The plot data file read back in the order the engine writes it.

#include "kelda/results/plot_data.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine_test_support.h"

namespace kelda::results {
namespace {

namespace fs = std::filesystem;

PlotData read(const std::string& text, std::string* error = nullptr) {
    std::istringstream in(text);
    PlotData data;
    std::string message;
    const bool ok = readPlotData(in, data, message);
    if (error) *error = ok ? std::string() : message;
    return data;
}

TEST(PlotData, EveryExampleThatTheEngineWritesReadsBack) {
    for (const char* name : {"cantilever", "short-long-term", "three-stages", "py-sand-over-rock"}) {
        const std::string data = test::readFile(fs::path(KELDA_SOURCE_DIR) / "examples" / (std::string(name) + ".kl4d"));
        const auto run = test::runText(data);
        std::string error;
        const PlotData plot = read(run.plot, &error);
        EXPECT_EQ(error, "") << name;
        ASSERT_EQ(plot.sets.size(), run.summary.problems.size()) << name;
        for (std::size_t i = 0; i < plot.sets.size(); ++i) {
            const auto& stations = run.summary.problems[i].stations;
            ASSERT_EQ(plot.sets[i].rows.size(), stations.size() + 1) << name << ": stations 0 to NINC+1";
            // Written with four significant digits.
            EXPECT_NEAR(plot.sets[i].rows[3].deflection, stations[3].deflection,
                        5e-4 * std::abs(stations[3].deflection) + 1e-300)
                << name;
        }
    }
}

TEST(PlotData, SetsPressureCurvesAndRowsInOrder) {
    const PlotData plot = read(" 2\n 0 0 1e-7 0\n 5 10 10 0\n 2 1\n 7.5 2\n -1 5\n 1 -5\n 2 2 2\n"
                               " 0 0.1 0 0 0\n 1 0.05 3 4 5\n"
                               " 0\n 2 0\n 2 1 2\n 0 0.2 0 0 0\n");
    ASSERT_EQ(plot.sets.size(), 2U);
    EXPECT_EQ(plot.sets[0].units, 2);
    ASSERT_EQ(plot.sets[0].pressure.size(), 2U);
    EXPECT_EQ(plot.sets[0].pressure[1].total, 10.0);
    ASSERT_EQ(plot.sets[0].curves.size(), 1U);
    EXPECT_EQ(plot.sets[0].curves[0].depth, 7.5);
    EXPECT_EQ(plot.sets[0].curves[0].p[1], -5.0);
    EXPECT_EQ(plot.sets[0].rows[1].reaction, 5.0);
    EXPECT_TRUE(plot.sets[1].pressure.empty());
    ASSERT_EQ(plot.sets[1].rows.size(), 1U);
    EXPECT_EQ(plot.sets[1].rows[0].deflection, 0.2);
}

TEST(PlotData, BrokenFilesNameTheWordAndWhatWasExpected) {
    struct Case {
        std::string text, message;
    };
    for (const Case& c : std::vector<Case>{
             {"", "the file ends where the earth-pressure point count was expected"},
             {" 1\n 0 0 abc 0\n", "word 4: a number for a pressure from soils was expected, found 'abc'"},
             {" 0\n 2.5\n", "word 2: an integer for the units flag was expected, found '2.5'"},
             {" 2000000000\n 1 2 3\n", "word 1: the earth-pressure point count 2000000000 does not fit the rest of the file"},
             {" 0\n 2 0\n 0 0 2\n", "the number of result sets must be 1 to 1000, found 0"},
             {" 0\n 2 0\n 1 3 2\n 0 0 0 0 0\n", "word 5: the result row count 3 does not fit the rest of the file"},
             {" 0 2 0 1 1 2 0 0 0 0 nan", "word 11: a number for a soil reaction was expected, found 'nan'"},
         }) {
        std::string error;
        read(c.text, &error);
        EXPECT_EQ(error, c.message) << c.text;
    }
}

} // namespace
} // namespace kelda::results
