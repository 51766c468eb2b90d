// Reading the p-y curve text back into the curve store, from texts written by
// hand in the layout the generation writes.

#include "py_curve_store.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "read_problem.h"
#include "run_errors.h"

namespace kelda {
namespace {

struct Fixture {
    std::unique_ptr<ProblemRecord> rec = std::make_unique<ProblemRecord>();
    std::istringstream data;
    std::ostringstream report, plot, notes, console;
    Run run{*rec, data, report, plot, notes, console};
    Fixture() { rec->solution.h = 2.0; }
};

// One generated curve: excavation side y = 0.1·(i-1), p = 10·(i-1); backfill
// side y = 0.2·(i-1), p = 5·(i-1), i = 1..17 on each side.
std::string generatedCurve(double depth) {
    std::ostringstream s;
    s << depth << " 34\n";
    for (int i = 1; i <= 17; ++i) s << i << ' ' << 10.0 * (i - 1) << ' ' << 0.1 * (i - 1) << '\n';
    for (int i = 1; i <= 17; ++i) s << i << "  " << 5.0 * (i - 1) << "  " << 0.2 * (i - 1) << '\n';
    return s.str();
}

TEST(PyCurveText, GeneratedCurveBecomes33PointsInIncreasingY) {
    Fixture f;
    f.run.pyCurveFile << "1\n" << generatedCurve(10.2);
    readPyCurveText(f.run, 0);
    ASSERT_EQ(f.rec->pyCurveCount, 1);
    const PyCurve& c = f.rec->pyCurves[0];
    EXPECT_EQ(c.pointCount, 33);
    EXPECT_EQ(c.firstStation, 5) << "depth / h rounded";
    EXPECT_EQ(c.lastStation, 5);
    EXPECT_EQ(c.continuation, 1);
    EXPECT_DOUBLE_EQ(c.fileDepth, 10.2);
    // Backfill side, deepest deflection first, resistance positive.
    EXPECT_DOUBLE_EQ(c.y[0], -3.2);
    EXPECT_DOUBLE_EQ(c.p[0], 2.0 * 80.0);
    EXPECT_DOUBLE_EQ(c.y[16], 0.0);
    EXPECT_DOUBLE_EQ(c.p[16], 0.0);
    // Excavation side: the zero point is not repeated, resistance negative.
    EXPECT_DOUBLE_EQ(c.y[17], 0.1);
    EXPECT_DOUBLE_EQ(c.p[17], -2.0 * 10.0);
    EXPECT_DOUBLE_EQ(c.y[32], 1.6);
    EXPECT_DOUBLE_EQ(c.p[32], -2.0 * 160.0);
    for (int i = 1; i < 33; ++i) EXPECT_LT(c.y[static_cast<std::size_t>(i - 1)], c.y[static_cast<std::size_t>(i)]);
}

TEST(PyCurveText, UserCurvesKeepTheirDataFileValues) {
    Fixture f;
    f.rec->pyCurves.resize(1);
    PyCurve& user = f.rec->pyCurves[0];
    user.pointCount = 2;
    user.y[0] = -1.0, user.y[1] = 1.0;
    user.p[0] = 7.0, user.p[1] = -7.0;
    f.run.pyCurveFile << "2\n3 2\n1 999 999\n2 999 999\n" << generatedCurve(4.0);
    readPyCurveText(f.run, 1);
    ASSERT_EQ(f.rec->pyCurveCount, 2);
    EXPECT_EQ(f.rec->pyCurves[0].p[0], 7.0);
    EXPECT_EQ(f.rec->pyCurves[1].firstStation, 2);
    EXPECT_EQ(f.rec->pyCurves[1].pointCount, 33);
}

TEST(PyCurveText, EmptyTextLeavesTheStoreEmptyAndTooManyCurvesAreRejected) {
    Fixture empty;
    empty.run.pyCurveFile << "0\n";
    readPyCurveText(empty.run, 0);
    EXPECT_EQ(empty.rec->pyCurveCount, 0);

    Fixture many;
    many.run.pyCurveFile << "401\n";
    try {
        readPyCurveText(many.run, 0);
        FAIL();
    } catch (const InputError& e) {
        EXPECT_EQ(e.message, "TOO MUCH DATA FOR AVAILABLE STORAGE");
    }
}

} // namespace
} // namespace kelda

namespace kelda {
namespace {

TEST(UserPyCurves, MultipliersApplyToTheStoredEchoedAndPlottedPoints) {
    const std::string data = "Curves\n3 1 1 0 0 1 1 1 0\n20 2 100 0.001 0\n3 20 0 0\n0 20 1 1e6\n0\n0\n"
                             "10 2 2 0.5\n1 -100\n2 -150\n0\n";
    std::istringstream in(data);
    std::ostringstream report, plot, notes, console;
    auto rec = std::make_unique<ProblemRecord>();
    kelda::Run run(*rec, in, report, plot, notes, console);
    run.reader.readTextLine(rec->title, 70, 80);
    rec->problemCounter = 1;
    readControlLine(run);
    readProblem(run);
    EXPECT_DOUBLE_EQ(rec->pyCurves[0].y[0], 0.5);
    EXPECT_DOUBLE_EQ(rec->pyCurves[0].p[0], -200.0 * 2.0) << "a force per station: times h";
    EXPECT_NE(report.str().find("                  0.500E+00          -0.200E+03\n"), std::string::npos) << report.str();
    EXPECT_NE(plot.str().find(" 3 1\n 20 2\n 0.5 -200\n 1 -300\n"), std::string::npos) << plot.str();
}

} // namespace
} // namespace kelda
