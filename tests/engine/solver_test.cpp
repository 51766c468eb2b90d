// The beam-column solution against closed forms (with the corrections that
// the finite-difference method itself brings), and its boundary conditions,
// warnings and mended edge cases.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "engine_test_support.h"
#include "run.h"

namespace kelda {
namespace {

using test::lines;
using test::runText;

// A wall data file built from its parts (generic units, one problem).
struct Wall {
    int ninc = 40;
    double h = 6.0;
    double ei = 1.0e9;
    double allowable = 1.0e6;
    double tolerance = 1.0e-9;
    double freeHeight = 0.0;
    std::vector<std::string> restraints; // "case station deflection slope"
    std::vector<std::string> loads;      // "mode from to Q T P"
    std::vector<std::string> springs;    // "from to mode S R"
    std::vector<std::string> curves;     // whole sets: "station n pm ym\ny p\n..."
    std::vector<std::string> momentEI;   // whole sets
    std::string stiffness;               // default: one constant row over the wall

    [[nodiscard]] std::string text() const {
        std::ostringstream s;
        s.precision(17);
        const int stiffnessRows = stiffness.empty() ? 1 : static_cast<int>(std::count(stiffness.begin(), stiffness.end(), '\n'));
        s << "Solver test\n3 " << restraints.size() << ' ' << stiffnessRows << " 0 0 " << (curves.empty() ? 0 : 1)
          << ' ' << curves.size() << " 1 " << momentEI.size() << '\n';
        s << ninc << ' ' << h << ' ' << allowable << ' ' << tolerance << ' ' << freeHeight << '\n';
        for (const auto& r : restraints) s << r << '\n';
        if (stiffness.empty()) s << "0 " << ninc << " 1 " << ei << '\n';
        else s << stiffness;
        s << loads.size() << '\n';
        for (const auto& l : loads) s << l << '\n';
        s << springs.size() << '\n';
        for (const auto& l : springs) s << l << '\n';
        for (const auto& c : curves) s << c;
        for (const auto& m : momentEI) s << m;
        s << "0\n";
        return s.str();
    }
};

// Values of the results table, by station: column 0 x, 1 deflection, 2 slope,
// 3 moment, 4 shear, 5 net reaction, 6 EI (3 significant digits) — and the
// plot file's rows at full precision (x, deflection, moment, shear, reaction).
struct Solved {
    test::MemoryRun run;
    std::vector<std::array<double, 5>> rows;
    double deflection(int station) const { return rows.at(static_cast<std::size_t>(station))[1]; }
    double moment(int station) const { return rows.at(static_cast<std::size_t>(station))[2]; }
};

Solved solve(const Wall& wall) {
    Solved out{runText(wall.text()), {}};
    std::istringstream plot(out.run.plot);
    std::string line;
    // Skip to the results section: its count line holds three integers.
    std::vector<std::string> all = lines(out.run.plot);
    for (std::size_t i = 0; i < all.size(); ++i) {
        int sets = 0, rows = 0, units = 0;
        char extra = 0;
        if (std::sscanf(all[i].c_str(), " %d %d %d %c", &sets, &rows, &units, &extra) == 3 && rows > 0 &&
            all[i].find('.') == std::string::npos) {
            for (int r = 0; r < rows; ++r) {
                std::array<double, 5> v{};
                std::istringstream row(all[i + 1 + static_cast<std::size_t>(r)]);
                for (double& x : v) row >> x;
                out.rows.push_back(v);
            }
            break;
        }
    }
    return out;
}

std::string load(int station, double q) {
    return "1 " + std::to_string(station) + " " + std::to_string(station) + " " + std::to_string(q) + " 0 0";
}

// A wall fixed at its tip (ten increments of 10 unless told), loaded at the top.
Wall tipFixedWall(double topLoad, int ninc = 10, double h = 10.0) {
    Wall w;
    w.ninc = ninc;
    w.h = h;
    w.restraints = {"3 " + std::to_string(ninc) + " 0 0"};
    w.loads = {load(0, topLoad)};
    return w;
}

TEST(Solver, CantileverWithATipLoad) {
    for (int n : {10, 20, 40}) {
        Wall w;
        w.ninc = n;
        w.h = 240.0 / n;
        w.restraints = {"3 " + std::to_string(n) + " 0 0"};
        w.loads = {load(0, 1000.0)};
        const Solved s = solve(w);
        const double l = 240.0;
        const double expected = 1000.0 * l * l * l / (3.0 * w.ei) * (1.0 + 1.0 / (2.0 * n * n));
        ASSERT_FALSE(s.rows.empty()) << s.run.report;
        // The plot rows carry four significant digits.
        EXPECT_NEAR(s.deflection(0), expected, 5e-4 * expected) << "NINC " << n;
        // The tip station carries half the EI, so half the fixed-end moment.
        EXPECT_NEAR(s.moment(n), 1000.0 * l / 2.0, 5e-4 * 1000.0 * l / 2.0);
        EXPECT_EQ(s.run.summary.problems.at(0).iterations, 2) << "the second solution equals the first";
        EXPECT_TRUE(s.run.summary.problems.at(0).warnings.empty());
    }
}

TEST(Solver, FiniteDifferenceCorrectionsAgainstClosedForms) {
    struct Case {
        const char* name;
        int ninc;
        std::function<void(Wall&)> setUp;
        int station;
        double expected;
    };
    const double l = 240.0, ei = 1.0e9, f = 1000.0, wLoad = 2.0;
    const std::vector<Case> cases = {
        {"SimplySupportedUniformLoad", 20,
         [&](Wall& w) {
             w.restraints = {"1 0 0 0", "1 20 0 0"};
             w.loads = {"1 0 20 " + std::to_string(wLoad * w.h) + " 0 0"};
         },
         10, 5.0 * wLoad * std::pow(l, 4) / (384.0 * ei) * (1.0 + 0.8 / 400.0)},
        {"SlopeRestrainedCantilever", 20,
         [&](Wall& w) {
             w.restraints = {"2 0 0 0", "3 20 0 0"};
             w.loads = {load(0, f)};
         },
         0, f * l * l * l / (12.0 * ei) * (1.0 + 2.0 / 400.0)},
    };
    for (const Case& c : cases) {
        Wall w;
        w.ninc = c.ninc;
        w.h = l / c.ninc;
        w.ei = ei;
        c.setUp(w);
        const Solved s = solve(w);
        ASSERT_FALSE(s.rows.empty()) << c.name << "\n" << s.run.report;
        EXPECT_NEAR(s.deflection(c.station), c.expected, 5e-4 * std::abs(c.expected)) << c.name;
    }
}

// The amplification of a simply supported wall under half the Euler load, by
// the finite-difference method (continuous theory gives 2.003 at NINC 40).
TEST(Solver, AxialLoadAmplification) {
    const double l = 240.0, ei = 1.0e9;
    const double euler = std::numbers::pi * std::numbers::pi * ei / (l * l);
    const auto midDeflection = [&](int n, double axial) {
        Wall w;
        w.ninc = n;
        w.h = l / n;
        w.restraints = {"1 0 0 0", "1 " + std::to_string(n) + " 0 0"};
        std::ostringstream loadRow;
        loadRow.precision(17);
        loadRow << "1 0 " << n << ' ' << 2.0 * w.h << " 0 " << axial;
        w.loads = {loadRow.str()};
        return solve(w).deflection(n / 2);
    };
    const double plain40 = midDeflection(40, 0.0);
    EXPECT_NEAR(midDeflection(40, 0.5 * euler) / plain40, 2.0017, 0.001);
    EXPECT_NEAR(midDeflection(80, 0.5 * euler) / midDeflection(80, 0.0), 2.0031, 0.001);
    EXPECT_NEAR(midDeflection(40, -0.5 * euler) / plain40, 2.0 / 3.0, 0.01) << "tension stiffens the wall";
}

// A linear soil of modulus k along the whole wall, as chained user p-y curves:
// a beam on an elastic foundation, y0 = 2Fβ/k.
TEST(Solver, BeamOnElasticFoundation) {
    const double l = 240.0, ei = 1.0e9, f = 1000.0;
    const double beta = 6.0 / l;
    const double k = 4.0 * ei * std::pow(beta, 4);
    for (const auto& [n, factor] : {std::pair{40, 0.994}, std::pair{80, 0.9986}}) {
        Wall w;
        w.ninc = n;
        w.h = l / n;
        w.loads = {load(0, f)};
        std::ostringstream pk;
        pk.precision(17);
        pk << 100.0 * k;
        for (int j = 0; j <= n; ++j) {
            w.curves.push_back(std::to_string(j) + " 3 1 1\n-100 " + pk.str() + "\n0 0\n100 -" + pk.str() + "\n");
        }
        const Solved s = solve(w);
        ASSERT_FALSE(s.rows.empty()) << s.run.report;
        EXPECT_NEAR(s.deflection(0) / (2.0 * f * beta / k), factor, 0.0006) << "NINC " << n;
        EXPECT_EQ(s.run.summary.problems.at(0).iterations, 2);
        EXPECT_TRUE(s.run.summary.problems.at(0).warnings.empty());
    }
}

TEST(Solver, RestraintsHoldExactly) {
    Wall w;
    w.ninc = 10;
    w.h = 10.0;
    w.restraints = {"1 0 0 0", "3 10 0 0"};
    w.loads = {load(5, 100.0)};
    auto s = solve(w);
    EXPECT_EQ(s.deflection(0), 0.0);

    Wall slope;
    slope.ninc = 10;
    slope.h = 10.0;
    slope.restraints = {"2 0 0 0", "3 10 0 0"};
    slope.loads = {load(0, 100.0)};
    s = solve(slope);
    // The slope column of station 0 in the report is exactly zero: y(-1) = y(1).
    EXPECT_NE(s.run.report.find("     0   0.000E+00   0."), std::string::npos);
    const auto reportLines = lines(s.run.report);
    const auto row0 = std::find_if(reportLines.begin(), reportLines.end(),
                                   [](const std::string& l) { return l.rfind("     0   0.000E+00", 0) == 0; });
    ASSERT_NE(row0, reportLines.end());
    EXPECT_EQ(row0->substr(30, 12), "   0.000E+00");
}

TEST(Solver, DeflectionLimitStopsInTheFirstIteration) {
    Wall w = tipFixedWall(1.0e6);
    w.allowable = 0.001;
    const auto s = solve(w);
    EXPECT_NE(s.run.report.find("\n     RESULTS -- ITERATION  1\n"), std::string::npos);
    EXPECT_NE(s.run.report.find("     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***  10  *** STATIONS *****"),
              std::string::npos);
    const auto notes = lines(s.run.notes);
    ASSERT_EQ(notes.size(), 6U) << s.run.notes;
    EXPECT_EQ(notes[3], "     ITERATION MONITOR DATA");
    EXPECT_EQ(notes[4], "     ----------------------");
    EXPECT_EQ(notes[5].substr(0, 30), "      1       NO         10   ");
    // Stations 1 to 5 of a cantilever of length 100 with its tip load at the
    // top: y = F/(6EI)·(2L³ − 3L²x + x³), x from the top, plus the small
    // finite-difference correction.
    for (int j = 1; j <= 5; ++j) {
        const double x = 10.0 * j;
        const double beam = 1.0e6 / 6.0e9 * (2.0e6 - 3.0e4 * x + x * x * x);
        const double logged = std::stod(notes[5].substr(30 + 10 * static_cast<std::size_t>(j - 1), 10));
        EXPECT_NEAR(logged, beam, 0.01 * beam) << "station " << j;
    }
}

TEST(Solver, ShortWallLogsTheStationsItHas) {
    Wall w;
    w.ninc = 3;
    w.h = 10.0;
    w.restraints = {"3 3 0 0"};
    w.loads = {load(0, 1.0e6)};
    const auto s = solve(w);
    const auto notes = lines(s.run.notes);
    ASSERT_GE(notes.size(), 6U);
    EXPECT_EQ(notes[5].size(), std::string("      1       NO          3  ").size() + 30) << notes[5];
}

TEST(Solver, TwoPointCurveWarnsOffTheCurve) {
    Wall w = tipFixedWall(10.0);
    w.curves = {"5 2 1 1\n-100 100\n100 -100\n"};
    const auto s = solve(w);
    EXPECT_NE(s.run.report.find("     ***** DEFLECTION OFF Q - W CURVES *****"), std::string::npos);
    // Every iteration, even with the deflection between the two points.
    const auto notes = lines(s.run.notes);
    ASSERT_GT(notes.size(), 5U);
    for (std::size_t i = 5; i < notes.size(); ++i) EXPECT_EQ(notes[i].substr(14, 3), "YES") << notes[i];
}

TEST(Solver, MomentEISetEqualToTheWallChangesNothingButTakesOneMoreIteration) {
    Wall w = tipFixedWall(1000.0, 20, 12.0);
    const auto plain = solve(w);
    w.momentEI = {"1 19 3\n0 1e9\n1e7 1e9\n1e9 1e9\n"};
    const auto withSet = solve(w);
    EXPECT_EQ(withSet.rows, plain.rows);
    EXPECT_EQ(withSet.run.summary.problems.at(0).iterations, plain.run.summary.problems.at(0).iterations + 1);
}

TEST(Solver, MomentEISoftensTheWall) {
    Wall w = tipFixedWall(1000.0, 20, 12.0);
    const auto plain = solve(w);
    // EI falls from 1e9 past a moment of 50 000 to 2e8 at 500 000.
    w.momentEI = {"1 19 3\n0 1e9\n5e4 1e9\n5e5 2e8\n"};
    const auto cracked = solve(w);
    EXPECT_GT(cracked.deflection(0), plain.deflection(0) * 1.2);
    EXPECT_EQ(cracked.run.summary.ending, RunEnding::Completed);
    EXPECT_EQ(cracked.run.report.find("NaN"), std::string::npos);
}

TEST(Solver, PlotRowsRunToOnePastTheTipWithZeroMomentThere) {
    Wall w = tipFixedWall(100.0);
    const auto s = solve(w);
    ASSERT_EQ(s.rows.size(), 12U);
    EXPECT_EQ(s.rows.front()[0], 0.0);
    EXPECT_EQ(s.rows.back()[0], 110.0);
    EXPECT_EQ(s.moment(11), 0.0);
}

TEST(Solver, CurveChainRunningUpwardIsOutOfOrder) {
    Wall w = tipFixedWall(100.0);
    w.curves = {"8 3 1 1\n-1 1\n0 0\n1 -1\n", "4 3 1 1\n-1 1\n0 0\n1 -1\n"};
    const auto s = solve(w);
    EXPECT_EQ(s.run.summary.ending, RunEnding::InputError);
    EXPECT_NE(s.run.report.find("\n     ERROR STOP -- STATIONS NOT IN ORDER\n"), std::string::npos);
}

// A restraint record sharing its station with the one before it no longer
// passes its value on to the restraints after it.
TEST(Solver, EachRestraintKeepsItsOwnValue) {
    Wall w;
    w.ninc = 10;
    w.h = 10.0;
    w.restraints = {"1 0 0.5 0", "1 0 0.25 0", "1 10 0.125 0"};
    const auto s = solve(w);
    EXPECT_DOUBLE_EQ(s.deflection(0), 0.25) << "the later record at a station wins";
    EXPECT_DOUBLE_EQ(s.deflection(10), 0.125);
}

// A lone user curve below the free height (continuation flag 1) acts at its
// station instead of being lost.
TEST(Solver, LoneChainedCurveActsAlone) {
    Wall w = tipFixedWall(100.0);
    const auto free = solve(w);
    w.curves = {"0 3 1 1\n-1 1e4\n0 0\n1 -1e4\n"};
    const auto supported = solve(w);
    EXPECT_LT(supported.deflection(0), 0.5 * free.deflection(0));
}

// Legal-looking data that would divide by zero gives a defined result.
TEST(Solver, CurveWithEqualDeflectionsGivesNoNaN) {
    Wall w = tipFixedWall(100.0);
    w.curves = {"5 4 1 1\n-1 10\n0 0\n0 -5\n1 -10\n"};
    const auto s = solve(w);
    EXPECT_EQ(s.run.summary.ending, RunEnding::Completed);
    EXPECT_EQ(s.run.report.find("NaN"), std::string::npos);
    EXPECT_EQ(s.run.plot.find("nan"), std::string::npos);
    EXPECT_EQ(s.run.plot.find("NaN"), std::string::npos);
}

TEST(Solver, SlopeAtStationMinusOneIsRejected) {
    Wall w;
    w.ninc = 10;
    w.h = 10.0;
    w.restraints = {"2 -1 0 0"};
    const auto s = solve(w);
    EXPECT_EQ(s.run.summary.ending, RunEnding::InputError);
    EXPECT_NE(s.run.report.find("     ERROR -- DATA FILE LINE 4: A SLOPE CAN BE SPECIFIED AT STATIONS 0 TO 10 ONLY, "
                                "FOUND STATION -1"),
              std::string::npos);
}

} // namespace
} // namespace kelda
