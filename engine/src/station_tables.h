#pragma once

// Station tables (wall stiffness, loads, springs) become values at the
// finite-difference stations. Each record has a from station, a to station
// and a mode: 1 holds its values constant over its stations, 2 starts (or
// continues) a run interpolated linearly to the next record's values.

#include <array>
#include <cstddef>
#include <span>

#include "problem_record.h"

namespace kelda {

// Adds u..v linearly over stations a..b to `values`; the two end stations of a
// run receive half their value, so that two runs meeting at a station sum to
// the full value there. Throws "STATIONS NOT IN ORDER" when b < a.
void distributeOverStations(StationArray<double>& values, int a, int b, double u, double v);

// The case of a record from its mode and the previous record's mode:
// 1 constant after constant, 2 a run starts, 3 a run ends, 4 a run goes on.
// Outside those (modes other than 1 and 2) the value is returned as computed.
inline int stationRecordCase(int previousModeMinusOne, int modeMinusOne) {
    return 2 * previousModeMinusOne + modeMinusOne + 1;
}

// Distributes the records of one table, one record at a time, keeping the
// start of an open interpolation run between records.
template <std::size_t N>
class StationTable {
public:
    explicit StationTable(std::array<StationArray<double>*, N> columns) : columns_(columns) {}

    // Returns the record's case (1 to 4).
    int add(int from, int to, int mode, const std::array<double, N>& values) {
        const int c = mode - 1;
        const int recordCase = stationRecordCase(previousC_, c);
        switch (recordCase) {
        case 1:
            for (std::size_t k = 0; k < N; ++k) distributeOverStations(*columns_[k], from, to, values[k], values[k]);
            break;
        case 2:
            runStart_ = from;
            runValues_ = values;
            break;
        case 3:
        case 4:
            for (std::size_t k = 0; k < N; ++k)
                distributeOverStations(*columns_[k], runStart_, to, runValues_[k], values[k]);
            if (recordCase == 4) {
                runStart_ = to;
                runValues_ = values;
            }
            break;
        default:
            break;
        }
        previousC_ = c;
        return recordCase;
    }

    // The station whose value the next record's run starts from (for checks).
    [[nodiscard]] int runStart() const { return runStart_; }
    [[nodiscard]] bool runOpen() const { return previousC_ == 1; }

private:
    std::array<StationArray<double>*, N> columns_;
    int previousC_ = 0;
    int runStart_ = 0;
    std::array<double, N> runValues_{};
};

} // namespace kelda
