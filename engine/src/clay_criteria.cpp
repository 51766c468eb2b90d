// p-y curves of the three clays: soft clay, stiff clay with free water and
// stiff clay without free water. Static loading only. Each layer gets five
// curves; each curve an excavation side and a backfill side.

#include <algorithm>
#include <cmath>

#include "line_layout.h"
#include "py_generation_internal.h"

namespace kelda {

namespace {

using layout::write;

// Shape of a clay curve by the strain at half the ultimate resistance.
constexpr double kSoftClayFirstStep = static_cast<double>(0.008f); // 0.00800000037997961
constexpr double k283 = static_cast<double>(2.83f);
constexpr double k055 = static_cast<double>(0.055f);
constexpr double k411 = static_cast<double>(0.411f);
constexpr double k1225 = static_cast<double>(1.225f);

} // namespace

double stiffClayFactorAs(double zOverD) {
    static constexpr std::array<float, 6> kZ{0.0f, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f};
    static constexpr std::array<float, 6> kAs{0.223f, 0.46f, 0.55f, 0.59f, 0.6f, 0.6f};
    return pygen::tabulatedFactor(kZ, kAs, std::max(zOverD, 0.0));
}

double stiffClayFlatFactor(double as) { return k1225 * std::sqrt(as) - 0.75 * as - k411; }

SoftClayCurve softClayPoints(double c, double gammaAvg, double z, double d, double e50) {
    SoftClayCurve r;
    const double np = c > 0.0 ? 3.0 + gammaAvg * z / c + 0.5 * z / d : 0.0;
    r.pu = std::min(np, 9.0) * c * d;
    r.y50 = 2.5 * e50 * d;
    auto& y = r.points.y;
    y[0] = 0.0;
    y[1] = kSoftClayFirstStep * r.y50;
    for (std::size_t j = 2; j <= 13; ++j) y[j] = 0.25 * static_cast<double>(j - 1) * r.y50;
    y[14] = 8.0 * r.y50;
    y[15] = 15.0 * r.y50;
    y[16] = 20.0 * r.y50;
    const double es = softClaySmallDeflectionModulus(r.pu, r.y50);
    for (std::size_t j = 0; j < y.size(); ++j) {
        if (y[j] < kSoftClaySmallDeflection) {
            r.points.p[j] = es * y[j];
        } else if (y[j] <= 8.0 * r.y50) {
            r.points.p[j] = 0.5 * r.pu * std::pow(y[j] / r.y50, 1.0 / 3.0);
        } else {
            r.points.p[j] = r.pu;
        }
    }
    return r;
}

double softClaySmallDeflectionModulus(double pu, double y50) {
    // The secant modulus of the curve at the smallest deflection it is
    // evaluated at.
    return 0.5 * pu * std::pow(y50 / kSoftClaySmallDeflection, 2.0 / 3.0) / y50;
}

StiffClayWetCurve stiffClayWetPoints(double c, double ca, double gammaAvg, double z, double xs, double d, double e50,
                                     double k) {
    StiffClayWetCurve r;
    r.as = stiffClayFactorAs(z / d);
    r.pct = 2.0 * ca * d + gammaAvg * d * xs + k283 * ca * xs;
    r.pcd = 11.0 * c * d;
    r.pc = std::min(r.pct, r.pcd);
    r.y50 = e50 * d;
    const double kx = k * xs;
    const double asy50 = r.as * r.y50;
    auto& y = r.points.y;
    y[0] = 0.0;
    for (std::size_t j = 1; j <= 12; ++j) y[j] = 0.5 * static_cast<double>(j) * asy50;
    y[13] = 10.0 * asy50;
    y[14] = 14.0 * asy50;
    y[15] = 18.0 * asy50;
    y[16] = 200.0 * asy50;
    const double pc = r.pc;
    const double flat = 0.5 * pc * std::sqrt(6.0 * r.as) - k411 * pc;
    for (std::size_t j = 0; j < y.size(); ++j) {
        const double yj = y[j];
        double p = 0.0;
        if (yj <= asy50) {
            p = 0.5 * pc * std::sqrt(yj / r.y50);
        } else if (yj <= 6.0 * asy50) {
            p = 0.5 * pc * std::sqrt(yj / r.y50) - k055 * pc * std::pow(yj / asy50 - 1.0, 1.25);
        } else if (yj <= 18.0 * asy50) {
            p = flat - (0.0625 * pc / r.y50) * (yj - 6.0 * asy50);
        } else {
            p = flat - 0.75 * r.as * pc;
        }
        r.points.p[j] = std::min(p, kx * yj);
    }
    return r;
}

StiffClayDryCurve stiffClayDryPoints(double c, double ca, double gammaAvg, double z, double d, double e50) {
    // Fractions of 16·y50 as single precision, as they were always stored.
    static constexpr std::array<float, 13> kFractions{1.0e-5f, 5.0e-5f, 1.0e-4f, 5.0e-4f, 1.0e-3f, 5.0e-3f, 0.01f,
                                                      0.025f,  0.05f,   0.075f,  0.1f,    0.25f,   0.5f};
    StiffClayDryCurve r;
    r.pu = std::min(3.0 * ca * d + gammaAvg * d * z + 0.5 * ca * z, 9.0 * c * d);
    r.y50 = 2.5 * e50 * d;
    auto& y = r.points.y;
    y[0] = 0.0;
    for (std::size_t j = 0; j < kFractions.size(); ++j) y[j + 1] = 16.0 * r.y50 * static_cast<double>(kFractions[j]);
    y[14] = 16.0 * r.y50;
    y[15] = 18.0 * r.y50;
    y[16] = 20.0 * r.y50;
    for (std::size_t j = 0; j < y.size(); ++j) {
        r.points.p[j] = y[j] <= 16.0 * r.y50 ? 0.5 * r.pu * std::pow(y[j] / r.y50, 0.25) : r.pu;
    }
    return r;
}

namespace pygen {

namespace {

// Properties at a curve depth, evaluated once on the excavation side.
struct ClayProperties {
    double c = 0.0, gammaAvg = 0.0, e50 = 0.0;
};

ClayProperties clayProperties(Run& run, double x) {
    ClayProperties p;
    p.c = cohesionAt(run, x);
    p.gammaAvg = averageUnitWeight(run, x);
    p.e50 = e50At(run.rec.pySoil, x);
    return p;
}

} // namespace

void softClayLayer(Run& run, int layer) {
    ProblemRecord& rec = run.rec;
    const UnitLabels& u = rec.labels;
    const double d = rec.pySoil.width;
    double& iu = layerOf(rec, layer).integratedResistance;
    iu = 0.0;
    double previousX = 0.0;
    for (int k = 1; k <= kCurvesPerLayer; ++k) {
        const CurveSite site = curveSite(rec, layer, k);
        const ClayProperties prop = clayProperties(run, site.x);
        if (layer > 1 && k == 1) setEquivalentDepth(rec, layer, {1, prop.c, 0.0, prop.gammaAvg, d, 0.0, site.x});
        const double q0 = offsetForce(rec, OffsetRule::Clay, prop.c, 0.0, d);
        curveTextHeader(run, site);
        double puExcavation = 0.0;
        for (int side = 1; side <= 2; ++side) {
            const double xs = soilDepth(rec, site, side);
            const SoftClayCurve curve = softClayPoints(prop.c, prop.gammaAvg, formulaDepth(rec, layer, xs), d, prop.e50);
            const SidePoints points = modifyPoints(curve.points, site, q0, side);
            const double es = softClaySmallDeflectionModulus(curve.pu, curve.y50);
            requireFinite(site, {xs, prop.c, prop.gammaAvg, prop.e50, curve.pu, es});
            requireFinite(site, points);
            if (side == 1) puExcavation = curve.pu;

            sideHeading(run, side);
            write(run.report,
                  "/, 9X, \"DEPTH BELOW GS\", 6X, \"DIAM\", 8X, \"C\", 6X, \"GAMMA AVG\", 6X, \"E50\","
                  " /, 15X, A2, 13X, A2, 5X, A3, \"/\", A2, \"**\", \"2\", 2X, A3, \"/\", A2, \"**\", \"3\"",
                  {u.len2, u.len2, u.for3, u.len2, u.for3, u.len2});
            write(run.report, "8X, F10.2, 6X, F10.3, 1X, D10.4, 1X, D10.4, 1X, D12.4",
                  {xs, d, prop.c, prop.gammaAvg, prop.e50});
            write(run.report, "/, 37X, \"Y,\", A2, 13X, \"P,\", A3, \"/\", A2", {u.len2, u.for3, u.len2});
            for (std::size_t j = 0; j < points.y.size(); ++j) {
                write(run.report, "1X, 20X, 2F20.3", {points.y[j], points.p[j]});
                write(run.pyCurveFile, "I5, 1X, E10.3, 1X, E10.3", {static_cast<int>(j + 1), points.p[j], points.y[j]});
                if (j >= 1 && points.y[j] < kSoftClaySmallDeflection) {
                    write(run.report,
                          "/, 29X, \"**** WARNING ****\", /, 5X, \"DEFLECTION IS LESS THAN 1.0E-14.  THE PROGRAM\","
                          " /, 5X, \"USED A SOIL MODULUS OF \", D12.4",
                          {es});
                }
            }
            multiplierLine(run, site);
        }
        if (k >= 2) iu += puExcavation * (site.x - previousX);
        previousX = site.x;
    }
}

void stiffClayWetLayer(Run& run, int layer) {
    ProblemRecord& rec = run.rec;
    const UnitLabels& u = rec.labels;
    const double d = rec.pySoil.width;
    const double kModulus = layerOf(rec, layer).k;
    double& iu = layerOf(rec, layer).integratedResistance;
    iu = 0.0;
    double previousX = 0.0, previousC = 0.0, previousPc = 0.0, firstX = 0.0, firstC = 0.0, cohesionArea = 0.0;
    for (int k = 1; k <= kCurvesPerLayer; ++k) {
        const CurveSite site = curveSite(rec, layer, k);
        const ClayProperties prop = clayProperties(run, site.x);
        // Average cohesion: of the first layer down to the curve; of a lower
        // layer over its own curve depths (trapezoids from its first curve).
        double ca = 0.0;
        if (layer == 1) {
            ca = averageCohesion(run, site.x, 1);
        } else if (k == 1) {
            ca = prop.c;
            firstX = site.x;
            firstC = prop.c;
            cohesionArea = 0.0;
        } else {
            cohesionArea += (site.x - previousX) * 0.5 * (previousC + prop.c);
            ca = site.x > firstX ? cohesionArea / (site.x - firstX) : firstC;
        }
        if (layer > 1 && k == 1) setEquivalentDepth(rec, layer, {2, prop.c, ca, prop.gammaAvg, d, 0.0, site.x});
        const double q0 = offsetForce(rec, OffsetRule::Clay, prop.c, 0.0, d);
        curveTextHeader(run, site);
        double pcExcavation = 0.0, asExcavation = 0.0;
        for (int side = 1; side <= 2; ++side) {
            const double xs = soilDepth(rec, site, side);
            const double z = formulaDepth(rec, layer, xs);
            const StiffClayWetCurve curve =
                stiffClayWetPoints(prop.c, ca, prop.gammaAvg, z, xs, d, prop.e50, kModulus);
            const SidePoints points = modifyPoints(curve.points, site, q0, side);
            requireFinite(site, {xs, prop.c, ca, prop.gammaAvg, prop.e50, curve.pc});
            requireFinite(site, points);
            if (side == 1) pcExcavation = curve.pc, asExcavation = curve.as;

            sideHeading(run, side);
            write(run.report,
                  "/, /, 9X, \"DEPTH BELOW GS\", 6X, \"DIAM\", 8X, \"C\", 9X, \"CAVG\", 4X, \"GAMMA AVG\", 6X, \"E50\","
                  " /, 15X, A2, 13X, A2, 5X, A3, \"/\", A2, \"**\", \"2\", 2X, A3, \"/\", A2, \"**\", \"2\","
                  " 2X, A3, \"/\", A2, \"**\", \"3\","
                  " /, 9X, F10.2, 5X, F10.3, 1X, D10.2, 1X, D10.2, 1X, D10.2, D12.4",
                  {u.len2, u.len2, u.for3, u.len2, u.for3, u.len2, u.for3, u.len2, xs, d, prop.c, ca, prop.gammaAvg,
                   prop.e50});
            writePoints(run, points, "21X, 2F20.3", "I5, 1X, E10.3, 1X, E10.3");
        }
        if (k >= 2) {
            iu += (site.x - previousX) * 0.5 * (pcExcavation + previousPc) * stiffClayFlatFactor(asExcavation);
        }
        previousX = site.x;
        previousC = prop.c;
        previousPc = pcExcavation;
    }
}

void stiffClayDryLayer(Run& run, int layer) {
    ProblemRecord& rec = run.rec;
    const UnitLabels& u = rec.labels;
    const double d = rec.pySoil.width;
    double& iu = layerOf(rec, layer).integratedResistance;
    iu = 0.0;
    double previousX = 0.0, previousPu = 0.0;
    for (int k = 1; k <= kCurvesPerLayer; ++k) {
        const CurveSite site = curveSite(rec, layer, k);
        const ClayProperties prop = clayProperties(run, site.x);
        const double ca = averageCohesion(run, site.x, layer);
        if (layer > 1 && k == 1) setEquivalentDepth(rec, layer, {3, prop.c, ca, prop.gammaAvg, d, 0.0, site.x});
        const double q0 = offsetForce(rec, OffsetRule::Clay, prop.c, 0.0, d);
        curveTextHeader(run, site);
        double puExcavation = 0.0;
        for (int side = 1; side <= 2; ++side) {
            const double xs = soilDepth(rec, site, side);
            const StiffClayDryCurve curve =
                stiffClayDryPoints(prop.c, ca, prop.gammaAvg, formulaDepth(rec, layer, xs), d, prop.e50);
            const SidePoints points = modifyPoints(curve.points, site, q0, side);
            requireFinite(site, {xs, prop.c, ca, prop.gammaAvg, prop.e50, curve.pu});
            requireFinite(site, points);
            if (side == 1) puExcavation = curve.pu;

            sideHeading(run, side);
            write(run.report,
                  "/, /, 10X, \"DEPTH BELOW GS\", 5X, \"DIAM\", 8X, \"C\", 7X, \"CAVG\", 4X, \"GAMMA AVG\", 5X, \"E50\","
                  " /, 16X, A2, 12X, A2, 5X, A3, \"/\", A2, \"**\", \"2\", 1X, A3, \"/\", A2, \"**\", \"2\","
                  " 1X, A3, \"/\", A2, \"**\", \"3\", 1X,"
                  " /, 10X, F10.2, 5X, F10.3, D10.2, D10.2, D10.2, D12.4,"
                  " /, 38X, \"Y\", 19X, \"P\", /, 38X, A2, 15X, A3, \"/\", A2",
                  {u.len2, u.len2, u.for3, u.len2, u.for3, u.len2, u.for3, u.len2, xs, d, prop.c, ca, prop.gammaAvg,
                   prop.e50, u.len2, u.for3, u.len2});
            writePoints(run, points, "1X, 20X, 2F20.5", "I5, 1X, E10.3, 1X, E10.3");
            multiplierLine(run, site);
        }
        if (k >= 2) iu += (site.x - previousX) * 0.5 * (puExcavation + previousPu);
        previousX = site.x;
        previousPu = puExcavation;
    }
}

} // namespace pygen

} // namespace kelda
