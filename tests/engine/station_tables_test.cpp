#include "station_tables.h"

#include <gtest/gtest.h>

#include <vector>

#include "run_errors.h"

namespace kelda {
namespace {

struct Row {
    int from, to, mode;
    double value;
};
struct DistributionCase {
    const char* name;
    std::vector<Row> rows;
    std::vector<std::pair<int, double>> expected; // station, value
};

void PrintTo(const DistributionCase& c, std::ostream* os) { *os << c.name; }

class Distribution : public ::testing::TestWithParam<DistributionCase> {};

TEST_P(Distribution, SpreadsRecordsOverStations) {
    StationArray<double> values;
    StationTable<1> table({&values});
    for (const Row& r : GetParam().rows) table.add(r.from, r.to, r.mode, {r.value});
    for (const auto& [station, value] : GetParam().expected) {
        EXPECT_DOUBLE_EQ(values[station], value) << "station " << station;
    }
}

INSTANTIATE_TEST_SUITE_P(
    StationTables, Distribution,
    ::testing::Values(
        // One constant record: half at the two ends, full between.
        DistributionCase{"ConstantRecord", {{0, 40, 1, 8.0}}, {{0, 4.0}, {1, 8.0}, {39, 8.0}, {40, 4.0}, {41, 0.0}}},
        // Two records meeting at a station give it the full value.
        DistributionCase{"RecordsMeeting", {{0, 20, 1, 8.0}, {20, 40, 1, 8.0}}, {{0, 4.0}, {20, 8.0}, {40, 4.0}}},
        // A run from 100 at station 0 to 300 at station 40.
        DistributionCase{"InterpolatedRun",
                         {{0, 20, 2, 100.0}, {99, 40, 1, 300.0}},
                         {{0, 50.0}, {10, 150.0}, {20, 200.0}, {30, 250.0}, {40, 150.0}}},
        // A chain of runs: 0 at 0, 10 at 10, 30 at 20.
        DistributionCase{"ChainedRuns",
                         {{0, 0, 2, 0.0}, {0, 10, 2, 10.0}, {0, 20, 1, 30.0}},
                         {{0, 0.0}, {5, 5.0}, {10, 10.0}, {15, 20.0}, {20, 15.0}}},
        // A record on one station adds its whole value; a second one doubles it.
        DistributionCase{"SingleStation", {{7, 7, 1, 5.0}, {7, 7, 1, 5.0}}, {{6, 0.0}, {7, 10.0}, {8, 0.0}}},
        // Overlapping records sum.
        DistributionCase{"Overlap", {{0, 10, 1, 2.0}, {5, 10, 1, 4.0}}, {{4, 2.0}, {5, 4.0}, {6, 6.0}, {10, 3.0}}}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(StationTables, RunEndingBeforeItsStartIsOutOfOrder) {
    StationArray<double> values;
    StationTable<1> table({&values});
    table.add(20, 20, 2, {1.0});
    try {
        table.add(0, 10, 1, {2.0});
        FAIL() << "expected an error";
    } catch (const InputError& e) {
        EXPECT_EQ(e.message, "ERROR STOP -- STATIONS NOT IN ORDER");
    }
}

TEST(StationTables, CaseFollowsThisAndThePreviousMode) {
    EXPECT_EQ(stationRecordCase(0, 0), 1);
    EXPECT_EQ(stationRecordCase(0, 1), 2);
    EXPECT_EQ(stationRecordCase(1, 0), 3);
    EXPECT_EQ(stationRecordCase(1, 1), 4);
}

} // namespace
} // namespace kelda
