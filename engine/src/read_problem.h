#pragma once

#include "run.h"

namespace kelda {

// Reads the control line of a problem (nine integers) and selects the unit
// label set from its units flag.
void readControlLine(Run& run);

// Reads the rest of the problem, from the solution line to the last moment–EI
// set, echoes it to the report and writes the plot file's input sections.
// Throws InputError at the first error in the data.
void readProblem(Run& run);

// Checks a count read from the data file: negative counts and counts beyond
// the store's capacity are errors in the data.
// `line` is the data-file line the count was read from (0: the current line).
void checkCount(Run& run, int count, int capacity, std::string_view what, long line = 0);

// Checks that a station lies on the wall or its fictitious stations.
void checkStation(Run& run, int station, std::string_view what);

} // namespace kelda
