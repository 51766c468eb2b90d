#pragma once

// All data of one analysis run: the input of the current problem, the work
// arrays and results of the solution, the unit label set and the run
// counters. A run creates one record, value-initialised (every number zero),
// and passes it to every step; nothing of a run lives anywhere else, so runs
// in different threads never meet. Nothing is cleared between the problems of
// one run unless a step says so: a value that a later problem does not read
// again keeps the earlier problem's value.
//
// Capacities are fixed so that no count read from a data file can make the
// record grow; the reader rejects larger data with
// "TOO MUCH DATA FOR AVAILABLE STORAGE".

#include <array>
#include <cassert>
#include <string>
#include <vector>

#include "py_soil_state.h"
#include "soil_state.h"

namespace kelda {

// Stations -3 .. 410: the wall's stations 0..NINC plus three fictitious
// stations beyond each end, for at most 407 increments.
inline constexpr int kFirstStation = -3;
inline constexpr int kLastStation = 410;
inline constexpr int kStationSlots = kLastStation - kFirstStation + 1;
inline constexpr int kMaxIncrements = kLastStation - 3;

inline constexpr int kMaxRestraints = 20;
inline constexpr int kMaxPyModifications = 51;
inline constexpr int kMaxPressurePoints = 1200;
inline constexpr int kMaxSurcharges = 20;
inline constexpr int kMaxSoilLayers = 20;
// The store holds the user curves plus the five curves that the p-y
// generation writes for each of up to 20 layers; the curve count is checked
// against 400 before anything is stored.
inline constexpr int kMaxPyCurves = 400;
inline constexpr int kMaxPyPoints = 34;
inline constexpr int kMaxMomentEISets = 20;
inline constexpr int kMaxMomentEIPoints = 100;
// Station-table rows (stiffness, loads, springs): a wall of 407 increments
// needs at most one row per station and end; the desktop program writes far fewer.
inline constexpr int kMaxTableRows = 1000;

// A value per station, indexed by the station number itself (-3 .. 410).
template <class T>
class StationArray {
public:
    T& operator[](int station) {
        assert(station >= kFirstStation && station <= kLastStation);
        return v_[static_cast<std::size_t>(station - kFirstStation)];
    }
    const T& operator[](int station) const {
        assert(station >= kFirstStation && station <= kLastStation);
        return v_[static_cast<std::size_t>(station - kFirstStation)];
    }
    void fill(T value) { v_.fill(value); }

private:
    std::array<T, kStationSlots> v_{};
};

// Unit texts of the report headings (24 characters in all): the four unit
// slots of the current unit system, followed in every set by "/", "-", "**",
// "2", "3", "4" and "RAD".
struct UnitLabels {
    std::string len3 = "  L"; // LEN3, 3 characters
    std::string for4 = "   F"; // FOR4, 4 characters
    std::string len2 = " L";  // LEN2, 2 characters
    std::string for3 = "  F"; // FOR3, 3 characters

