#pragma once

// Working data of the soil routines (earth and water pressures, surcharges,
// p-y curve generation) that lives in the problem record between their steps.

namespace kelda {

struct SoilState {};

} // namespace kelda
