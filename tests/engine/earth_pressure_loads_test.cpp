// The run driver's side of the earth pressure: reading the generated table
// back, the echo and the plot section, surcharge on a user-specified table,
// and the loads at the stations.

#include <gtest/gtest.h>

#include <cmath>

#include "earth_pressure_fixture.h"
#include "earth_pressure_loads.h"
#include "engine_test_support.h"
#include "line_layout.h"
#include "run_errors.h"
#include "surcharge_pressure.h"

namespace kelda {
namespace {

using test::PressureProblem;

// ---- reading the table text back --------------------------------------------------

TEST(ReadGeneratedTable, MultipliesTheThreePressuresByWaAndKeepsTheLast) {
    PressureProblem p(3.0);
    p.rec->wall.wa = 2.0;
    // A record may run over two lines; an exponent of three digits has no letter.
    p.run.earthPressureTableFile.str("           3\n"
                                     "      0.000E+00     0.150E+01     0.150E+01     0.000E+00\n"
                                     "      0.100E+01     0.400E+01\n"
                                     "     0.350E+01     0.500E+00\n"
                                     "      0.200E+01     0.123+100     0.600E+01     0.100E+01\n");
    readGeneratedPressureTable(p.run);
    const EarthPressureTable& t = p.rec->earthPressure;
    ASSERT_EQ(t.count, 3);
    EXPECT_EQ(t.depth[1], 1.0);
    EXPECT_EQ(t.pressure[0], 3.0);
    EXPECT_EQ(t.pressure[1], 8.0);
    EXPECT_EQ(t.withoutSurcharge[1], 7.0);
    EXPECT_EQ(t.surcharge[1], 1.0);
    EXPECT_DOUBLE_EQ(t.pressure[2], 2.0 * 0.123e100);
    EXPECT_DOUBLE_EQ(t.lastPressure, 2.0 * 0.123e100);
    EXPECT_EQ(t.step, 1);
    EXPECT_EQ(t.usedCount, 3);
}

struct StepCase {
    int units, points, step, used;
};

class ReadGeneratedTableStep : public ::testing::TestWithParam<StepCase> {};

// English tables hold a point per inch: past 50 points every sixth is used.
TEST_P(ReadGeneratedTableStep, EverySixthPointInEnglishUnitsPastFifty) {
    const StepCase& c = GetParam();
    PressureProblem p(1.0, c.units);
    std::string text = std::to_string(c.points) + "\n";
    for (int i = 0; i < c.points; ++i) text += std::to_string(i) + " 1 1 0\n";
    p.run.earthPressureTableFile.str(text);
    readGeneratedPressureTable(p.run);
    EXPECT_EQ(p.rec->earthPressure.step, c.step);
    EXPECT_EQ(p.rec->earthPressure.usedCount, c.used);
}

INSTANTIATE_TEST_SUITE_P(Units, ReadGeneratedTableStep,
                         ::testing::Values(StepCase{1, 60, 6, 10}, StepCase{1, 61, 6, 11},
                                           StepCase{1, 50, 1, 50}, StepCase{2, 60, 1, 60},
                                           StepCase{3, 60, 1, 60}));

TEST(ReadGeneratedTable, RejectsTooManyPointsAndATruncatedText) {
    PressureProblem tooMany(1.0);
    tooMany.run.earthPressureTableFile.str("1201\n");
    try {
        readGeneratedPressureTable(tooMany.run);
        FAIL() << "expected an input error";
    } catch (const InputError& e) {
        EXPECT_EQ(e.message, "TOO MUCH DATA FOR AVAILABLE STORAGE");
        EXPECT_EQ(e.detail, "THE EARTH-PRESSURE TABLE HAS 1201 POINTS, AT MOST 1200 CAN BE HELD");
    }
    PressureProblem truncated(1.0);
    truncated.run.earthPressureTableFile.str("2\n 0 1 1 0\n 1 2\n");
    try {
        readGeneratedPressureTable(truncated.run);
        FAIL() << "expected an input error";
    } catch (const InputError& e) {
        EXPECT_EQ(e.message, "ERROR -- THE EARTH-PRESSURE TABLE CANNOT BE READ BACK: IT ENDS BEFORE POINT 2");
    }
}

// ---- the whole earth-pressure step of a problem -----------------------------------

// Wall configuration (H = 10 m, WA = 2, water table at 4 m), no surcharge,
// one sand layer to 20 m: P = KA·20·z down to 4 m, then effective stress and
// water.
constexpr const char* kGeneratedRecords = "10\t2\t1\t4\t10\t1\t1\t0\n"
                                          "0\t0\t0\t0\t0\t0\n"
                                          "0\n"
                                          "1\n"
                                          "4 20 \n"
                                          "20 0.0  30 0.0  20000 0.0  \n"
                                          "20 0.0  30 0.0  20000 0.0  \n";

struct LoadsProblem : PressureProblem {
    LoadsProblem(int option, const std::string& records) : PressureProblem(10.0, 2, option) {
        rec->solution.ninc = 10;
        rec->solution.h = 1.0;
        data.str(records);
    }
};

// The table text holds three significant digits: the loads are built from
// the rounded values.
double rounded3(double v) {
    return std::stod(layout::editE(v, 10, 3));
}

TEST(EarthPressureLoads, GeneratedTableIsEchoedPlottedAndLoadsTheStations) {
    LoadsProblem p(2, kGeneratedRecords);
    earthPressureLoads(p.run);
    const double ka = std::pow(std::tan((45.0 - 15.0) / static_cast<double>(57.2958f)), 2);
    const auto hand = [ka](double z) {
        return z <= 4 ? ka * 20 * z : ka * (80 + 10 * (z - 4)) + 10 * (z - 4);
    };

    const EarthPressureTable& t = p.rec->earthPressure;
    ASSERT_EQ(t.count, 11);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_DOUBLE_EQ(p.rec->q[i], 2.0 * rounded3(hand(i)) * 1.0) << "station " << i;
    }
    EXPECT_EQ(p.rec->q[0], 0.0);
    EXPECT_DOUBLE_EQ(t.lastPressure, 2.0 * rounded3(hand(10)));

