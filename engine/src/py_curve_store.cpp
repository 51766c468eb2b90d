#include "py_curve_store.h"

#include <algorithm>
#include <cmath>

#include "line_layout.h"
#include "plot_file.h"
#include "py_generation.h"
#include "read_problem.h"
#include "run_errors.h"

namespace kelda {

namespace {

using layout::write;

void readUserCurves(Run& run, int count) {
    ProblemRecord& rec = run.rec;
    FreeFormatReader& in = run.reader;
    const double h = rec.solution.h;
    const bool generatedToo = rec.control.pyOption == 2;
    for (int c = 0; c < count; ++c) {
        const auto k = static_cast<std::size_t>(c);
        UserPyCurveHeader& head = rec.userPyCurveHeaders[k];
        PyCurve& curve = rec.pyCurves[k];
        in.beginRecord();
        head.station = in.readInt("THE STATION OF A P-Y CURVE");
        checkStation(run, head.station, "THE STATION OF A P-Y CURVE");
        head.pointCount = in.readInt("THE POINT COUNT OF A P-Y CURVE");
        checkCount(run, head.pointCount, kMaxPyPoints, "THE POINT COUNT OF A P-Y CURVE");
        if (head.pointCount < 2) {
            // A curve needs one segment at least to give a resistance and a stiffness.
            throw InputError::badData(dataFileLineMessage(
                in.lineNumber(), "A P-Y CURVE NEEDS AT LEAST TWO POINTS, FOUND " + std::to_string(head.pointCount)));
        }
        head.pMultiplier = in.readReal("THE P-MULTIPLIER");
        head.yMultiplier = in.readReal("THE Y-MULTIPLIER");
        curve.firstStation = curve.lastStation = head.station;
        curve.pointCount = head.pointCount;
        // Curves above the excavation level stand alone; below it a user
        // curve is interpolated along the wall with the next one, unless
        // generated curves are also present.
        curve.continuation = (!generatedToo && head.station * h >= rec.solution.freeHeight) ? 1 : 0;
        for (int i = 0; i < head.pointCount; ++i) {
            const auto j = static_cast<std::size_t>(i);
            in.beginRecord();
            const double y = in.readReal("THE DEFLECTION OF A P-Y POINT");
            const double p = in.readReal("THE SOIL RESISTANCE OF A P-Y POINT");
            curve.y[j] = head.yMultiplier * y;
            curve.p[j] = h * head.pMultiplier * p; // a force per station
            // The report and the plot file show p per unit length again (p / h).
            if (!std::isfinite(curve.y[j]) || !std::isfinite(curve.p[j]) || !std::isfinite(curve.p[j] / h)) {
                throw InputError::badData(dataFileLineMessage(
                    in.lineNumber(), "THE P-Y POINT IS OUT OF RANGE ONCE MULTIPLIED BY ITS MULTIPLIERS"));
            }
        }
    }
    rec.userPyCurveHeaderCount = count;
}

void curveBanner(Run& run) {
    write(run.report, "( / / 6X '**************************************************'"
                      " / 6X '*     INPUTTED  SOIL RESISTANCE (P-Y) CURVES     *'"
                      " / 6X '**************************************************' / )");
}

void curvePoints(Run& run, const UserPyCurveHeader& head, const PyCurve& curve) {
    const UnitLabels& u = run.rec.labels;
    const double h = run.rec.solution.h;
    write(run.report, "( / / 18X '    Y    ' 12X '   P    ' / 18X 2X A3 16X A4 A1 A2 / 18X '---------' 12X '--------' )",
          {u.len3, u.for4, "/", u.len2});
    for (int i = 0; i < head.pointCount; ++i) {
        const auto j = static_cast<std::size_t>(i);
        write(run.report, "( 17X E10.3 10X E10.3 )", {curve.y[j], curve.p[j] / h});
    }
}

// User curves only: the curve line's layout follows the continuation flags of
// this curve and the one before, as the station-table echo does.
void echoUserCurvesOnly(Run& run) {
    const ProblemRecord& rec = run.rec;
    curveBanner(run);
    int previousFlag = 0;
    for (int c = 0; c < rec.userPyCurveHeaderCount; ++c) {
        const auto k = static_cast<std::size_t>(c);
        const UserPyCurveHeader& head = rec.userPyCurveHeaders[k];
        const PyCurve& curve = rec.pyCurves[k];
        write(run.report, "( / '     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER''      POINTS     ' / )");
        const int lineCase = 2 * previousFlag + curve.continuation + 1;
        if (lineCase == 2) {
            write(run.report, "( / 5X I4 4X I3 5X 2E14.3 1( 10X I3 ) )",
                  {head.station, curve.continuation, head.pMultiplier, head.yMultiplier, head.pointCount});
        } else if (lineCase == 3 || lineCase == 4) {
            write(run.report, "( / 9X I4 I3 5X 2E14.3 1( 10X I3 ) )",
                  {head.station, curve.continuation, head.pMultiplier, head.yMultiplier, head.pointCount});
        } else {
            write(run.report, "( / 5X 2I4 I3 5X 2E14.3 1( 8X I4 ) )",
                  {head.station, head.station, curve.continuation, head.pMultiplier, head.yMultiplier,
                   head.pointCount});
        }
        curvePoints(run, head, curve);
        previousFlag = curve.continuation;
    }
}

// A point line of the plot file: y and p as the curve was given (p per unit
// length of wall, before the multiplication by h).
void plotPoints(Run& run, const PyCurve& curve) {
    const double h = run.rec.solution.h;
    for (int i = 0; i < curve.pointCount; ++i) {
        const auto j = static_cast<std::size_t>(i);
        plot::realLine(run, {curve.y[j], curve.p[j] / h});
    }
}

void plotCurves(Run& run) {
    const ProblemRecord& rec = run.rec;
    const double h = rec.solution.h;
    const bool onlyGenerated = rec.userPyCurveHeaderCount == 0;
    plot::integerLine(run, {rec.control.units, rec.pyCurveCount});
    for (int c = 0; c < rec.pyCurveCount; ++c) {
        const PyCurve& curve = rec.pyCurves[static_cast<std::size_t>(c)];
        if (curve.generated && onlyGenerated) {
            layout::write(run.plot, "( 1X F10.2 1X I5 )", {curve.fileDepth, curve.pointCount});
        } else if (curve.generated) {
            plot::realIntegerLine(run, curve.fileDepth, curve.pointCount);
        } else {
            plot::realIntegerLine(run, curve.firstStation * h, curve.pointCount);
        }
        plotPoints(run, curve);
    }
}

// User curves beside generated ones: each stands alone, and its line shows
// the flag it is applied with.
void echoUserCurvesBesideGenerated(Run& run) {
    const ProblemRecord& rec = run.rec;
    curveBanner(run);
    for (int c = 0; c < rec.userPyCurveHeaderCount; ++c) {
        const auto k = static_cast<std::size_t>(c);
        const UserPyCurveHeader& head = rec.userPyCurveHeaders[k];
        write(run.report, "( / '     FROM TO CONTD      P-MULTIPLIER  Y-MULTIPLIER''      POINTS     ' / )");
        write(run.report, "( / 9X I4 I3 5X 2E14.3 1( 10X I3 ) )",
              {head.station, rec.pyCurves[k].continuation, head.pMultiplier, head.yMultiplier, head.pointCount});
        curvePoints(run, head, rec.pyCurves[k]);
    }
}

// The generation of p-y curves from the soil layers writes its report
// sections and the p-y curve text.
void generatePyCurves(Run& run) { generatePySoilCurves(run); }

} // namespace

void readPyCurveText(Run& run, int userCount) {
    ProblemRecord& rec = run.rec;
    const double h = rec.solution.h;
    run.pyCurveFile.seekg(0);
    FreeFormatReader in(run.pyCurveFile, "P-Y CURVE FILE");
    in.beginRecord();
    const int count = in.readInt("THE CURVE COUNT");
    if (count > kMaxPyCurves) throw InputError::tooMuchData();
    if (count < 0) {
        throw InputError::badData("ERROR -- P-Y CURVE FILE LINE 1: THE CURVE COUNT MUST NOT BE NEGATIVE, FOUND " +
                                  std::to_string(count));
    }
    // The user curves already stored keep their places at the front.
    rec.pyCurves.resize(static_cast<std::size_t>(std::max(count, userCount)));
    for (int k = 0; k < count; ++k) {
        PyCurve& curve = rec.pyCurves[static_cast<std::size_t>(k)];
        in.beginRecord();
        if (k < userCount) {
            // The curve keeps the values read from the data file.
            in.readInt("THE STATION OF A USER CURVE");
            const int points = in.readInt("THE POINT COUNT OF A USER CURVE");
            for (int i = 0; i < points; ++i) {
                in.beginRecord();
                in.readInt("THE POINT NUMBER");
                in.readReal("P");
                in.readReal("Y");
            }
            continue;
        }
        const double depth = in.readReal("THE DEPTH OF A CURVE");
        const int points = in.readInt("THE POINT COUNT OF A CURVE");
        const int records = userCount > 0 ? points : 34;
        if (records != 34) {
            throw InputError::badData("ERROR -- P-Y CURVE FILE LINE " + std::to_string(in.lineNumber()) +
                                      ": A GENERATED CURVE HAS 34 POINTS, FOUND " + std::to_string(points));
        }
        std::array<double, 34> p{}, y{};
        for (int i = 0; i < 34; ++i) {
            in.beginRecord();
            in.readInt("THE POINT NUMBER");
            p[static_cast<std::size_t>(i)] = in.readReal("P");
            y[static_cast<std::size_t>(i)] = in.readReal("Y");
        }
        curve.generated = true;
        curve.fileDepth = depth;
        const double station = std::round(depth / h);
        curve.firstStation = curve.lastStation =
            static_cast<int>(std::clamp(station, static_cast<double>(kFirstStation), static_cast<double>(kLastStation)));
        curve.continuation = 1; // generated curves form one chain down the wall
        curve.pointCount = 33;
        // Backfill side first, deflection toward the backfill negative; then
        // the excavation side, its resistance opposing positive deflection.
        // The shared zero point of the two sides is taken once.
        for (int i = 0; i < 17; ++i) {
            const auto src = static_cast<std::size_t>(33 - i);
            curve.y[static_cast<std::size_t>(i)] = -y[src];
            curve.p[static_cast<std::size_t>(i)] = h * p[src];
        }
        for (int i = 0; i < 16; ++i) {
            const auto src = static_cast<std::size_t>(1 + i);
            curve.y[static_cast<std::size_t>(17 + i)] = y[src];
            curve.p[static_cast<std::size_t>(17 + i)] = -h * p[src];
        }
        for (int i = 0; i < curve.pointCount; ++i) {
            const double force = curve.p[static_cast<std::size_t>(i)];
            if (!std::isfinite(force) || !std::isfinite(force / h)) {
                throw InputError::badData(
                    "ERROR -- THE GENERATED P-Y CURVES ARE TOO LARGE TO USE WITH THIS INCREMENT LENGTH");
            }
        }
    }
    rec.pyCurveCount = count;
}

void pyCurveStore(Run& run) {
    ProblemRecord& rec = run.rec;
    const int userCount = rec.control.userPyCurveCount;
    const bool generated = rec.control.pyOption == 2;
    rec.pyCurveCount = 0;
    rec.userPyCurveHeaderCount = 0;
    if (userCount > kMaxPyCurves) throw InputError::tooMuchData();
    checkCount(run, userCount, kMaxPyCurves, "THE USER P-Y CURVE COUNT", run.controlLine);

    if (userCount > 0) {
        rec.userPyCurveHeaders.assign(static_cast<std::size_t>(userCount), {});
        rec.pyCurves.assign(static_cast<std::size_t>(userCount), {});
        readUserCurves(run, userCount);
    }
    if (generated) {
        if (userCount > 0) echoUserCurvesBesideGenerated(run);
        run.pyCurveFile.str({});
        run.pyCurveFile.clear();
        generatePyCurves(run);
        readPyCurveText(run, userCount);
        if (rec.pyCurveCount == 0) {
            write(run.report, "( / '                    ' )");
        }
        plotCurves(run);
    } else if (userCount > 0) {
        rec.pyCurveCount = userCount;
        echoUserCurvesOnly(run);
        plotCurves(run);
    } else if (rec.control.pyOption == 0) {
        plot::integerLine(run, {rec.control.units, 0});
    }
}

} // namespace kelda
