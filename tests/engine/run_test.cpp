// Whole runs over in-memory data files: the kinds of run, the headings, the
// errors in the data and how each one ends the run.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "engine_test_support.h"
#include "run_errors.h"

namespace kelda {
namespace {

using test::lines;
using test::runText;

// A ten-increment wall in generic units: no restraints, one stiffness row,
// empty load and spring tables.
const std::string kTitle = "Test wall";
std::string block(const std::string& title, const std::string& control, const std::string& rest, int endLine) {
    return title + "\n" + control + "\n10 1 10 0.001 0\n" + rest + std::to_string(endLine) + "\n";
}
const std::string kPlainRest = "0 10 1 100\n0\n0\n";

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
    return n;
}

// Lines of the plot file that open a results section ("NSETS NPTS U"): the
// only lines of three integers.
std::vector<std::string> resultsLines(const std::string& plot) {
    std::vector<std::string> out;
    for (const std::string& l : lines(plot)) {
        std::istringstream in(l);
        std::vector<std::string> tokens;
        for (std::string t; in >> t;) tokens.push_back(t);
        const bool integers = std::all_of(tokens.begin(), tokens.end(), [](const std::string& t) {
            return t.find_first_not_of("-0123456789") == std::string::npos;
        });
        if (tokens.size() == 3 && integers) out.push_back(l);
    }
    return out;
}

TEST(EngineRun, SingleProblemHasOneHeadingAndOneResultsSection) {
    const auto run = runText(block(kTitle, "3 0 1 0 0 0 0 1 0", kPlainRest, 0));
    EXPECT_EQ(run.summary.ending, RunEnding::Completed) << run.summary.message;
    EXPECT_EQ(run.summary.problemsAnalysed, 1);
    EXPECT_EQ(count(run.report, " KELDA - A PROGRAM FOR THE ANALYSIS OF FLEXIBLE RETAINING STRUCTURES"), 1);
    // The heading is written with the input and again by the solution.
    EXPECT_EQ(count(run.report, "\n      Test wall" + std::string(61, ' ') + "\n"), 2);
    EXPECT_EQ(resultsLines(run.plot), std::vector<std::string>{" 1 12 3"});
    EXPECT_EQ(lines(run.report).back(), "     END OF ANALYSIS                             ");
    EXPECT_TRUE(run.console.empty());
}

TEST(EngineRun, ShortTermAndLongTermProblems) {
    const auto run = runText(block(kTitle, "3 0 1 0 0 0 0 1 0", kPlainRest, 9) +
                             block("Another title", "3 0 1 0 0 0 0 1 0", kPlainRest, 0));
    EXPECT_EQ(run.summary.ending, RunEnding::Completed) << run.summary.message;
    EXPECT_EQ(run.summary.problemsAnalysed, 2);
    EXPECT_EQ(count(run.report, " KELDA - A PROGRAM"), 2);
    // The long-term heading carries the first problem's title.
    EXPECT_EQ(count(run.report, "      Long Term :  Test wall"), 2);
    EXPECT_EQ(count(run.report, "Another title"), 0);
    EXPECT_EQ(resultsLines(run.plot), (std::vector<std::string>{" 2 12 3", " 2 12 3"}));
    // Two empty lines separate the problems.
    EXPECT_NE(run.report.find("\n\n\n KELDA"), std::string::npos);
}

TEST(EngineRun, ConstructionStagesEachGetAHeadingWithTheirNumber) {
    std::string data;
    for (int stage = 1; stage <= 3; ++stage) {
        data += block(stage == 1 ? kTitle : " Stage No : " + std::to_string(stage), "3 0 1 0 0 0 0 3 0", kPlainRest,
                      stage);
    }
    const auto run = runText(data);
    EXPECT_EQ(run.summary.ending, RunEnding::Completed) << run.summary.message;
    EXPECT_EQ(run.summary.problemsAnalysed, 3);
    for (const char* heading : {"      Stage No : 1  Test wall", "      Stage No : 2  Test wall",
                                "      Stage No : 3  Test wall"}) {
        EXPECT_EQ(count(run.report, heading), 2) << heading;
    }
    EXPECT_EQ(resultsLines(run.plot), (std::vector<std::string>{" 3 12 3", " 3 12 3", " 3 12 3"}));
}

struct ErrorCase {
    const char* name;
    std::string data;
    std::string message; // the report line of the error
};
void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class InputErrors : public ::testing::TestWithParam<ErrorCase> {};

// Every error ends the run at once: the message, "END OF ANALYSIS", and the
// plot file's results section.
TEST_P(InputErrors, EndTheRunWithTheirMessage) {
    const auto run = runText(GetParam().data);
    EXPECT_EQ(run.summary.ending, RunEnding::InputError);
    const auto reportLines = lines(run.report);
    ASSERT_GE(reportLines.size(), 4U);
    EXPECT_NE(std::find(reportLines.begin(), reportLines.end(), "     " + GetParam().message), reportLines.end())
        << run.report;
    EXPECT_EQ(reportLines.back(), "     END OF ANALYSIS                             ");
    const auto results = resultsLines(run.plot);
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(results.back().substr(0, 3), " 1 ");
}

const std::string kCtl = "3 0 1 0 0 0 0 1 0";

INSTANTIATE_TEST_SUITE_P(
    EngineRun, InputErrors,
    ::testing::Values(
        ErrorCase{"RestraintBelowStationMinusOne", block(kTitle, "3 1 1 0 0 0 0 1 0", "1 -2 0 0\n" + kPlainRest, 0),
                  "ERROR STOP -- STATIONS NOT IN ORDER"},
        ErrorCase{"RestraintsOutOfOrder",
                  block(kTitle, "3 2 1 0 0 0 0 1 0", "1 5 0 0\n1 3 0 0\n" + kPlainRest, 0),
                  "ERROR STOP -- STATIONS NOT IN ORDER"},
        ErrorCase{"MoreThan20Restraints", block(kTitle, "3 21 1 0 0 0 0 1 0", "", 0),
                  "TOO MUCH DATA FOR AVAILABLE STORAGE"},
        ErrorCase{"RestraintPastTheTip", block(kTitle, "3 1 1 0 0 0 0 1 0", "1 12 0 0\n" + kPlainRest, 0),
                  "ERROR -- DATA FILE LINE 4: THE RESTRAINT STATION 12 LIES OUTSIDE THE WALL (STATIONS -1 TO 11)"},
        ErrorCase{"LoadJustPastTheTip", block(kTitle, kCtl, "0 10 1 100\n1\n1 11 11 1 0 0\n0\n", 0),
                  "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"},
        ErrorCase{"StiffnessTwoPastTheTip", block(kTitle, kCtl, "0 12 1 100\n0\n0\n", 0),
                  "ERROR -- NON-ZERO TABLE 4 DATA BEYOND END"},
        ErrorCase{"RunEndingBeforeItStarts", block(kTitle, "3 0 2 0 0 0 0 1 0", "5 5 2 100\n0 2 1 100\n0\n0\n", 0),
                  "ERROR STOP -- STATIONS NOT IN ORDER"},
        ErrorCase{"StationOffTheWall", block(kTitle, kCtl, "0 50 1 100\n0\n0\n", 0),
                  "ERROR -- DATA FILE LINE 4: THE TO STATION 50 LIES OUTSIDE THE WALL (STATIONS -3 TO 13)"},
        ErrorCase{"ModeOtherThanOneOrTwo", block(kTitle, kCtl, "0 10 3 100\n0\n0\n", 0),
                  "ERROR -- DATA FILE LINE 4: THE MODE MUST BE 1 (CONSTANT) OR 2 (INTERPOLATED), FOUND 3"},
        ErrorCase{"TextWhereANumberBelongs", block(kTitle, kCtl, "0 10 1 abc\n0\n0\n", 0),
                  "ERROR -- DATA FILE LINE 4: A NUMBER WAS EXPECTED FOR THE FLEXURAL RIGIDITY, FOUND 'abc'"},
        ErrorCase{"FileEndsInsideAProblem", kTitle + "\n" + kCtl + "\n10 1 10\n",
                  "ERROR -- DATA FILE LINE 4: THE FILE ENDS WHERE THE DEFLECTION CLOSURE TOLERANCE WAS EXPECTED"},
        ErrorCase{"FileEndsBeforeTheEndLine", kTitle + "\n" + kCtl + "\n10 1 10 0.001 0\n" + kPlainRest,
                  "ERROR -- DATA FILE LINE 7: THE FILE ENDS WHERE THE END LINE WAS EXPECTED"},
        ErrorCase{"EmptyFile", "", "ERROR -- DATA FILE LINE 1: THE FILE ENDS WHERE THE TITLE LINE WAS EXPECTED"},
        ErrorCase{"NegativeRestraintCount", block(kTitle, "3 -1 1 0 0 0 0 1 0", kPlainRest, 0),
                  "ERROR -- DATA FILE LINE 2: THE RESTRAINT COUNT MUST NOT BE NEGATIVE, FOUND -1"},
        ErrorCase{"NegativeStiffnessCount", block(kTitle, "3 0 -1 0 0 0 0 1 0", "", 0),
                  "ERROR -- DATA FILE LINE 2: THE WALL STIFFNESS ROW COUNT MUST NOT BE NEGATIVE, FOUND -1"},
        ErrorCase{"NegativeLoadCount", block(kTitle, kCtl, "0 10 1 100\n-4\n0\n", 0),
                  "ERROR -- DATA FILE LINE 5: THE CONCENTRATED LOAD COUNT MUST NOT BE NEGATIVE, FOUND -4"},
        ErrorCase{"AbsurdLoadCount", block(kTitle, kCtl, "0 10 1 100\n2000000000\n0\n", 0),
                  "TOO MUCH DATA FOR AVAILABLE STORAGE"},
        ErrorCase{"TooManyIncrements", kTitle + "\n" + kCtl + "\n408 1 10 0.001 0\n" + kPlainRest + "0\n",
                  "TOO MUCH DATA FOR AVAILABLE STORAGE"},
        ErrorCase{"NoIncrements", kTitle + "\n" + kCtl + "\n0 1 10 0.001 0\n" + kPlainRest + "0\n",
                  "ERROR -- DATA FILE LINE 3: THE NUMBER OF INCREMENTS MUST BE AT LEAST 1, FOUND 0"},
        ErrorCase{"ZeroIncrementLength", kTitle + "\n" + kCtl + "\n10 0 10 0.001 0\n" + kPlainRest + "0\n",
                  "ERROR -- DATA FILE LINE 3: THE INCREMENT LENGTH MUST BE POSITIVE"},
        ErrorCase{"TooManyPyCurvePoints",
                  block(kTitle, "3 0 0 0 0 1 1 1 0", "5 35 1 1\n", 0),
                  "TOO MUCH DATA FOR AVAILABLE STORAGE"},
        ErrorCase{"MoreThan400PyCurves", block(kTitle, "3 0 0 0 0 1 401 1 0", "", 0),
                  "TOO MUCH DATA FOR AVAILABLE STORAGE"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(EngineRun, AcceptedEdgesOfTheChecks) {
    // Restraints at the same station, a load at the tip, a restraint at -1.
    const auto run = runText(block(kTitle, "3 3 1 0 0 0 0 1 0",
                                   "1 -1 0 0\n1 0 0 0\n3 0 0 0\n0 10 1 100\n1\n1 10 10 1 0 0\n0\n", 0));
    EXPECT_EQ(run.summary.ending, RunEnding::Completed) << run.summary.message;
}

TEST(EngineRun, WithoutStiffnessRowsUserCurvesFollowTheRestraints) {
    const auto run = runText(block(kTitle, "3 0 0 0 0 1 1 1 0", "5 3 1 1\n-1 10\n0 0\n1 -10\n", 0));
    EXPECT_EQ(run.summary.ending, RunEnding::Completed) << run.summary.message;
    // The empty-table block stands where the station tables would be echoed.
    EXPECT_NE(run.report.find("     FROM TO CONTD     EI         Q        S'        T         R         P\n\n"
                              "                     F- L**2       F       F/ L     L-  F    L-  F       F\n"
                              "\n                    \n"),
              std::string::npos)
        << run.report;
    // No earth-pressure section; the p-y section holds the one curve.
    EXPECT_EQ(lines(run.plot).front(), " 3 1");
}

TEST(EngineRun, ErrorInTheSecondProblemKeepsTheFirstComplete) {
    const std::string first = block(kTitle, kCtl, kPlainRest, 9);
    const auto run = runText(first + block(kTitle, "3 1 1 0 0 0 0 1 0", "1 -5 0 0\n" + kPlainRest, 0) +
                             "this text is never read\n");
    EXPECT_EQ(run.summary.ending, RunEnding::InputError);
    EXPECT_EQ(run.summary.problemsAnalysed, 1);
    const auto alone = runText(block(kTitle, kCtl, kPlainRest, 0));
    // The first problem's report stands whole before the second begins.
    const std::string firstReport = alone.report.substr(0, alone.report.find("\n\n\n\n     END OF ANALYSIS"));
    EXPECT_EQ(run.report.rfind(firstReport, 0), 0U);
    EXPECT_EQ(count(run.report, "END OF ANALYSIS"), 1);
    // One results section after the first problem and one at the end.
    EXPECT_EQ(resultsLines(run.plot), (std::vector<std::string>{" 2 12 3", " 2 12 3"}));
}

TEST(EngineRun, StopEndsTheRunWithTheFilesAsTheyStand) {
    RunHooks hooks;
    hooks.at = [](kelda::Run&, RunStep step) {
        if (step == RunStep::ProblemRead) throw EngineStop{"1"};
    };
    const auto run = runText(block(kTitle, kCtl, kPlainRest, 0), &hooks);
    EXPECT_EQ(run.summary.ending, RunEnding::Stopped);
    EXPECT_EQ(run.summary.stopCode, "1");
    EXPECT_EQ(run.console, "STOP 1\n");
    EXPECT_EQ(count(run.report, "END OF ANALYSIS"), 0);
    EXPECT_TRUE(resultsLines(run.plot).empty());
    EXPECT_EQ(lines(run.report).back(),
              "        0  10  0  0.100E+03 0.000E+00 0.000E+00 0.000E+00 0.000E+00 0.000E+00")
        << "the report ends with the last block written";
}

TEST(EngineRun, StopWithoutACodePrintsNothing) {
    RunHooks hooks;
    hooks.at = [](kelda::Run&, RunStep step) {
        if (step == RunStep::BeforeSolution) throw EngineStop{};
    };
    const auto run = runText(block(kTitle, kCtl, kPlainRest, 0), &hooks);
    EXPECT_EQ(run.summary.ending, RunEnding::Stopped);
    EXPECT_TRUE(run.console.empty());
}

TEST(EngineRun, UnitLabelsFollowTheControlLine) {
    const auto english = runText(block(kTitle, "1 0 1 0 0 0 0 1 0", kPlainRest, 0));
    EXPECT_NE(english.report.find("                   LBS-IN**2     LBS     LBS/IN    IN-LBS   IN-LBS     LBS"),
              std::string::npos);
    EXPECT_NE(english.report.find("INCREMENT LENGTH                                   =   1.000 IN"),
              std::string::npos);
    const auto generic = runText(block(kTitle, "3 0 1 0 0 0 0 1 0", kPlainRest, 0));
    EXPECT_NE(generic.report.find("INCREMENT LENGTH                                   =   1.000  L"),
              std::string::npos);
}

} // namespace
} // namespace kelda
