#pragma once

// Working data of the p-y curve generation (the excavation-side profile, its
// distributions, curve depths, integrated resistances) kept in the problem
// record while the curves of a problem are generated.

namespace kelda {

struct PySoilState {};

} // namespace kelda
