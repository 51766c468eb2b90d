// Active earth and water forces of the layers above the excavation level.

#include <cmath>

#include "earth_pressure.h"
#include "earth_pressure_constants.h"
#include "line_layout.h"
#include "surcharge_pressure.h"

namespace kelda {

namespace {

using layout::write;

WorkingLayer& layerAt(SoilState& soil, int i) {
    return soil.layer[static_cast<std::size_t>(i)];
}

// Unit weight that loads the soil skeleton: buoyant in a drained submerged layer.
double effectiveUnitWeight(const SoilState& soil, const WorkingLayer& w) {
    return (w.drained && w.submerged) ? w.unitWeight - soil.waterUnitWeight : w.unitWeight;
}

// Where cohesion outweighs the active stress the soil stands in tension at
// the top of the layer and cracks: no force there, only the triangle of net
// pressure from the crack tip down to the layer bottom.
void tensionCrack(SoilState& soil, int j) {
    WorkingLayer& w = layerAt(soil, j);
    const double m1 = w.activeFactor;
    w.pa1 = w.pa2 = w.pa3 = 0.0;
    const double cohesionPart = 2.0 * w.cohesion * w.rootKa;
    const double tensionAtTop = cohesionPart - w.backfillStress * w.ka;
    const double netAtBottom = layerAt(soil, j + 1).backfillStress * w.ka - cohesionPart;
    // The net pressure changes through the layer by the difference of the
    // two; with no change (no effective weight, or no active coefficient)
    // the layer is in tension throughout and there is no compressed part.
    const double change = netAtBottom + tensionAtTop;
    const double height = change != 0.0 ? netAtBottom * w.thickness / change : 0.0;
    w.crackHeight = std::isfinite(height) ? height : 0.0;
    w.pa4 = netAtBottom <= 0.0 ? 0.0 : m1 * w.crackHeight * netAtBottom / 2.0;
    w.z3 = layerAt(soil, j + 1).top - w.crackHeight / 3.0;
}

void earthForces(Run& run) {
    SoilState& soil = run.rec.soil;
    const UnitLabels& u = run.rec.labels;
    write(run.report,
          soilBanner("*      ACTIVE EARTH PRESSURE OF EACH LAYER       *") +
              ", /, 6X, \" LAYER    PA1     Z1       PA2     Z2         PA3     Z3\", \"        PA4\","
              " /, 6X, \"  NO\", 1X, A4, A1, A2, A2, A1, 2X, A3, 2X, A4, A1, A2, A2, A1, 2X, A3,"
              " 4X, A4, A1, A2, A2, A1, 2X, A3, 4X, A4, A1, A2, A2, A1, /",
          {u.for4, "/", u.len2, "**", "2", u.len3, u.for4, "/", u.len2, "**", "2", u.len3,
           u.for4, "/", u.len2, "**", "2", u.len3, u.for4, "/", u.len2, "**", "2"});
    for (int j = 1; j < soil.dredgeLineLayer; ++j) {
        WorkingLayer& w = layerAt(soil, j);
        const double m1 = w.activeFactor;
        const double t = w.thickness;
        w.pa1 = w.backfillStress * w.ka * t * m1 +
                layerSurchargeForce(soil.currentSurcharge, soil.freeHeight, w.top, t);
        w.z1 = w.top + t / 2.0;
        w.pa2 = 0.5 * effectiveUnitWeight(soil, w) * t * t * w.ka * m1;
        w.z2 = w.top + 2.0 * t / 3.0;
        w.pa3 = -(2.0 * w.cohesion * w.rootKa * t * m1);
        if (w.pa1 + w.pa3 < 0.0) tensionCrack(soil, j);
        write(run.report, "6X, I2, 3(1X, F10.2, 1X, F6.2), 1X, F10.2",
              {j, w.pa1, w.z1, w.pa2, w.z2, w.pa3, w.z3, w.pa4});
    }
}

// Water on the backfill side pushes on every drained layer below the water
// table: PW1 from the water above the layer top, PW2 from the layer itself.
void waterForces(Run& run) {
    SoilState& soil = run.rec.soil;
    const int lw = soil.waterTableLayer;
    const int lp = soil.dredgeLineLayer;
    if (lw < 1 || lw > lp - 1) return; // water table at or below the excavation level
    write(run.report, soilBanner("*      ACTIVE WATER PRESSURE OF EACH LAYER       *") +
                          ", /, 6X, \" LAYER    PW1     Z1       PW2     Z2                \","
                          " /, 6X, \"  NO             \", /");
    const double gamw = soil.waterUnitWeight;
    for (int j = lw; j < lp; ++j) {
        WorkingLayer& w = layerAt(soil, j);
        if (!w.drained || !w.submerged) continue;
        const double t = w.thickness;
        w.pw1 = -((w.top - soil.waterDepthBackfill) * gamw * t);
        w.pw2 = -(0.5 * gamw * t * t);
        write(run.report, "6X, I2, 1X, F10.2, 1X, F6.2, 1X, F10.2, 1X, F6.2",
              {j, -w.pw1, w.z1, -w.pw2, w.z2});
    }
}

void netCheck(Run& run) {
    SoilState& soil = run.rec.soil;
    double net = 0.0;
    for (int j = 1; j < soil.dredgeLineLayer; ++j) {
        const WorkingLayer& w = layerAt(soil, j);
        net += w.pa1 + w.pa2 + w.pa3 + w.pa4 - w.pw1 - w.pw2;
    }
    if (net < kDepthTolerance) {
        constexpr std::string_view kNegative = "/, /, 5X, \"Net active pressure is negative.\", /";
        write(run.console, kNegative);
        write(run.report, kNegative);
    }
}

} // namespace

void activeLayerForces(Run& run) {
    earthForces(run);
    waterForces(run);
    netCheck(run);
}

} // namespace kelda
