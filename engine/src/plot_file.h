#pragma once

// The plot data file: a stream of numbers that the desktop program reads back
// in order. Free-format lines are a blank and the values separated by blanks
// (reals at full precision); formatted lines use the report's line layout.

#include <initializer_list>

#include "run.h"

namespace kelda::plot {

// A free-format line of integers.
void integerLine(Run& run, std::initializer_list<long long> values);
// A free-format line of reals at full precision (shortest round-trip form).
void realLine(Run& run, std::initializer_list<double> values);

// A free-format line of a real and an integer (a p-y curve's depth and point count).
void realIntegerLine(Run& run, double real, long long integer);

// The earth-pressure section of a problem without earth pressure: the count 0.
void noEarthPressureSection(Run& run);

// The results section: NSETS, NPTS, U, then the result rows of the last
// problem solved (none before the first solution).
void resultsSection(Run& run);

} // namespace kelda::plot
