#include "read_problem.h"

#include <cmath>

#include "earth_pressure_loads.h"
#include "plot_file.h"
#include "py_curve_store.h"
#include "report_blocks.h"
#include "run_errors.h"
#include "station_tables.h"

namespace kelda {

void checkCount(Run& run, int count, int capacity, std::string_view what, long line) {
    if (line == 0) line = run.reader.lineNumber();
    if (count < 0) {
        throw InputError::badData(dataFileLineMessage(line, std::string(what) +
                                                                                   " MUST NOT BE NEGATIVE, FOUND " +
                                                                                   std::to_string(count)));
    }
    if (count > capacity) {
        throw InputError::tooMuchData(dataFileLineMessage(line,
                                                          std::string(what) + " IS " + std::to_string(count) +
                                                              ", AT MOST " + std::to_string(capacity) +
                                                              " CAN BE HELD")
                                          .substr(9)); // drop "ERROR -- ": the banner line says it
    }
}

void checkStation(Run& run, int station, std::string_view what) {
    const int last = run.rec.solution.ninc + 3;
    if (station < kFirstStation || station > last) {
        throw InputError::badData(dataFileLineMessage(
            run.reader.lineNumber(), std::string(what) + " " + std::to_string(station) +
                                         " LIES OUTSIDE THE WALL (STATIONS -3 TO " + std::to_string(last) + ")"));
    }
}

void readControlLine(Run& run) {
    FreeFormatReader& in = run.reader;
    ControlLine& c = run.rec.control;
    in.beginRecord();
    c.units = in.readInt("THE UNIT SYSTEM");
    c.restraintCount = in.readInt("THE RESTRAINT COUNT");
    c.stiffnessRowCount = in.readInt("THE WALL STIFFNESS ROW COUNT");
    c.pyModificationCount = in.readInt("THE P-Y MODIFICATION COUNT");
    c.earthPressureOption = in.readInt("THE EARTH-PRESSURE OPTION");
    c.pyOption = in.readInt("THE P-Y OPTION");
    c.userPyCurveCount = in.readInt("THE USER P-Y CURVE COUNT");
    c.stageCount = in.readInt("THE NUMBER OF CONSTRUCTION STAGES");
    c.momentEISetCount = in.readInt("THE MOMENT-EI SET COUNT");
    run.controlLine = in.lineNumber();

    if (c.units == 1) run.rec.labels = UnitLabels::english();
    if (c.units == 2) run.rec.labels = UnitLabels::si();
    // The report's generate flags stay set once a problem of the run asked.
    if (c.earthPressureOption > 1) run.rec.generateEarthPressureFlag = 1;
    if (c.pyOption == 2) run.rec.generatePyFlag = 1;
}

namespace {

void readSolutionLine(Run& run) {
    FreeFormatReader& in = run.reader;
    SolutionLine& s = run.rec.solution;
    in.beginRecord();
    s.ninc = in.readInt("THE NUMBER OF INCREMENTS");
    const long nincLine = in.lineNumber();
    s.h = in.readReal("THE INCREMENT LENGTH");
    const long hLine = in.lineNumber();
    s.maxAllowableDeflection = in.readReal("THE MAXIMUM ALLOWABLE DEFLECTION");
    s.closureTolerance = in.readReal("THE DEFLECTION CLOSURE TOLERANCE");
    s.freeHeight = in.readReal("THE FREE HEIGHT");

    if (s.ninc < 1) {
        throw InputError::badData(dataFileLineMessage(
            nincLine, "THE NUMBER OF INCREMENTS MUST BE AT LEAST 1, FOUND " + std::to_string(s.ninc)));
    }
    if (s.ninc > kMaxIncrements) {
        throw InputError::tooMuchData("DATA FILE LINE " + std::to_string(nincLine) + ": " + std::to_string(s.ninc) +
                                      " INCREMENTS, AT MOST " + std::to_string(kMaxIncrements) + " CAN BE HELD");
    }
    if (!(s.h > 0.0)) {
        throw InputError::badData(dataFileLineMessage(hLine, "THE INCREMENT LENGTH MUST BE POSITIVE"));
    }
    s.wallLength = s.ninc * s.h;
    s.twoH = 2.0 * s.h;
    s.hSquared = s.h * s.h;
    s.hCubed = s.h * s.h * s.h;
    if (!std::isfinite(s.wallLength) || !std::isfinite(s.hCubed)) {
        throw InputError::badData(
            dataFileLineMessage(hLine, "THE INCREMENT LENGTH IS TOO LARGE FOR THE WALL TO BE ANALYSED"));
    }
}

// Every station starts free; each restraint sets the codes around its station.
void readRestraints(Run& run) {
    ProblemRecord& rec = run.rec;
    FreeFormatReader& in = run.reader;
    const int count = rec.control.restraintCount;
    rec.boundaryCode.fill(1);
    rec.givenDeflection.fill(0.0);
    rec.givenSlope.fill(0.0);
    if (count > kMaxRestraints) throw InputError::tooMuchData();
    checkCount(run, count, kMaxRestraints, "THE RESTRAINT COUNT", run.controlLine);
    rec.restraintCount = count;
    if (count > 0) report::restraintsBanner(run);
    int previousStation = -1;
    for (int k = 0; k < count; ++k) {
        Restraint& r = rec.restraints[static_cast<std::size_t>(k)];
        in.beginRecord();
        r.caseCode = in.readInt("THE RESTRAINT CASE");
        r.station = in.readInt("THE RESTRAINT STATION");
        const long stationLine = in.lineNumber();
        r.deflection = in.readReal("THE SPECIFIED DEFLECTION");
        r.slope = in.readReal("THE SPECIFIED SLOPE");
        report::restraintLine(run, r);
        if (r.station < previousStation) throw InputError::stationsNotInOrder();
        if (r.station > rec.solution.ninc + 1) {
            throw InputError::badData(dataFileLineMessage(
                stationLine, "THE RESTRAINT STATION " + std::to_string(r.station) +
                                 " LIES OUTSIDE THE WALL (STATIONS -1 TO " + std::to_string(rec.solution.ninc + 1) +
                                 ")"));
        }
        previousStation = r.station;
        const int s = r.station;
        if (r.caseCode >= 2 && (s < 0 || s > rec.solution.ninc)) {
            // The slope condition is written at the stations on either side,
            // and both must take part in the solution.
            throw InputError::badData(dataFileLineMessage(
                stationLine, "A SLOPE CAN BE SPECIFIED AT STATIONS 0 TO " + std::to_string(rec.solution.ninc) +
                                 " ONLY, FOUND STATION " + std::to_string(s)));
        }
        if (r.caseCode <= 1) {
            rec.boundaryCode[s] = 2; // deflection given at s
            rec.givenDeflection[s] = r.deflection;
        } else if (r.caseCode == 2) {
            rec.boundaryCode[s - 1] = 3; // slope given at s
            rec.boundaryCode[s + 1] = 5;
            rec.givenSlope[s] = r.slope;
        } else {
            rec.boundaryCode[s - 1] = 3; // deflection and slope given at s
            rec.boundaryCode[s] = 4;
            rec.boundaryCode[s + 1] = 5;
            rec.givenDeflection[s] = r.deflection;
            rec.givenSlope[s] = r.slope;
        }
    }
    if (count == 0) report::emptyTable(run);
}

void clearStationArrays(ProblemRecord& rec) {
    rec.ei.fill(0.0);
    rec.q.fill(0.0);
    rec.s.fill(0.0);
    rec.t.fill(0.0);
    rec.r.fill(0.0);
    rec.p.fill(0.0);
}

// The stations a record uses: the from station starts a run or a constant
// record; the to station ends every record. Checked before anything is added.
void checkRecordStations(Run& run, int recordCase, int from, int to) {
    if (recordCase == 1 || recordCase == 2) checkStation(run, from, "THE FROM STATION");
    checkStation(run, to, "THE TO STATION");
}

// The EI shown beside a load or spring row: that of its from station, or 0
// when the row continues a run and its (unused) from station is off the wall.
double eiAtStation(const ProblemRecord& rec, int station) {
    return (station >= kFirstStation && station <= rec.solution.ninc + 3) ? rec.ei[station] : 0.0;
}

void checkMode(Run& run, int mode) {
    if (mode != 1 && mode != 2) {
        throw InputError::badData(dataFileLineMessage(
            run.reader.lineNumber(),
            "THE MODE MUST BE 1 (CONSTANT) OR 2 (INTERPOLATED), FOUND " + std::to_string(mode)));
    }
}

void readStiffnessTable(Run& run) {
    ProblemRecord& rec = run.rec;
    FreeFormatReader& in = run.reader;
    StationTable<1> table({&rec.ei});
    int previousC = 0;
    for (int k = 0; k < rec.control.stiffnessRowCount; ++k) {
        in.beginRecord();
        const int from = in.readInt("THE FROM STATION OF A WALL STIFFNESS ROW");
        const int to = in.readInt("THE TO STATION OF A WALL STIFFNESS ROW");
        const int mode = in.readInt("THE MODE OF A WALL STIFFNESS ROW");
        checkMode(run, mode);
        const double ei = in.readReal("THE FLEXURAL RIGIDITY");
        checkRecordStations(run, stationRecordCase(previousC, mode - 1), from, to);
        const int recordCase = table.add(from, to, mode, {ei});
        previousC = mode - 1;
        report::stationTableLine(run, recordCase, from, to, mode - 1, {ei, 0, 0, 0, 0, 0});
    }
}

void readLoadTable(Run& run) {
    ProblemRecord& rec = run.rec;
    FreeFormatReader& in = run.reader;
    in.beginRecord();
    const int count = in.readInt("THE CONCENTRATED LOAD COUNT");
    checkCount(run, count, kMaxTableRows, "THE CONCENTRATED LOAD COUNT");
    StationTable<3> table({&rec.q, &rec.t, &rec.p});
    int previousC = 0;
    for (int k = 0; k < count; ++k) {
        in.beginRecord();
        // The mode stands first in a load row.
        const int mode = in.readInt("THE MODE OF A LOAD ROW");
        checkMode(run, mode);
        const int from = in.readInt("THE FROM STATION OF A LOAD ROW");
        const int to = in.readInt("THE TO STATION OF A LOAD ROW");
        const double q = in.readReal("THE LATERAL LOAD");
        const double t = in.readReal("THE MOMENT");
        const double p = in.readReal("THE AXIAL LOAD");
        checkRecordStations(run, stationRecordCase(previousC, mode - 1), from, to);
        // The axial load is held with its sign reversed: compression positive
        // in the data file acts to increase the deflections.
        const int recordCase = table.add(from, to, mode, {q, t, -p});
        previousC = mode - 1;
        report::stationTableLine(run, recordCase, from, to, mode - 1, {eiAtStation(rec, from), q, 0, t, 0, p});
    }
}

void readSpringTable(Run& run) {
    ProblemRecord& rec = run.rec;
    FreeFormatReader& in = run.reader;
    in.beginRecord();
    const int count = in.readInt("THE SPRING COUNT");
    checkCount(run, count, kMaxTableRows, "THE SPRING COUNT");
    rec.springRowCount = count;
    rec.firstSupportSet = rec.lastSupportSet = false;
    StationTable<2> table({&rec.s, &rec.r});
    int previousC = 0;
    for (int k = 0; k < count; ++k) {
        in.beginRecord();
        const int from = in.readInt("THE FROM STATION OF A SPRING ROW");
        const int to = in.readInt("THE TO STATION OF A SPRING ROW");
        const int mode = in.readInt("THE MODE OF A SPRING ROW");
        checkMode(run, mode);
        const double s = in.readReal("THE LATERAL SPRING STIFFNESS");
        const double r = in.readReal("THE ROTATIONAL SPRING STIFFNESS");
        checkRecordStations(run, stationRecordCase(previousC, mode - 1), from, to);
        const int recordCase = table.add(from, to, mode, {s, r});
        previousC = mode - 1;
        // Supports applied at a single station tell the earth-pressure
        // routines where an anchored wall is held.
        if (from == to && k == 0) {
            rec.firstSupportDepth = from * rec.solution.h;
            rec.firstSupportSet = true;
        }
        if (from == to && k == count - 1) {
            rec.lastSupportDepth = from * rec.solution.h;
            rec.lastSupportSet = true;
        }
        report::stationTableLine(run, recordCase, from, to, mode - 1, {eiAtStation(rec, from), 0, s, 0, r, 0});
    }
}

void readPyModifications(Run& run) {
    ProblemRecord& rec = run.rec;
    FreeFormatReader& in = run.reader;
    const int count = rec.control.pyModificationCount;
    checkCount(run, count, kMaxPyModifications, "THE P-Y MODIFICATION COUNT", run.controlLine);
    rec.pyModificationCount = count;
    for (int k = 0; k < count; ++k) {
        PyModification& m = rec.pyModifications[static_cast<std::size_t>(k)];
        in.beginRecord();
        m.depth = in.readReal("THE DEPTH OF A P-Y MODIFICATION ROW");
        m.pFactor = in.readReal("THE P-FACTOR");
        m.yFactor = in.readReal("THE Y-FACTOR");
    }
}

// Non-zero data just past the tip would act on fictitious stations.
void checkDataBeyondTip(Run& run) {
    const ProblemRecord& rec = run.rec;
    const int n = rec.solution.ninc;
    for (int j : {n + 1, n + 2}) {
        if (rec.ei[j] != 0.0 || rec.t[j] != 0.0 || rec.r[j] != 0.0 || rec.p[j] != 0.0) {
            throw InputError::dataBeyondEnd();
        }
    }
    if (rec.q[n + 1] != 0.0 || rec.s[n + 1] != 0.0) throw InputError::dataBeyondEnd();
}

void readMomentEISets(Run& run) {
    ProblemRecord& rec = run.rec;
    FreeFormatReader& in = run.reader;
    const int count = rec.control.momentEISetCount;
    if (count <= 0) {
        checkCount(run, count, kMaxMomentEISets, "THE MOMENT-EI SET COUNT", run.controlLine);
        rec.momentEISetCount = 0;
        return;
    }
    checkCount(run, count, kMaxMomentEISets, "THE MOMENT-EI SET COUNT", run.controlLine);
    rec.momentEISetCount = count;
    for (int k = 0; k < count; ++k) {
        MomentEISet& set = rec.momentEISets[static_cast<std::size_t>(k)];
        in.beginRecord();
        set.firstStation = in.readInt("THE FIRST STATION OF A MOMENT-EI SET");
        checkStation(run, set.firstStation, "THE FIRST STATION OF A MOMENT-EI SET");
        set.lastStation = in.readInt("THE LAST STATION OF A MOMENT-EI SET");
        checkStation(run, set.lastStation, "THE LAST STATION OF A MOMENT-EI SET");
        set.pointCount = in.readInt("THE POINT COUNT OF A MOMENT-EI SET");
        checkCount(run, set.pointCount, kMaxMomentEIPoints, "THE POINT COUNT OF A MOMENT-EI SET");
        if (set.pointCount < 2) {
            // The EI is read off a segment of the set's curve.
            throw InputError::badData(dataFileLineMessage(
                in.lineNumber(), "A MOMENT-EI SET NEEDS AT LEAST TWO POINTS, FOUND " + std::to_string(set.pointCount)));
        }
        for (int i = 0; i < set.pointCount; ++i) {
            in.beginRecord();
            set.moment[static_cast<std::size_t>(i)] = in.readReal("THE MOMENT OF A MOMENT-EI POINT");
            set.ei[static_cast<std::size_t>(i)] = in.readReal("THE EI OF A MOMENT-EI POINT");
        }
    }
}

} // namespace

void readProblem(Run& run) {
    ProblemRecord& rec = run.rec;
    readSolutionLine(run);
    report::controlParameters(run);
    report::solutionValues(run);
    readRestraints(run);
    clearStationArrays(rec);
    report::stiffnessAndLoadHeader(run);

    const int stiffnessRows = rec.control.stiffnessRowCount;
    if (stiffnessRows < 0) checkCount(run, stiffnessRows, kMaxTableRows, "THE WALL STIFFNESS ROW COUNT", run.controlLine);
    if (stiffnessRows == 0) {
        // Without a stiffness table there are no loads, springs, p-y
        // modifications or earth-pressure data either.
        report::emptyTable(run);
    } else {
        checkCount(run, stiffnessRows, kMaxTableRows, "THE WALL STIFFNESS ROW COUNT", run.controlLine);
        readStiffnessTable(run);
        readLoadTable(run);
        readSpringTable(run);
        readPyModifications(run);
        if (rec.control.earthPressureOption == 0) plot::noEarthPressureSection(run);
        if (rec.control.earthPressureOption > 0 || rec.control.pyOption == 2) earthPressureLoads(run);
        checkDataBeyondTip(run);
    }
    pyCurveStore(run);
    readMomentEISets(run);
    run.step(RunStep::ProblemRead);
}

} // namespace kelda
