#pragma once

#include <cstdint>

#include "kelda/export.h"

// The engine's one C entry point, exported under two names for the same
// function. The caller passes the interface number 8; any other number
// returns 1 and touches no file. Otherwise the engine reads the names file
// "NAMES.dat" in the current directory (data, report, plot and notes paths,
// one per line), runs every problem of the data file and returns 0 — also
// when the data held errors, which are reported in the report file only.
// The call never ends the caller's process and lets no exception escape.
extern "C" {
KELDA_API std::int32_t IKELDA(std::int32_t interfaceNumber);
KELDA_API std::int32_t _IKELDA(std::int32_t interfaceNumber);
}
