#include "earth_pressure.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "run_errors.h"
#include "surcharge_pressure.h"

namespace kelda {

namespace {

constexpr std::string_view kStars = "**************************************************";

} // namespace

double waterUnitWeight(int unitSystem) {
    // 0.036 lb/in³ as the single-precision constant it always was.
    return unitSystem == 2 ? 10.0 : static_cast<double>(0.036f);
}

std::string soilBanner(std::string_view title) {
    std::string items = "/, /, 6X, \"";
    items += kStars;
    items += "\", /, 6X, \"";
    items += title;
    items += "\", /, 6X, \"";
    items += kStars;
    items += "\", /";
    return items;
}

void copyEarthPressureInput(ProblemRecord& rec) {
    SoilState& soil = rec.soil;
    const WallConfiguration& wall = rec.wall;
    soil.freeHeight = wall.freeHeight;
    soil.waterDepthBackfill = wall.waterDepthBackfill;
    soil.waterDepthExcavation = wall.waterDepthExcavation;
    soil.backfillSlopeDegrees = wall.backfillSlopeDegrees;
    soil.activeModification = wall.activeModificationFactor;
    soil.uniformSurcharge = rec.surchargeLine.uniformPressure;
    soil.currentSurcharge = currentSurchargeFromLine(rec.surchargeLine);
    soil.waterUnitWeight = waterUnitWeight(rec.control.units);

    // Of the six soil values only the top unit weight (1), cohesion (2) and
    // friction angle (3) enter the earth pressure.
    const int inputCount = std::min(rec.soilLayerCount, kMaxSoilLayers);
    for (int i = 1; i < kWorkingLayerSlots; ++i) {
        WorkingLayer& w = soil.inputLayer[static_cast<std::size_t>(i)];
        w = WorkingLayer{};
        if (i <= inputCount) {
            const SoilLayer& in = rec.soilLayers[static_cast<std::size_t>(i - 1)];
            w.thickness = in.thickness;
            w.unitWeight = in.top[0];
            w.cohesion = in.top[1];
            w.frictionAngle = in.top[2];
            w.drained = in.type == 4 || in.type == 5; // sand and silt
        } else {
            w.thickness = -1.0; // end of the profile
            w.drained = true;
        }
        w.activeFactor = soil.activeModification;
        w.passiveFactor = 1.0;
    }
}

void generateEarthPressure(Run& run) {
    // The sections are composed apart and reach the report, the notes and
    // the console only when every value in them is a number: data of absurd
    // magnitude (a unit weight of 1E300) can overflow, and the report must
    // then say so instead of printing an infinity.
    std::istringstream noData;
    std::ostringstream report, notes, console;
    Run soil(run.rec, noData, report, run.plot, notes, console);
    const auto release = [&] {
        if (!soilStateIsFinite(run.rec.soil)) {
            throw InputError::badData(
                "ERROR -- THE SOIL AND WALL DATA GIVE EARTH PRESSURES TOO LARGE TO COMPUTE");
        }
        run.notes << notes.str();
        run.report << report.str();
        run.console << console.str();
    };
    try {
        copyEarthPressureInput(run.rec);
        subdivideLayers(run.rec.soil);
        echoWallSurchargeAndSoil(soil);
        clearLayerForces(run.rec.soil);
        stressesAndCoefficients(soil);
        activeLayerForces(soil);
        writePressureTable(soil);
    } catch (const EngineStop&) {
        release();
        throw;
    } catch (const InputError&) {
        release();
        throw;
    }
    release();
    run.earthPressureTableFile.str(soil.earthPressureTableFile.str());
    run.earthPressureTableFile.clear();
}

bool soilStateIsFinite(const SoilState& soil) {
    for (int i = 1; i <= soil.layerCount + 1 && i < kWorkingLayerSlots; ++i) {
        const WorkingLayer& w = soil.layer[static_cast<std::size_t>(i)];
        for (const double v :
             {w.thickness, w.top, w.backfillStress, w.excavationStress, w.rootKa, w.ka, w.rootKp, w.kp, w.pa1,
              w.pa2, w.pa3, w.pa4, w.crackHeight, w.z1, w.z2, w.z3, w.pw1, w.pw2}) {
            if (!std::isfinite(v)) return false;
        }
    }
    const GeneratedPressure& t = soil.pressure;
    for (int i = 0; i < t.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        for (const double v : {t.depth[k], t.pressure[k], t.withoutSurcharge[k], t.surcharge[k]}) {
            if (!std::isfinite(v)) return false;
        }
    }
    return std::isfinite(soil.pressure.thrust);
}

} // namespace kelda
