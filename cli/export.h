#pragma once

// Machine-readable results of a run: CSV files (one per result set, and one
// for its earth-pressure table) and a JSON document, in the data file's units
// with the units named in the headers.

#include <string>
#include <string_view>
#include <vector>

#include "kelda/engine.h"

namespace kelda::cli {

// The name of each problem's result set: "Stage 1" ... for a staged run,
// "Short-Term" and "Long-Term", or "Results" for a single problem.
std::vector<std::string> resultSetNames(const RunSummary& summary);

// Writes DIR/STEM_<set>.csv, DIR/STEM_<set>_earth-pressure.csv and
// DIR/STEM_<set>_py-curves.csv (the curve each station used) for every
// result set. Each file is written beside its target and renamed over it.
// Returns false with `error` set when a file cannot be written.
bool writeCsv(const std::string& dir, const std::string& stem, const RunSummary& summary, std::string& error);

// The JSON document of one or more runs (an object for one data file, an
// array of objects for several).
std::string jsonDocument(const std::vector<std::pair<std::string, RunSummary>>& runs);

// kelda export FILE.kl4p [--csv DIR] [--json FILE]: the same files from an
// existing plot data file (the results it holds, at the precision written).
int exportCommand(const std::vector<std::string_view>& args);

// Writes `text` to `path` through a temporary file beside it and a rename.
bool writeFileAtomically(const std::string& path, const std::string& text, std::string& error);

} // namespace kelda::cli
