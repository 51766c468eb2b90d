#pragma once

// C++ interface of the analysis engine. One call analyses every problem of a
// wall data file (a single problem, a short-term and a long-term problem, or
// one problem per construction stage) and writes the report, the plot data
// and the processor-run notes. Nothing is shared between calls: two calls in
// two threads, each with its own files, run side by side. No call throws;
// everything that went wrong is in the returned summary and in the report.

#include <iosfwd>
#include <string>
#include <vector>

#include "kelda/export.h"

namespace kelda {

// The interface number that the entry point accepts.
inline constexpr int kInterfaceNumber = 8;

// The four files of a run.
struct RunPaths {
    std::string data;   // wall data file, read only (".kl4d")
    std::string report; // output report (".kl4o")
    std::string plot;   // plot data (".kl4p")
    std::string notes;  // processor-run notes, the iteration log (".kl4r")
};

enum class RunEnding {
    Completed,         // every problem of the data file was analysed
    InputError,        // an error in the data ended the run; the report says which
    Stopped,           // a soil routine stopped the run (stop code, if any, in stopCode)
    DataFileNotOpened, // the data file could not be opened; the report says so
    OutputNotOpened,   // an output file could not be created; nothing was written
    InternalError,     // the engine met a fault of its own; the report says so
};

// Results at one station, in the data file's units, at full precision.
struct StationResult {
    int station = 0;
    double depth = 0.0, deflection = 0.0, slope = 0.0, moment = 0.0, shear = 0.0, reaction = 0.0, ei = 0.0;
};

// A point of the earth-pressure table as the plot file shows it: pressures
// as line loads per unit length of wall, in the data file's units.
struct PressurePoint {
    double depth = 0.0, total = 0.0, withoutSurcharge = 0.0, surcharge = 0.0;
};

// The p-y curve a station was supported by in the last iteration, after the
// multipliers, the chaining of curves down the wall and the interpolation
// between them: soil resistance p (force per unit length of wall, opposite in
// sign to y) against deflection y. The first and last station of a chain
// carry half a curve, as the solution applies it.
struct StationPyCurve {
    int station = 0;
    double depth = 0.0;
    std::vector<double> y, p;
};

struct ProblemSummary {
    int number = 0;           // 1-based problem counter of the run
    int iterations = 0;       // iterations of the solution
    std::vector<std::string> warnings; // warnings printed with the results
    double topDeflection = 0.0;  // deflection at station 0, in file units
    double maxMoment = 0.0;      // bending moment of largest magnitude, in file units
    double maxMomentDepth = 0.0; // its depth below the top of the wall
    int units = 0;               // 1 English (in, lbs), 2 SI (m, kN), other: generic
    int stageCount = 0;          // the control line's number of construction stages
    std::vector<StationResult> stations; // stations 0 to NINC, as in the report's results table
    std::vector<PressurePoint> earthPressure; // the points the report and the plot file show
    std::vector<StationPyCurve> pyCurvesUsed; // stations with soil support, top down
};

struct RunSummary {
    RunEnding ending = RunEnding::Completed;
    // The report's message for an input error or an internal fault, or the
    // reason the files could not be opened; empty when the run completed.
    std::string message;
    std::string stopCode;     // stop code of a soil-routine stop, may be empty
    int problemsAnalysed = 0; // problems whose solution was reached
    std::vector<ProblemSummary> problems;

    // False when an output file could not be written completely (disk full).
    bool outputWritten = true;

    [[nodiscard]] bool performed() const {
        return ending != RunEnding::OutputNotOpened && ending != RunEnding::DataFileNotOpened;
    }
};

// Runs one analysis from four paths. Does not read a names file and does not
// use or change the current directory. Console messages of the soil routines
// (stop codes, warnings for a person at a terminal) go to `console`.
KELDA_API RunSummary runAnalysis(const RunPaths& paths, std::ostream& console);
KELDA_API RunSummary runAnalysis(const RunPaths& paths);

// The same analysis over streams: the data file is read from `data`, and the
// three outputs go to the given streams. Used for in-memory runs.
KELDA_API RunSummary runAnalysis(std::istream& data, std::ostream& report, std::ostream& plot,
                                 std::ostream& notes, std::ostream& console);

// Reads a names file (four lines: data, report, plot and notes paths; each cut
// at 255 characters, trailing blanks dropped). Returns false when the file
// cannot be read or has fewer than four lines.
KELDA_API bool readNamesFile(const std::string& namesFilePath, RunPaths& paths);

// "2013.4.8"
KELDA_API const char* engineVersion();

} // namespace kelda
