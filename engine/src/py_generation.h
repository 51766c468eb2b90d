#pragma once

// Generation of p-y curves from the soil layers (p-y option 2).
//
// The soil below the excavation level is described as a profile of layers of
// the excavation side, with its effective unit weight and strength
// distributions. Every layer gets five curves; each curve describes the soil
// at one elevation on both sides of the wall: 17 points for the excavation
// side, where the soil depth is the curve depth, and 17 for the backfill side,
// where it is the free height plus the curve depth. The criterion of the
// layer's soil type computes the points; the common steps (offset force,
// multipliers for closely spaced wall elements, the report and the curve
// text) are shared.
//
// Results go to the report and, as text, to `Run::pyCurveFile`: a count line,
// the user curves as the data file gave them, then a header line (depth below
// the top of the wall, 34) and 34 point lines per generated curve.
//
// Failure behaviour: depths outside the distributions and the data stops of
// the criteria end the run through EngineStop, with their console warnings;
// soil data for which a criterion has no defined curve (no width, a clay
// without a positive E50, a rock without strength or modulus) stop the
// problem with an InputError that names the layer.

#include <array>
#include <string>

#include "run.h"

namespace kelda {

// The whole generation for the current problem (PYSOIL).
void generatePySoilCurves(Run& run);

// ---- profile and distributions -------------------------------------------

// Builds the excavation-side profile, the two distributions, the length
// limit and the curve depths from the problem data into `rec.pySoil`.
void buildPyProfile(ProblemRecord& rec);

// Curve depth k (1..5) of layer K (1..NLPY), below the excavation surface.
double curveDepth(const PySoilState& soil, int layer, int k);

// p- and y-multipliers at a depth x below the top of the wall: the reduction
// for closely spaced wall elements, or the modification table when given.
double pMultiplier(const ProblemRecord& rec, double x);
double yMultiplier(const ProblemRecord& rec, double x);

// Property functions at a depth x below the excavation surface.
double averageUnitWeight(Run& run, double x); // GAMAVG; EngineStop{"4"} below the distribution
double cohesionAt(Run& run, double x);        // CSTR; warnings and EngineStop{"1"} beyond the distribution
double phiAt(Run& run, double x);             // PHISTR (radians); warnings and EngineStop{} beyond it
double e50At(const PySoilState& soil, double x);
double rqdAt(const PySoilState& soil, double x);
double averageCohesion(Run& run, double x, int layer); // CAVG

// ---- criteria -------------------------------------------------------------

// The 17 points of one side of a curve, y increasing from the first.
struct SidePoints {
    std::array<double, kPointsPerSide> y{}, p{};
};

// Tabulated factors, interpolated as the criteria always did: A_s of stiff
// clay with free water at z/D, and A, B of sand and silt at depth/D.
double stiffClayFactorAs(double zOverD);
struct SandFactors {
    double a = 0.0, b = 0.0;
};
SandFactors sandFactors(double depthOverD);
// FA of stiff clay with free water: the ratio of the resistance on the final
// flat branch to pc.
double stiffClayFlatFactor(double as);

// The wedge angles and earth-pressure coefficients of sand and silt for a
// friction angle in radians and the value of pi the criterion works with.
struct SandWedge {
    double phi = 0.0, alpha = 0.0, beta = 0.0, k0 = 0.0, ka = 0.0, kp = 0.0;
};
SandWedge sandWedge(double phi, double pi);
inline constexpr double kSandPi = static_cast<double>(3.1416f); // 3.1415998935699463
// Wedge and flow resistance of sand at depth z (pst, psd).
struct SandResistance {
    double wedge = 0.0, flow = 0.0;
};
SandResistance sandResistance(const SandWedge& w, double gammaAvg, double z, double d);

struct SoftClayCurve {
    double pu = 0.0, y50 = 0.0;
    SidePoints points;
};
SoftClayCurve softClayPoints(double c, double gammaAvg, double z, double d, double e50);
// Deflections below this get the secant modulus at it (1.0E-14 as single precision).
inline constexpr double kSoftClaySmallDeflection = static_cast<double>(1.0e-14f);
double softClaySmallDeflectionModulus(double pu, double y50);

struct StiffClayWetCurve {
    double as = 0.0, pct = 0.0, pcd = 0.0, pc = 0.0, y50 = 0.0;
    SidePoints points;
};
// z is the formula depth (only for A_s); xs the soil depth of the side.
StiffClayWetCurve stiffClayWetPoints(double c, double ca, double gammaAvg, double z, double xs, double d, double e50,
                                     double k);

struct StiffClayDryCurve {
    double pu = 0.0, y50 = 0.0;
    SidePoints points;
};
StiffClayDryCurve stiffClayDryPoints(double c, double ca, double gammaAvg, double z, double d, double e50);

struct SandCurve {
    double a = 0.0, b = 0.0, pst = 0.0, psd = 0.0, ps = 0.0, puc = 0.0, pu = 0.0, pm = 0.0, yu = 0.0, ym = 0.0;
    SidePoints points;
};
// Sand: A and B at xs/D. Silt: the sand resistance with the silt's pi plus
// the cohesion term, A and B at z/D.
SandCurve sandPoints(double phi, double gammaAvg, double z, double xs, double d, double k);
SandCurve siltPoints(double phi, double c, double gammaAvg, double z, double d, double k);

struct StrongRockCurve {
    double su = 0.0, y1 = 0.0, y2 = 0.0, pu = 0.0;
    SidePoints points; // with the p-multiplier applied below the residual
};
StrongRockCurve strongRockPoints(double qu, double gammaAvg, double xs, double d, double pMult);

struct WeakRockCurve {
    double alphar = 0.0, xr = 0.0, pur = 0.0, mir = 0.0, yrm = 0.0, ya = 0.0;
    SidePoints points;
};
// qAvg: average strength; xr: depth into the rock on this side.
WeakRockCurve weakRockPoints(double qAvg, double rqd, double xr, double d, double krm, double em);

// ---- offset force and equivalent depth ----------------------------------

enum class OffsetRule { Clay, Sand, Silt };
// Q0: the part of the earth pressure at the excavation level that the soil
// below must carry. `ka` is used by sand and silt, `c` by clay and silt.
double offsetForce(const ProblemRecord& rec, OffsetRule rule, double c, double ka, double d);

// What EQDEPTH needs of a layer's first curve.
struct LayerTopProperties {
    int type = 1;
    double c = 0.0, ca = 0.0, gammaAvg = 0.0, d = 0.0, phi = 0.0;
    double firstCurveDepth = 0.0; // X_1, below the excavation surface
};
// The depth in the layer's own soil at which its ultimate resistance,
// integrated from the surface, equals `resistanceAbove`.
double equivalentDepth(const LayerTopProperties& top, double resistanceAbove);

} // namespace kelda
