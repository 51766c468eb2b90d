#pragma once

// Working data of the p-y curve generation (the excavation-side profile, its
// distributions, curve depths, integrated resistances) kept in the problem
// record while the curves of a problem are generated. Every table has a fixed
// size: the profile never holds more layers than the data file can give.

#include <array>

namespace kelda {

// Layers of the excavation-side profile: at most one per input soil layer.
inline constexpr int kMaxPyLayers = 20;
inline constexpr int kCurvesPerLayer = 5;
inline constexpr int kMaxGeneratedCurves = kMaxPyLayers * kCurvesPerLayer;
inline constexpr int kPointsPerSide = 17;
// Unit weights: a layer cut by the water table has four points (its top and
// the water table above it, the water table and its bottom below).
inline constexpr int kMaxUnitWeightPoints = 4 * kMaxPyLayers;
inline constexpr int kMaxStrengthPoints = 2 * kMaxPyLayers;

// One layer of the excavation-side profile, depths below the excavation
// surface.
struct PyLayer {
    int type = 0;           // soil type code 1..7
    double top = 0.0;       // XTOP
    double bottom = 0.0;    // XBOT
    double k = 0.0;         // position 5 at the top: subgrade modulus, or Em of weak rock
    int firstCurve = 0;     // index of its first curve in `curveDepth`
    int curveCount = 0;     // 5, or 0 for a layer without thickness
    double integratedResistance = 0.0; // IU: ultimate resistance integrated over the layer
    double equivalentDepth = 0.0;      // EQDEPTH: depth in its own soil with the resistance of the layers above
};

struct PySoilState {
    double freeHeight = 0.0;      // H: excavation level below the top of the wall
    double width = 0.0;           // D: the width for soil resistance WP
    double waterUnitWeight = 0.0; // GWATER

    int layerCount = 0; // NLPY
    std::array<PyLayer, kMaxPyLayers> layer{};

    // Effective unit weight with depth below the excavation surface.
    int unitWeightCount = 0; // NGPT
    std::array<double, kMaxUnitWeightPoints> unitWeightDepth{}, unitWeight{};

    // Strength with depth: two points per layer, its top and its bottom.
    int strengthCount = 0; // NSPT
    std::array<double, kMaxStrengthPoints> strengthDepth{}, cohesion{}, phiRadians{}, e50{}, rqd{};

    int curveCount = 0; // NCURV
    std::array<double, kMaxGeneratedCurves> curveDepth{};
};

} // namespace kelda
