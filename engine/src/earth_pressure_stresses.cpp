// Effective overburden stresses on both sides of the wall and the Rankine
// earth-pressure coefficients of every working layer.

#include <cmath>

#include "earth_pressure.h"
#include "earth_pressure_constants.h"
#include "line_layout.h"

namespace kelda {

namespace {

using layout::write;

WorkingLayer& layerAt(SoilState& soil, int i) {
    return soil.layer[static_cast<std::size_t>(i)];
}

// Backfill side: total stress from the surface surcharge down, then the
// pore pressure taken off in drained submerged layers (undrained layers keep
// the total stress).
void backfillStresses(Run& run) {
    SoilState& soil = run.rec.soil;
    const UnitLabels& u = run.rec.labels;
    const int n = soil.layerCount;
    write(run.report,
          soilBanner("*            EFFECTIVE OVERBURDEN STRESS         *") +
              ", /, 6X, \"          DEPTH                     STRESS       \","
              " /, 16X, A3, 22X, A4, A1, A2, A2, A1, /",
          {u.len3, u.for4, "/", u.len2, "**", "2"});
    layerAt(soil, 1).backfillStress = soil.uniformSurcharge;
    for (int i = 2; i <= n; ++i) {
        const WorkingLayer& above = layerAt(soil, i - 1);
        layerAt(soil, i).backfillStress = above.backfillStress + above.thickness * above.unitWeight;
    }
    for (int i = 1; i <= n; ++i) {
        WorkingLayer& w = layerAt(soil, i);
        if (w.drained && w.submerged) {
            w.backfillStress -= (w.top - soil.waterDepthBackfill) * soil.waterUnitWeight;
        }
    }
    layerAt(soil, n + 1).top = layerAt(soil, n).top + layerAt(soil, n).thickness;
    for (int i = 1; i <= n; ++i) {
        const WorkingLayer& w = layerAt(soil, i);
        write(run.report, "12X, E10.3, 17X, E10.3", {w.top, w.backfillStress});
    }
    // Left for the p-y curves, whose offset force it limits.
    run.rec.backfillStressAtExcavation = layerAt(soil, soil.dredgeLineLayer).backfillStress;
}

// Excavation side, from the excavation level down. The water table there
// is taken at the excavation level; over an undrained layer at the
// excavation level the water standing above it acts as a surcharge.
void excavationStresses(SoilState& soil) {
    const int lp = soil.dredgeLineLayer;
    WorkingLayer& dredge = layerAt(soil, lp);
    const double u0 = dredge.submerged ? (dredge.top - soil.waterDepthBackfill) * soil.waterUnitWeight : 0.0;
    dredge.excavationStress = dredge.drained ? 0.0 : u0;
    for (int i = lp + 1; i <= soil.layerCount; ++i) {
        const WorkingLayer& above = layerAt(soil, i - 1);
        WorkingLayer& w = layerAt(soil, i);
        w.excavationStress = above.excavationStress + above.thickness * above.unitWeight;
        if (w.drained && w.submerged)
            w.excavationStress -= (w.top - soil.waterDepthBackfill) * soil.waterUnitWeight;
        if (dredge.drained) w.excavationStress += u0;
    }
}

// Rankine's active coefficient for a backfill sloping at beta, for friction
// angle phi (both in radians, |beta| < phi). False when the formula has no
// real value (angles beyond what soil can have); the caller then keeps the
// horizontal-backfill coefficient.
bool slopingBackfillKa(double beta, double phi, double& ka) {
    const double cb = std::cos(beta);
    const double cf = std::cos(phi);
    const double radicand = cb * cb - cf * cf;
    if (!(radicand >= 0.0)) return false;
    const double root = std::sqrt(radicand);
    if (!(cb + root > 0.0)) return false;
    const double value = cb * (cb - root) / (cb + root);
    if (!(value >= 0.0) || !std::isfinite(value)) return false;
    ka = value;
    return true;
}

void coefficients(Run& run) {
    SoilState& soil = run.rec.soil;
    write(run.report, soilBanner("* ACTIVE AND PASSIVE EARTH PRESSURE COEFFICIENT  *") +
                          ", /, 6X, \"  LAYER         ACTIVE EARTH     PASSIVE EARTH   \","
                          " /, 6X, \"   NO.          COEFFICIENT      COEFFICIENT     \"");
    const double beta = soil.backfillSlopeDegrees;
    for (int i = 1; i <= soil.layerCount; ++i) {
        WorkingLayer& w = layerAt(soil, i);
        const double phi = w.frictionAngle;
        w.rootKa = std::tan((45.0 - phi / 2.0) / kDegreesPerRadian);
        w.ka = w.rootKa * w.rootKa;
        if (std::abs(beta) > 0.0) {
            double ka = 0.0;
            if (std::abs(beta) < phi &&
                slopingBackfillKa(beta / kDegreesPerRadian, phi / kDegreesPerRadian, ka)) {
                w.ka = ka;
                w.rootKa = std::sqrt(ka);
            } else if (std::abs(beta) >= phi && w.top < soil.freeHeight) {
                constexpr std::string_view kWarning =
                    "/, /, \"**** WARNING ******\", /,"
                    " \"THE BACKFILL SLOPE ANGLE SHOULD BE LESS THAN THE 'INTERNAL FRICTION ANGLE OF SAND.\"";
                write(run.notes, kWarning);
                write(run.report, kWarning);
            }
        }
        w.rootKp = std::tan((45.0 + phi / 2.0) / kDegreesPerRadian);
        w.kp = w.rootKp * w.rootKp;
        write(run.report, "10X, I2, 9X, E10.3, 8X, E10.3", {i, w.ka, w.kp});
    }
}

} // namespace

void clearLayerForces(SoilState& soil) {
    for (WorkingLayer& w : soil.layer) {
        w.pa1 = w.pa2 = w.pa3 = w.pa4 = 0.0;
        w.pw1 = w.pw2 = 0.0;
        w.crackHeight = 0.0;
        w.passiveForce.fill(0.0);
        w.z1 = -1000.0;
        w.z2 = -1000.0;
        w.z3 = -1.0E-5;
    }
}

void stressesAndCoefficients(Run& run) {
    SoilState& soil = run.rec.soil;
    for (int i = 1; i <= soil.layerCount; ++i) {
        WorkingLayer& w = layerAt(soil, i);
        w.submerged =
            std::abs(w.top - soil.waterDepthBackfill) < kDepthTolerance || soil.waterDepthBackfill < w.top;
    }
    backfillStresses(run);
    excavationStresses(soil);
    coefficients(run);
}

} // namespace kelda
