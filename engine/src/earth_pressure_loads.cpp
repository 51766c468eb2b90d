#include "earth_pressure_loads.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>
#include <string_view>
#include <system_error>

#include "earth_pressure.h"
#include "line_layout.h"
#include "plot_file.h"
#include "read_problem.h"
#include "run_errors.h"
#include "surcharge_pressure.h"

namespace kelda {

namespace {

using layout::write;

// The pressure heading shared by a user table and a generated one.
void pressureHeading(Run& run) {
    const UnitLabels& u = run.rec.labels;
    write(run.report,
          "( / / 8X ' DEPTH         ACTIVE EARTH PRESSURE' / 8X 1X A3 17X A4 A1 A2"
          " / 8X '--------       ------------------------' )",
          {u.len3, u.for4, "/", u.len2});
}

void readUserPressureTable(Run& run) {
    ProblemRecord& rec = run.rec;
    EarthPressureTable& table = rec.earthPressure;
    FreeFormatReader& in = run.reader;
    in.beginRecord();
    const int count = in.readInt("THE EARTH-PRESSURE POINT COUNT");
    checkCount(run, count, kMaxPressurePoints, "THE EARTH-PRESSURE POINT COUNT");

    write(run.report, "( / / 6X '**************************************************'"
                      " / 6X '*        SPECIFIED ACTIVE EARTH PRESSURE         *'"
                      " / 6X '**************************************************' / )");
    pressureHeading(run);
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

// The generated table echoed: the points used, pressures times WA.
void generatedPressureEcho(Run& run) {
    const EarthPressureTable& table = run.rec.earthPressure;
    pressureHeading(run);
    for (int i = 0; i < table.count; i += table.step) {
        const auto k = static_cast<std::size_t>(i);
        write(run.report, "( 6X E10.3 10X E10.3 )", {table.depth[k], table.pressure[k]});
    }
}

// Surcharge records on a user-specified pressure: the lateral pressure of
// the records at each point's depth, times WA, is the fourth column and is
// added to the pressure as read.
void addSurchargeToUserPressure(Run& run) {
    ProblemRecord& rec = run.rec;
    EarthPressureTable& table = rec.earthPressure;
    // Without generated pressure the formulas take the free height of the
    // solution line as their reference length.
    const double freeHeight = rec.solution.freeHeight;
    for (int i = 0; i < table.count; ++i) {
        const auto k = static_cast<std::size_t>(i);
        table.surcharge[k] = rec.wall.wa * surchargePressureAt(rec, freeHeight, table.depth[k]);
        table.pressure[k] = table.withoutSurcharge[k] + table.surcharge[k];
        // A free height vanishingly small against the distances of the
        // loads overflows the formulas.
        if (!std::isfinite(table.pressure[k])) {
            throw InputError::badData(
                "ERROR -- THE SURCHARGE PRESSURE CANNOT BE COMPUTED FOR THIS FREE HEIGHT");
        }
    }
}

// The plot file's pressure section: the points used (every point, or every
// sixth), the total pressure per unit length of wall, the part without
// surcharge and the surcharge part. A pressure without surcharge of exactly
// zero is written as 1.0E-7, as the graphs have always received it.
void pressurePlotSection(Run& run) {
    const EarthPressureTable& table = run.rec.earthPressure;
    plot::integerLine(run, {table.usedCount});
    for (int i = 0; i < table.count; i += table.step) {
        const auto k = static_cast<std::size_t>(i);
        const double without = table.withoutSurcharge[k] == 0.0 ? 1.0E-7 : table.withoutSurcharge[k];
        write(run.plot, "( 4( 2X E10.3 ) )",
              {table.depth[k], table.pressure[k], without, table.surcharge[k]});
    }
}

// One real of the table text as a formatted write puts it: a plain or
// exponent number, where an exponent of three digits stands without its
// letter (0.123+100); D is taken for E.
bool parseTableReal(std::string_view token, double& value) {
    std::array<char, 48> text{};
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    if (token.empty() || token.size() + 1 > text.size()) return false;
    std::size_t n = 0;
    bool exponentLetter = false;
    for (std::size_t i = 0; i < token.size(); ++i) {
        char c = token[i];
        if (c == 'D' || c == 'd') c = 'E';
        if (c == 'E' || c == 'e') exponentLetter = true;
        if ((c == '+' || c == '-') && i > 0 && !exponentLetter) text[n++] = 'E';
        text[n++] = c;
        if (n + 1 >= text.size()) return false;
    }
    const auto result = std::from_chars(text.data(), text.data() + n, value);
    return result.ec == std::errc() && result.ptr == text.data() + n && std::isfinite(value);
}

// The next item of a line of the table text; items are separated by blanks,
// TABs or commas.
std::string_view nextItem(std::string_view& line) {
    const auto isSeparator = [](char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r'; };
    std::size_t b = 0;
    while (b < line.size() && isSeparator(line[b])) ++b;
    std::size_t e = b;
    while (e < line.size() && !isSeparator(line[e])) ++e;
    const std::string_view item = line.substr(b, e - b);
    line.remove_prefix(e);
    return item;
}

[[noreturn]] void unreadableTable(std::string_view what) {
    throw InputError::badData("ERROR -- THE EARTH-PRESSURE TABLE CANNOT BE READ BACK: " + std::string(what));
}

} // namespace

void readGeneratedPressureTable(Run& run) {
    ProblemRecord& rec = run.rec;
    EarthPressureTable& table = rec.earthPressure;
    std::istream& in = run.earthPressureTableFile;
    in.clear();
    in.seekg(0);
    std::string line;
    if (!std::getline(in, line)) unreadableTable("THE POINT COUNT IS MISSING");
    std::string_view first(line);
    const std::string_view countText = nextItem(first);
    long long count = 0;
    const auto parsed = std::from_chars(countText.data(), countText.data() + countText.size(), count);
    if (countText.empty() || parsed.ec != std::errc() || parsed.ptr != countText.data() + countText.size()) {
        unreadableTable("THE POINT COUNT IS MISSING");
    }
    if (count < 0) unreadableTable("THE POINT COUNT IS NEGATIVE");
    if (count > kMaxPressurePoints) {
        throw InputError::tooMuchData("THE EARTH-PRESSURE TABLE HAS " + std::to_string(count) +
                                      " POINTS, AT MOST " + std::to_string(kMaxPressurePoints) +
                                      " CAN BE HELD");
    }
    const double wa = rec.wall.wa;
    for (long long i = 0; i < count; ++i) {
        // A record starts on a new line and may continue over lines.
        std::array<double, 4> v{};
        std::size_t got = 0;
        while (got < v.size()) {
            if (!std::getline(in, line)) unreadableTable("IT ENDS BEFORE POINT " + std::to_string(i + 1));
            std::string_view rest(line);
            for (std::string_view item = nextItem(rest); got < v.size() && !item.empty();
                 item = nextItem(rest)) {
                if (!parseTableReal(item, v[got])) {
                    unreadableTable("POINT " + std::to_string(i + 1) + " HOLDS \"" + std::string(item) +
                                    "\"");
                }
                ++got;
            }
        }
        const auto k = static_cast<std::size_t>(i);
        table.depth[k] = v[0];
        table.pressure[k] = v[1] * wa;
        table.withoutSurcharge[k] = v[2] * wa;
        table.surcharge[k] = v[3] * wa;
        if (!std::isfinite(table.pressure[k]) || !std::isfinite(table.withoutSurcharge[k]) ||
            !std::isfinite(table.surcharge[k])) {
            throw InputError::badData("ERROR -- THE SOIL AND WALL DATA GIVE EARTH PRESSURES TOO LARGE TO COMPUTE");
        }
    }
    table.count = static_cast<int>(count);
    // English tables hold a point per inch: past 50 points the echo and the
    // graphs take every sixth (points 1, 7, 13, ...).
    if (rec.control.units == 1 && table.count > 50) {
        table.step = 6;
        table.usedCount = (table.count + 5) / 6;
    } else {
        table.step = 1;
        table.usedCount = table.count;
    }
    table.lastPressure = table.count > 0 ? table.pressure[static_cast<std::size_t>(table.count - 1)] : 0.0;
}

void addPressureStationLoads(Run& run) {
    ProblemRecord& rec = run.rec;
    const EarthPressureTable& table = rec.earthPressure;
    if (table.count <= 0) return;
    const double h = rec.solution.h;
    // Stations past NINC+3 carry nothing; loads at NINC+1 are caught by the
    // check of the data beyond the tip. A depth near the largest number gives
    // an infinite station, clamped before it becomes an integer.
    const double lastStation = std::round(table.depth[static_cast<std::size_t>(table.count - 1)] / h);
    const int np = static_cast<int>(std::clamp(lastStation, 0.0, static_cast<double>(rec.solution.ninc + 3)));
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
    EarthPressureTable& table = rec.earthPressure;
    if (option >= 2) {
        generateEarthPressure(run);
        readGeneratedPressureTable(run);
        generatedPressureEcho(run);
    } else if (option == 1 && rec.surchargeCount > 0) {
        addSurchargeToUserPressure(run);
    } else if (option == 0) {
        // Without a pressure option there is no pressure to load the wall
        // with, even when an earlier problem of the run had a table.
        table.count = table.usedCount = 0;
    }
    pressurePlotSection(run);
    // Pressures become forces per station.
    for (int i = 0; i < table.count; ++i) table.pressure[static_cast<std::size_t>(i)] *= rec.solution.h;
    addPressureStationLoads(run);
}

} // namespace kelda