    static UnitLabels english() { return {" IN", " LBS", "IN", "LBS"}; }
    static UnitLabels si() { return {"  M", "  KN", " M", " KN"}; }
};

struct ControlLine {
    int units = 0;               // 1 English, 2 SI, other: labels unchanged
    int restraintCount = 0;
    int stiffnessRowCount = 0;
    int pyModificationCount = 0;
    int earthPressureOption = 0; // 0 none, 1 user-specified, 2 triangular, 3 trapezoidal
    int pyOption = 0;            // 2 generate p-y curves from the soil layers
    int userPyCurveCount = 0;
    int stageCount = 0;
    int momentEISetCount = 0;
};

struct SolutionLine {
    int ninc = 0;                    // number of increments
    double h = 0.0;                  // increment length
    double maxAllowableDeflection = 0.0;
    double closureTolerance = 0.0;
    double freeHeight = 0.0;         // wall height above the excavation level
    // derived
    double wallLength = 0.0;         // NINC·h
    double twoH = 0.0, hSquared = 0.0, hCubed = 0.0;
};

struct Restraint {
    int caseCode = 0; // 1 deflection, 2 slope, 3 both
    int station = 0;
    double deflection = 0.0;
    double slope = 0.0;
};

struct PyModification {
    double depth = 0.0, pFactor = 0.0, yFactor = 0.0;
};

// Earth-pressure table: per point the depth, the pressure and the third and
// fourth columns (pressure without and with only the surcharge part).
struct EarthPressureTable {
    int count = 0;
    int step = 1;      // every point, or every sixth in English units past 50 points
    int usedCount = 0; // points echoed and plotted
    double lastPressure = 0.0; // kept for the p-y criteria
    std::array<double, kMaxPressurePoints> depth{}, pressure{}, withoutSurcharge{}, surcharge{};
};

struct WallConfiguration {
    double freeHeight = 0.0;
    double wa = 0.0;                   // width for active earth pressure
    double wp = 0.0;                   // width for p-y soil resistance
    double waterDepthBackfill = 0.0;
    double waterDepthExcavation = 0.0;
    double activeModificationFactor = 0.0;
    int option = 0;
    double backfillSlopeDegrees = 0.0;
};

struct SurchargeLine {
    double uniformPressure = 0.0, distanceX = 0.0, pointLoad = 0.0, lineLoad = 0.0, stripLoad = 0.0,
           stripWidth = 0.0;
};

struct SurchargeRecord {
    int type = 0; // 1 point, 2 line, 3 strip
    double magnitude = 0.0, distance = 0.0, width = 0.0;
};

struct SoilLayer {
    int type = 0;              // 1 soft clay .. 7 weak rock
    double bottomDepth = 0.0;
    double thickness = 0.0;    // bottom depth minus that of the layer above
    std::array<double, 6> top{}, bottom{};
};

struct PyCurve {
    double fileDepth = 0.0; // depth as read from the p-y curve text (generated curves)
    bool generated = false;
    int firstStation = 0, lastStation = 0;
    int pointCount = 0;
    int continuation = 0; // 1: interpolate along the wall with the next curve
    std::array<double, kMaxPyPoints> y{}, p{};
};

// As read from the data file, before any processing: kept for the report echo.
struct UserPyCurveHeader {
    int station = 0, pointCount = 0;
    double pMultiplier = 0.0, yMultiplier = 0.0;
};

struct MomentEISet {
    int firstStation = 0, lastStation = 0, pointCount = 0;
    std::array<double, kMaxMomentEIPoints> moment{}, ei{};
};

struct ProblemRecord {
    // run counters
    int problemCounter = 0;
    std::string runTitle;   // title of problem 1, 70 characters padded to 80
    std::string title;      // title of the current problem
    int resultSetCount = 0;
    int continuationValue = 0;
    int stageCount = 0;
    int maxIterations = 0; // set to 100 for every problem; the data file does not change it
    // The report's two "generate" flags: set by a problem that asks for
    // generation and not set back by later problems of the run.
    int generateEarthPressureFlag = 0;
    int generatePyFlag = 0;

    UnitLabels labels;

    ControlLine control;
    SolutionLine solution;

    int restraintCount = 0;
    std::array<Restraint, kMaxRestraints> restraints{};

    // station arrays
    StationArray<double> ei, q, s, t, r, p; // p holds the axial load with its sign reversed
    StationArray<int> boundaryCode;
    // Each restraint's values bound to its own station: the deflection given
    // at a station and the slope given at a station (a later record at the
    // same station wins).
    StationArray<double> givenDeflection, givenSlope;

    // solution work arrays
    StationArray<double> y;               // deflection
    StationArray<double> qSolve, sSolve;  // Q and S plus the soil of the current iteration
    StationArray<double> coefA, coefB, coefC; // y(j) = A(j)·y(j+2) + B(j)·y(j+1) + C(j)
    StationArray<double> yAtEIUpdate;     // deflections when the moment–EI curves were last applied
    StationArray<double> moment;          // results, for the report and the plot file

    // supports, for the earth-pressure routines
    double firstSupportDepth = 0.0, lastSupportDepth = 0.0;
    bool firstSupportSet = false, lastSupportSet = false; // set by this problem's spring table
    int springRowCount = 0;

    int pyModificationCount = 0;
    std::array<PyModification, kMaxPyModifications> pyModifications{};

    EarthPressureTable earthPressure;
    WallConfiguration wall;
    SurchargeLine surchargeLine;
    int surchargeCount = 0;
    std::array<SurchargeRecord, kMaxSurcharges> surcharges{};
    int soilLayerCount = 0;
    std::array<SoilLayer, kMaxSoilLayers> soilLayers{};

    // p-y curve store; p values are forces per station (multiplied by h)
    double pyMultiplierP = 1.0, pyMultiplierY = 1.0; // reset to 1 for each problem
    // The two curve tables are sized for the problem at hand, never beyond
    // kMaxPyCurves (the count is checked first), so that a run without
    // curves does not clear a quarter of a megabyte.
    int userPyCurveHeaderCount = 0;
    std::vector<UserPyCurveHeader> userPyCurveHeaders;
    int pyCurveCount = 0;
    std::vector<PyCurve> pyCurves;

    int momentEISetCount = 0;
    std::array<MomentEISet, kMaxMomentEISets> momentEISets{};

    // working data of the soil routines
    SoilState soil;
    PySoilState pySoil;
    // Effective vertical stress of the backfill at the excavation level, left
    // by the earth-pressure routines for the offset force of the p-y curves.
    double backfillStressAtExcavation = 0.0;

    // Results of the last problem solved, for the plot file: stations 0 to
    // NINC+1 (NINC+2 rows); zero rows until a problem has been solved.
    int resultRowCount = 0;
    int resultUnits = 0;
    std::array<double, kStationSlots> resultDepth{}, resultDeflection{}, resultMoment{}, resultShear{},
        resultReaction{};
};

} // namespace kelda
