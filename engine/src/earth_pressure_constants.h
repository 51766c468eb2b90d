#pragma once

// Constants shared by the steps of the earth-pressure generation. They were
// always stored in single precision and are used with exactly those values.

namespace kelda {

// Depths closer than this are one depth (1.0E-5 in single precision); also
// the smallest net active force and net pressure taken as positive.
inline constexpr double kDepthTolerance = static_cast<double>(1.0E-5f);

// Degrees per radian, 57.2958 in single precision.
inline constexpr double kDegreesPerRadian = static_cast<double>(57.2958f);

// The tiny positive pressure that stands in for a net pressure that is not
// positive below the excavation-side water table, times the point number.
inline constexpr double kTinyPressure = static_cast<double>(1.0E-12f);

// The apparent-pressure trapezoid of an anchored wall carries 1.3 times the
// active thrust.
inline constexpr double kTrapezoidFactor = static_cast<double>(1.3f);

} // namespace kelda
