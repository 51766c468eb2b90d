// kelda — the command-line tool over the analysis engine.
//
//   kelda run FILE.kl4d... [-o DIR] [-j N]   analyse wall data files; the
//                      report, plot data and notes are written beside each
//                      (or in DIR) as FILE.kl4o/.kl4p/.kl4r
//   kelda verify       closed-form problems through the engine
//
// Exit status: 0 the run was performed, 1 the report records an error in the
// data, 2 the data file (or an output file) could not be opened, 64 usage.

#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "convert.h"
#include "export.h"
#include "kelda/engine.h"
#include "run_command.h"
#include "verification.h"

namespace {

using kelda::cli::kExitUsage;

void printUsage(std::ostream& out) {
    out << "Usage: kelda run FILE.kl4d... [-o DIR] [-j N] [-q] [--csv DIR] [--json FILE]\n"
           "       kelda verify\n"
           "       kelda convert IN OUT [--format 2013|3.0|2.0]\n"
           "       kelda export FILE.kl4p [--csv DIR] [--json FILE]\n"
           "       kelda --help | --version\n"
           "\n"
           "run analyses wall data files and writes the report (.kl4o), the plot data (.kl4p)\n"
           "and the processor-run notes (.kl4r) beside each, or in DIR; with -j N, N files\n"
           "are analysed at once. -q prints nothing but errors. --csv and --json also write\n"
           "the results (and earth-pressure tables) in the data file's units.\n"
           "verify runs closed-form problems through the engine and compares them with theory.\n"
           "\n"
           "Exit status: 0 analysed, 1 a report records an error in the data,\n"
           "2 a file could not be opened, 64 wrong usage.\n";
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
    if (args[0] == "run") return kelda::cli::runCommand({args.begin() + 1, args.end()});
    if (args[0] == "convert") return convertCommand({args.begin() + 1, args.end()});
    if (args[0] == "export") return kelda::cli::exportCommand({args.begin() + 1, args.end()});
    if (args[0] == "verify") return kelda::verification::print(kelda::verification::run(), std::cout) ? 0 : 1;
    std::cerr << "kelda: unknown command " << args[0] << "\n";
    printUsage(std::cerr);
    return kExitUsage;
}
