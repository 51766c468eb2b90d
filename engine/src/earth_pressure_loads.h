#pragma once

#include "run.h"

namespace kelda {

// The earth-pressure records of a problem and their loads on the wall: a
// user-specified pressure table, or the wall configuration, surcharge and
// soil layer records from which the pressure is generated. Fills the
// earth-pressure table, echoes it, writes the plot file's pressure section
// and adds the pressure to the transverse loads Q at the stations.
void earthPressureLoads(Run& run);

// Reads the generated earth-pressure table back from its text
// (`Run::earthPressureTableFile`): the point count, then per point depth,
// pressure, pressure without surcharge and surcharge part. The three
// pressures are multiplied by WA; the points used for the echo and the plot
// (all, or every sixth in English units past 50 points) and the last
// pressure, kept for the p-y criteria, are set. Pressures stay per unit
// length of wall (not yet multiplied by h).
void readGeneratedPressureTable(Run& run);

// Turns the earth-pressure table (depth, force per station) into loads at
// stations 1, 2, ...: interpolated linearly from depth 0 (pressure 0) and,
// past the last depth, the previous station's load repeated.
void addPressureStationLoads(Run& run);

} // namespace kelda
