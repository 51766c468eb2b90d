// kelda convert IN OUT [--format 2013|3.0|2.0]
//
// Reads a wall data file of any of the three formats with the desktop
// program's reader (format 3.0 for a ".kld" name, format 2013 otherwise,
// unless --format says) and writes it in the current format with the
// program's writer. A staged project is written as one assembled file.
//
// Exit status: 0 converted, 1 the input holds an error (nothing is written),
// 2 a file could not be read or written, 64 wrong usage.
#pragma once

#include <string_view>
#include <vector>

int convertCommand(const std::vector<std::string_view>& args);
