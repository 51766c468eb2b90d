// Units of measure of table columns, numeric fields and graph axes.
//
// Values carry no units. Each real table column, numeric field and graph axis
// carries a units string instead: a short formula over unit symbols such as
// "F/L2^3" (force over cubed feet). From that string and the project's unit
// system the program derives the label the user sees and the factor that converts
// a value when the project switches between English and SI.
#pragma once

#include <string>
#include <string_view>

namespace kelda::data {

// Unit systems, numbered as they are stored in the wall data file.
enum UnitSystem : int { kEnglish = 1, kSI = 2, kOtherUnits = 3 };

// Clamps a stored unit-system number into 1..3 (below 1 → English, above 3 → other).
int ClampUnitSystem(int system);

// The number by which a value held in `fromSystem` is multiplied to be held in
// `toSystem`. Only English↔SI converts; any pair involving system 3, and a system
// with itself, gives 1. Strings that are not formulas ("SEE NOTES", "deg.", "")
// give 1.
//
// Grammar: numerator ["/" denominator]; each a term of an optional force part
// "F"[digit 0,1,2,4,5,6]["^"digit] followed by one separator character, then an
// optional length part "L"[digit 0..3]["^"digit]. A term that starts with neither
// letter counts as 1.
double UnitsFactor(int fromSystem, int toSystem, std::string_view unitsString);

// The units label for table headings and graph axes: every symbol replaced by its
// label in `system` ("F/L2^3" → "lbs/ft^3", "kN/m^3", "F/L^3").
std::string UnitsLabel(std::string_view unitsString, int system);

// The units label of a numeric entry field's caption: only the first force symbol
// kind that occurs (F6, F5, F4, F2, F1, else F) and the first length symbol kind
// (L2, L1, L3, else L) are replaced; system 3 shows the units string unchanged.
std::string FieldUnitsLabel(std::string_view unitsString, int system);

} // namespace kelda::data
