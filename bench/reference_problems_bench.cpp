// The two reference problems of the speed goals, analysed in memory from the
// data text to the report, plot file and notes:
//   typical.kl4d  NINC 60, three generated soil layers (p-y option 2,
//                 earth-pressure option 2), one block        goal <= 1 ms
//   largest.kl4d  NINC 300, ten generated soil layers, five construction
//                 stages with anchors, surcharges, an axial load and p-y
//                 modifications: the largest problem the desktop program
//                 writes                                       goal <= 20 ms
// The data files live in bench/data/ (CR LF line ends, as the desktop
// program writes them).

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "run_driver.h"

namespace {

std::string readDataFile(const std::string& name) {
    std::ifstream in(std::string(KELDA_BENCH_DATA_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void runReferenceProblem(benchmark::State& state, const std::string& fileName) {
    const std::string data = readDataFile(fileName);
    if (data.empty()) {
        state.SkipWithError(("cannot read bench/data/" + fileName).c_str());
        return;
    }
    std::size_t outputBytes = 0;
    for (auto _ : state) {
        std::istringstream in(data);
        std::ostringstream report, plot, notes, console;
        const kelda::RunSummary summary = kelda::runProblems(in, report, plot, notes, console);
        if (summary.ending != kelda::RunEnding::Completed) {
            state.SkipWithError(summary.message.c_str());
            break;
        }
        outputBytes = report.view().size() + plot.view().size() + notes.view().size();
        benchmark::DoNotOptimize(outputBytes);
    }
    state.counters["output_bytes"] = static_cast<double>(outputBytes);
}

void BM_TypicalProblem(benchmark::State& state) {
    runReferenceProblem(state, "typical.kl4d");
}
BENCHMARK(BM_TypicalProblem)->Unit(benchmark::kMicrosecond);

void BM_LargestProblem(benchmark::State& state) {
    runReferenceProblem(state, "largest.kl4d");
}
BENCHMARK(BM_LargestProblem)->Unit(benchmark::kMillisecond);

} // namespace
