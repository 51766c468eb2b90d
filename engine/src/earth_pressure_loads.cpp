#include "earth_pressure_loads.h"

#include <cmath>

#include "line_layout.h"
#include "plot_file.h"
#include "read_problem.h"
#include "run_errors.h"

namespace kelda {

namespace {

using layout::write;

void readUserPressureTable(Run& run) {
    ProblemRecord& rec = run.rec;
    EarthPressureTable& table = rec.earthPressure;
    FreeFormatReader& in = run.reader;
    in.beginRecord();
    const int count = in.readInt("THE EARTH-PRESSURE POINT COUNT");
    checkCount(run, count, kMaxPressurePoints, "THE EARTH-PRESSURE POINT COUNT");

    const UnitLabels& u = rec.labels;
    write(run.report, "( / / 6X '**************************************************'"
                      " / 6X '*        SPECIFIED ACTIVE EARTH PRESSURE         *'"
                      " / 6X '**************************************************' / )");
    write(run.report, "( / / 8X ' DEPTH         ACTIVE EARTH PRESSURE' / 8X 1X A3 17X A4 A1 A2"
                      " / 8X '--------       ------------------------' )",
          {u.len3, u.for4, "/", u.len2});
    table.count = count;
    for (int i = 0; i < count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        in.beginRecord();
        table.depth[k] = in.readReal("THE DEPTH OF AN EARTH-PRESSURE POINT");
        table.pressure[k] = in.readReal("THE EARTH PRESSURE");
        table.withoutSurcharge[k] = table.pressure[k];
        // A user table has no surcharge part unless surcharge records add one.
        table.surcharge[k] = 0.0;
        write(run.report, "( 6X E10.3 10X E10.3 )", {table.depth[k], table.pressure[k]});
    }
    table.step = 1;
    table.usedCount = count;
    table.lastPressure = 0.0;
}

void readWallConfiguration(Run& run) {
    FreeFormatReader& in = run.reader;
    WallConfiguration& w = run.rec.wall;
    in.beginRecord();
    w.freeHeight = in.readReal("THE FREE HEIGHT OF THE WALL CONFIGURATION");
    w.wa = in.readReal("THE WIDTH FOR ACTIVE EARTH PRESSURE");
    w.wp = in.readReal("THE WIDTH FOR P-Y SOIL RESISTANCE");
    w.waterDepthBackfill = in.readReal("THE WATER DEPTH AT THE BACKFILL SIDE");
    w.waterDepthExcavation = in.readReal("THE WATER DEPTH AT THE EXCAVATION SIDE");
    w.activeModificationFactor = in.readReal("THE MODIFICATION FACTOR FOR ACTIVE EARTH PRESSURE");
    w.option = in.readInt("THE WALL CONFIGURATION OPTION");
    w.backfillSlopeDegrees = in.readReal("THE BACKFILL SLOPE");
}

void readSurcharges(Run& run) {
    FreeFormatReader& in = run.reader;
    ProblemRecord& rec = run.rec;
    SurchargeLine& s = rec.surchargeLine;
    in.beginRecord();
    s.uniformPressure = in.readReal("THE UNIFORM SURCHARGE PRESSURE");
    s.distanceX = in.readReal("THE SURCHARGE DISTANCE X");
    s.pointLoad = in.readReal("THE POINT LOAD");
    s.lineLoad = in.readReal("THE LINE LOAD");
    s.stripLoad = in.readReal("THE STRIP LOAD");
    s.stripWidth = in.readReal("THE STRIP WIDTH");

    in.beginRecord();
    const int count = in.readInt("THE SURCHARGE COUNT");
    checkCount(run, count, kMaxSurcharges, "THE SURCHARGE COUNT");
    rec.surchargeCount = count;
    for (int i = 0; i < count; ++i) {
        SurchargeRecord& r = rec.surcharges[static_cast<std::size_t>(i)];
        in.beginRecord();
        r.type = in.readInt("THE SURCHARGE TYPE");
        r.magnitude = in.readReal("THE SURCHARGE MAGNITUDE");
        r.distance = in.readReal("THE SURCHARGE DISTANCE");
        r.width = in.readReal("THE SURCHARGE WIDTH");
    }
}

void readSoilLayers(Run& run) {
    FreeFormatReader& in = run.reader;
    ProblemRecord& rec = run.rec;
    in.beginRecord();
    const int count = in.readInt("THE SOIL LAYER COUNT");
    checkCount(run, count, kMaxSoilLayers, "THE SOIL LAYER COUNT");
    rec.soilLayerCount = count;
    double previousBottom = 0.0;
    for (int i = 0; i < count; ++i) {
        SoilLayer& layer = rec.soilLayers[static_cast<std::size_t>(i)];
        in.beginRecord();
        layer.type = in.readInt("THE SOIL TYPE");
        layer.bottomDepth = in.readReal("THE DEPTH OF THE LAYER BOTTOM");
        layer.thickness = layer.bottomDepth - previousBottom;
        previousBottom = layer.bottomDepth;
        in.beginRecord();
        for (double& v : layer.top) v = in.readReal("A SOIL VALUE AT THE LAYER TOP");
        in.beginRecord();
        for (double& v : layer.bottom) v = in.readReal("A SOIL VALUE AT THE LAYER BOTTOM");
    }
}

// The plot file's pressure section: the points used (every point, or every
// sixth). A pressure without surcharge of exactly zero is written as 1.0E-7,
// as the graphs have always received it.
void pressurePlotSection(Run& run) {
    const EarthPressureTable& table = run.rec.earthPressure;
    plot::integerLine(run, {table.usedCount});
    for (int i = 0; i < table.count; i += table.step) {
        const auto k = static_cast<std::size_t>(i);
        const double without = table.withoutSurcharge[k] == 0.0 ? 1.0E-7 : table.withoutSurcharge[k];
        write(run.plot, "( 4( 2X E10.3 ) )",
              {table.depth[k], table.withoutSurcharge[k] + table.surcharge[k], without, table.surcharge[k]});
    }
}

} // namespace

void addPressureStationLoads(Run& run) {
    ProblemRecord& rec = run.rec;
    const EarthPressureTable& table = rec.earthPressure;
    if (table.count <= 0) return;
    const double h = rec.solution.h;
    // Stations past NINC+3 carry nothing; loads at NINC+1 are caught by the
    // check of the data beyond the tip.
    const double lastStation = std::round(table.depth[static_cast<std::size_t>(table.count - 1)] / h);
    const int np = static_cast<int>(std::min(lastStation, static_cast<double>(rec.solution.ninc + 3)));
    double load = 0.0;
    for (int i = 1; i <= np; ++i) {
        const double x = i * h;
        for (int j = 0; j < table.count; ++j) {
            const auto k = static_cast<std::size_t>(j);
            if (x <= table.depth[k]) {
                const double d0 = j == 0 ? 0.0 : table.depth[k - 1];
                const double p0 = j == 0 ? 0.0 : table.pressure[k - 1];
                const double span = table.depth[k] - d0;
                load = span == 0.0 ? table.pressure[k] : p0 + (table.pressure[k] - p0) * (x - d0) / span;
                break;
            }
        }
        rec.q[i] += load;
    }
}

void earthPressureLoads(Run& run) {
    ProblemRecord& rec = run.rec;
    const int option = rec.control.earthPressureOption;
    if (option == 1) readUserPressureTable(run);
    if (option >= 2 || rec.control.pyOption == 2) {
        readWallConfiguration(run);
        readSurcharges(run);
        readSoilLayers(run);
    }
    if (option >= 2) {
        throw InputError::badData("ERROR -- GENERATED EARTH PRESSURE IS NOT AVAILABLE IN THIS VERSION");
    }
    if (option == 1 && rec.surchargeCount > 0) {
        throw InputError::badData("ERROR -- SURCHARGE ON A SPECIFIED EARTH PRESSURE IS NOT AVAILABLE IN THIS VERSION");
    }
    // Without a pressure option there is no pressure to load the wall with,
    // even when an earlier problem of the run had a table.
    EarthPressureTable& table = rec.earthPressure;
    if (option == 0) table.count = table.usedCount = 0;
    // Pressures become forces per station.
    for (int i = 0; i < table.count; ++i) table.pressure[static_cast<std::size_t>(i)] *= rec.solution.h;
    pressurePlotSection(run);
    addPressureStationLoads(run);
}

} // namespace kelda
