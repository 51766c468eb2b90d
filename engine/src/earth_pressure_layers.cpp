// Subdivision of the backfill profile into working layers: every layer top
// that coincides with the excavation level or the backfill water table
// becomes a layer boundary, so that each working layer lies wholly above or
// below each of them.

#include <array>
#include <cmath>

#include "earth_pressure.h"
#include "earth_pressure_constants.h"

namespace kelda {

namespace {

// The break depths H, DWB in ascending order, one when they coincide.
struct Breaks {
    std::array<double, 3> depth{};
    int count = 0;
};

Breaks breakDepths(double h, double dwb) {
    Breaks b;
    auto& v = b.depth;
    v = {h, dwb, h};
    // Three exchanges sort the three values.
    if (v[0] > v[1]) std::swap(v[0], v[1]);
    if (v[0] > v[2]) std::swap(v[0], v[2]);
    if (v[1] > v[2]) std::swap(v[1], v[2]);
    // Both tolerance tests look at the sorted values before the second
    // break is replaced.
    const bool firstTwoMeet = std::abs(v[0] - v[1]) < kDepthTolerance;
    const bool lastTwoMeet = std::abs(v[1] - v[2]) < kDepthTolerance;
    b.count = 3 - (firstTwoMeet ? 1 : 0) - (lastTwoMeet ? 1 : 0);
    if (firstTwoMeet) v[1] = v[2];
    return b;
}

int lastLayerWithTopAt(const SoilState& soil, double depth) {
    int found = 0;
    for (int i = 1; i <= soil.layerCount; ++i) {
        if (std::abs(soil.layer[static_cast<std::size_t>(i)].top - depth) <= kDepthTolerance) found = i;
    }
    return found;
}

} // namespace

void subdivideLayers(SoilState& soil) {
    Breaks breaks = breakDepths(soil.freeHeight, soil.waterDepthBackfill);
    int next = 0; // next break to apply
    // A break at the surface splits nothing.
    if (std::abs(breaks.depth[0]) < kDepthTolerance) next = 1;

    soil.layerOverflow = false;
    soil.layerCount = 0;
    for (auto& w : soil.layer) w = WorkingLayer{};

    int n = 0; // working layers so far
    double top = 0.0;
    for (int input = 1; input < kWorkingLayerSlots; ++input) {
        const WorkingLayer& source = soil.inputLayer[static_cast<std::size_t>(input)];
        if (source.thickness < 0.0) break; // end of the profile
        if (n == kMaxWorkingLayers) {
            soil.layerOverflow = true;
            break;
        }
        ++n;
        WorkingLayer* layer = &soil.layer[static_cast<std::size_t>(n)];
        *layer = source;
        layer->top = top;
        const double bottom = top + source.thickness;
        while (next < breaks.count) {
            const double at = breaks.depth[static_cast<std::size_t>(next)];
            if (std::abs(bottom - at) < kDepthTolerance) {
                // The break falls on the layer bottom: it is that boundary.
                breaks.depth[static_cast<std::size_t>(next)] = bottom;
                ++next;
            } else if (at <= layer->top) {
                // A water table above the surface splits nothing (a split
                // here would give the layer a negative thickness).
                ++next;
            } else if (at < bottom) {
                if (n == kMaxWorkingLayers) {
                    soil.layerOverflow = true;
                    break;
                }
                layer->thickness = at - layer->top;
                ++n;
                WorkingLayer* lower = &soil.layer[static_cast<std::size_t>(n)];
                *lower = source;
                lower->thickness = bottom - at;
                lower->top = at;
                layer = lower;
                ++next;
            } else {
                break; // the break lies below this layer
            }
        }
        top = bottom;
        if (soil.layerOverflow) break;
    }
    soil.layerCount = n;
    soil.layer[static_cast<std::size_t>(n + 1)].top = top;
    soil.dredgeLineLayer = lastLayerWithTopAt(soil, soil.freeHeight);
    soil.waterTableLayer = lastLayerWithTopAt(soil, soil.waterDepthBackfill);
}

} // namespace kelda
