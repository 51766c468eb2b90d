#include "solver.h"

#include <algorithm>
#include <cmath>

#include "line_layout.h"
#include "report_blocks.h"
#include "run_errors.h"

namespace kelda {

namespace {

using layout::write;

// State of one iteration, whose last values decide the warnings.
struct IterationState {
    int iteration = 0;
    int notClosed = 0;
    int beyondAllowable = 0;
    bool offCurve = false;
};

// Soil force of a p-y curve at deflection w, as a tangent line q − s·w: s is
// added to the spring stiffness of the station and q to its load.
struct CurveForce {
    double q = 0.0;
    double s = 0.0;
};

CurveForce evaluateCurve(const PyCurve& curve, double w, bool& offCurve) {
    const int n = curve.pointCount;
    int i = 0; // the segment runs from point i to point i+1 (0-based)
    if (n <= 2) {
        // Two points leave no curve to follow: their segment is extended
        // and the deflection counts as off the curve.
        i = n - 2;
        offCurve = true;
    } else {
        i = -1;
        for (int k = 1; k < n; ++k) {
            const double yk = curve.y[static_cast<std::size_t>(k)];
            if (w < yk) {
                i = k - 1;
                if (w < curve.y[0]) offCurve = true;
                break;
            }
            if (w == yk) {
                i = k - 1;
                break;
            }
        }
        if (i < 0) {
            i = n - 2;
            offCurve = true;
        }
    }
    if (i < 0) return {}; // fewer than two points are rejected on reading
    const auto a = static_cast<std::size_t>(i);
    const double dy = curve.y[a + 1] - curve.y[a];
    if (dy == 0.0) return {};
    const double s = -(curve.p[a + 1] - curve.p[a]) / dy;
    return {s * curve.y[a] + curve.p[a], s};
}

// Walks the curve store as the solution applies it: chains of curves joined
// by their continuation flags act segment by segment, each station between
// two curves taking a linear blend (t from 0 at the upper curve to 1 at the
// lower), the two end stations of a segment half of it; a curve standing
// alone acts at its station in full. `visit(j, upper, lower, t, endOfSegment)`
// is called once per station of a segment, and with upper == lower, t = 0 and
// endOfSegment false for a curve acting alone.
template <class Visit>
void walkCurveStore(const ProblemRecord& rec, Visit visit) {
    const int ninc = rec.solution.ninc;
    int first = -1;           // first curve of the open run, -1 when none is open
    bool runApplied = false;  // whether the open run's first curve has acted yet
    for (int k = 0; k < rec.pyCurveCount; ++k) {
        const PyCurve& curveK = rec.pyCurves[static_cast<std::size_t>(k)];
        if (first < 0) {
            first = k;
            runApplied = false;
            if (curveK.continuation == 1) continue;
        }
        const PyCurve& curveF = rec.pyCurves[static_cast<std::size_t>(first)];
        const int a = curveF.firstStation;
        int b = curveK.firstStation;
        if (b < a) throw InputError::stationsNotInOrder();
        if (b == a && k != first) continue; // a second curve at the run's station is passed over
        if (b == a) {
            if (a <= ninc) visit(a, curveK, curveK, 0.0, false);
        } else if (a < ninc) {
            const double span = static_cast<double>(b - a);
            b = std::min(b, ninc);
            for (int j = a; j <= b; ++j) {
                visit(j, curveF, curveK, static_cast<double>(j - a) / span, j == a || j == b);
            }
        }
        if (curveK.continuation == 1) {
            first = k; // the curve starts the next segment of the chain
            runApplied = true;
        } else {
            first = -1;
        }
    }
    // A run opened by a curve that never met another one: the curve acts
    // alone at its station rather than being lost.
    if (first >= 0 && !runApplied) {
        const PyCurve& curve = rec.pyCurves[static_cast<std::size_t>(first)];
        if (curve.firstStation <= ninc) visit(curve.firstStation, curve, curve, 0.0, false);
    }
}

// Adds the soil of the p-y curves to the loads and spring stiffnesses of the
// current iteration, at the deflections of the previous one.
void applyPyCurves(Run& run, IterationState& state) {
    ProblemRecord& rec = run.rec;
    walkCurveStore(rec, [&](int j, const PyCurve& upper, const PyCurve& lower, double t, bool endOfSegment) {
        const CurveForce fU = evaluateCurve(upper, rec.y[j], state.offCurve);
        if (&upper == &lower) {
            rec.qSolve[j] += fU.q;
            rec.sSolve[j] += fU.s;
            return;
        }
        const CurveForce fL = evaluateCurve(lower, rec.y[j], state.offCurve);
        const double q = fU.q + (fL.q - fU.q) * t;
        const double s = fU.s + (fL.s - fU.s) * t;
        rec.qSolve[j] += q;
        rec.sSolve[j] += s;
        // The end stations of a segment get half, so that two segments
        // meeting at a curve's station sum to its full value.
        if (endOfSegment) {
            rec.qSolve[j] -= 0.5 * q;
            rec.sSolve[j] -= 0.5 * s;
        }
    });
}

// Builds the finite-difference equation of every station from -1 to NINC+1
// and reduces it to y(j) = A(j)·y(j+2) + B(j)·y(j+1) + C(j), applying the
// boundary codes of the restraints as it goes.
void reduce(ProblemRecord& rec) {
    const double h = rec.solution.h;
    const double h2 = rec.solution.hSquared;
    const double h3 = rec.solution.hCubed;
    const double twoH = rec.solution.twoH;
    const int ninc = rec.solution.ninc;
    for (int j = kFirstStation; j <= -2; ++j) rec.coefA[j] = rec.coefB[j] = rec.coefC[j] = 0.0;
    double m3 = 0.0, a3 = 0.0, b3 = 0.0, c3 = 0.0;
    for (int j = -1; j <= ninc + 1; ++j) {
        const double eiL = rec.ei[j - 1], eiC = rec.ei[j], eiR = rec.ei[j + 1];
        const double axialL = 0.25 * h * (h * rec.p[j - 1] + rec.r[j - 1]);
        const double axialR = 0.25 * h * (h * rec.p[j + 1] + rec.r[j + 1]);
        const double a = eiL - axialL;
        const double b = -2.0 * (eiL + eiC);
        const double c = eiL + 4.0 * eiC + eiR + axialL + axialR + h3 * rec.sSolve[j];
        const double d = -2.0 * (eiC + eiR);
        const double e = eiR - axialR;
        const double f = h3 * rec.qSolve[j] - 0.5 * h2 * (rec.t[j - 1] - rec.t[j + 1]);

        const double e1 = a * rec.coefB[j - 2] + b;
        const double pivot = a * rec.coefA[j - 2] + e1 * rec.coefB[j - 1] + c;
        const double m = pivot == 0.0 ? 0.0 : -1.0 / pivot; // a zero pivot gives zero coefficients
        rec.coefA[j] = e * m;
        rec.coefB[j] = (e1 * rec.coefA[j - 1] + d) * m;
        rec.coefC[j] = (a * rec.coefC[j - 2] + e1 * rec.coefC[j - 1] - f) * m;

        switch (rec.boundaryCode[j]) {
        case 1: // free
            break;
        case 3: // slope given at j+1: y(j) = y(j+2) - 2h·slope
            m3 = m, a3 = rec.coefA[j], b3 = rec.coefB[j], c3 = rec.coefC[j];
            rec.coefA[j] = 1.0;
            rec.coefB[j] = 0.0;
            rec.coefC[j] = -twoH * rec.givenSlope[j + 1];
            break;
        case 5: { // the station after a slope restraint
            const double ratio = m3 == 0.0 ? 0.0 : m / m3;
            const double denominator = 1.0 - (b3 * rec.coefB[j - 1] + a3 - 1.0) * ratio;
            const double g = denominator == 0.0 ? 0.0 : 1.0 / denominator;
            rec.coefA[j] = g * rec.coefA[j];
            rec.coefB[j] = (b3 * rec.coefA[j - 1] * ratio + rec.coefB[j]) * g;
            rec.coefC[j] = ((b3 * rec.coefC[j - 1] + twoH * rec.givenSlope[j - 1] + c3) * ratio + rec.coefC[j]) * g;
            break;
        }
        default: // 2 and 4: deflection given at j
            rec.coefA[j] = 0.0;
            rec.coefB[j] = 0.0;
            rec.coefC[j] = rec.givenDeflection[j];
            break;
        }
    }
}

void backSubstitute(ProblemRecord& rec, IterationState& state) {
    const int ninc = rec.solution.ninc;
    const double allowable = rec.solution.maxAllowableDeflection;
    const double tolerance = rec.solution.closureTolerance;
    rec.y[ninc + 2] = 0.0;
    rec.y[ninc + 3] = 0.0;
    rec.y[ninc + 1] = rec.coefC[ninc + 1];
    state.beyondAllowable = 0;
    state.notClosed = 0;
    for (int j = ninc; j >= 0; --j) {
        const double old = rec.y[j];
        rec.y[j] = rec.coefA[j] * rec.y[j + 2] + rec.coefB[j] * rec.y[j + 1] + rec.coefC[j];
        if (std::abs(rec.y[j]) > allowable) ++state.beyondAllowable;
        if (std::abs(rec.y[j] - old) > tolerance) ++state.notClosed;
    }
    rec.y[-1] = rec.coefA[-1] * rec.y[1] + rec.coefB[-1] * rec.y[0] + rec.coefC[-1];
}

// Replaces the EI of every station of a moment–EI set by the point where the
// set's curve meets the line M = φ·EI of the station's curvature.
void applyMomentEI(ProblemRecord& rec) {
    const double h2 = rec.solution.hSquared;
    for (int k = 0; k < rec.momentEISetCount; ++k) {
        const MomentEISet& set = rec.momentEISets[static_cast<std::size_t>(k)];
        const int n = set.pointCount;
        // The curvature needs the stations on either side: the first and the
        // last station slots have only one, and keep their EI.
        const int first = std::max(set.firstStation, kFirstStation + 1);
        const int last = std::min(set.lastStation, kLastStation - 1);
        for (int j = first; j <= last; ++j) {
            const double phi = std::abs(rec.y[j - 1] - 2.0 * rec.y[j] + rec.y[j + 1]) / h2;
            int i = n - 1; // the segment ends at point i (0-based)
            for (int c = 1; c < n - 1; ++c) {
                const auto cu = static_cast<std::size_t>(c);
                if (set.moment[cu] > phi * set.ei[cu]) {
                    i = c;
                    break;
                }
            }
            const auto iu = static_cast<std::size_t>(i);
            const double denominator = (set.ei[iu] - set.ei[iu - 1]) * phi - (set.moment[iu] - set.moment[iu - 1]);
            if (denominator == 0.0) continue; // the segment never meets the line: the EI stays
            const double t = (set.moment[iu - 1] - phi * set.ei[iu - 1]) / denominator;
            const double ei = set.ei[iu - 1] + (set.ei[iu] - set.ei[iu - 1]) * t;
            if (std::isfinite(ei)) rec.ei[j] = ei;
        }
    }
}

// One line of the iteration log, formatted into a buffer the solution keeps
// for all its iterations.
void iterationLine(Run& run, const IterationState& state, std::string& buffer) {
    const ProblemRecord& rec = run.rec;
    // Deflections at stations 1 to 5; a wall of fewer than five increments
    // shows the stations it has.
    const layout::Arg values[7] = {state.iteration, state.notClosed, rec.y[1], rec.y[2], rec.y[3], rec.y[4], rec.y[5]};
    const std::size_t count = 2 + static_cast<std::size_t>(std::min(5, rec.solution.ninc));
    buffer.clear();
    layout::appendTo(buffer,
                     state.offCurve ? "( 3X I4 7X 'YES' 6X I4 2X 5E10.3 )" : "( 3X I4 7X 'NO' 7X I4 2X 5E10.3 )",
                     std::span<const layout::Arg>(values, count));
    run.notes.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
}

bool finiteDeflections(const ProblemRecord& rec) {
    for (int j = -1; j <= rec.solution.ninc + 1; ++j) {
        if (!std::isfinite(rec.y[j])) return false;
    }
    return true;
}

IterationState iterate(Run& run) {
    ProblemRecord& rec = run.rec;
    const int ninc = rec.solution.ninc;
    IterationState state;
    std::string logLine;
    logLine.reserve(128);
    for (state.iteration = 1; state.iteration <= rec.maxIterations; ++state.iteration) {
        for (int j = -1; j <= ninc + 1; ++j) {
            rec.qSolve[j] = rec.q[j];
            rec.sSolve[j] = rec.s[j];
        }
        state.offCurve = false;
        applyPyCurves(run, state);
        reduce(rec);
        backSubstitute(rec, state);
        if (!finiteDeflections(rec)) {
            throw InputError::badData(
                "ERROR -- THE WALL EQUATIONS GAVE NO FINITE DEFLECTIONS: CHECK THE STIFFNESS, SPRINGS AND P-Y CURVES");
        }
        iterationLine(run, state, logLine);
        if (state.beyondAllowable > 0) return state;
        if (state.notClosed > 0) continue;
        if (rec.momentEISetCount == 0) return state;
        state.notClosed = 0;
        for (int j = 0; j <= ninc; ++j) {
            if (std::abs(rec.y[j] - rec.yAtEIUpdate[j]) > rec.solution.closureTolerance) ++state.notClosed;
        }
        if (state.notClosed == 0) return state;
        for (int j = kFirstStation; j <= ninc + 3; ++j) rec.yAtEIUpdate[j] = rec.y[j];
        applyMomentEI(rec);
    }
    state.iteration = rec.maxIterations;
    return state;
}

void resultsHeading(Run& run, const IterationState& state) {
    const UnitLabels& u = run.rec.labels;
    write(run.report, "( / / '     RESULTS -- ITERATION' I3 / '     --------------------' )", {state.iteration});
    if (state.offCurve) write(run.report, "( / '     ***** DEFLECTION OFF Q - W CURVES *****' )");
    if (state.beyondAllowable > 0) {
        write(run.report, "( / '     ***** MAX ALLOWABLE DEFLECTION EXCEEDED AT ***' I4 '  *** STATIONS *****' )",
              {state.beyondAllowable});
    }
    if (state.notClosed != 0) {
        write(run.report, "( / '     ***** SOLUTION NOT CLOSED WITHIN SPECIFIED''TOLERANCE *****' )");
    }
    write(run.report, "( / '   STA I      X         DEFL.       SLOPE''      MOMENT      SHEAR    NET REACT/STA    EI ' )");
    write(run.report,
          "( 12X A3 9X A3 20X A3 A1 A2 7X A4 7X A4 7X A3 A1 A2 A2 A1 / '   ------    ----        ----       -----'"
          "'      ------      ------    ---------    ----------' )",
          {u.len3, u.len3, u.for3, "-", u.len2, u.for4, u.for4, u.for3, "-", u.len2, "**", "2"});
}

// Slope, moment, shear and net reaction from the deflections; the results
// table of the report and the rows kept for the plot file.
void results(Run& run, const IterationState& state, std::vector<StationResult>& stations) {
    ProblemRecord& rec = run.rec;
    const int ninc = rec.solution.ninc;
    const double h = rec.solution.h;
    const double h2 = rec.solution.hSquared;
    // All moments first: the shear at a station needs the moment below it.
    rec.moment.fill(0.0);
    for (int j = 0; j <= ninc + 2; ++j) {
        rec.moment[j] = rec.ei[j] * (rec.y[j - 1] - 2.0 * rec.y[j] + rec.y[j + 1]) / h2;
    }
    // Deflections near the largest number can still give moments, shears
    // or reactions beyond it: stop before a table of infinities is written.
    for (int j = 0; j <= ninc + 1; ++j) {
        const double slope = (rec.y[j + 1] - rec.y[j - 1]) / (2.0 * h);
        const double shear = (rec.moment[j + 1] - rec.moment[j - 1]) / (2.0 * h);
        const double reaction = (rec.moment[j - 1] - 2.0 * rec.moment[j] + rec.moment[j + 1]) / h;
        if (!std::isfinite(slope) || !std::isfinite(rec.moment[j]) || !std::isfinite(shear) ||
            !std::isfinite(reaction)) {
            throw InputError::badData(
                "ERROR -- THE WALL EQUATIONS GAVE NO FINITE MOMENTS AND SHEARS: CHECK THE "
                "LOADS, EARTH PRESSURES, STIFFNESS AND SPRINGS");
        }
    }
    resultsHeading(run, state);
    rec.resultRowCount = ninc + 2;
    for (int j = 0; j <= ninc + 1; ++j) {
        const double x = j * h;
        const double slope = (rec.y[j + 1] - rec.y[j - 1]) / (2.0 * h);
        const double shear = (rec.moment[j + 1] - rec.moment[j - 1]) / (2.0 * h);
        const double reaction = (rec.moment[j - 1] - 2.0 * rec.moment[j] + rec.moment[j + 1]) / h;
        if (j <= ninc) {
            write(run.report, "( 2X I4 2X E10.3 6E12.3 )",
                  {j, x, rec.y[j], slope, rec.moment[j], shear, reaction, rec.ei[j]});
            stations.push_back({j, x, rec.y[j], slope, rec.moment[j], shear, reaction, rec.ei[j]});
        }
        const auto k = static_cast<std::size_t>(j);
        rec.resultDepth[k] = x;
        rec.resultDeflection[k] = rec.y[j];
        rec.resultMoment[k] = rec.moment[j];
        rec.resultShear[k] = shear;
        rec.resultReaction[k] = reaction;
    }
}

// The curves each station used: the weighted sum of the curves acting there,
// sampled at every deflection point of those curves (p per unit length).
std::vector<StationPyCurve> curvesUsed(const ProblemRecord& rec) {
    struct Share {
        const PyCurve* curve;
        double weight;
    };
    std::vector<std::vector<Share>> shares(static_cast<std::size_t>(rec.solution.ninc + 1));
    walkCurveStore(rec, [&](int j, const PyCurve& upper, const PyCurve& lower, double t, bool endOfSegment) {
        if (j < 0) return;
        auto& at = shares[static_cast<std::size_t>(j)];
        const double half = endOfSegment ? 0.5 : 1.0;
        if (&upper == &lower) {
            at.push_back({&upper, 1.0});
        } else {
            at.push_back({&upper, (1.0 - t) * half});
            at.push_back({&lower, t * half});
        }
    });
    // The curves are kept in the summary of every run: each is sized
    // exactly, its deflections merged in one scratch list first.
    std::vector<StationPyCurve> out;
    out.reserve(static_cast<std::size_t>(
        std::count_if(shares.begin(), shares.end(), [](const auto& at) { return !at.empty(); })));
    std::vector<double> merged;
    for (std::size_t j = 0; j < shares.size(); ++j) {
        if (shares[j].empty()) continue;
        StationPyCurve c;
        c.station = static_cast<int>(j);
        c.depth = static_cast<double>(j) * rec.solution.h;
        merged.clear();
        for (const Share& share : shares[j]) {
            for (int i = 0; i < share.curve->pointCount; ++i)
                merged.push_back(share.curve->y[static_cast<std::size_t>(i)]);
        }
        std::sort(merged.begin(), merged.end());
        merged.erase(std::unique(merged.begin(), merged.end()), merged.end());
        c.y.assign(merged.begin(), merged.end());
        c.p.reserve(c.y.size());
        for (double y : c.y) {
            double p = 0.0;
            for (const Share& share : shares[j]) {
                if (share.weight == 0.0) continue;
                bool ignored = false;
                const CurveForce f = evaluateCurve(*share.curve, y, ignored);
                p += share.weight * (f.q - f.s * y);
            }
            c.p.push_back(p / rec.solution.h);
        }
        out.push_back(std::move(c));
    }
    return out;
}

ProblemSummary summaryOf(const ProblemRecord& rec, const IterationState& state) {
    ProblemSummary s;
    s.number = rec.problemCounter;
    s.iterations = state.iteration;
    s.units = rec.control.units;
    if (state.offCurve) s.warnings.emplace_back("DEFLECTION OFF Q - W CURVES");
    if (state.beyondAllowable > 0) {
        s.warnings.push_back("MAX ALLOWABLE DEFLECTION EXCEEDED AT " + std::to_string(state.beyondAllowable) +
                             " STATIONS");
    }
    if (state.notClosed != 0) s.warnings.emplace_back("SOLUTION NOT CLOSED WITHIN SPECIFIED TOLERANCE");
    s.topDeflection = rec.y[0];
    for (int j = 0; j <= rec.solution.ninc; ++j) {
        if (std::abs(rec.moment[j]) > std::abs(s.maxMoment)) {
            s.maxMoment = rec.moment[j];
            s.maxMomentDepth = j * rec.solution.h;
        }
    }
    return s;
}

} // namespace

ProblemSummary solveBeamColumn(Run& run) {
    ProblemRecord& rec = run.rec;
    rec.y.fill(0.0);
    rec.yAtEIUpdate.fill(0.0);
    report::problemHeading(run);
    write(run.notes, "( / / / '     ITERATION MONITOR DATA' / '     ----------------------' )");
    const IterationState state = iterate(run);
    std::vector<StationResult> stations;
    stations.reserve(static_cast<std::size_t>(rec.solution.ninc + 1));
    results(run, state, stations);
    ProblemSummary summary = summaryOf(rec, state);
    summary.stations = std::move(stations);
    summary.pyCurvesUsed = curvesUsed(rec);
    return summary;
}

} // namespace kelda