    const std::string report = p.report.str();
    // The sections in order, the pressure echo last.
    std::size_t at = 0;
    for (const char* section :
         {"WALL INFORMATION", "SURCHARGE INFORMATION", "SOIL INFORMATION", "EFFECTIVE OVERBURDEN STRESS",
          "ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT", "ACTIVE EARTH PRESSURE OF EACH LAYER",
          "ACTIVE WATER PRESSURE OF EACH LAYER", " DEPTH         ACTIVE EARTH PRESSURE"}) {
        const std::size_t found = report.find(section, at);
        ASSERT_NE(found, std::string::npos) << section;
        at = found;
    }
    EXPECT_EQ(report.substr(report.find("         DEPTH         ACTIVE EARTH PRESSURE")),
              "         DEPTH         ACTIVE EARTH PRESSURE\n"
              "           M                   KN/ M\n"
              "        --------       ------------------------\n"
              "       0.000E+00           0.000E+00\n"
              "       0.100E+01           0.133E+02\n" // 2 x 6.67 as the table text holds it
              "       0.200E+01           0.266E+02\n"
              "       0.300E+01           0.400E+02\n"
              "       0.400E+01           0.534E+02\n"
              "       0.500E+01           0.800E+02\n"
              "       0.600E+01           0.107E+03\n"
              "       0.700E+01           0.133E+03\n"
              "       0.800E+01           0.160E+03\n"
              "       0.900E+01           0.187E+03\n"
              "       0.100E+02           0.214E+03\n");
    // Plot: count, then depth, pressure, pressure without surcharge (1.0E-7
    // where it is exactly 0), surcharge part — all times WA.
    const auto plotLines = test::lines(p.plot.str());
    ASSERT_EQ(plotLines.size(), 12u);
    EXPECT_EQ(plotLines[0], " 11");
    EXPECT_EQ(plotLines[1], "   0.000E+00   0.000E+00   0.100E-06   0.000E+00");
    EXPECT_EQ(plotLines[11], "   0.100E+02   0.214E+03   0.214E+03   0.000E+00");
}

TEST(EarthPressureLoads, SurchargeRecordsAddToAUserTable) {
    // User table 0..10 m of 5 kN/m; the wall configuration and a line load
    // of 20 kN/m at 2.5 m come with the records read for generated p-y curves.
    LoadsProblem p(1, "3\n0\t5\n5\t5\n10\t5\n"
                      "10\t2\t1\t4\t10\t1\t1\t0\n"
                      "0\t0\t0\t0\t0\t0\n"
                      "1\n2\t20\t2.5\t0\n"
                      "1\n4 20 \n20 0.0  30 0.0  20000 0.0  \n20 0.0  30 0.0  20000 0.0  \n");
    p.rec->control.pyOption = 2;
    earthPressureLoads(p.run);
    const EarthPressureTable& t = p.rec->earthPressure;
    ASSERT_EQ(t.count, 3);
    for (int i = 0; i < 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double surcharge = 2.0 * surchargePressureAt(*p.rec, 10.0, t.depth[k]);
        EXPECT_DOUBLE_EQ(t.surcharge[k], surcharge);
        EXPECT_DOUBLE_EQ(t.withoutSurcharge[k], 5.0);
        EXPECT_DOUBLE_EQ(t.pressure[k], (5.0 + surcharge) * 1.0); // times h
    }
    EXPECT_EQ(t.surcharge[0], 0.0);
    EXPECT_GT(t.surcharge[1], 1.0);
    // Loads interpolate the combined table.
    EXPECT_DOUBLE_EQ(p.rec->q[5], t.pressure[1]);
    EXPECT_DOUBLE_EQ(p.rec->q[10], t.pressure[2]);
    // The echo shows the table as read; the plot the sum and its parts.
    EXPECT_NE(p.report.str().find("       0.500E+01           0.500E+01\n"), std::string::npos);
    const auto plotLines = test::lines(p.plot.str());
    ASSERT_EQ(plotLines.size(), 4u);
    EXPECT_EQ(plotLines[2] + "\n",
              layout::format("( 4( 2X E10.3 ) )", {5.0, t.pressure[1], 5.0, t.surcharge[1]}));
}

// ---- whole runs ----------------------------------------------------------------------

std::string wallData(int option, const std::string& springs, const std::string& layers,
                     double freeHeight = 6) {
    const std::string h = std::to_string(freeHeight);
    return "Generated pressure\n"
           "2 0\t1\t0\t" +
           std::to_string(option) +
           "\t1 2 1 0\n"
           "40 0.25\t1\t1E-5\t" +
           h +
           "\n"
           "0\t40\t1\t40000\n"
           "0\n" +
           springs + h + "\t1\t1\t3\t" + h +
           "\t1\t1\t0\n"
           "10\t0\t0\t0\t0\t0\n"
           "0\n" +
           layers +
           "28\t2\t1\t1\n-0.05\t100\n0.05\t-100\n"
           "40\t2\t1\t1\n-0.05\t300\n0.05\t-300\n"
           "0\n";
}

const std::string kSandOverClay = "2\n4 4 \n19 0.0  32 0.0  20000 0.0  \n19 0.0  32 0.0  20000 0.0  \n"
                                  "3 20 \n20 80 0.0  0.005 100000 0.0  \n20 80 0.0  0.005 100000 0.0  \n";

TEST(GeneratedPressureRuns, ExcavationBelowTheProfileStopsWithCodeOne) {
    const auto out = test::runText(
        wallData(2, "0\n", "1\n4 6 \n19 0.0  32 0.0  20000 0.0  \n19 0.0  32 0.0  20000 0.0  \n"));
    EXPECT_EQ(out.summary.ending, RunEnding::Stopped);
    EXPECT_EQ(out.summary.stopCode, "1");
    EXPECT_EQ(out.report.find("END OF ANALYSIS"), std::string::npos);
    // Split at the water table (3 m); the excavation (6 m) is the bottom of the profile.
    const std::string soilLine = "         2      3.0        0.0  32.0   19.000     T      3.00\n";
    ASSERT_GE(out.report.size(), soilLine.size());
    EXPECT_EQ(out.report.substr(out.report.size() - soilLine.size()), soilLine);
    // The plot file ends with the problem's input sections: no results section.
    EXPECT_EQ(out.plot, "");
    EXPECT_NE(out.console.find("STOP 1\n"), std::string::npos);
}

TEST(GeneratedPressureRuns, TrapezoidWithoutASupportEndsTheRunWithAMessage) {
    const auto out = test::runText(wallData(3, "0\n", kSandOverClay));
    EXPECT_EQ(out.summary.ending, RunEnding::InputError);
    EXPECT_NE(
        out.report.find("\n\n     ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE SUPPORT OF THE ANCHORED WALL:"
                        " A SPRING APPLIED AT A SINGLE STATION\n"),
        std::string::npos)
        << out.report;
    EXPECT_NE(out.report.find("END OF ANALYSIS"), std::string::npos);
}

TEST(GeneratedPressureRuns, TrapezoidWithASpringOverSeveralStationsEndsTheRunWithAMessage) {
    const auto out = test::runText(wallData(3, "1\n4\t8\t1\t15000\t0\n", kSandOverClay));
    EXPECT_EQ(out.summary.ending, RunEnding::InputError);
    EXPECT_NE(out.report.find("TRAPEZOIDAL EARTH PRESSURE NEEDS THE SUPPORT OF THE ANCHORED WALL"), std::string::npos);
}

TEST(GeneratedPressureRuns, AnchoredWallRunsToTheEndWithoutNaN) {
    const auto out = test::runText(wallData(3, "1\n6\t6\t1\t15000\t0\n", kSandOverClay));
    EXPECT_EQ(out.summary.ending, RunEnding::Completed) << out.summary.message;
    for (const std::string* text : {&out.report, &out.plot, &out.notes}) {
        EXPECT_EQ(text->find("NaN"), std::string::npos);
        EXPECT_EQ(text->find("nan"), std::string::npos);
        EXPECT_EQ(text->find("Infinity"), std::string::npos);
    }
    EXPECT_NE(out.report.find("ACTIVE EARTH PRESSURE OF EACH LAYER"), std::string::npos);
}

} // namespace
} // namespace kelda
