#include "surcharge_pressure.h"

#include <cmath>

namespace kelda {

namespace {

// The coefficients were always stored in single precision; they are used
// here with exactly those values so that the pressures agree with the
// program's long record of results.
constexpr double kPointNear = static_cast<double>(0.28f);
constexpr double kPointFar = static_cast<double>(1.77f);
constexpr double kNearOffset = static_cast<double>(0.16f); // 0.4 squared
constexpr double kNearLimit = static_cast<double>(0.4f);   // distance ratio m at which the formulas switch
constexpr double kLineNear = static_cast<double>(0.203f);
constexpr double kMinimumLoad = static_cast<double>(1.0E-4f);
constexpr double kSamplingStep = static_cast<double>(0.02f);
constexpr int kSamplingDepths = 50;

// Far-field line and strip coefficients: the layer force uses 4/pi and 2/pi
// rounded to 1.273 and 0.6366, the pressure profile divides by pi taken as
// 3.1416 (single precision).
constexpr double kPi = static_cast<double>(3.1416f);
struct FarCoefficients {
    double line;
    double strip;
};
constexpr FarCoefficients kLayerCoefficients{static_cast<double>(1.273f), static_cast<double>(0.6366f)};
constexpr FarCoefficients kProfileCoefficients{4.0 / kPi, 2.0 / kPi};

constexpr double square(double v) {
    return v * v;
}
constexpr double cube(double v) {
    return v * v * v;
}

double pointLoadPressure(double q, double x, double z, double h) {
    const double m = x / h;
    const double n = z / h;
    const double n2 = n * n;
    if (m <= kNearLimit) return kPointNear * q * n2 / (h * h * cube(kNearOffset + n2));
    const double m2 = m * m;
    return kPointFar * q * m2 * n2 / (h * h * cube(m2 + n2));
}

double lineLoadPressure(double q, double x, double z, double h, double far) {
    const double m = x / h;
    const double n = z / h;
    const double n2 = n * n;
    if (m <= kNearLimit) return kLineNear * q * n / (h * square(kNearOffset + n2));
    const double m2 = m * m;
    return far * q * m2 * n / (h * square(m2 + n2));
}

// x is the distance to the centre line of the strip, b its width.
double stripLoadPressure(double q, double x, double b, double z, double far) {
    if (z <= 0.0) return 0.0; // at the surface the strip exerts no lateral pressure on the wall
    const double alpha = std::atan(x / z);
    const double beta = std::atan((x + b / 2.0) / z) - std::atan((x - b / 2.0) / z);
    return far * q * (beta - std::sin(beta) * std::cos(2.0 * alpha));
}

double recordPressure(const SurchargeRecord& r, double z, double h) {
    switch (r.type) {
    case 2:
        return lineLoadPressure(r.magnitude, r.distance, z, h, kProfileCoefficients.line);
    case 3:
        return stripLoadPressure(r.magnitude, r.distance, r.width, z, kProfileCoefficients.strip);
    default:
        return pointLoadPressure(r.magnitude, r.distance, z, h);
    }
}

} // namespace

CurrentSurcharge currentSurchargeFromLine(const SurchargeLine& line) {
    return {line.pointLoad, line.lineLoad, line.stripLoad, line.distanceX, line.stripWidth};
}

void applySurchargeRecord(CurrentSurcharge& current, const SurchargeRecord& record) {
    current.pointLoad = 0.0;
    current.lineLoad = 0.0;
    current.stripLoad = 0.0;
    current.distance = record.distance;
    switch (record.type) {
    case 2:
        current.lineLoad = record.magnitude;
        break;
    case 3:
        current.stripLoad = record.magnitude;
        current.stripWidth = record.width;
        break;
    default:
        current.pointLoad = record.magnitude;
        break;
    }
}

double layerSurchargeForce(const CurrentSurcharge& s, double freeHeight, double top, double thickness) {
    if (!(freeHeight > 0.0)) return 0.0;
    const double slice = thickness / 10.0;
    double force = 0.0;
    for (int k = 1; k <= 10; ++k) {
        const double z = top + k * slice; // bottom of slice k
        double sigma = 0.0;
        if (s.pointLoad > kMinimumLoad) sigma += pointLoadPressure(s.pointLoad, s.distance, z, freeHeight);
        if (s.lineLoad > kMinimumLoad) {
            sigma += lineLoadPressure(s.lineLoad, s.distance, z, freeHeight, kLayerCoefficients.line);
        }
        if (s.stripLoad > kMinimumLoad) {
            sigma += stripLoadPressure(s.stripLoad, s.distance, s.stripWidth, z, kLayerCoefficients.strip);
        }
        force += slice * sigma;
    }
    return force;
}

double surchargePressureAt(const ProblemRecord& rec, double freeHeight, double depth) {
    if (rec.surchargeCount <= 0 || !(freeHeight > 0.0)) return 0.0;
    // The deepest sampling depth strictly above `depth`, as a multiple of H.
    double sampledN = 0.0;
    for (int j = 1; j <= kSamplingDepths; ++j) {
        const double n = j * kSamplingStep;
        if (!(n * freeHeight < depth)) break;
        sampledN = n;
    }
    if (sampledN == 0.0) return 0.0;
    const double z = sampledN * freeHeight;
    double sum = 0.0;
    for (int k = 0; k < rec.surchargeCount && k < kMaxSurcharges; ++k) {
        sum += recordPressure(rec.surcharges[static_cast<std::size_t>(k)], z, freeHeight);
    }
    return sum;
}

} // namespace kelda
