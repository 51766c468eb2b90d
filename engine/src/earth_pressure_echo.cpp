// The report's wall, surcharge and soil information for generated earth
// pressure, and the two stops that follow the soil table.

#include "earth_pressure.h"
#include "line_layout.h"
#include "run_errors.h"
#include "surcharge_pressure.h"

namespace kelda {

namespace {

using layout::write;

void wallInformation(Run& run) {
    const ProblemRecord& rec = run.rec;
    const SoilState& soil = rec.soil;
    const UnitLabels& u = rec.labels;
    write(run.report, soilBanner("*                WALL INFORMATION                *"));
    write(run.report,
          "/, 6X, \"FREE HEIGHT OF WALL                    = \", E10.3, A3,"
          " /, 6X, \"WIDTH FOR EARTH PRESSURE, WA           = \", E10.3, A3,"
          " /, 6X, \"WIDTH FOR SOIL RESISTANCE, WP          = \", E10.3, A3,"
          " /, 6X, \"DEPTH TO THE WATER TABLE AT BACKFILL   = \", E10.3, A3,"
          " /, 6X, \"DEPTH TO THE WATER TABLE AT EXCAVATION = \", E10.3, A3,"
          " /, 6X, \"UNIT WEIGHT OF WATER                   = \", E10.3, A4, A1, A2, A2, A1,"
          " /, 6X, \"SLOPE OF THE BACKFILL (deg.)           = \", E10.3,"
          " /, 6X, \"MODIFICATION FOR ACTIVE EARTH PRESSURE = \", E10.3, /",
          {soil.freeHeight, u.len3, rec.wall.wa, u.len3, rec.wall.wp, u.len3, soil.waterDepthBackfill, u.len3,
           soil.waterDepthExcavation, u.len3, soil.waterUnitWeight, u.for4, "/", u.len2, "**", "3",
           soil.backfillSlopeDegrees, soil.activeModification});
}

void surchargeInformation(Run& run) {
    ProblemRecord& rec = run.rec;
    const UnitLabels& u = rec.labels;
    write(run.report, soilBanner("*              SURCHARGE INFORMATION             *"));
    write(run.report, "/, 6X, \"UNIFORM SURFACE PRESSURE     =\", E10.3, A4, A1, A2, A2, A1",
          {rec.soil.uniformSurcharge, u.for4, "/", u.len2, "**", "2"});
    CurrentSurcharge& current = rec.soil.currentSurcharge;
    for (int k = 1; k <= rec.surchargeCount && k <= kMaxSurcharges; ++k) {
        applySurchargeRecord(current, rec.surcharges[static_cast<std::size_t>(k - 1)]);
        write(run.report,
              "/, 6X, \"SURCHARGE LOADING NO.        = \", I10,"
              " /, 6X, \"POINT LOAD                   = \", E10.3, A4,"
              " /, 6X, \"LINE LOAD                    = \", E10.3, A4, A1, A2,"
              " /, 6X, \"STRIP LOAD                   = \", E10.3, A4, A1, A2, A2, A1,"
              " /, 6X, \"WIDTH OF THE STRIP LOAD      = \", E10.3, A3,"
              " /, 6X, \"HORIZONTAL DISTANCE BETWEEN  = \", E10.3, A3,"
              " /, 6X, \"THE WALL AND SURCHARGE         \", /",
              {k, current.pointLoad, u.for4, current.lineLoad, u.for4, "/", u.len2, current.stripLoad, u.for4,
               "/", u.len2, "**", "2", current.stripWidth, u.len3, current.distance, u.len3});
    }
}

// The column heading names its units in words: the SI heading for unit
// system 2, the English one otherwise.
constexpr std::string_view kSoilHeading =
    "/, 15X, \"TOTAL\", 17X, \"TOTAL UNIT\","
    " /, 7X, \"LAYER THICKNESS COHESION  PHI   WEIGHT   DRAINED  ZTOP\", /, 7X, \"NO.\", 5X, ";
constexpr std::string_view kEnglishUnitRow =
    "\"IN\", 8X, \"PSI\", 5X, \"DEG\", 5X, \"PCI\", 5X, \"T OR F\", 3X, \"IN\"";
constexpr std::string_view kSiUnitRow =
    "\"M \", 8X, \"kPa\", 5X, \"DEG\", 3X, \"kN/M^3\", 5X, \"T OR F\", 3X, \" M \"";

void soilInformation(Run& run) {
    const ProblemRecord& rec = run.rec;
    const SoilState& soil = rec.soil;
    write(run.report, soilBanner("*                SOIL INFORMATION                *"));
    std::string heading(kSoilHeading);
    heading += rec.control.units == 2 ? kSiUnitRow : kEnglishUnitRow;
    write(run.report, heading);
    write(run.console, heading);
    for (int i = 1; i <= soil.layerCount; ++i) {
        const WorkingLayer& w = soil.layer[static_cast<std::size_t>(i)];
        write(run.report, "7X, I3, F9.1, F11.1, F6.1, F9.3, 5X, L1, F10.2",
              {i, w.thickness, w.cohesion, w.frictionAngle, w.unitWeight, w.drained, w.top});
    }
}

} // namespace

void echoWallSurchargeAndSoil(Run& run) {
    wallInformation(run);
    surchargeInformation(run);
    soilInformation(run);
    const SoilState& soil = run.rec.soil;
    // No layer top at the excavation level: the excavation lies at or below
    // the bottom of the profile, and there is no soil to hold the wall.
    if (soil.dredgeLineLayer == 0) throw EngineStop{"1"};
    if (soil.layerOverflow) throw EngineStop{"2"};
}

} // namespace kelda
