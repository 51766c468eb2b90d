// The earth-pressure table: the net active pressure at about one point per
// length unit from the surface down to the excavation level, written as the
// text of the table file that the run driver reads back.

#include <cmath>
#include <string>

#include "earth_pressure.h"
#include "earth_pressure_constants.h"
#include "line_layout.h"
#include "run_errors.h"
#include "surcharge_pressure.h"

namespace kelda {

namespace {

static_assert(kMaxGeneratedPressurePoints == kMaxPressurePoints,
              "the run driver must have room for every generated point");

const WorkingLayer& layerAt(const SoilState& soil, int i) {
    return soil.layer[static_cast<std::size_t>(i)];
}

// Points per layer: the thickness to the nearest whole number, halves away
// from zero, so consecutive points lie about one inch (or one metre) apart.
// A layer thinner than half a unit has no point of its own.
int pointsInLayer(const WorkingLayer& w) {
    return static_cast<int>(std::round(w.thickness));
}

void checkRoom(const SoilState& soil) {
    double total = 1.0;
    for (int j = 1; j < soil.dredgeLineLayer; ++j) total += std::round(layerAt(soil, j).thickness);
    if (!(total <= kMaxGeneratedPressurePoints)) {
        const std::string needed = std::isfinite(total) && total < 1.0E15
                                       ? std::to_string(static_cast<long long>(total))
                                       : std::string("MORE");
        throw InputError::tooMuchData("THE GENERATED EARTH-PRESSURE TABLE NEEDS " + needed +
                                      " POINTS, AT MOST " + std::to_string(kMaxGeneratedPressurePoints) +
                                      " CAN BE HELD");
    }
}

// Net active pressure of earth and backfill water at depth d below the top
// of layer j, without surcharge.
double earthAndWaterPressure(const SoilState& soil, const WorkingLayer& w, double d) {
    const double m1 = w.activeFactor;
    const bool cracked = w.pa1 + w.pa3 <= 0.0 && w.cohesion > 0.0;
    if (cracked) {
        // Zero down to the crack tip, then rising linearly to M1·B at the
        // bottom of the layer (B the net pressure there); nothing where the
        // bottom is not in compression either.
        const double zc = w.crackHeight;
        const double below = d - (w.thickness - zc);
        if (zc <= 0.0 || below <= 0.0) return 0.0;
        return 2.0 * below * w.pa4 / (zc * zc);
    }
    const bool wet = w.drained && w.submerged;
    const double gw = wet ? soil.waterUnitWeight : 0.0;
    const double ge = wet ? w.unitWeight - soil.waterUnitWeight : w.unitWeight;
    const double z = w.top + d;
    return (w.backfillStress + ge * d) * w.ka * m1 - 2.0 * w.cohesion * w.rootKa * m1 +
           (z - soil.waterDepthBackfill) * gw;
}

// The supports of an anchored wall: the spring records applied at a single
// station give the first and the last support depth.
struct Supports {
    int count = 0;
    double first = 0.0, last = 0.0;
};

Supports supportsOf(const ProblemRecord& rec) {
    return {rec.springRowCount, rec.firstSupportDepth, rec.lastSupportDepth};
}

// Redistributes the thrust of an anchored wall as an apparent-pressure
// trapezoid: rising from 0 at the surface to PMAX at 2/3 of the first support
// depth, constant, and falling to 0 at the excavation level over 2/3 of the
// height below the (last) support; its area is 1.3 times the thrust.
void apparentPressureTrapezoid(const ProblemRecord& rec, GeneratedPressure& table) {
    const Supports supports = supportsOf(rec);
    // The depths come from spring records applied at a single station: the
    // first record for one support, the first and the last for several.
    const bool located = supports.count >= 1 && rec.firstSupportSet && (supports.count == 1 || rec.lastSupportSet);
    if (!located) {
        throw InputError::badData(
            "ERROR -- TRAPEZOIDAL EARTH PRESSURE NEEDS THE SUPPORT OF THE ANCHORED WALL:"
            " A SPRING APPLIED AT A SINGLE STATION");
    }
    const auto last = static_cast<std::size_t>(table.count - 1);
    const double ht = table.depth[last];
    if (!(ht > 0.0)) {
        // No retained height: nothing to redistribute.
        for (std::size_t k = 0; k <= last; ++k) table.pressure[k] = 0.0;
        return;
    }
    const double area = kTrapezoidFactor * table.thrust;
    const double ha = 2.0 * supports.first / 3.0;
    double hb = 0.0;
    double pmax = 0.0;
    if (supports.count == 1) {
        hb = 2.0 * (ht - supports.first) / 3.0;
        pmax = area * 3.0 / (2.0 * ht);
    } else {
        hb = 2.0 * (ht - supports.last) / 3.0;
        const double span = ht - (ha + hb) / 2.0;
        if (!(span > 0.0)) {
            throw InputError::badData(
                "ERROR -- TRAPEZOIDAL EARTH PRESSURE: THE FIRST SUPPORT LIES SO FAR BELOW THE"
                " LAST THAT THE PRESSURE DIAGRAM HAS NO WIDTH");
        }
        pmax = area / span;
    }
    const double hc = ht - hb;
    for (std::size_t k = 0; k <= last; ++k) {
        const double z = table.depth[k];
        double p = pmax;
        if (z < ha) {
            p = pmax * z / ha;
        } else if (z > hc) {
            p = pmax - (z - hc) * pmax / hb;
        }
        table.pressure[k] = p;
    }
}

} // namespace

void writePressureTable(Run& run) {
    ProblemRecord& rec = run.rec;
    const SoilState& soil = rec.soil;
    GeneratedPressure& table = rec.soil.pressure;
    checkRoom(soil);

    table.count = 0;
    table.thrust = 0.0;
    const auto addPoint = [&table](double z, double p, double p2, double ps) {
        const auto k = static_cast<std::size_t>(table.count++);
        table.depth[k] = z;
        table.pressure[k] = p;
        table.withoutSurcharge[k] = p2;
        table.surcharge[k] = ps;
    };
    const double surface = layerAt(soil, 1).ka * soil.uniformSurcharge;
    addPoint(0.0, surface, surface, 0.0);

    for (int j = 1; j < soil.dredgeLineLayer; ++j) {
        const WorkingLayer& w = layerAt(soil, j);
        const int n = pointsInLayer(w);
        for (int k = 1; k <= n; ++k) {
            const double d = k * w.thickness / n;
            const double z = w.top + d;
            const double pe = earthAndWaterPressure(soil, w, d);
            const double ps = surchargePressureAt(rec, soil.freeHeight, z);
            double p = pe + ps;
            double p2 = pe;
            if (z > soil.waterDepthExcavation) {
                // Water standing in the excavation pushes back on the wall.
                if (w.submerged) {
                    const double uw = (z - soil.waterDepthExcavation) * soil.waterUnitWeight;
                    p -= uw;
                    p2 -= uw;
                }
                // The table stays positive below the excavation water table;
                // the stand-in grows with the point number so that no two
                // points carry the same value.
                if (p < kDepthTolerance) p = (table.count + 1) * kTinyPressure;
            }
            table.thrust += (table.pressure[static_cast<std::size_t>(table.count - 1)] + p) / 2.0;
            addPoint(z, p, p2, ps);
        }
    }
    if (rec.control.earthPressureOption == 3) apparentPressureTrapezoid(rec, table);

    std::stringstream& out = run.earthPressureTableFile;
    out.str({});
    out.clear();
    out << layout::editI(table.count, 12) << '\n'; // as a list-directed write puts an integer
    // Each point as ( 5X, E10.3, 4X, E10.3, 4X, E10.3, 4X, E10.3 ).
    std::string line;
    for (int i = 0; i < table.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        line.assign(5, ' ');
        line += layout::editE(table.depth[k], 10, 3);
        for (const double v : {table.pressure[k], table.withoutSurcharge[k], table.surcharge[k]}) {
            line += "    ";
            line += layout::editE(v, 10, 3);
        }
        line += '\n';
        out << line;
    }
}

} // namespace kelda
