// The evaluator runs on every cell commit and on every table load, so it has to
// be cheap: the goal is at least a million evaluations of a typical formula per
// second on one core.
#include "kelda/data/evaluator.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void BM_EvaluateFormula(benchmark::State& state) {
    for (auto _ : state) {
        const kelda::data::EvalResult r = kelda::data::Evaluate("12*3.5+sqrt(2)/2", '.');
        benchmark::DoNotOptimize(r.value);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateFormula);

// A plain number, as most table cells read from a data file are.
void BM_EvaluateNumber(benchmark::State& state) {
    for (auto _ : state) {
        const kelda::data::EvalResult r = kelda::data::Evaluate("0.069444444", '.');
        benchmark::DoNotOptimize(r.value);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateNumber);

// The worst a paste can bring: thousands of nested brackets.
void BM_EvaluateDeepBrackets(benchmark::State& state) {
    const std::string text = std::string(5000, '(') + "1+1" + std::string(5000, ')');
    for (auto _ : state) {
        const kelda::data::EvalResult r = kelda::data::Evaluate(text, '.');
        benchmark::DoNotOptimize(r.value);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateDeepBrackets);

} // namespace
