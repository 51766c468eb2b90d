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

// The same in a record that the caller owns and may hand to run after run
// (one per fuzzing process or worker thread). The record is first reset to
// the zero-filled state, so results are those of a fresh record; reusing it
// saves allocating and faulting in some 200 KB per run. Never throws.
RunSummary runProblems(ProblemRecord& record, std::istream& data, std::ostream& report, std::ostream& plot,
                       std::ostream& notes, std::ostream& console, const RunHooks* hooks = nullptr);

} // namespace kelda
