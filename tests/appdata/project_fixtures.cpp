#include "project_fixtures.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include <unistd.h>

namespace kelda::data::testing {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kelda-data-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

void SetRow(GridTable& table, int row, const std::vector<double>& values) {
    for (int c = 0; c < table.columnCount() && c < static_cast<int>(values.size()); ++c) {
        if (table.column(c).kind == ColumnKind::Table) continue;
        table.setFloat(c, row, values[static_cast<std::size_t>(c)]);
    }
}

namespace {

void setCurve(GridTable& curve, const std::vector<std::pair<double, double>>& points) {
    curve.setRowCount(static_cast<int>(points.size()));
    for (int i = 0; i < curve.rowCount(); ++i) SetRow(curve, i, {points[static_cast<std::size_t>(i)].first,
                                                                 points[static_cast<std::size_t>(i)].second});
}

// Sets a layer's type, bottom depth and both rows of its parameter table.
void setLayer(GridTable& soil, int row, int type, double bottom, const std::vector<double>& top,
              const std::vector<double>& bottomValues) {
    soil.setInteger(0, row, type);
    soil.setFloat(1, row, bottom);
    GridTable* parameters = soil.asTable(2, row);
    SetRow(*parameters, 0, top);
    SetRow(*parameters, 1, bottomValues);
}

} // namespace

void BuildMinimal(TProgramData& p) {
    p.NewProject();
    p.GeneratePY = false;
    p.Increments = 10;
    p.IncrementLength = 12;
    SetRow(p.Tables().pileSect, 0, {0, 10, 1, 1e9});
}

void BuildEveryRecord(TProgramData& p) {
    p.NewProject();
    ProjectTables& t = p.Tables();
    p.SetTitle("Tied-back wall, every record");
    p.Increments = 40;
    p.IncrementLength = 6;
    p.MaxDeflection = 10;
    p.Tolerance = 0.00001;
    p.FreeHeight = 180;
    p.UseRestraints = true;
    SetRow(t.soillayer, 0, {1, 0, 0.5, 0});
    t.pileSect.setRowCount(2);
    SetRow(t.pileSect, 0, {0, 20, 1, 5.4e9});
    SetRow(t.pileSect, 1, {20, 40, 2, 4.8e9}); // the writer turns the last mode into 1
    p.UseConcentratedLoads = true;
    SetRow(t.boundCond, 0, {1, 0, 0, 1000, 0, 500});
    p.UseSprings = true;
    SetRow(t.soilStrength, 0, {1, 6, 6, 20000, 0});
    p.UsePYMod = true;
    SetRow(t.pyMod, 0, {0, 1, 1});
    SetRow(t.pyMod, 1, {15, 0.8, 0.9});
    p.EarthPressureChoice = 1;
    p.UserPressure = true;
    SetRow(t.distLoad, 0, {0, 0});
    SetRow(t.distLoad, 1, {15, 600});
    p.GeneratePY = true;
    p.ActiveWidth = 12;
    p.PYWidth = 12;
    p.WaterDepthBackfill = 120;
    p.WaterDepthExcavation = 180;
    p.UniformSurcharge = 0.5;
    p.UseSurcharge = true;
    SetRow(t.surchargeTable, 0, {3, 3.5, 96, 48});
    t.newSoil.setRowCount(2);
    setLayer(t.newSoil, 0, 4, 12, {120, 32, 90}, {120, 32, 90});
    setLayer(t.newSoil, 1, 3, 40, {120, 792, 0.007, 500}, {125, 864, 0.005, 1000});
    p.UseExternalPY = true;
    t.pyCurves2.setRowCount(1);
    SetRow(t.pyCurves2, 0, {30, 0, 1.5, 0.75});
    setCurve(*t.pyCurves2.asTable(1, 0), {{-2, 600}, {-0.2, 350}, {0, 0}, {0.2, -350}, {2, -600}});
    p.UseEICurves = true;
    t.meiCurves2.setRowCount(1);
    SetRow(t.meiCurves2, 0, {0, 40});
    setCurve(*t.meiCurves2.asTable(2, 0), {{0, 5.4e9}, {1e6, 5e9}, {2e6, 4e9}});
}

void BuildSI(TProgramData& p) {
    p.NewProject();
    ProjectTables& t = p.Tables();
    p.SetUnits(2);
    p.SetTitle("Cantilever in SI, silt over rock");
    p.Increments = 30;
    p.IncrementLength = 0.2;
    p.MaxDeflection = 2.5;
    p.Tolerance = 0.000012345;
    p.FreeHeight = 2.4;
    SetRow(t.pileSect, 0, {0, 30, 1, 60000});
    p.EarthPressureChoice = 2;
    p.GeneratedPressure = true;
    p.GeneratePY = true;
    p.ActiveWidth = 0.6;
    p.PYWidth = 0.6;
    p.WaterDepthBackfill = 1.5;
    p.WaterDepthExcavation = 2.4;
    p.PressureFactor = 0.9;
    p.BackfillSlope = 10;
    p.UseSurcharge = true;
    SetRow(t.surchargeTable, 0, {1, 20, 1500, 0}); // 1.5 m behind the wall, shown in mm
    t.newSoil.setRowCount(3);
    setLayer(t.newSoil, 0, 5, 3, {18, 30, 10, 0.01, 30000}, {18.5, 32, 12, 0.01, 35000});
    setLayer(t.newSoil, 1, 7, 5, {22, 5000, 0.0005, 200000, 50}, {22, 5500, 0.0005, 220000, 60});
    setLayer(t.newSoil, 2, 6, 8, {24, 20000}, {24, 20000});
}

void BuildOtherUnits(TProgramData& p) {
    p.NewProject();
    ProjectTables& t = p.Tables();
    p.SetUnits(3);
    p.SetTitle("Anchored wall in other units");
    p.Increments = 20;
    p.IncrementLength = 0.5;
    p.FreeHeight = 4;
    p.MaxDeflection = 1;
    SetRow(t.pileSect, 0, {0, 20, 1, 25000});
    p.UseSprings = true;
    SetRow(t.soilStrength, 0, {1, 2, 2, 5000, 0});
    p.EarthPressureChoice = 3;
    p.GeneratedPressure = true;
    p.GeneratePY = false;
    p.ActiveWidth = 1;
    p.PYWidth = 1;
    p.WaterDepthBackfill = 20;
    p.WaterDepthExcavation = 20;
    setLayer(t.newSoil, 0, 4, 12, {18, 34, 20000}, {19, 34, 25000});
}

void BuildGeneratedCurvesOnly(TProgramData& p) {
    p.NewProject();
    p.Increments = 20;
    p.IncrementLength = 12;
    p.FreeHeight = 120;
    p.ActiveWidth = 24;
    p.PYWidth = 24;
    p.WaterDepthBackfill = 480;
    p.WaterDepthExcavation = 480;
    SetRow(p.Tables().pileSect, 0, {0, 20, 1, 2e9});
    setLayer(p.Tables().newSoil, 0, 4, 30, {115, 33, 60}, {115, 33, 60});
}

void BuildLongTerm(TProgramData& p) {
    p.NewProject();
    ProjectTables& t = p.Tables();
    p.SetUnits(2);
    p.SetTitle("Cantilever in clay, short term and long term, 4 m cut");
    p.Increments = 40;
    p.IncrementLength = 0.25;
    p.MaxDeflection = 0.5;
    p.FreeHeight = 4;
    SetRow(t.pileSect, 0, {0, 40, 1, 90000});
    p.UseSprings = true; // the anchor of the trapezoidal distribution
    SetRow(t.soilStrength, 0, {1, 4, 4, 5000, 0});
    p.EarthPressureChoice = 3;
    p.GeneratedPressure = true;
    p.GeneratePY = true;
    p.ActiveWidth = 1;
    p.PYWidth = 1;
    p.WaterDepthBackfill = 4;
    p.WaterDepthExcavation = 4;
    setLayer(t.newSoil, 0, 2, 12, {18, 40, 0.01, 50000}, {18, 60, 0.007, 80000});
    p.LongTerm = true;
    setLayer(t.longSoil, 0, 4, 12, {18, 28, 20000}, {18, 30, 25000});
    t.longDist.setRowCount(2);
    SetRow(t.longDist, 1, {10, 5});
}

std::vector<Fixture> SingleStageFixtures() {
    return {{"Minimal", BuildMinimal},
            {"EveryRecord", BuildEveryRecord},
            {"SI", BuildSI},
            {"OtherUnits", BuildOtherUnits},
            {"GeneratedCurvesOnly", BuildGeneratedCurvesOnly},
            {"LongTerm", BuildLongTerm}};
}

} // namespace kelda::data::testing
