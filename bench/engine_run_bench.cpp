// Whole analyses in memory, from the data text to the report and plot file:
// a user-data wall with a chain of user p-y curves down the embedded part and
// a moment–EI set over the wall, at several numbers of increments.

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "run_driver.h"

namespace {

// A cantilever of 30 length units, excavation at 10, with 30 chained user p-y
// curves below the excavation level and a moment–EI set over the wall.
std::string wallData(int ninc) {
    const double length = 30.0;
    const double h = length / ninc;
    std::ostringstream s;
    s.precision(10);
    s << "Benchmark wall\n3 0 1 0 1 1 30 1 1\n";
    s << ninc << ' ' << h << " 10 1e-6 10\n";
    s << "0 " << ninc << " 1 50000\n";
    s << "1\n1 0 0 5 0 0\n0\n";
    s << "3\n0 0\n10 30\n12 0\n";
    const int first = ninc / 3;
    for (int k = 0; k < 30; ++k) {
        const int station = first + (ninc - first) * k / 29;
        const double pu = 20.0 + 10.0 * k;
        s << station << " 5 1 1\n";
        s << "-1 " << 1.2 * pu << "\n-0.02 " << pu << "\n0 0\n0.02 " << -pu << "\n1 " << -1.2 * pu << '\n';
    }
    s << "1 " << ninc - 1 << " 4\n0 50000\n200 50000\n400 30000\n1e6 10000\n";
    s << "0\n";
    return s.str();
}

void BM_WholeRun(benchmark::State& state) {
    const std::string data = wallData(static_cast<int>(state.range(0)));
    int iterations = 0;
    for (auto _ : state) {
        std::istringstream in(data);
        std::ostringstream report, plot, notes, console;
        const kelda::RunSummary summary = kelda::runProblems(in, report, plot, notes, console);
        if (summary.ending != kelda::RunEnding::Completed) state.SkipWithError(summary.message.c_str());
        iterations = summary.problems.empty() ? 0 : summary.problems.front().iterations;
        benchmark::DoNotOptimize(report);
    }
    state.counters["solver_iterations"] = iterations;
}
BENCHMARK(BM_WholeRun)->Arg(50)->Arg(100)->Arg(200)->Arg(300)->Unit(benchmark::kMicrosecond);

} // namespace
