// Assembly of the generated p-y curves: the excavation-side profile and its
// distributions, the report sections, the multipliers, the property
// functions, the equivalent depth and the curve text.

#include "py_generation.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "line_layout.h"
#include "py_generation_internal.h"
#include "run_errors.h"

namespace kelda {

namespace {

using layout::write;

// 0.1 length unit as single precision, as the curve offset was always stored.
constexpr double kCurveEdge = static_cast<double>(0.1f);

double waterUnitWeightFor(int units) {
    // 0.036 lb/in³ as the single-precision constant it always was; kN/m³ in SI.
    return units == 2 ? 10.0 : static_cast<double>(0.036f);
}

std::string shown(double v) {
    std::string s = layout::editE(v, 10, 3);
    s.erase(0, s.find_first_not_of(' '));
    return s;
}

// ---- profile -------------------------------------------------------------

struct LayerValues {
    std::array<double, 6> top{}, bottom{};
};

void addUnitWeightPoint(PySoilState& s, double depth, double weight) {
    const auto i = static_cast<std::size_t>(s.unitWeightCount++);
    s.unitWeightDepth[i] = depth;
    s.unitWeight[i] = weight;
}

void addStrengthPoint(PySoilState& s, double depth, const std::array<double, 6>& v) {
    const auto i = static_cast<std::size_t>(s.strengthCount++);
    s.strengthDepth[i] = depth;
    s.cohesion[i] = v[1];
    // Degrees to radians with the single-precision pi of the sand criterion.
    s.phiRadians[i] = v[2] * kSandPi / 180.0;
    s.e50[i] = v[3];
    s.rqd[i] = v[5];
}

// Effective unit weight: each layer keeps its own total unit weight above the
// backfill water table and its submerged weight below it; a layer cut by the
// water table gets both parts, joined at the table.
void addUnitWeights(PySoilState& s, const PyLayer& layer, double totalWeight, double waterTableDepth) {
    const double submerged = totalWeight - s.waterUnitWeight;
    if (layer.top < waterTableDepth && waterTableDepth < layer.bottom) {
        addUnitWeightPoint(s, layer.top, totalWeight);
        addUnitWeightPoint(s, waterTableDepth, totalWeight);
        addUnitWeightPoint(s, waterTableDepth, submerged);
        addUnitWeightPoint(s, layer.bottom, submerged);
    } else {
        const double w = layer.top >= waterTableDepth ? submerged : totalWeight;
        addUnitWeightPoint(s, layer.top, w);
        addUnitWeightPoint(s, layer.bottom, w);
    }
}

// Five curves per layer, inside it and in depth order: 0.1 from each face and
// at the quarter points. A layer too thin for 0.1 to lie above its first
// quarter point takes an eighth of its thickness instead, so that its curves
// stay inside it and the chain of curves down the wall never turns back.
void placeCurves(PySoilState& s) {
    s.curveCount = 0;
    for (int K = 0; K < s.layerCount; ++K) {
        PyLayer& layer = s.layer[static_cast<std::size_t>(K)];
        const double t = layer.bottom - layer.top;
        layer.firstCurve = s.curveCount;
        layer.curveCount = 0;
        if (!(t > 0.0)) continue; // a layer without thickness carries no curve
        const double edge = t >= 4.0 * kCurveEdge ? kCurveEdge : t / 8.0;
        const std::array<double, kCurvesPerLayer> depths{layer.top + edge, layer.top + 0.25 * t, layer.top + 0.5 * t,
                                                         layer.top + 0.75 * t, layer.bottom - edge};
        for (double d : depths) s.curveDepth[static_cast<std::size_t>(s.curveCount++)] = d;
        layer.curveCount = kCurvesPerLayer;
    }
}

// ---- report ----------------------------------------------------------------

constexpr std::string_view kStars = "**************************************************";

void banner(Run& run, std::string_view title) {
    write(run.report, "/, /, 6X, A, /, 6X, A, /, 6X, A, /", {kStars, title, kStars});
}

std::string_view soilTypeLine(int type) {
    switch (type) {
    case 2: return "THE SOIL IS A STIFF CLAY BELOW THE WATER TABLE";
    case 3: return "THE SOIL IS A STIFF CLAY ABOVE THE WATER TABLE";
    case 4: return "THE SOIL IS A SAND";
    case 5: return "THE SOIL IS A SILT";
    case 6: return "THE LAYER IS ROCK";
    case 7: return "THE LAYER IS WEAK ROCK";
    default: return "THE SOIL IS A SOFT CLAY"; // any other code is analysed as soft clay
    }
}

void reportProfile(Run& run) {
    const ProblemRecord& rec = run.rec;
    const PySoilState& s = rec.pySoil;
    const UnitLabels& u = rec.labels;
    const double h = s.freeHeight;
    write(run.console, "\" READ SOIL DATA....\"");
    banner(run, "*        SOIL LAYERS AND STRENGTH DATA           *");
    write(run.report, "/, 9X, \"X AT THE SURFACE OF EXCAVATION SIDE     = \", F10.2, A3",
          {h + (s.layerCount > 0 ? s.layer[0].top : 0.0), u.len3});
    // One digit holds the count of nine layers; ten or more need two.
    write(run.report, s.layerCount < 10 ? "/, 9X, I1, \" LAYER(S) OF SOIL\"" : "/, 9X, I2, \" LAYER(S) OF SOIL\"",
          {s.layerCount});
    for (int K = 1; K <= s.layerCount; ++K) {
        write(run.report, "/, 9X, \"LAYER\", I3", {K});
        write(run.report, "9X, A", {soilTypeLine(s.layer[static_cast<std::size_t>(K - 1)].type)});
    }
    write(run.report,
          "/, /, 9X, \"DISTRIBUTION OF EFFECTIVE UNIT WEIGHT WITH DEPTH\", /, 27X, I2, \" POINTS\", /, /,"
          " 21X, \"X,\", A2, 3X, \"WEIGHT,\", A3, \"/\", A2, \"**\", \"3\"",
          {s.unitWeightCount, u.len2, u.for3, u.len2});
    for (int i = 0; i < s.unitWeightCount; ++i) {
        const auto j = static_cast<std::size_t>(i);
        write(run.report, "10X, F15.4, D15.4", {h + s.unitWeightDepth[j], s.unitWeight[j]});
    }
    write(run.report,
          "/, /, 9X, \"DISTRIBUTION OF STRENGTH PARAMETERS WITH DEPTH\", /, 27X, I2, \" POINTS\", /, /,"
          " 21X, \"X,\", A2, 5X, \"S,\", A3, \"/\", A2, \"**\", \"2\", 6X, \"PHI,DEGREES\", 6X, \"E50\"",
          {s.strengthCount, u.len2, u.for3, u.len2});
    for (int i = 0; i < s.strengthCount; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const double phiDegrees = s.phiRadians[j] * 180.0 / kSandPi;
        if (s.e50[j] <= 1.0e-6) {
            write(run.report, "10X, F15.2, 2X, D13.4, 2X, F13.3, 7X, \"-----\"",
                  {h + s.strengthDepth[j], s.cohesion[j], phiDegrees});
        } else {
            write(run.report, "10X, F15.2, 2X, D13.4, 2X, F13.3, D15.4",
                  {h + s.strengthDepth[j], s.cohesion[j], phiDegrees, s.e50[j]});
        }
    }
    if (rec.pyModificationCount > 0) {
        write(run.report, "/, 9X, \"REDUCTION FACTORS FOR CLOSELY-SPACED WALL ELEMENTS\", /, 7X, 33X, /,"
                          " 7X, \"      DEPTH     P-FACTOR     Y-FACTOR        \", /");
        for (int i = 0; i < rec.pyModificationCount; ++i) {
            const PyModification& m = rec.pyModifications[static_cast<std::size_t>(i)];
            write(run.report, "12X, F7.2, 4X, F6.2, 6X, F6.2", {m.depth, m.pFactor, m.yFactor});
        }
    }
}

// Soil data for which a criterion has no curve: found before any curve is
// computed, reported with the layer, and the problem ends.
void checkCurveData(const ProblemRecord& rec) {
    const PySoilState& s = rec.pySoil;
    for (int K = 1; K <= s.layerCount; ++K) {
        const PyLayer& layer = s.layer[static_cast<std::size_t>(K - 1)];
        if (layer.curveCount == 0) continue;
        const std::string name = "ERROR -- P-Y LAYER " + std::to_string(K);
        if (!(s.width > 0.0)) {
            throw InputError::badData("ERROR -- THE WIDTH FOR P-Y SOIL RESISTANCE MUST BE POSITIVE TO GENERATE"
                                      " P-Y CURVES, FOUND " + shown(s.width));
        }
        const auto first = static_cast<std::size_t>(2 * (K - 1));
        for (std::size_t i : {first, first + 1}) {
            const char* where = i == first ? "TOP" : "BOTTOM";
            switch (layer.type) {
            case 4:
            case 5: break;
            case 6:
                if (!(s.cohesion[i] > 0.0)) {
                    throw InputError::badData(name + " (ROCK): THE COMPRESSIVE STRENGTH AT ITS " + where +
                                              " MUST BE POSITIVE, FOUND " + shown(s.cohesion[i]));
                }
                break;
            case 7:
                if (!(s.e50[i] > 0.0)) {
                    throw InputError::badData(name + " (WEAK ROCK): KRM AT ITS " + where +
                                              " MUST BE POSITIVE, FOUND " + shown(s.e50[i]));
                }
                if (!(layer.k > 0.0)) {
                    throw InputError::badData(name + " (WEAK ROCK): THE ROCK MASS MODULUS MUST BE POSITIVE, FOUND " +
                                              shown(layer.k));
                }
                break;
            default:
                // A clay curve is scaled by y50 = E50·D (times 2.5): without a
                // strain there is no curve.
                if (!(s.e50[i] > 0.0)) {
                    throw InputError::badData(name + " (CLAY): E50 AT ITS " + where + " MUST BE POSITIVE, FOUND " +
                                              shown(s.e50[i]));
                }
            }
        }
    }
}

// ---- curve text --------------------------------------------------------------

void writeCountAndUserCurves(Run& run) {
    const ProblemRecord& rec = run.rec;
    const double h = rec.solution.h;
    std::ostream& out = run.pyCurveFile;
    out << rec.userPyCurveHeaderCount + rec.pySoil.curveCount << '\n';
    for (int c = 0; c < rec.userPyCurveHeaderCount; ++c) {
        const auto k = static_cast<std::size_t>(c);
        const UserPyCurveHeader& head = rec.userPyCurveHeaders[k];
        const PyCurve& curve = rec.pyCurves[k];
        write(out, "I5, 1X, I5", {head.station, head.pointCount});
        for (int i = 0; i < head.pointCount; ++i) {
            const auto j = static_cast<std::size_t>(i);
            // p·mp and y·my as read: the store holds p as a force per station.
            write(out, "I5, 1X, E14.6, 1X, E14.6", {i + 1, curve.p[j] / h, curve.y[j]});
        }
    }
}

// ---- lookups -----------------------------------------------------------------

// Linear interpolation in the strength distribution. Where two points
// coincide (a layer boundary) the lower layer's value holds, unless it is
// (practically) zero, as a friction angle of a clay under a sand is.
double strengthLookup(const PySoilState& s, const std::array<double, kMaxStrengthPoints>& v, double x) {
    const int n = s.strengthCount;
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    if (n <= 0) return 0.0;
    for (int i = 0; i < n; ++i) {
        const double d = s.strengthDepth[at(i)];
        if (d < x) continue;
        if (d == x) {
            int lower = i;
            while (lower + 1 < n && s.strengthDepth[at(lower + 1)] == x) ++lower;
            return (lower != i && v[at(lower)] < 1.0e-20) ? v[at(i)] : v[at(lower)];
        }
        if (i == 0) return v[0];
        const double d0 = s.strengthDepth[at(i - 1)];
        return v[at(i - 1)] + (v[at(i)] - v[at(i - 1)]) * (x - d0) / (d - d0);
    }
    return v[at(n - 1)];
}

bool beyondStrength(const PySoilState& s, double x) {
    return s.strengthCount <= 0 || x > s.strengthDepth[static_cast<std::size_t>(s.strengthCount - 1)];
}

void beyondWarning(Run& run, double x, std::string_view beyond, std::string_view curve) {
    for (int i = 0; i < 2; ++i) {
        write(run.console, "/, 29X, \"**** WARNING ****\", /, 5X, \"THE VALUE OF X =\", D9.1, A, /, 5X, A",
              {x, beyond, curve});
    }
}

double multiplierLookup(const ProblemRecord& rec, double x, bool pFactor) {
    const int n = rec.pyModificationCount;
    const auto depth = [&](int i) { return rec.pyModifications[static_cast<std::size_t>(i)].depth; };
    const auto factor = [&](int i) {
        const PyModification& m = rec.pyModifications[static_cast<std::size_t>(i)];
        return pFactor ? m.pFactor : m.yFactor;
    };
    if (x < depth(0) || x > depth(n - 1)) return 1.0;
    for (int i = 0; i < n; ++i) {
        if (x == depth(i)) return (i + 1 < n && depth(i + 1) == x) ? factor(i + 1) : factor(i);
        if (i + 1 < n && depth(i) < x && x < depth(i + 1)) {
            return factor(i) + (factor(i + 1) - factor(i)) * (x - depth(i)) / (depth(i + 1) - depth(i));
        }
    }
    return 1.0; // a table out of depth order has no row for x
}

// Integral over [0, x] of a resistance that grows as the layer's criterion
// says, summed in `steps` steps up to xt; h where the sum passes `f`, else
// continued beyond xt at `rateBeyond` per unit depth.
template <class Rate>
double stepwiseDepth(double xt, int steps, double f, double rateBeyond, Rate rate) {
    double sum = 0.0;
    if (xt > 0.0 && std::isfinite(xt)) {
        const double dz = xt / steps;
        for (int i = 1; i <= steps; ++i) {
            const double z = i * dz;
            const double before = sum;
            sum += rate(z) * dz;
            if (sum > f) return z - (sum - f) * dz / (sum - before);
        }
    } else {
        xt = 0.0;
    }
    // A layer whose resistance does not grow has no depth of equal
    // resistance: its curves take depths from its own top.
    if (!(rateBeyond > 0.0) || !std::isfinite(rateBeyond)) return xt;
    return xt + (f - sum) / rateBeyond;
}

} // namespace

// ---- profile -------------------------------------------------------------------

void buildPyProfile(ProblemRecord& rec) {
    PySoilState& s = rec.pySoil;
    s = PySoilState{};
    const double h = rec.wall.freeHeight;
    s.freeHeight = h;
    s.width = rec.wall.wp;
    s.waterUnitWeight = waterUnitWeightFor(rec.control.units);

    // Layers below the excavation level; the one it cuts enters with the
    // part below it.
    std::array<LayerValues, kMaxPyLayers> values{};
    double top = 0.0;
    for (int i = 0; i < rec.soilLayerCount && s.layerCount < kMaxPyLayers; ++i) {
        const SoilLayer& in = rec.soilLayers[static_cast<std::size_t>(i)];
        if (in.bottomDepth <= h) continue;
        const double thickness = s.layerCount == 0 ? in.bottomDepth - h : in.thickness;
        const auto K = static_cast<std::size_t>(s.layerCount++);
        s.layer[K].type = in.type;
        s.layer[K].top = top;
        s.layer[K].bottom = top + thickness;
        s.layer[K].k = in.top[4];
        values[K] = {in.top, in.bottom};
        top += thickness;
    }

    // Soil below the wall tip plus two increments carries no curve: the layer
    // reaching past it ends there with its values interpolated at that depth.
    const double limit = rec.solution.ninc * rec.solution.h + 2.0 * rec.solution.h - h;
    for (int K = 0; K < s.layerCount; ++K) {
        PyLayer& layer = s.layer[static_cast<std::size_t>(K)];
        if (!(layer.bottom > limit)) continue;
        if (!(limit > layer.top)) {
            s.layerCount = K; // nothing of it lies above the limit
            break;
        }
        const double t = (limit - layer.top) / (layer.bottom - layer.top);
        LayerValues& v = values[static_cast<std::size_t>(K)];
        for (std::size_t p : {1U, 2U, 3U, 5U}) v.bottom[p] = v.top[p] + (v.bottom[p] - v.top[p]) * t;
        layer.bottom = limit;
        s.layerCount = K + 1;
        break;
    }

    const double waterTable = rec.wall.waterDepthBackfill - h;
    for (int K = 0; K < s.layerCount; ++K) {
        const auto k = static_cast<std::size_t>(K);
        addUnitWeights(s, s.layer[k], values[k].top[0], waterTable);
        addStrengthPoint(s, s.layer[k].top, values[k].top);
        addStrengthPoint(s, s.layer[k].bottom, values[k].bottom);
    }
    placeCurves(s);
}

double curveDepth(const PySoilState& soil, int layer, int k) {
    const PyLayer& l = soil.layer[static_cast<std::size_t>(layer - 1)];
    return soil.curveDepth[static_cast<std::size_t>(l.firstCurve + k - 1)];
}

// ---- multipliers ---------------------------------------------------------------

double pMultiplier(const ProblemRecord& rec, double x) {
    if (rec.pyModificationCount > 0) return multiplierLookup(rec, x, true);
    // Closely spaced wall elements below the excavation level: the reduction
    // with the ratio of the two widths, its constants as single precision.
    const double ra = rec.wall.wa / rec.wall.wp;
    if (ra >= static_cast<double>(3.1f) || x < rec.wall.freeHeight) return 1.0;
    return static_cast<double>(0.5292f) * std::pow(ra, static_cast<double>(0.5659f));
}

double yMultiplier(const ProblemRecord& rec, double x) {
    return rec.pyModificationCount > 0 ? multiplierLookup(rec, x, false) : 1.0;
}

// ---- property functions -----------------------------------------------------------

double averageUnitWeight(Run& run, double x) {
    const PySoilState& s = run.rec.pySoil;
    const int n = s.unitWeightCount;
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    if (std::abs(x) < 1.0e-6) {
        for (int i = 0; i < n; ++i) {
            if (s.unitWeight[at(i)] != 0.0) return s.unitWeight[at(i)];
        }
        return 0.0;
    }
    if (n <= 0 || x > s.unitWeightDepth[at(n - 1)]) throw EngineStop{"4"};
    double sum = 0.0;
    for (int i = 0; i + 1 < n; ++i) {
        const double a = s.unitWeightDepth[at(i)];
        const double b = s.unitWeightDepth[at(i + 1)];
        if (a >= x) break;
        if (!(b > a)) continue;
        const double ga = s.unitWeight[at(i)];
        const double gb = s.unitWeight[at(i + 1)];
        if (b <= x) {
            sum += (b - a) * 0.5 * (ga + gb);
        } else {
            const double gx = ga + (gb - ga) * (x - a) / (b - a);
            sum += (x - a) * 0.5 * (ga + gx);
            break;
        }
    }
    return sum / x;
}

double cohesionAt(Run& run, double x) {
    const PySoilState& s = run.rec.pySoil;
    if (beyondStrength(s, x)) {
        beyondWarning(run, x, "IS BEYOND THE EXTENT OF", "THE INPUT STRENGTH CURVE");
        throw EngineStop{"1"};
    }
    return strengthLookup(s, s.cohesion, x);
}

double phiAt(Run& run, double x) {
    const PySoilState& s = run.rec.pySoil;
    if (beyondStrength(s, x)) {
        beyondWarning(run, x, " IS BEYOND THE EXTENT OF", "THE INPUT PHI CURVE");
        throw EngineStop{};
    }
    return strengthLookup(s, s.phiRadians, x);
}

double e50At(const PySoilState& soil, double x) { return strengthLookup(soil, soil.e50, x); }
double rqdAt(const PySoilState& soil, double x) { return strengthLookup(soil, soil.rqd, x); }

double averageCohesion(Run& run, double x, int layer) {
    const PySoilState& s = run.rec.pySoil;
    const PyLayer& l = s.layer[static_cast<std::size_t>(layer - 1)];
    if (x - l.top < 1.0e-5) return cohesionAt(run, x);
    if (beyondStrength(s, x)) {
        write(run.report,
              "/, 29X, \"**** WARNING ****\", /, 5X, \"THE VALUE OF X =\", E9.2, \"IS BEYOND THE EXTENT OF THE/\", 5X,"
              " \"INPUT CURVE FOR STRENGTH\"",
              {x});
    }
    const auto i = static_cast<std::size_t>(2 * (layer - 1));
    const double cTop = s.cohesion[i];
    const double span = s.strengthDepth[i + 1] - s.strengthDepth[i];
    const double cx = span > 0.0 ? cTop + (s.cohesion[i + 1] - cTop) * (x - s.strengthDepth[i]) / span : cTop;
    return 0.5 * (cTop + cx);
}

// ---- offset force and equivalent depth ------------------------------------------------

double offsetForce(const ProblemRecord& rec, OffsetRule rule, double c, double ka, double d) {
    const double pdl = rec.earthPressure.lastPressure;
    // Without earth pressure at the excavation level there is nothing to offset.
    if (rule == OffsetRule::Silt ? pdl < 1.0e-10 : pdl <= 1.0e-5) return 0.0;
    double r = rec.wall.wa / rec.wall.wp;
    if (!(r >= 1.0)) r = 1.0;
    double f = 1.0, s = 0.0;
    switch (rule) {
    case OffsetRule::Clay: s = 2.0 * c * d; break;
    case OffsetRule::Sand: f = ka; break;
    case OffsetRule::Silt:
        f = ka;
        s = 2.0 * c * std::sqrt(ka) * d;
        break;
    }
    // One formula for every earth pressure above the zero limit: a small
    // pressure gives a small offset (at most PDL/R), never a leftover value.
    const double q0 = std::min(pdl / r - s, rec.backfillStressAtExcavation * f * d - s);
    if (rule == OffsetRule::Clay ? q0 <= 1.0e-10 : q0 < 1.0e-5) return 0.0;
    return q0;
}

double equivalentDepth(const LayerTopProperties& t, double f) {
    if (!(f > 0.0)) return 0.0;
    const double c = t.c, d = t.d, g = t.gammaAvg, ca = t.ca;
    const double rock88 = static_cast<double>(0.88f);
    double h = 0.0;
    switch (t.type) {
    case 2: {
        const double k283 = static_cast<double>(2.83f);
        const double xt = (11.0 * c * d - 2.0 * ca * d) / (k283 * ca + g * d);
        const auto rate = [&](double z) {
            return (k283 * ca * z + 2.0 * ca * d + g * d * z) * stiffClayFlatFactor(stiffClayFactorAs(z / d));
        };
        const double xtSafe = xt > 0.0 && std::isfinite(xt) ? xt : 0.0;
        h = stepwiseDepth(xt, 40, f, 11.0 * c * d * stiffClayFlatFactor(stiffClayFactorAs(xtSafe / d)), rate);
        break;
    }
    case 4:
    case 5: {
        const SandWedge w = sandWedge(t.phi, t.type == 4 ? kSandPi : 4.0 * std::atan(1.0));
        const double tphi = std::tan(w.phi), tb = std::tan(w.beta), ta = std::tan(w.alpha);
        const double a1 = w.kp - w.ka;
        const double a2 = tb * (w.k0 * (tphi * std::sin(w.beta) * (1.0 / std::cos(w.alpha) + 1.0) - ta) + ta * w.kp);
        const double a3 = (w.k0 * tphi + w.kp) * w.kp * w.kp - w.ka;
        const double xt = (a3 - a1) * d / a2;
        const auto friction = [&](double z) {
            const double r = z / d;
            return g * d * d * (a2 * r * r + a1 * r) * sandFactors(r).a;
        };
        // Beyond xt the resistance is taken at its rate at the layer's first curve.
        const double flow = rock88 * g * d * d * a3 * t.firstCurveDepth / d;
        if (t.type == 4) {
            h = stepwiseDepth(xt, 100, f, flow, friction);
        } else {
            const auto rate = [&](double z) { return (0.5 * c * z + 3.0 * c * d + g * d * z) + friction(z); };
            h = stepwiseDepth(xt, 50, f, 9.0 * c * d + flow, rate);
        }
        break;
    }
    case 6:
    case 7: return 0.0; // rock takes no equivalent depth
    default: {
        // Soft clay (and stiff clay without free water, whose resistance
        // meets its 9cD cap at its own depth XR): a quadratic up to XR, then
        // linear at 9cD.
        if (!(c > 0.0)) return 0.0; // no cohesion, no resistance: depth has no effect
        const double capDepth = t.type == 3 ? (9.0 * c * d - 3.0 * ca * d) / (0.5 * c + g * d)
                                            : 6.0 * c * d / (0.5 * c + g * d);
        const double a = 0.25 * c + 0.5 * g * d;
        const double b = 3.0 * c * d;
        const double fr = c * capDepth * capDepth / 4.0 + b * capDepth + g * d * capDepth * capDepth / 2.0;
        if (f <= fr && a > 0.0) {
            h = (-b + std::sqrt(b * b + 4.0 * a * f)) / (2.0 * a);
        } else {
            h = capDepth + (f - fr) / (9.0 * c * d);
        }
    }
    }
    // A depth above the layer's own top has no meaning; neither has one
    // that the data cannot give.
    return std::isfinite(h) && h > 0.0 ? h : 0.0;
}

// ---- the shared steps of the criteria -------------------------------------------------

namespace pygen {

CurveSite curveSite(const ProblemRecord& rec, int layer, int k) {
    CurveSite site;
    site.layer = layer;
    site.k = k;
    site.x = curveDepth(rec.pySoil, layer, k);
    site.wallDepth = rec.pySoil.freeHeight + site.x;
    site.pMult = pMultiplier(rec, site.wallDepth);
    site.yMult = yMultiplier(rec, site.wallDepth);
    return site;
}

double soilDepth(const ProblemRecord& rec, const CurveSite& site, int side) {
    return side == 1 ? site.x : rec.pySoil.freeHeight + site.x;
}

double formulaDepth(const ProblemRecord& rec, int layer, double xs) {
    if (layer == 1) return xs;
    const PyLayer& l = layerOf(rec, layer);
    return xs - l.top + l.equivalentDepth;
}

void setEquivalentDepth(ProblemRecord& rec, int layer, const LayerTopProperties& top) {
    double above = 0.0;
    for (int K = 1; K < layer; ++K) above += layerOf(rec, K).integratedResistance;
    layerOf(rec, layer).equivalentDepth = equivalentDepth(top, above);
}

SidePoints modifyPoints(const SidePoints& raw, const CurveSite& site, double q0, int side) {
    SidePoints out;
    const double offset = side == 1 ? -q0 : q0;
    for (std::size_t j = 0; j < raw.y.size(); ++j) {
        out.p[j] = site.pMult * raw.p[j] + offset;
        out.y[j] = site.yMult * raw.y[j];
    }
    return out;
}

void requireFinite(const CurveSite& site, std::initializer_list<double> values) {
    for (double v : values) {
        // E10.3 shows a two-digit exponent; beyond that the curve text could
        // not be read back.
        if (!std::isfinite(v) || std::abs(v) >= 1.0e99) {
            throw InputError::badData("ERROR -- THE P-Y CURVE OF LAYER " + std::to_string(site.layer) + " AT DEPTH " +
                                      shown(site.wallDepth) +
                                      " HAS NO FINITE VALUE: CHECK THE SOIL DATA OF THE LAYER");
        }
    }
}

void requireFinite(const CurveSite& site, const SidePoints& points) {
    for (std::size_t j = 0; j < points.y.size(); ++j) requireFinite(site, {points.y[j], points.p[j]});
}

void sideHeading(Run& run, int side) {
    write(run.report, side == 1 ? "/, /, 9X, \"AT THE EXCAVATION SIDE\"" : "/, /, 9X, \"AT THE BACKFILL SIDE\"");
}

void curveTextHeader(Run& run, const CurveSite& site) {
    // Full precision: the run driver finds the curve's station from this depth.
    write(run.pyCurveFile, "1X, E16.9, 1X, I5", {site.wallDepth, 2 * kPointsPerSide});
}

void writePoints(Run& run, const SidePoints& points, std::string_view reportItems, std::string_view fileItems) {
    for (std::size_t j = 0; j < points.y.size(); ++j) {
        write(run.report, reportItems, {points.y[j], points.p[j]});
        write(run.pyCurveFile, fileItems, {static_cast<int>(j + 1), points.p[j], points.y[j]});
    }
}

void multiplierLine(Run& run, const CurveSite& site) {
    write(run.report, "/, 21X, \" P-Multiplier = \", E10.3, \" Y-Multiplier = \", E10.3", {site.pMult, site.yMult});
}

} // namespace pygen

// ---- PYSOIL ------------------------------------------------------------------------------

void generatePySoilCurves(Run& run) {
    ProblemRecord& rec = run.rec;
    // The curves stand below the excavation level of the wall configuration.
    rec.solution.freeHeight = rec.wall.freeHeight;
    buildPyProfile(rec);
    reportProfile(run);
    checkCurveData(rec);
    write(run.report, "/, /, 8X, \"P-Y CURVES DATA\", /");
    writeCountAndUserCurves(run);
    for (int K = 1; K <= rec.pySoil.layerCount; ++K) {
        const PyLayer& layer = pygen::layerOf(rec, K);
        if (layer.curveCount == 0) continue;
        switch (layer.type) {
        case 2: pygen::stiffClayWetLayer(run, K); break;
        case 3: pygen::stiffClayDryLayer(run, K); break;
        case 4: pygen::sandLayer(run, K); break;
        case 5: pygen::siltLayer(run, K); break;
        case 6: pygen::strongRockLayer(run, K); break;
        case 7: pygen::weakRockLayer(run, K); break;
        default: pygen::softClayLayer(run, K); break;
        }
    }
}

} // namespace kelda
