#include "report_blocks.h"

#include "line_layout.h"

namespace kelda::report {

namespace {

using layout::write;

// Banners are framed by fifty asterisks.
#define STARS "'**************************************************'"

} // namespace

std::string_view versionLine() { return "VERSION 2013.4.8 FOR LINUX, 64-BIT"; }

void programHeader(Run& run) {
    write(run.report, "( ' KELDA - A PROGRAM FOR THE ANALYSIS OF' ' FLEXIBLE RETAINING STRUCTURES' / 1X A / / )",
          {versionLine()});
}

void problemHeading(Run& run) {
    const ProblemRecord& rec = run.rec;
    if (rec.control.stageCount >= 2) {
        write(run.report, "( / 6X 'Stage No :' I2 2X A70 )", {rec.problemCounter, rec.runTitle});
    } else if (rec.problemCounter == 1) {
        write(run.report, "( / 6X A70 )", {rec.title});
    } else {
        write(run.report, "( / 6X 'Long Term :' 2X A70 )", {rec.runTitle});
    }
}

void controlParameters(Run& run) {
    const ProblemRecord& rec = run.rec;
    write(run.report,
          "( / / 6X " STARS " / 6X '*        PROGRAM CONTROL PARAMETERS              *' / 6X " STARS " / /"
          " 6X 'NO OF POINTS FOR SPECIFIED DEFLECTIONS AND SLOPES  = ' I2"
          " / 6X 'NO OF POINTS FOR WALL STIFFNESS AND LOAD DATA      = ' I2"
          " / 6X 'GENERATE EARTH PRESSURE INTERNALLY                 = ' I2"
          " / 6X 'GENERATE SOIL RESISTANCE (P-Y) CURVES INTERNALLY   = ' I2"
          " / 6X 'NO OF P-Y MODIFICATION FACTORS FOR GEN. P-Y CURVES = ' I2"
          " / 6X 'NO OF USER-SPECIFIED SOIL RESISTANCE (P-Y) CURVES  = ' I2 )",
          {rec.control.restraintCount, rec.control.stiffnessRowCount, rec.generateEarthPressureFlag,
           rec.generatePyFlag, rec.control.pyModificationCount, rec.control.userPyCurveCount});
}

void solutionValues(Run& run) {
    const ProblemRecord& rec = run.rec;
    const std::string& len3 = rec.labels.len3;
    write(run.report,
          "( 6X 'NUMBER OF INCREMENTS                               = ' I3"
          " / 6X 'INCREMENT LENGTH                                   = ' F7.3 A3"
          " / 6X 'FREE HEIGHT OF WALL                                = ' F7.3 A3 )",
          {rec.solution.ninc, rec.solution.h, len3, rec.solution.freeHeight, len3});
    write(run.report,
          "( 6X 'MAXIMUM ALLOWABLE DEFLECTION                       = ' F7.3 A3"
          " / 6X 'DEFLECTION CLOSURE TOLERANCE                       = ' F7.5 A3 )",
          {rec.solution.maxAllowableDeflection, len3, rec.solution.closureTolerance, len3});
}

void restraintsBanner(Run& run) {
    write(run.report, "( / / 6X " STARS " / 6X '*        SPECIFIED DEFLECTIONS AND SLOPES        *' / 6X " STARS
                      " / / 5X '     STA      CASE       DEFLECTION        SLOPE' / )");
}

void restraintLine(Run& run, const Restraint& r) {
    if (r.caseCode <= 1) {
        write(run.report, "( 10X I3 7X I2 8X E10.3 9X 'NONE' )", {r.station, r.caseCode, r.deflection});
    } else if (r.caseCode == 2) {
        write(run.report, "( 10X I3 7X I2 11X 'NONE' 8X E10.3 )", {r.station, r.caseCode, r.slope});
    } else {
        write(run.report, "( 10X I3 7X I2 3X 2( 5X E10.3 ) )", {r.station, r.caseCode, r.deflection, r.slope});
    }
}

void emptyTable(Run& run) { write(run.report, "( / '                    ' )"); }

void stiffnessAndLoadHeader(Run& run) {
    const UnitLabels& u = run.rec.labels;
    write(run.report,
          "( / / 6X " STARS " / 6X '*        STIFFNESS AND LOAD DATA                 *' / 6X " STARS
          " / 6X 'EI - FLEXURAL RIGIDITY,  Q - TRANSVERSE LOAD,'"
          " / 6X 'S - STIFFNESS OF TRANSVERSE RESISTANCE,'"
          " / 6X 'T - TORQUE,              P - AXIAL LOAD,'"
          " / 6X 'R - STIFFNESS OF TORSIONAL RESISTANCE.' / /"
          " '     FROM TO CONTD     EI         Q        S''        T         R         P' / )");
    write(run.report, "( 18X A4 A1 A2 A2 A1 4X A4 4X A4 A1 A2 3X A3 A1 A3 2X A3 A1 A3 4X A4 )",
          {u.for4, "-", u.len2, "**", "2", u.for4, u.for4, "/", u.len2, u.len3, "-", u.for3, u.len3, "-", u.for3,
           u.for4});
}

void stationTableLine(Run& run, int recordCase, int from, int to, int modeMinusOne,
                      const std::array<double, 6>& v) {
    if (recordCase == 2) {
        write(run.report, "( 5X I4 4X I3 1X 6E10.3 )", {from, modeMinusOne, v[0], v[1], v[2], v[3], v[4], v[5]});
    } else if (recordCase == 3 || recordCase == 4) {
        write(run.report, "( 9X I4 I3 1X 6E10.3 )", {to, modeMinusOne, v[0], v[1], v[2], v[3], v[4], v[5]});
    } else {
        write(run.report, "( 5X 2I4 I3 1X 6E10.3 )",
              {from, to, modeMinusOne, v[0], v[1], v[2], v[3], v[4], v[5]});
    }
}

void inputError(Run& run, const InputError& error) {
    switch (error.kind) {
    case InputError::Kind::TooMuchData:
        if (error.detail.empty()) {
            write(run.report, "( / / 5X A / / )", {error.message});
        } else {
            write(run.report, "( / / 5X A / 5X A / )", {error.message, error.detail});
        }
        break;
    case InputError::Kind::StationsNotInOrder:
    case InputError::Kind::DataBeyondEnd:
    case InputError::Kind::BadData:
        write(run.report, "( / / 5X A )", {error.message});
        if (!error.detail.empty()) write(run.report, "( 5X A )", {error.detail});
        break;
    }
}

void endOfAnalysis(Run& run) {
    write(run.report, "( / / / '     END OF ANALYSIS                             ' )");
}

} // namespace kelda::report
