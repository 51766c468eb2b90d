// Saving and opening the largest project the program holds: 300 increments,
// 10 soil layers, 30 external p-y curve sets of 17 points, 20 moment-EI sets
// of 100 points, in 5 construction stages. Goal: at most 5 ms for a save
// (the current stage's block and the data file assembled from the five stage
// files, each written atomically) and at most 5 ms for an open (reading the
// data file and splitting it into its stage files).
#include "kelda/data/program_data.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace kelda::data;

void setRow(GridTable& t, int row, std::initializer_list<double> values) {
    int c = 0;
    for (const double v : values) {
        if (t.column(c).kind != ColumnKind::Table) t.setFloat(c, row, v);
        ++c;
    }
}

void buildLargest(TProgramData& p, const std::string& fileName) {
    p.NewProject();
    ProjectTables& t = p.Tables();
    p.FileName = fileName;
    p.Increments = 300;
    p.IncrementLength = 2;
    p.FreeHeight = 240;
    p.ActiveWidth = p.PYWidth = 24;
    p.UseRestraints = p.UseConcentratedLoads = p.UseSprings = p.UsePYMod = true;
    p.UseSurcharge = p.UseExternalPY = p.UseEICurves = true;
    p.EarthPressureChoice = 2;
    p.GeneratedPressure = true;
    t.soillayer.setRowCount(10);
    for (int r = 0; r < 10; ++r) setRow(t.soillayer, r, {1, 30.0 * r, 0.0, 0.0});
    t.pileSect.setRowCount(10);
    for (int r = 0; r < 10; ++r) setRow(t.pileSect, r, {30.0 * r, 30.0 * r + 30, 1, 5.4e9 - 1e7 * r});
    t.boundCond.setRowCount(20);
    t.soilStrength.setRowCount(20);
    t.pyMod.setRowCount(30);
    t.surchargeTable.setRowCount(20);
    t.newSoil.setRowCount(10);
    for (int r = 0; r < 10; ++r) {
        t.newSoil.setInteger(0, r, r % 7 + 1);
        t.newSoil.setFloat(1, r, 5.0 * (r + 1));
        GridTable* parameters = t.newSoil.asTable(2, r);
        for (int c = 0; c < parameters->columnCount(); ++c)
            for (int row = 0; row < 2; ++row) parameters->setFloat(c, row, 100.0 + c + 0.123456 * row);
    }
    t.pyCurves2.setRowCount(30);
    for (int r = 0; r < 30; ++r) {
        t.pyCurves2.setInteger(0, r, 10 * r);
        GridTable* curve = t.pyCurves2.asTable(1, r);
        curve->setRowCount(17);
        for (int k = 0; k < 17; ++k) setRow(*curve, k, {0.125 * (k - 8), -37.5 * (k - 8)});
    }
    t.meiCurves2.setRowCount(20);
    for (int r = 0; r < 20; ++r) {
        setRow(t.meiCurves2, r, {15.0 * r, 15.0 * r + 15});
        GridTable* set = t.meiCurves2.asTable(2, r);
        set->setRowCount(100);
        for (int k = 0; k < 100; ++k) setRow(*set, k, {12345.678 * k, 5.4e9 - 1.2345e6 * k});
    }
}

struct LargestProject {
    fs::path dir;
    std::string fileName;
    TProgramData project;

    LargestProject() {
        dir = fs::temp_directory_path() / ("kelda-bench-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        fileName = (dir / "largest.kl4d").string();
        buildLargest(project, fileName);
        project.WriteDataFile();
        project.ApplyStageCount(5);
        project.Save();
    }
    ~LargestProject() { fs::remove_all(dir); }
};

void BM_SaveLargestProject(benchmark::State& state) {
    LargestProject largest;
    for (auto _ : state) {
        largest.project.SetModified(true);
        const FileResult r = largest.project.Save();
        if (!r) state.SkipWithError(r.message.c_str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fs::file_size(largest.fileName)));
}
BENCHMARK(BM_SaveLargestProject)->Unit(benchmark::kMillisecond);

void BM_OpenLargestProject(benchmark::State& state) {
    LargestProject largest;
    TProgramData opened;
    for (auto _ : state) {
        const FileResult r = opened.Open(largest.fileName, DataFormat::Format2013);
        if (!r || opened.StageCount != 5) state.SkipWithError("open failed");
    }
}
BENCHMARK(BM_OpenLargestProject)->Unit(benchmark::kMillisecond);

// The parts without the disk: the text of one stage block, and reading the
// whole five-stage file from memory.
void BM_WriteStageBlockText(benchmark::State& state) {
    LargestProject largest;
    for (auto _ : state) benchmark::DoNotOptimize(largest.project.StageBlockText());
}
BENCHMARK(BM_WriteStageBlockText)->Unit(benchmark::kMicrosecond);

void BM_ReadDataText(benchmark::State& state) {
    LargestProject largest;
    std::string text;
    ReadWholeFile(largest.fileName, text);
    TProgramData read;
    for (auto _ : state) read.ReadDataText(text, largest.fileName, DataFormat::Format2013);
}
BENCHMARK(BM_ReadDataText)->Unit(benchmark::kMicrosecond);

} // namespace
