#pragma once

// Blocks of the report that the run driver and the input reading write. Each
// function writes one block; its layout string is the block's line layout.

#include <array>
#include <string_view>

#include "run.h"
#include "run_errors.h"

namespace kelda::report {

void programHeader(Run& run);
void problemHeading(Run& run);
void controlParameters(Run& run);
void solutionValues(Run& run);
void restraintsBanner(Run& run);
void restraintLine(Run& run, const Restraint& r);
void emptyTable(Run& run);
void stiffnessAndLoadHeader(Run& run);
// One echoed station-table record; values are EI, Q, S, T, R, P.
void stationTableLine(Run& run, int recordCase, int from, int to, int modeMinusOne,
                      const std::array<double, 6>& values);
void inputError(Run& run, const InputError& error);
void endOfAnalysis(Run& run);

// The text of the version line, after its leading blank.
std::string_view versionLine();

} // namespace kelda::report
