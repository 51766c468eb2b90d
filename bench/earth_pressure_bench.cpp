// Generation of the earth-pressure table of a deep excavation: a 10-layer
// profile of sand and clay with a water table and three surcharge loads, a
// 60 ft (720 in) free height in English units, so about 720 table points.
// BM_EarthPressureGeneration covers the soil routines alone (profile to
// table text); BM_EarthPressureTableRead the run driver reading the text
// back. Set against BM_WholeRun (engine_run_bench.cpp), the cost of a
// solution.

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>

#include "earth_pressure.h"
#include "earth_pressure_loads.h"

namespace {

struct DeepExcavation {
    std::unique_ptr<kelda::ProblemRecord> rec = std::make_unique<kelda::ProblemRecord>();
    std::istringstream data;
    std::ostringstream report, plot, notes, console;
    kelda::Run run{*rec, data, report, plot, notes, console};

    DeepExcavation() {
        kelda::ProblemRecord& r = *rec;
        r.control.units = 1;
        r.control.earthPressureOption = 2;
        r.labels = kelda::UnitLabels::english();
        r.wall = {720.0, 12.0, 12.0, 300.0, 720.0, 1.0, 1, 0.0};
        r.surchargeLine.uniformPressure = 1.0;
        r.surcharges[0] = {1, 20000.0, 120.0, 0.0};
        r.surcharges[1] = {2, 500.0, 60.0, 0.0};
        r.surcharges[2] = {3, 5.0, 200.0, 120.0};
        r.surchargeCount = 3;
        // Sand and stiff clay in turn, 6 ft each, the tenth layer reaching
        // well below the excavation level.
        r.soilLayerCount = 10;
        for (int i = 0; i < 10; ++i) {
            kelda::SoilLayer& l = r.soilLayers[static_cast<std::size_t>(i)];
            const bool sand = i % 2 == 0;
            l.type = sand ? 4 : 3;
            l.bottomDepth = i < 9 ? 72.0 * (i + 1) : 1000.0;
            l.thickness = l.bottomDepth - (i == 0 ? 0.0 : 72.0 * i);
            l.top = {0.0694, sand ? 0.0 : 8.0 + i, sand ? 30.0 + i : 0.0, 0.0, 0.0, 0.0};
            l.bottom = l.top;
        }
    }

    void clearOutput() {
        report.str({});
        notes.str({});
        console.str({});
    }
};

void BM_EarthPressureGeneration(benchmark::State& state) {
    DeepExcavation wall;
    for (auto _ : state) {
        wall.clearOutput();
        kelda::generateEarthPressure(wall.run);
        benchmark::DoNotOptimize(wall.rec->soil.pressure.thrust);
    }
    state.counters["points"] = wall.rec->soil.pressure.count;
}
BENCHMARK(BM_EarthPressureGeneration)->Unit(benchmark::kMicrosecond);

void BM_EarthPressureTableRead(benchmark::State& state) {
    DeepExcavation wall;
    kelda::generateEarthPressure(wall.run);
    for (auto _ : state) {
        kelda::readGeneratedPressureTable(wall.run);
        benchmark::DoNotOptimize(wall.rec->earthPressure.lastPressure);
    }
    state.counters["points"] = wall.rec->earthPressure.count;
}
BENCHMARK(BM_EarthPressureTableRead)->Unit(benchmark::kMicrosecond);

} // namespace
