#pragma once

// Lateral pressure on the wall from loads standing on the backfill surface:
// point, line and strip loads at a horizontal distance from the wall, by the
// elastic-solution design formulas for rigid walls. The uniform surface
// pressure is not handled here: it enters the earth pressure as the vertical
// stress at the surface.
//
// Every formula takes the free height H of the wall as its reference length
// (m = X/H, n = z/H). With no free height (H <= 0) the formulas have no
// meaning and every surcharge pressure is 0.

#include "problem_record.h"

namespace kelda {

// The current surcharge as the surcharge line seeds it.
CurrentSurcharge currentSurchargeFromLine(const SurchargeLine& line);

// A surcharge record replaces the current surcharge: a point load sets the
// point load and distance, a line load the line load and distance, a strip
// load its pressure, distance and width; the other two loads become 0 and
// only a strip changes the width. Any type other than 2 or 3 is a point load.
void applySurchargeRecord(CurrentSurcharge& current, const SurchargeRecord& record);

// The force on the wall per unit width that the current surcharge adds to a
// layer from depth `top` to `top + thickness`: ten slices, each taking the
// pressure at its bottom. Loads of 1.0E-4 or less are left out.
double layerSurchargeForce(const CurrentSurcharge& current, double freeHeight, double top, double thickness);

// The lateral pressure at `depth` from all surcharge records of the problem
// (the whole list, whatever the magnitudes). Each record is sampled at the
// depths 0.02·H, 0.04·H, ..., H and takes the value of the deepest sampling
// depth strictly above `depth`; 0 above the first sampling depth.
double surchargePressureAt(const ProblemRecord& rec, double freeHeight, double depth);

} // namespace kelda
