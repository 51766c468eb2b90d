#pragma once

// Steps shared by the seven p-y criteria: where a curve stands, the formula
// depth of a lower layer, the common modification of the points, the checks
// that keep every written value a finite number, and the report and curve
// text lines every criterion writes the same way.

#include <array>
#include <initializer_list>
#include <string_view>

#include "py_generation.h"

namespace kelda::pygen {

// A value of a tabulated factor (held as single precision): the first
// tabulated argument greater than r ends the interval, the last interval
// when none is, and the value is interpolated linearly within it.
template <std::size_t N>
double tabulatedFactor(const std::array<float, N>& at, const std::array<float, N>& value, double r) {
    std::size_t i = 1;
    while (i < N - 1 && !(static_cast<double>(at[i]) > r)) ++i;
    const double r0 = at[i - 1], r1 = at[i];
    const double v0 = value[i - 1], v1 = value[i];
    return v0 + (v1 - v0) * (r - r0) / (r1 - r0);
}

// One curve of a layer: its depth below the excavation surface and below
// the top of the wall, and the multipliers there.
struct CurveSite {
    int layer = 0; // K, from 1
    int k = 0;     // curve of the layer, 1..5
    double x = 0.0;
    double wallDepth = 0.0; // H + x
    double pMult = 1.0, yMult = 1.0;
};
CurveSite curveSite(const ProblemRecord& rec, int layer, int k);

inline PyLayer& layerOf(ProblemRecord& rec, int layer) { return rec.pySoil.layer[static_cast<std::size_t>(layer - 1)]; }
inline const PyLayer& layerOf(const ProblemRecord& rec, int layer) {
    return rec.pySoil.layer[static_cast<std::size_t>(layer - 1)];
}

// Soil depth of a side: the curve depth on the excavation side, the free
// height plus the curve depth on the backfill side.
double soilDepth(const ProblemRecord& rec, const CurveSite& site, int side);
// The depth the formulas take: for a lower layer, the depth into the layer
// plus its equivalent depth.
double formulaDepth(const ProblemRecord& rec, int layer, double xs);

// Sets the layer's equivalent depth from the resistance of the layers above.
void setEquivalentDepth(ProblemRecord& rec, int layer, const LayerTopProperties& top);

// p' = PMULT·p − Q0 on the excavation side (side 1), + Q0 on the backfill
// side; y' = YMULT·y.
SidePoints modifyPoints(const SidePoints& raw, const CurveSite& site, double q0, int side);

// Every value a criterion writes must be a finite number that the fixed
// layouts can show; anything else stops the problem with a message that
// names the curve, rather than writing NaN or asterisks into the curve text.
void requireFinite(const CurveSite& site, std::initializer_list<double> values);
void requireFinite(const CurveSite& site, const SidePoints& points);

void sideHeading(Run& run, int side);
// The curve's header line of the curve text: depth below the top of the wall, 34.
void curveTextHeader(Run& run, const CurveSite& site);
// The 17 point lines of one side: to the report with `reportItems` (y', p'),
// to the curve text with `fileItems` (point number, p', y').
void writePoints(Run& run, const SidePoints& points, std::string_view reportItems, std::string_view fileItems);
void multiplierLine(Run& run, const CurveSite& site);

// The criteria, one call per layer of the profile.
void softClayLayer(Run& run, int layer);
void stiffClayWetLayer(Run& run, int layer);
void stiffClayDryLayer(Run& run, int layer);
void sandLayer(Run& run, int layer);
void siltLayer(Run& run, int layer);
void strongRockLayer(Run& run, int layer);
void weakRockLayer(Run& run, int layer);

} // namespace kelda::pygen
