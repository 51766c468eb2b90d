#pragma once

// The plot data file read back as the program's graphs read it: a stream of
// whitespace-separated words in a fixed order, line breaks carrying no
// meaning. Per result set: the earth-pressure points, the units flag, the p-y
// curves, then the result rows (depth, deflection, moment, shear, soil
// reaction). The first set's results line gives the number of sets.

#include <istream>
#include <string>
#include <vector>

namespace kelda::results {

struct PressureRow {
    double depth = 0.0, total = 0.0, fromSoils = 0.0, fromSurcharge = 0.0;
};

struct PyCurve {
    double depth = 0.0;
    std::vector<double> y, p;
};

struct ResultRow {
    double depth = 0.0, deflection = 0.0, moment = 0.0, shear = 0.0, reaction = 0.0;
};

struct PlotSet {
    int units = 0; // 1 English, 2 SI, 3 other
    std::vector<PressureRow> pressure;
    std::vector<PyCurve> curves;
    std::vector<ResultRow> rows;
};

struct PlotData {
    std::vector<PlotSet> sets;
};

// Reads `in` into `data`. Returns false at the first word that is not what the
// order asks for (a text where a number belongs, a fraction where an integer
// belongs, the end of the file) with `error` naming the word's position and
// what was expected; what was read before stays in `data`. Counts are checked
// against the words left in the text, so a corrupt count cannot make memory
// grow beyond the file's size.
bool readPlotData(std::istream& in, PlotData& data, std::string& error);

} // namespace kelda::results
