// `kelda run`: one data file, or many analysed side by side in threads. The
// engine keeps nothing between runs, so a file analysed in a batch gives the
// same bytes as when it is analysed alone.

#include "run_command.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "export.h"
#include "kelda/engine.h"

namespace kelda::cli {

namespace {

namespace fs = std::filesystem;

struct Options {
    std::vector<std::string> files;
    std::string outputDir;
    std::string csvDir;   // --csv DIR
    std::string jsonFile; // --json FILE
    unsigned jobs = 1;
    bool quiet = false;
};

enum class Outcome { Analysed, DataError, CannotOpen };

struct FileResult {
    Outcome outcome = Outcome::Analysed;
    std::string message;       // one line for standard error, when not analysed cleanly
    std::string console;       // what the engine wrote for a person at a terminal
    RunSummary summary;
};

RunPaths outputPaths(const fs::path& data, const fs::path& outputDir) {
    const fs::path dir = outputDir.empty() ? data.parent_path() : outputDir;
    const auto beside = [&](const char* extension) {
        fs::path p = dir / data.stem();
        p += extension;
        return p.string();
    };
    return {data.string(), beside(".kl4o"), beside(".kl4p"), beside(".kl4r")};
}

// One line per problem: iterations, top deflection, largest moment.
std::string problemLine(const ProblemSummary& p) {
    const char* length = p.units == 1 ? "in" : p.units == 2 ? "m" : "L";
    const char* moment = p.units == 1 ? "lb-in" : p.units == 2 ? "kN-m" : "F-L";
    char line[256];
    std::snprintf(line, sizeof line,
                  "problem %d: %d iterations, top deflection %.4g %s, largest moment %.4g %s at %.4g %s", p.number,
                  p.iterations, p.topDeflection, length, p.maxMoment, moment, p.maxMomentDepth, length);
    std::string out = line;
    for (const std::string& w : p.warnings) out += "; " + w;
    return out;
}

FileResult analyse(const std::string& dataFile, const Options& o) {
    const std::string& outputDir = o.outputDir;
    FileResult result;
    std::error_code ec;
    if (!fs::is_regular_file(dataFile, ec)) {
        result.outcome = Outcome::CannotOpen;
        result.message = "cannot open the data file " + dataFile;
        return result;
    }
    std::ostringstream console;
    result.summary = runAnalysis(outputPaths(dataFile, outputDir), console);
    const RunSummary& summary = result.summary;
    result.console = console.str();
    std::string error;
    if (!o.csvDir.empty() && !writeCsv(o.csvDir, fs::path(dataFile).stem().string(), summary, error)) {
        result.outcome = Outcome::CannotOpen;
        result.message = error;
        return result;
    }
    switch (summary.ending) {
    case RunEnding::Completed:
        break;
    case RunEnding::DataFileNotOpened:
    case RunEnding::OutputNotOpened:
        result.outcome = Outcome::CannotOpen;
        result.message = summary.message;
        return result;
    case RunEnding::InputError:
    case RunEnding::Stopped:
    case RunEnding::InternalError:
        result.outcome = Outcome::DataError;
        result.message = summary.message.empty() ? "the run was stopped" : summary.message;
        if (!summary.stopCode.empty()) result.message += " (stop code " + summary.stopCode + ")";
        break;
    }
    if (!summary.outputWritten) {
        result.outcome = Outcome::CannotOpen;
        result.message = "the output files could not be written completely";
    }
    return result;
}

bool parse(const std::vector<std::string_view>& args, Options& o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "-o" || a == "--output-dir" || a == "-j" || a == "--jobs" || a == "--csv" || a == "--json") {
            if (i + 1 >= args.size()) {
                std::cerr << "kelda: " << a << " needs a value\n";
                return false;
            }
            const std::string value(args[++i]);
            if (a == "-o" || a == "--output-dir") {
                o.outputDir = value;
            } else if (a == "--csv") {
                o.csvDir = value;
            } else if (a == "--json") {
                o.jsonFile = value;
            } else {
                const unsigned long n = std::strtoul(value.c_str(), nullptr, 10);
                if (n == 0 || n > 256) {
                    std::cerr << "kelda: -j takes a number of parallel runs from 1 to 256\n";
                    return false;
                }
                o.jobs = static_cast<unsigned>(n);
            }
        } else if (a == "-q" || a == "--quiet") {
            o.quiet = true;
        } else if (!a.empty() && a[0] == '-') {
            std::cerr << "kelda: unknown option " << a << "\n";
            return false;
        } else {
            o.files.emplace_back(a);
        }
    }
    if (o.files.empty()) {
        std::cerr << "Usage: kelda run FILE.kl4d... [-o DIR] [-j N] [-q] [--csv DIR] [--json FILE]\n";
        return false;
    }
    // Two data files must not write the same three output files.
    std::map<std::string, std::string> seen;
    for (const std::string& f : o.files) {
        const std::string report = outputPaths(f, o.outputDir).report;
        const auto [it, inserted] = seen.emplace(fs::absolute(report).lexically_normal().string(), f);
        if (!inserted) {
            std::cerr << "kelda: " << it->second << " and " << f << " would write the same report " << report << "\n";
            return false;
        }
    }
    return true;
}

