#include "station_tables.h"

#include "run_errors.h"

namespace kelda {

void distributeOverStations(StationArray<double>& values, int a, int b, double u, double v) {
    if (b < a) throw InputError::stationsNotInOrder();
    if (a == b) {
        values[a] += u;
        return;
    }
    const double span = static_cast<double>(b - a);
    for (int j = a; j <= b; ++j) values[j] += u + (v - u) * static_cast<double>(j - a) / span;
    // Half of the value at the two ends, so that runs meeting at a station
    // give it the full value between them.
    values[a] += -0.5 * u;
    values[b] += -0.5 * v;
}

} // namespace kelda
