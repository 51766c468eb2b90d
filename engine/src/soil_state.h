#pragma once

// Working data of the soil routines (earth and water pressures, surcharges,
// p-y curve generation) that lives in the problem record between their steps.
// Every table has a fixed size: no count read from a data file makes it grow.

#include <array>

namespace kelda {

// The backfill profile is split at the excavation level and at the backfill
// water table, so 20 working layers leave room for 18 input layers and both
// splits. Layers are numbered from 1 as in the report; slot count+1 holds
// only the top of the layer after the last one (the bottom of the profile).
inline constexpr int kMaxWorkingLayers = 20;
inline constexpr int kWorkingLayerSlots = kMaxWorkingLayers + 2;

// Room of the generated earth-pressure table: about one point per inch (or
// metre) of retained height, the same room the run driver has for it.
inline constexpr int kMaxGeneratedPressurePoints = 1200;

// The point, line and strip load that the layer forces use: seeded from the
// single surcharge of the surcharge line, then replaced by each surcharge
// record in turn as the records are echoed (so it ends as the last record).
struct CurrentSurcharge {
    double pointLoad = 0.0; // force
    double lineLoad = 0.0;  // force per length of wall
    double stripLoad = 0.0; // pressure
    double distance = 0.0;  // from the wall (to the centre line of a strip)
    double stripWidth = 0.0;
};

struct WorkingLayer {
    double thickness = 0.0;
    double cohesion = 0.0;      // cohesive strength, or compressive strength of rock
    double frictionAngle = 0.0; // degrees
    double unitWeight = 0.0;    // total unit weight
    bool drained = false;       // sand and silt
    double top = 0.0;           // depth of the top of the layer
    double activeFactor = 0.0;  // modification factor for active pressure (MODA)
    double passiveFactor = 0.0;
    bool submerged = false; // top at or below the backfill water table

    double backfillStress = 0.0; // effective vertical stress at the top, backfill side
    double excavationStress =
        0.0; // the same on the excavation side (layers at and below the excavation level)
    double rootKa = 0.0, ka = 0.0; // active coefficient and its square root
    double rootKp = 0.0, kp = 0.0; // passive coefficient and its square root

    // Active forces per unit width of wall: PA1 from the stress at the top
    // and the surcharge, PA2 from the soil's own weight, PA3 from cohesion
    // (negative), PA4 the triangle below a tension crack; their lines of
    // action Z1, Z2 and Z3.
    double pa1 = 0.0, pa2 = 0.0, pa3 = 0.0, pa4 = 0.0;
    double crackHeight = 0.0; // height of the part below the crack tip that is in compression
    double z1 = 0.0, z2 = 0.0, z3 = 0.0;
    // Water forces of the layer, held with negative sign.
    double pw1 = 0.0, pw2 = 0.0;
    std::array<double, 3> passiveForce{};
};

// The earth-pressure table as generated: depth, total pressure, pressure
// without the surcharge part, surcharge part; per unit area.
struct GeneratedPressure {
    int count = 0;
    std::array<double, kMaxGeneratedPressurePoints> depth{}, pressure{}, withoutSurcharge{}, surcharge{};
    double thrust = 0.0; // area of the pressure diagram taken with unit spacing
};

struct SoilState {
    // Copies of the wall and surcharge data for the current problem.
    double freeHeight = 0.0;           // H, depth of the excavation level
    double waterDepthBackfill = 0.0;   // DWB
    double waterDepthExcavation = 0.0; // DWE
    double uniformSurcharge = 0.0;     // QS
    double waterUnitWeight = 0.0;      // GAMW
    double backfillSlopeDegrees = 0.0; // BETA
    double activeModification = 0.0;   // MODA
    CurrentSurcharge currentSurcharge;

    // The input layers as copied for the subdivision, slots 1..21; a
    // negative thickness marks the end.
    std::array<WorkingLayer, kWorkingLayerSlots> inputLayer{};

    // Working layer table, slots 1..layerCount (slot 0 unused).
    int layerCount = 0;         // NLN
    int dredgeLineLayer = 0;    // first layer below the excavation level; 0: none
    int waterTableLayer = 0;    // first layer below the backfill water table; 0: none
    bool layerOverflow = false; // more than kMaxWorkingLayers would be needed
    std::array<WorkingLayer, kWorkingLayerSlots> layer{};

    GeneratedPressure pressure;
};

} // namespace kelda