bool writeJson(const Options& o, const std::vector<FileResult>& results) {
    if (o.jsonFile.empty()) return true;
    std::vector<std::pair<std::string, RunSummary>> runs;
    for (std::size_t i = 0; i < results.size(); ++i) runs.emplace_back(o.files[i], results[i].summary);
    std::string error;
    if (!writeFileAtomically(o.jsonFile, jsonDocument(runs), error)) {
        std::cerr << "kelda: " << error << "\n";
        return false;
    }
    return true;
}

int exitStatus(const std::vector<FileResult>& results) {
    int status = 0;
    for (const FileResult& r : results) {
        if (r.outcome == Outcome::CannotOpen) status = kExitCannotOpen;
        if (r.outcome == Outcome::DataError && status == 0) status = kExitDataError;
    }
    return status;
}

} // namespace

int runCommand(const std::vector<std::string_view>& args) {
    Options o;
    if (!parse(args, o)) return kExitUsage;
    for (const std::string& dir : {o.outputDir, o.csvDir}) {
        if (dir.empty()) continue;
        std::error_code ec;
        fs::create_directories(dir, ec);
        if (ec) {
            std::cerr << "kelda: cannot create the directory " << dir << ": " << ec.message() << "\n";
            return kExitCannotOpen;
        }
    }

    const std::size_t total = o.files.size();
    std::vector<FileResult> results(total);
    if (total == 1) {
        results[0] = analyse(o.files[0], o);
        // The engine's lines for a person at a terminal (soil headings,
        // stop codes): with -q only when the file did not analyse cleanly.
        if (!o.quiet || results[0].outcome != Outcome::Analysed) std::cerr << results[0].console;
        if (!o.quiet) {
            for (const ProblemSummary& p : results[0].summary.problems) std::cout << problemLine(p) << "\n";
        }
        if (!results[0].message.empty()) std::cerr << "kelda: " << o.files[0] << ": " << results[0].message << "\n";
        return writeJson(o, results) ? exitStatus(results) : kExitCannotOpen;
    }

    // Many files: a pool of threads takes the next file in turn.
    const bool progress = !o.quiet && isatty(STDERR_FILENO) != 0;
    const auto start = std::chrono::steady_clock::now();
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<std::size_t> failed{0};
    std::mutex outputMutex;
    const auto worker = [&] {
        for (std::size_t i = next++; i < total; i = next++) {
            results[i] = analyse(o.files[i], o);
            const std::size_t finished = ++done;
            if (results[i].outcome != Outcome::Analysed) ++failed;
            std::lock_guard<std::mutex> lock(outputMutex);
            if (!o.quiet || results[i].outcome != Outcome::Analysed) std::cerr << results[i].console;
            if (!results[i].message.empty()) {
                std::cerr << (progress ? "\r\033[K" : "") << "kelda: " << o.files[i] << ": " << results[i].message
                          << "\n";
            }
            if (progress) {
                const double seconds =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                std::fprintf(stderr, "\r\033[K%zu/%zu files, %.1f files/s, %zu failed", finished, total,
                             seconds > 0 ? static_cast<double>(finished) / seconds : 0.0, failed.load());
                std::fflush(stderr);
            }
        }
    };
    const unsigned threads = std::min<unsigned>(o.jobs, static_cast<unsigned>(total));
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& t : pool) t.join();

    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::size_t dataErrors = 0, notOpened = 0;
    for (const FileResult& r : results) {
        dataErrors += r.outcome == Outcome::DataError ? 1 : 0;
        notOpened += r.outcome == Outcome::CannotOpen ? 1 : 0;
    }
    if (progress) std::fprintf(stderr, "\r\033[K");
    if (!o.quiet || dataErrors + notOpened > 0) {
        std::fprintf(stderr, "%zu files: %zu analysed, %zu with errors in the data, %zu not opened (%.2f s)\n", total,
                     total - dataErrors - notOpened, dataErrors, notOpened, seconds);
    }
    return writeJson(o, results) ? exitStatus(results) : kExitCannotOpen;
}

} // namespace kelda::cli
