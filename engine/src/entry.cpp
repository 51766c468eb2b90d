// The engine's entry points: the exported C function that a caller binds by
// name, and the C++ interface that runs one analysis from four paths.

#include <fstream>
#include <iostream>

#include "kelda/engine.h"
#include "kelda/ikelda.h"
#include "line_layout.h"
#include "plot_file.h"
#include "run_driver.h"

namespace kelda {

namespace {

constexpr std::size_t kMaxPathLength = 255;

// A names-file line as a path: cut at 255 characters, without the trailing
// blanks (and the carriage return of a CR LF file).
std::string namesFilePath(std::string line) {
    if (line.size() > kMaxPathLength) line.resize(kMaxPathLength);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t')) line.pop_back();
    return line;
}

} // namespace

const char* engineVersion() { return KELDA_VERSION_STRING; }

bool readNamesFile(const std::string& namesFilePathName, RunPaths& paths) {
    std::ifstream in(namesFilePathName, std::ios::binary);
    if (!in) return false;
    std::string lines[4];
    for (std::string& line : lines) {
        if (!std::getline(in, line)) return false;
    }
    paths.data = namesFilePath(lines[0]);
    paths.report = namesFilePath(lines[1]);
    paths.plot = namesFilePath(lines[2]);
    paths.notes = namesFilePath(lines[3]);
    return true;
}

RunSummary runAnalysis(std::istream& data, std::ostream& report, std::ostream& plot, std::ostream& notes,
                       std::ostream& console) {
    return runProblems(data, report, plot, notes, console);
}

RunSummary runAnalysis(const RunPaths& paths) { return runAnalysis(paths, std::cerr); }

RunSummary runAnalysis(const RunPaths& paths, std::ostream& console) {
    RunSummary summary;
    try {
        std::ifstream data(paths.data, std::ios::binary);
        const bool dataOpen = data.is_open();
        std::ofstream report(paths.report, std::ios::binary | std::ios::trunc);
        std::ofstream plot(paths.plot, std::ios::binary | std::ios::trunc);
        std::ofstream notes(paths.notes, std::ios::binary | std::ios::trunc);
        if (!report.is_open() || !plot.is_open() || !notes.is_open()) {
            summary.ending = RunEnding::OutputNotOpened;
            summary.message = "THE OUTPUT FILES CANNOT BE CREATED: " +
                              (!report.is_open() ? paths.report : !plot.is_open() ? paths.plot : paths.notes);
            return summary;
        }
        if (!dataOpen) {
            // The report still tells the engineer why nothing was analysed.
            summary.ending = RunEnding::DataFileNotOpened;
            summary.message = "THE DATA FILE CANNOT BE OPENED: " + paths.data;
            layout::write(report, "( / / 5X A )", {"ERROR -- " + summary.message});
            layout::write(report, "( / / / '     END OF ANALYSIS                             ' )");
            plot << " 1 0 0\n";
            return summary;
        }
        summary = runProblems(data, report, plot, notes, console);
        report.close();
        plot.close();
        notes.close();
        if (report.fail() || plot.fail() || notes.fail()) summary.outputWritten = false;
    } catch (...) {
        summary.ending = RunEnding::InternalError;
        summary.message = "INTERNAL ERROR IN THE ENGINE";
    }
    return summary;
}

} // namespace kelda

extern "C" std::int32_t IKELDA(std::int32_t interfaceNumber) {
    if (interfaceNumber != kelda::kInterfaceNumber) return 1;
    try {
        kelda::RunPaths paths;
        if (!kelda::readNamesFile("NAMES.dat", paths)) {
            std::cerr << " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n"
                      << " BEFORE COMPUTATION.  TRY IT AGAIN!\n";
            return 0;
        }
        kelda::runAnalysis(paths, std::cerr);
    } catch (...) {
        // Nothing may escape into the caller.
    }
    return 0;
}

extern "C" std::int32_t _IKELDA(std::int32_t interfaceNumber) { return IKELDA(interfaceNumber); }
