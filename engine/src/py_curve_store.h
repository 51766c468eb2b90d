#pragma once

#include "run.h"

namespace kelda {

// The p-y curves of a problem: user curves read from the data file and/or
// generated curves read back from the p-y curve text. Fills the curve store
// (p as a force per station, y increasing), echoes the curves to the report
// and writes the plot file's p-y section.
void pyCurveStore(Run& run);

} // namespace kelda
