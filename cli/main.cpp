// kelda — the command-line tool over the analysis engine.
//
//   kelda run FILE.kl4d [-o DIR]   analyse a wall data file; the report,
//                                  plot data and notes are written beside
//                                  it (or in DIR) as FILE.kl4o/.kl4p/.kl4r
//
// Exit status: 0 the run was performed, 1 the report records an error in the
// data, 2 the data file (or an output file) could not be opened, 64 usage.

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "kelda/engine.h"
#include "verification.h"

namespace fs = std::filesystem;

namespace {

constexpr int kExitDataError = 1;
constexpr int kExitCannotOpen = 2;
constexpr int kExitUsage = 64;

void printUsage(std::ostream& out) {
    out << "Usage: kelda run FILE.kl4d [-o DIR]\n"
           "       kelda verify\n"
           "       kelda --help | --version\n"
           "\n"
           "Analyses a wall data file and writes the report (.kl4o), the plot data (.kl4p)\n"
           "and the processor-run notes (.kl4r) beside it, or in DIR.\n"
           "verify runs closed-form problems through the engine and compares them with theory.\n"
           "\n"
           "Exit status: 0 analysed, 1 the report records an error in the data,\n"
           "2 a file could not be opened, 64 wrong usage.\n";
}

kelda::RunPaths outputPaths(const fs::path& data, const fs::path& outputDir) {
    const fs::path dir = outputDir.empty() ? data.parent_path() : outputDir;
    const fs::path stem = data.stem();
    const auto beside = [&](const char* extension) {
        fs::path p = dir / stem;
        p += extension;
        return p.string();
    };
    return {data.string(), beside(".kl4o"), beside(".kl4p"), beside(".kl4r")};
}

// One line per problem: iterations, top deflection, largest moment.
void printProblemSummary(const kelda::ProblemSummary& p) {
    const char* length = p.units == 1 ? "in" : p.units == 2 ? "m" : "L";
    const char* moment = p.units == 1 ? "lb-in" : p.units == 2 ? "kN-m" : "F-L";
    char line[256];
    std::snprintf(line, sizeof line, "problem %d: %d iterations, top deflection %.4g %s, largest moment %.4g %s at %.4g %s",
                  p.number, p.iterations, p.topDeflection, length, p.maxMoment, moment, p.maxMomentDepth, length);
    std::cout << line;
    for (const std::string& w : p.warnings) std::cout << "; " << w;
    std::cout << "\n";
}

int runCommand(const std::vector<std::string_view>& args) {
    std::string dataFile;
    std::string outputDir;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" || args[i] == "--output-dir") {
            if (i + 1 >= args.size()) {
                std::cerr << "kelda: -o needs a directory\n";
                return kExitUsage;
            }
            outputDir = args[++i];
        } else if (!args[i].empty() && args[i][0] == '-' && args[i] != "-") {
            std::cerr << "kelda: unknown option " << args[i] << "\n";
            return kExitUsage;
        } else if (dataFile.empty()) {
            dataFile = args[i];
        } else {
            std::cerr << "kelda: one data file at a time\n";
            return kExitUsage;
        }
    }
    if (dataFile.empty()) {
        printUsage(std::cerr);
        return kExitUsage;
    }
    if (!outputDir.empty()) {
        std::error_code ec;
        fs::create_directories(outputDir, ec);
        if (ec) {
            std::cerr << "kelda: cannot create the output directory " << outputDir << ": " << ec.message() << "\n";
            return kExitCannotOpen;
        }
    }
    std::error_code ec;
    if (!fs::is_regular_file(dataFile, ec)) {
        std::cerr << "kelda: cannot open the data file " << dataFile << "\n";
        return kExitCannotOpen;
    }

    const kelda::RunSummary summary = kelda::runAnalysis(outputPaths(dataFile, outputDir), std::cerr);
    for (const kelda::ProblemSummary& p : summary.problems) printProblemSummary(p);
    switch (summary.ending) {
    case kelda::RunEnding::Completed:
        break;
    case kelda::RunEnding::DataFileNotOpened:
    case kelda::RunEnding::OutputNotOpened:
        std::cerr << "kelda: " << summary.message << "\n";
        return kExitCannotOpen;
    case kelda::RunEnding::InputError:
    case kelda::RunEnding::Stopped:
    case kelda::RunEnding::InternalError:
        std::cerr << "kelda: " << dataFile << ": "
                  << (summary.message.empty() ? "the run was stopped" : summary.message) << "\n";
        return kExitDataError;
    }
    if (!summary.outputWritten) {
        std::cerr << "kelda: the output files could not be written completely\n";
        return kExitCannotOpen;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        printUsage(std::cerr);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printUsage(std::cout);
        return 0;
    }
    if (args[0] == "--version") {
        std::cout << "kelda " << kelda::engineVersion() << "\n";
        return 0;
    }
    if (args[0] == "run") return runCommand({args.begin() + 1, args.end()});
    if (args[0] == "verify") return kelda::verification::print(kelda::verification::run(), std::cout) ? 0 : 1;
    std::cerr << "kelda: unknown command " << args[0] << "\n";
    printUsage(std::cerr);
    return kExitUsage;
}
