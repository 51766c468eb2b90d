#pragma once

#include <istream>
#include <ostream>

#include "kelda/engine.h"
#include "run.h"

namespace kelda {

// Runs every problem of the data file read from `data`, with a fresh,
// zero-filled problem record. Never throws.
RunSummary runProblems(std::istream& data, std::ostream& report, std::ostream& plot, std::ostream& notes,
                       std::ostream& console, const RunHooks* hooks = nullptr);

} // namespace kelda
