#pragma once

// Symbols of the engine that callers may bind to; everything else in the
// shared library is hidden.
#define KELDA_API __attribute__((visibility("default")))
