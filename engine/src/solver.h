#pragma once

#include "run.h"

namespace kelda {

// The beam-column solution of one problem.
void solveBeamColumn(Run& run);

} // namespace kelda
