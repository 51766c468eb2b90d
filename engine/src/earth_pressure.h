#pragma once

// Generated active earth and water pressure on the backfill side of the wall
// (triangular, or the trapezoid of an anchored wall). The backfill layers are
// split at the excavation level and at the water table; effective overburden
// stresses, Rankine coefficients and the forces of every layer above the
// excavation level are computed and reported; the pressure at about one point
// per length unit from the surface to the excavation level is then written as
// the earth-pressure table text (`Run::earthPressureTableFile`), which the
// run driver reads back as it would the table file.
//
// The soil below the excavation level acts on the wall only through the p-y
// curves: passive coefficients are computed and reported, not applied.

#include <string>
#include <string_view>

#include "run.h"

namespace kelda {

// The whole generation for the current problem, in order: copy of the
// input, subdivision, echo, clearing, stresses and coefficients, layer
// forces, pressure table. Throws EngineStop{"1"} when no layer reaches the
// excavation level and EngineStop{"2"} when more than 20 working layers would
// be needed (both after the soil information table), and InputError when the
// table cannot be formed or held, or when data of absurd magnitude overflow
// (nothing of the generation then reaches the report).
void generateEarthPressure(Run& run);

// The steps, each working on `rec.soil`.

// Wall, water and surcharge values and the input layers, copied from the
// problem data; the water unit weight of the unit system.
void copyEarthPressureInput(ProblemRecord& rec);
// Working layers: the input layers split at the excavation level and at the
// backfill water table; the dredge-line and water-table layers.
void subdivideLayers(SoilState& soil);
// Wall, surcharge and soil information (the soil heading also to the
// console); sets the current surcharge from the surcharge records; raises the
// stops.
void echoWallSurchargeAndSoil(Run& run);
void clearLayerForces(SoilState& soil);
// Submerged flags, effective overburden stresses on both sides, active and
// passive coefficients (with the sloping-backfill formula and its warning).
void stressesAndCoefficients(Run& run);
// Active earth forces with tension cracks, water forces, the net check.
void activeLayerForces(Run& run);
// The earth-pressure table, written as text to `run.earthPressureTableFile`.
void writePressureTable(Run& run);

// True when every value of the working layer table and the pressure table
// is a finite number.
bool soilStateIsFinite(const SoilState& soil);

// Unit weight of water: 0.036 lb/in³ (single precision) in English units,
// 10 kN/m³ in SI units.
double waterUnitWeight(int unitSystem);

// The layout items of a report banner: a framed title of 50 characters
// preceded by two empty lines and followed by the line end.
std::string soilBanner(std::string_view title);

} // namespace kelda
