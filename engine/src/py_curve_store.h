#pragma once

#include "run.h"

namespace kelda {

// The p-y curves of a problem: user curves read from the data file and/or
// generated curves read back from the p-y curve text. Fills the curve store
// (p as a force per station, y increasing), echoes the curves to the report
// and writes the plot file's p-y section.
void pyCurveStore(Run& run);

// Reads the p-y curve text (run.pyCurveFile) into the curve store: the count
// line, then the user curves (their points are skipped: the store keeps the
// values read from the data file) and the generated curves, each turned from
// its 34 records (17 per side, magnitudes) into 33 points in increasing y.
void readPyCurveText(Run& run, int userCount);

} // namespace kelda
