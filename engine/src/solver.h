#pragma once

#include "run.h"

namespace kelda {

// The beam-column solution of one problem: iterations (logged in the notes
// file), then the results table in the report; the results are kept in the
// problem record for the plot file.
ProblemSummary solveBeamColumn(Run& run);

} // namespace kelda
