#pragma once

// A problem record with a backfill profile, set up in code, and a run around
// it whose streams are held in memory: for driving the earth-pressure
// generation step by step or whole.

#include <memory>
#include <sstream>
#include <string>

#include "earth_pressure.h"

namespace kelda::test {

struct PressureProblem {
    std::unique_ptr<ProblemRecord> rec = std::make_unique<ProblemRecord>();
    std::istringstream data;
    std::ostringstream report, plot, notes, console;
    Run run{*rec, data, report, plot, notes, console};

    // SI units by default (metres, kN): one point per metre.
    // The run refers to the members: the fixture stays where it was made.
    PressureProblem(const PressureProblem&) = delete;
    PressureProblem& operator=(const PressureProblem&) = delete;

    explicit PressureProblem(double freeHeight, int units = 2, int option = 2) {
        rec->control.units = units;
        rec->control.earthPressureOption = option;
        rec->labels = units == 1 ? UnitLabels::english() : UnitLabels::si();
        rec->wall.freeHeight = freeHeight;
        rec->wall.wa = 1.0;
        rec->wall.wp = 1.0;
        rec->wall.waterDepthBackfill = 1000.0; // dry unless a test says otherwise
        rec->wall.waterDepthExcavation = 1000.0;
        rec->wall.activeModificationFactor = 1.0;
        rec->solution.freeHeight = freeHeight;
    }

    PressureProblem& layer(int type, double bottom, double unitWeight, double cohesion,
                           double frictionAngle) {
        const int n = rec->soilLayerCount++;
        SoilLayer& l = rec->soilLayers[static_cast<std::size_t>(n)];
        l.type = type;
        l.bottomDepth = bottom;
        l.thickness = bottom - (n == 0 ? 0.0 : rec->soilLayers[static_cast<std::size_t>(n - 1)].bottomDepth);
        l.top = {unitWeight, cohesion, frictionAngle, 0.0, 0.0, 0.0};
        l.bottom = l.top;
        return *this;
    }
    PressureProblem& sand(double bottom, double unitWeight, double frictionAngle) {
        return layer(4, bottom, unitWeight, 0.0, frictionAngle);
    }
    PressureProblem& clay(double bottom, double unitWeight, double cohesion) {
        return layer(3, bottom, unitWeight, cohesion, 0.0);
    }

    void generate() { generateEarthPressure(run); }

    [[nodiscard]] const SoilState& soil() const { return rec->soil; }
    [[nodiscard]] const WorkingLayer& workingLayer(int i) const {
        return rec->soil.layer[static_cast<std::size_t>(i)];
    }
};

} // namespace kelda::test
