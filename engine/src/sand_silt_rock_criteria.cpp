// p-y curves of sand, silt (a soil with cohesion and friction), strong rock
// and weak rock. Static loading only. Each layer gets five curves; each
// curve an excavation side and a backfill side.

#include <algorithm>
#include <cmath>

#include "line_layout.h"
#include "py_generation_internal.h"
#include "run_errors.h"

namespace kelda {

namespace {

using layout::write;

constexpr double kK0 = static_cast<double>(0.4f); // at-rest coefficient, single precision
constexpr double kSiltPi = 3.141592653589793;    // 4·atan(1): the silt criterion works in full precision

double power(double v, int n) {
    double r = 1.0;
    for (int i = 0; i < n; ++i) r *= v;
    return r;
}

// The parabolic curve of sand and silt between the initial line kx·y, the
// point (ym, pm) and the straight line to (yu, pu), flat beyond yu.
void sandShape(SandCurve& r, double z, double d, double k) {
    r.yu = 3.0 * d / 80.0;
    r.ym = d / 60.0;
    const double kx = k * z;
    auto& y = r.points.y;
    // Built by repeated addition, so the 13th deflection is ym apart from
    // rounding.
    const double step = r.ym / 12.0;
    y[0] = 0.0;
    for (std::size_t j = 1; j <= 12; ++j) y[j] = y[j - 1] + step;
    y[13] = r.yu;
    y[14] = r.yu + d;
    y[15] = r.yu + 2.0 * d;
    y[16] = r.yu + 3.0 * d;
    const double m = (r.pu - r.pm) / (r.yu - r.ym);
    // Without frictional resistance (ps = 0: no effective weight, or at the
    // surface) the parabola has no shape: the curve rises on the straight
    // line to (ym, pm) instead.
    const bool parabola = m > 0.0 && r.pm > 0.0;
    const double n = parabola ? r.pm / (m * r.ym) : 1.0;
    const double c = parabola ? r.pm / std::pow(r.ym, 1.0 / n) : r.pm / r.ym;
    const double yk = !parabola ? 0.0 : (z <= 0.0 ? 2.0 * d : std::pow(c / kx, n / (n - 1.0)));
    for (std::size_t j = 0; j < y.size(); ++j) {
        const double yj = y[j];
        double p = 0.0;
        if (yj <= yk) {
            p = kx * yj;
        } else if (yj <= r.ym) {
            p = parabola ? c * std::pow(yj, 1.0 / n) : c * yj;
        } else if (yj <= r.yu) {
            p = r.pm + m * (yj - r.ym);
        } else {
            p = r.pu;
        }
        r.points.p[j] = std::min(p, kx * yj);
    }
}

} // namespace

SandFactors sandFactors(double depthOverD) {
    static constexpr std::array<float, 10> kR{0.0f, 0.5f, 1.0f, 1.5f, 2.0f, 2.5f, 3.0f, 4.0f, 5.0f, 6.0f};
    static constexpr std::array<float, 10> kA{2.83f, 2.48f, 2.11f, 1.76f, 1.48f, 1.23f, 1.06f, 0.9f, 0.88f, 0.88f};
    static constexpr std::array<float, 10> kB{2.14f, 1.83f, 1.54f, 1.27f, 1.05f, 0.86f, 0.71f, 0.53f, 0.5f, 0.5f};
    const double r = std::max(depthOverD, 0.0);
    return {pygen::tabulatedFactor(kR, kA, r), pygen::tabulatedFactor(kR, kB, r)};
}

SandWedge sandWedge(double phi, double pi) {
    SandWedge w;
    w.phi = phi;
    w.alpha = phi / 2.0;
    w.beta = pi / 4.0 + phi / 2.0;
    w.k0 = kK0;
    w.ka = power(std::tan(pi / 4.0 - phi / 2.0), 2);
    w.kp = power(std::tan(pi / 4.0 + phi / 2.0), 2);
    return w;
}

SandResistance sandResistance(const SandWedge& w, double gammaAvg, double z, double d) {
    const double tphi = std::tan(w.phi), tb = std::tan(w.beta), tbp = std::tan(w.beta - w.phi);
    const double ta = std::tan(w.alpha), sb = std::sin(w.beta), ca = std::cos(w.alpha);
    SandResistance r;
    r.wedge = gammaAvg * z *
              (w.k0 * z * tphi * sb / (tbp * ca) + tb / tbp * (d + z * tb * ta) + w.k0 * z * tb * (tphi * sb - ta) -
               w.ka * d);
    r.flow = w.ka * d * gammaAvg * z * (power(tb, 8) - 1.0) + w.k0 * d * gammaAvg * z * tphi * power(tb, 4);
    return r;
}

SandCurve sandPoints(double phi, double gammaAvg, double z, double xs, double d, double k) {
    SandCurve r;
    const SandResistance s = sandResistance(sandWedge(phi, kSandPi), gammaAvg, z, d);
    r.pst = s.wedge;
    r.psd = s.flow;
    r.ps = std::min(s.wedge, s.flow);
    const SandFactors f = sandFactors(xs / d); // by the soil depth of the side
    r.a = f.a;
    r.b = f.b;
    r.pu = f.a * r.ps;
    r.pm = f.b * r.ps;
    sandShape(r, z, d, k);
    return r;
}

SandCurve siltPoints(double phi, double c, double gammaAvg, double z, double d, double k) {
    SandCurve r;
    const SandResistance s = sandResistance(sandWedge(phi, kSiltPi), gammaAvg, z, d);
    r.pst = s.wedge;
    r.psd = s.flow;
    r.ps = std::min(s.wedge, s.flow);
    // The cohesion term of soft clay; without cohesion it is 0.
    const double np = c > 0.0 ? 3.0 + gammaAvg * z / c + 0.5 * z / d : 9.0;
    r.puc = c > 0.0 ? std::min(np, 9.0) * c * d : 0.0;
    const SandFactors f = sandFactors(z / d); // by the formula depth
    r.a = f.a;
    r.b = f.b;
    r.pu = f.a * r.ps + r.puc;
    r.pm = f.b * r.ps + r.puc;
    sandShape(r, z, d, k);
    return r;
}

StrongRockCurve strongRockPoints(double qu, double gammaAvg, double xs, double d, double pMult) {
    StrongRockCurve r;
    r.su = 0.5 * qu;
    const double esi = 2000.0 * r.su;
    r.y1 = static_cast<double>(0.0004f) * d;
    const double p1 = esi * r.y1;
    r.pu = r.su * d;
    r.y2 = (r.pu - p1) / (100.0 * r.su) + r.y1;
    const double step = r.y2 / 15.0;
    auto& y = r.points.y;
    y[0] = 0.0;
    for (std::size_t j = 1; j < y.size(); ++j) y[j] = y[j - 1] + step;
    for (std::size_t j = 0; j < y.size(); ++j) {
        if (y[j] < r.y1) {
            r.points.p[j] = pMult * esi * y[j];
        } else if (y[j] < r.y2) {
            r.points.p[j] = pMult * ((y[j] - r.y1) * 100.0 * r.su + p1);
        } else {
            // Beyond its strength the rock keeps only a small residual
            // resistance, unreduced.
            r.points.p[j] = 0.5 * gammaAvg * xs * d;
        }
    }
    return r;
}

WeakRockCurve weakRockPoints(double qAvg, double rqd, double xr, double d, double krm, double em) {
    // Fractions of yrm, single precision as always stored; no point at zero.
    static constexpr std::array<float, 17> kFractions{0.0005f, 0.001f, 0.003f, 0.006f, 0.009f, 0.02f,
                                                      0.04f,   0.06f,  0.08f,  0.1f,   0.25f,  0.5f,
                                                      0.75f,   1.0f,   4.0f,   8.0f,   12.0f};
    WeakRockCurve r;
    r.alphar = 1.0 - rqd * static_cast<double>(1.0f / 150.0f);
    r.xr = xr;
    if (xr <= 3.0 * d) {
        r.pur = r.alphar * (qAvg * d + static_cast<double>(1.4f) * qAvg * xr);
        r.mir = (100.0 + (400.0 * xr / 3.0) / d) * em;
    } else {
        r.pur = static_cast<double>(5.2f) * r.alphar * qAvg * d;
        r.mir = 500.0 * em;
    }
    r.yrm = krm * d;
    r.ya = std::pow(0.5 * r.pur / std::pow(r.yrm, 0.25) / r.mir, 4.0 / 3.0);
    for (std::size_t j = 0; j < kFractions.size(); ++j) {
        const double y = r.yrm * static_cast<double>(kFractions[j]);
        r.points.y[j] = y;
        r.points.p[j] = y < r.ya ? r.mir * y : std::min(0.5 * r.pur * std::pow(y / r.yrm, 0.25), r.pur);
    }
    return r;
}

namespace pygen {

namespace {

// Integrated resistance of sand and silt: trapezoids between the curves, and
// the last curve's resistance down to the layer bottom.
void addSandResistance(ProblemRecord& rec, int layer, int k, double x, double previousX, double pu,
                       double previousPu) {
    PyLayer& l = layerOf(rec, layer);
    if (k >= 2) l.integratedResistance += (x - previousX) * 0.5 * (pu + previousPu);
    if (k == kCurvesPerLayer) l.integratedResistance += pu * (l.bottom - x);
}

} // namespace

void sandLayer(Run& run, int layer) {
    ProblemRecord& rec = run.rec;
    const UnitLabels& u = rec.labels;
    const double d = rec.pySoil.width;
    const double kModulus = layerOf(rec, layer).k;
    layerOf(rec, layer).integratedResistance = 0.0;
    double previousX = 0.0, previousPu = 0.0;
    for (int k = 1; k <= kCurvesPerLayer; ++k) {
        const CurveSite site = curveSite(rec, layer, k);
        const double gammaAvg = averageUnitWeight(run, site.x);
        const double phi = phiAt(run, site.x);
        if (layer > 1 && k == 1) setEquivalentDepth(rec, layer, {4, 0.0, 0.0, gammaAvg, d, phi, site.x});
        const double q0 = offsetForce(rec, OffsetRule::Sand, 0.0, sandWedge(phi, kSandPi).ka, d);
        curveTextHeader(run, site);
        double puExcavation = 0.0;
        for (int side = 1; side <= 2; ++side) {
            const double xs = soilDepth(rec, site, side);
            const SandCurve curve = sandPoints(phi, gammaAvg, formulaDepth(rec, layer, xs), xs, d, kModulus);
            const SidePoints points = modifyPoints(curve.points, site, q0, side);
            requireFinite(site, {xs, phi, gammaAvg, curve.pst, curve.psd, curve.pu});
            requireFinite(site, points);
            if (side == 1) puExcavation = curve.pu;

            sideHeading(run, side);
            write(run.report,
                  "/, /, 11X, \"DEPTH BELOW GS\", 2X, \"DIAM\", 3X, \"PHI\", 2X, \"GAMMA AVG\", 4X, \"A\", 4X, \"B\","
                  " 5X, \"PCT\", 7X, \"PCD\", /, 17X, A2, 9X, A2, 9X, A3, \"/\", A2, \"**\", \"3\","
                  " /, 10X, F10.2, 4X, F7.2, F7.2, E9.2, 2X, F5.2, F5.2, E9.2, E9.2,"
                  " /, /, 38X, \"Y\", 19X, \"P\", /, 38X, A2, 15X, A3, \"/\", A2",
                  {u.len2, u.len2, u.for3, u.len2, xs, d, phi * 180.0 / kSandPi, gammaAvg, curve.a, curve.b, curve.pst,
                   curve.psd, u.len2, u.for3, u.len2});
            writePoints(run, points, "21X, 2F20.3", "I5, 1X, E10.3, 1X, E10.3");
            multiplierLine(run, site);
        }
        addSandResistance(rec, layer, k, site.x, previousX, puExcavation, previousPu);
        previousX = site.x;
        previousPu = puExcavation;
    }
}

void siltLayer(Run& run, int layer) {
    ProblemRecord& rec = run.rec;
    const UnitLabels& u = rec.labels;
    const double d = rec.pySoil.width;
    const double kModulus = layerOf(rec, layer).k;
    layerOf(rec, layer).integratedResistance = 0.0;
    double previousX = 0.0, previousPu = 0.0;
    for (int k = 1; k <= kCurvesPerLayer; ++k) {
        const CurveSite site = curveSite(rec, layer, k);
        const double c = cohesionAt(run, site.x);
        const double gammaAvg = averageUnitWeight(run, site.x);
        const double phi = phiAt(run, site.x);
        if (std::sin(phi) * std::sin(phi) < 1.0e-10) {
            write(run.console, "/, /, 7X, \"WARNING-------The Angle of the slope can not\","
                               " /, 7X, \"              be greater than the internal  \","
                               " /, 7X, \"              friction angle of the sand.   \", /");
            throw EngineStop{};
        }
        if (layer > 1 && k == 1) setEquivalentDepth(rec, layer, {5, c, 0.0, gammaAvg, d, phi, site.x});
        const double q0 = offsetForce(rec, OffsetRule::Silt, c, sandWedge(phi, kSiltPi).ka, d);
        curveTextHeader(run, site);
        double puExcavation = 0.0;
        for (int side = 1; side <= 2; ++side) {
            const double xs = soilDepth(rec, site, side);
            const SandCurve curve = siltPoints(phi, c, gammaAvg, formulaDepth(rec, layer, xs), d, kModulus);
            const SidePoints points = modifyPoints(curve.points, site, q0, side);
            requireFinite(site, {xs, phi, c, gammaAvg, curve.puc, curve.ps, curve.pu});
            requireFinite(site, points);
            if (side == 1) puExcavation = curve.pu;

            sideHeading(run, side);
            // The last column is the frictional resistance, Pu with a phi:
            // written in UTF-8 so that it shows in any current editor.
            write(run.report,
                  "/, /, 5X, \"DEPTH\", 6X, \"DIAM\", 6X, \"PHI\", 2X, \"GAMMA AVG\", 8X, \"A\", 9X, \"B\", 5X, \"Puc\","
                  " 7X, \"Pu\xCF\x86\", /, 7X, A2, 8X, A2, 12X, A3, \"/\", A2, \"**\", \"3\","
                  " /, F10.2, F10.2, F10.1, E10.3, F10.2, F10.2, E10.3, E10.3,"
                  " /, /, 37X, \"Y\", 19X, \"P\", /, 37X, A2, 16X, A3, \"/\", A2",
                  {u.len2, u.len2, u.for3, u.len2, xs, d, phi * 180.0 / kSiltPi, gammaAvg, curve.a, curve.b, curve.puc,
                   curve.ps, u.len2, u.for3, u.len2});
            writePoints(run, points, "21X, 2E20.3", "I5, 2X, E10.3, 2X, E10.3");
            multiplierLine(run, site);
        }
        addSandResistance(rec, layer, k, site.x, previousX, puExcavation, previousPu);
        previousX = site.x;
        previousPu = puExcavation;
    }
}

void strongRockLayer(Run& run, int layer) {
    ProblemRecord& rec = run.rec;
    const UnitLabels& u = rec.labels;
    const double d = rec.pySoil.width;
    layerOf(rec, layer).integratedResistance = 0.0;
    for (int k = 1; k <= kCurvesPerLayer; ++k) {
        const CurveSite site = curveSite(rec, layer, k);
        const double qu = cohesionAt(run, site.x);
        const double gammaAvg = averageUnitWeight(run, site.x);
        curveTextHeader(run, site);
        for (int side = 1; side <= 2; ++side) {
            const double xs = soilDepth(rec, site, side);
            const StrongRockCurve curve = strongRockPoints(qu, gammaAvg, xs, d, site.pMult);
            SidePoints points = curve.points;
            for (double& y : points.y) y *= site.yMult;
            requireFinite(site, {xs, curve.su});
            requireFinite(site, points);

            write(run.report,
                  "/, /, 17X, A, 5X, \"DIAM\", 8X, \"C\", 7X,"
                  " /, 30X, A2, 12X, A2, 5X, A3, \"/\", A2, \"**\", \"2\", 1X,"
                  " /, 24X, F10.2, 5X, F10.3, E10.1,"
                  " /, 38X, \"Y\", 19X, \"P\", /, 38X, A2, 15X, A3, \"/\", A2",
                  {side == 1 ? "DEPTH-EXCAVATION SIDE" : "DEPTH-BACKFILL SIDE  ", u.len2, u.len2, u.for3, u.len2, xs,
                   d, curve.su, u.len2, u.for3, u.len2});
            // A blank between p and y keeps a negative deflection from
            // running into the resistance when the text is read back.
            writePoints(run, points, "1X, 20X, 2D20.3", "I5, 1X, E10.3, 1X, E10.3");
        }
    }
}

void weakRockLayer(Run& run, int layer) {
    ProblemRecord& rec = run.rec;
    const UnitLabels& u = rec.labels;
    const double d = rec.pySoil.width;
    PyLayer& l = layerOf(rec, layer);
    l.integratedResistance = 0.0;
    for (int k = 1; k <= kCurvesPerLayer; ++k) {
        const CurveSite site = curveSite(rec, layer, k);
        const double qur = cohesionAt(run, site.x);
        if (k >= 2 && qur < 1.0e-10) {
            write(run.console, "/, 7X, \"--------------------WARNING----------------------\","
                               " /, 7X, \"THE COHESIVE STRENGTH IS 0 FOR ROCK ACCORING TO THE INPUT\","
                               " /, 7X, \"DATA. PLEASE ENTER THE CORRECT VALUE AND RUN IT AGAIN.\"");
            throw EngineStop{};
        }
        const double qAvg =
            layer == 1 ? averageCohesion(run, site.x, 1) : 0.5 * (cohesionAt(run, l.top) + qur);
        const double rqd = rqdAt(rec.pySoil, site.x);
        const double krm = e50At(rec.pySoil, site.x);
        const double gammaAvg = averageUnitWeight(run, site.x);
        curveTextHeader(run, site);
        for (int side = 1; side <= 2; ++side) {
            const double xs = soilDepth(rec, site, side);
            // 1.0E-8 (single precision) keeps the depth into the rock above zero.
            const double xr = xs - l.top + static_cast<double>(1.0e-8f);
            const WeakRockCurve curve = weakRockPoints(qAvg, rqd, xr, d, krm, l.k);
            const SidePoints points = modifyPoints(curve.points, site, 0.0, side);
            requireFinite(site, {xs, qur, l.k, gammaAvg, krm});
            requireFinite(site, points);

            sideHeading(run, side);
            write(run.report,
                  "/, /, 14X, \"DEPTH\", 5X, \"DIAM\", 7X, \"Qu\", 7X, \" Eu \", 3X, \"GAMMA AVG\", 6X, \"E50\","
                  " /, 16X, A2, 7X, A2, 4X, A3, \"/\", A2, \"**\", \"2\", 1X, A3, \"/\", A2, \"**\", \"2\", 1X,"
                  " A3, \"/\", A2, \"**\", \"3\", 1X,"
                  " /, 10X, F10.2, F10.3, E10.2, E10.2, E10.2, E12.3,"
                  " /, 37X, \"Y\", 19X, \"P\", /, 37X, A2, 16X, A3, \"/\", A2",
                  {u.len2, u.len2, u.for3, u.len2, u.for3, u.len2, u.for3, u.len2, xs, d, qur, l.k, gammaAvg, krm,
                   u.len2, u.for3, u.len2});
            writePoints(run, points, "21X, 2E20.3", "I5, 2X, E10.3, 2X, E10.3");
        }
    }
}

} // namespace pygen

} // namespace kelda
