#include "export.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include <fstream>
#include <iostream>

#include "kelda/data/program_data.h"
#include "kelda/results/plot_data.h"
#include "run_command.h"

namespace kelda::cli {

namespace {

namespace fs = std::filesystem;

struct UnitNames {
    const char* length;
    const char* force;
    const char* moment;
    const char* rigidity;
    const char* lineLoad;
};

UnitNames unitNames(int units) {
    if (units == 1) return {"in", "lb", "lb-in", "lb-in^2", "lb/in"};
    if (units == 2) return {"m", "kN", "kN-m", "kN-m^2", "kN/m"};
    return {"L", "F", "F-L", "F-L^2", "F/L"};
}

// The shortest text that reads back as the same double.
std::string number(double v) {
    std::array<char, 32> buffer{};
    const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
    return std::string(buffer.data(), r.ptr);
}

std::string fileSafe(std::string name) {
    for (char& c : name) {
        if (c == ' ') c = '-';
    }
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", c);
                out += esc;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

const char* endingName(RunEnding e) {
    switch (e) {
    case RunEnding::Completed: return "completed";
    case RunEnding::InputError: return "input error";
    case RunEnding::Stopped: return "stopped";
    case RunEnding::DataFileNotOpened: return "data file not opened";
    case RunEnding::OutputNotOpened: return "output not opened";
    case RunEnding::InternalError: return "internal error";
    }
    return "unknown";
}

// The earth-pressure table in CSV and JSON: the same four columns wherever
// the table comes from.
std::string pressureCsvHeader(const UnitNames& u) {
    return std::string("depth (") + u.length + "),total pressure (" + u.lineLoad + "),pressure without surcharge (" +
           u.lineLoad + "),surcharge pressure (" + u.lineLoad + ")\n";
}

std::string pressureCsvRow(double depth, double total, double without, double surcharge) {
    return number(depth) + ',' + number(total) + ',' + number(without) + ',' + number(surcharge) + '\n';
}

std::string pressureJson(double depth, double total, double without, double surcharge) {
    return "{\"depth\": " + number(depth) + ", \"total\": " + number(total) + ", \"withoutSurcharge\": " +
           number(without) + ", \"surcharge\": " + number(surcharge) + "}";
}

// A curve's points as a JSON array of [y, p] pairs.
std::string pointsJson(const std::vector<double>& y, const std::vector<double>& p) {
    std::string out = "[";
    for (std::size_t n = 0; n < y.size(); ++n) out += (n ? ", [" : "[") + number(y[n]) + ", " + number(p[n]) + "]";
    return out + "]";
}

} // namespace

std::vector<std::string> resultSetNames(const RunSummary& summary) {
    std::vector<std::string> names;
    const auto& problems = summary.problems;
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (problems[i].stageCount >= 2) {
            names.push_back("Stage " + std::to_string(problems[i].number));
        } else if (problems.size() >= 2 || problems[i].number >= 2) {
            names.emplace_back(problems[i].number == 1 ? "Short-Term" : "Long-Term");
        } else {
            names.emplace_back("Results");
        }
    }
    return names;
}

bool writeFileAtomically(const std::string& path, const std::string& text, std::string& error) {
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            error = "cannot write " + path;
            std::error_code ec;
            fs::remove(temporary, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) {
        error = "cannot write " + path + ": " + ec.message();
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

bool writeCsv(const std::string& dir, const std::string& stem, const RunSummary& summary, std::string& error) {
    const auto names = resultSetNames(summary);
    for (std::size_t i = 0; i < summary.problems.size(); ++i) {
        const ProblemSummary& p = summary.problems[i];
        const UnitNames u = unitNames(p.units);
        const std::string base = (fs::path(dir) / (stem + "_" + fileSafe(names[i]))).string();
        std::string rows = std::string("station,depth (") + u.length + "),deflection (" + u.length +
                           "),slope (rad),moment (" + u.moment + "),shear (" + u.force + "),soil reaction (" +
                           u.force + " per station),EI (" + u.rigidity + ")\n";
        for (const StationResult& r : p.stations) {
            rows += std::to_string(r.station) + ',' + number(r.depth) + ',' + number(r.deflection) + ',' +
                    number(r.slope) + ',' + number(r.moment) + ',' + number(r.shear) + ',' + number(r.reaction) +
                    ',' + number(r.ei) + '\n';
        }
        if (!writeFileAtomically(base + ".csv", rows, error)) return false;
        std::string pressure = pressureCsvHeader(u);
        for (const PressurePoint& e : p.earthPressure) {
            pressure += pressureCsvRow(e.depth, e.total, e.withoutSurcharge, e.surcharge);
        }
        if (!writeFileAtomically(base + "_earth-pressure.csv", pressure, error)) return false;
        std::string curves = std::string("station,depth (") + u.length + "),y (" + u.length + "),p (" + u.lineLoad +
                             ")\n";
        for (const StationPyCurve& c : p.pyCurvesUsed) {
            for (std::size_t k = 0; k < c.y.size(); ++k) {
                curves += std::to_string(c.station) + ',' + number(c.depth) + ',' + number(c.y[k]) + ',' +
                          number(c.p[k]) + '\n';
            }
        }
        if (!writeFileAtomically(base + "_py-curves.csv", curves, error)) return false;
    }
    return true;
}

std::string jsonDocument(const std::vector<std::pair<std::string, RunSummary>>& runs) {
    std::string out = runs.size() == 1 ? "" : "[\n";
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const auto& [dataFile, summary] = runs[r];
        const auto names = resultSetNames(summary);
        out += "{\n  \"dataFile\": " + jsonString(dataFile) + ",\n  \"ending\": " +
               jsonString(endingName(summary.ending)) + ",\n  \"message\": " + jsonString(summary.message) +
               ",\n  \"resultSets\": [";
        for (std::size_t i = 0; i < summary.problems.size(); ++i) {
            const ProblemSummary& p = summary.problems[i];
            const UnitNames u = unitNames(p.units);
            out += i == 0 ? "\n" : ",\n";
            out += "    {\n      \"name\": " + jsonString(names[i]) + ",\n      \"units\": {\"length\": " +
                   jsonString(u.length) + ", \"force\": " + jsonString(u.force) + ", \"moment\": " +
                   jsonString(u.moment) + ", \"rigidity\": " + jsonString(u.rigidity) + ", \"lineLoad\": " +
                   jsonString(u.lineLoad) + "},\n      \"iterations\": " + std::to_string(p.iterations) +
                   ",\n      \"warnings\": [";
            for (std::size_t w = 0; w < p.warnings.size(); ++w) out += (w ? ", " : "") + jsonString(p.warnings[w]);
            out += "],\n      \"stations\": [";
            for (std::size_t k = 0; k < p.stations.size(); ++k) {
                const StationResult& s = p.stations[k];
                out += (k ? ",\n        " : "\n        ");
                out += "{\"station\": " + std::to_string(s.station) + ", \"depth\": " + number(s.depth) +
                       ", \"deflection\": " + number(s.deflection) + ", \"slope\": " + number(s.slope) +
                       ", \"moment\": " + number(s.moment) + ", \"shear\": " + number(s.shear) +
                       ", \"soilReaction\": " + number(s.reaction) + ", \"ei\": " + number(s.ei) + "}";
            }
            out += "],\n      \"earthPressure\": [";
            for (std::size_t k = 0; k < p.earthPressure.size(); ++k) {
                const PressurePoint& e = p.earthPressure[k];
                out += (k ? ",\n        " : "\n        ");
                out += pressureJson(e.depth, e.total, e.withoutSurcharge, e.surcharge);
            }
            out += "],\n      \"pyCurvesUsed\": [";
            for (std::size_t k = 0; k < p.pyCurvesUsed.size(); ++k) {
                const StationPyCurve& c = p.pyCurvesUsed[k];
                out += (k ? ",\n        " : "\n        ");
                out += "{\"station\": " + std::to_string(c.station) + ", \"depth\": " + number(c.depth) +
                       ", \"points\": " + pointsJson(c.y, c.p) + "}";
            }
            out += "]\n    }";
        }
        out += "\n  ]\n}";
        out += r + 1 < runs.size() ? ",\n" : "\n";
    }
    if (runs.size() != 1) out += "]\n";
    return out;
}

namespace {

// The names of the sets of a plot file: its data file beside it tells a
// short-term and long-term pair from two construction stages.
std::vector<std::string> plotSetNames(const std::string& plotFile, std::size_t count) {
    std::vector<std::string> names;
    if (count == 1) return {"Results"};
    bool longTerm = false;
    fs::path dataFile(plotFile);
    dataFile.replace_extension(".kl4d");
    std::error_code ec;
    if (count == 2 && fs::is_regular_file(dataFile, ec)) {
        data::TProgramData project;
        longTerm = project.ReadDataFile(dataFile.string(), data::DataFormat::Format2013).ok && project.LongTerm;
    }
    for (std::size_t k = 1; k <= count; ++k) {
        names.push_back(longTerm ? (k == 1 ? "Short-Term" : "Long-Term") : "Stage " + std::to_string(k));
    }
    return names;
}

bool writePlotCsv(const std::string& dir, const std::string& stem, const results::PlotData& plot,
                  const std::vector<std::string>& names, std::string& error) {
    for (std::size_t i = 0; i < plot.sets.size(); ++i) {
        const results::PlotSet& set = plot.sets[i];
        const UnitNames u = unitNames(set.units);
        const std::string base = (fs::path(dir) / (stem + "_" + fileSafe(names[i]))).string();
        std::string rows = std::string("depth (") + u.length + "),deflection (" + u.length + "),moment (" + u.moment +
                           "),shear (" + u.force + "),soil reaction (" + u.force + " per station)\n";
        for (const results::ResultRow& r : set.rows) {
            rows += number(r.depth) + ',' + number(r.deflection) + ',' + number(r.moment) + ',' + number(r.shear) +
                    ',' + number(r.reaction) + '\n';
        }
        if (!writeFileAtomically(base + ".csv", rows, error)) return false;
        std::string pressure = pressureCsvHeader(u);
        for (const results::PressureRow& e : set.pressure) {
            pressure += pressureCsvRow(e.depth, e.total, e.fromSoils, e.fromSurcharge);
        }
        if (!writeFileAtomically(base + "_earth-pressure.csv", pressure, error)) return false;
        std::string curves = std::string("curve depth (") + u.length + "),y (" + u.length + "),p (" + u.lineLoad +
                             ")\n";
        for (const results::PyCurve& c : set.curves) {
            for (std::size_t k = 0; k < c.y.size(); ++k) {
                curves += number(c.depth) + ',' + number(c.y[k]) + ',' + number(c.p[k]) + '\n';
            }
        }
        if (!writeFileAtomically(base + "_py-curves.csv", curves, error)) return false;
    }
    return true;
}

std::string plotJson(const std::string& plotFile, const results::PlotData& plot, const std::vector<std::string>& names) {
    std::string out = "{\n  \"plotFile\": " + jsonString(plotFile) + ",\n  \"resultSets\": [";
    for (std::size_t i = 0; i < plot.sets.size(); ++i) {
        const results::PlotSet& set = plot.sets[i];
        const UnitNames u = unitNames(set.units);
        out += i == 0 ? "\n" : ",\n";
        out += "    {\n      \"name\": " + jsonString(names[i]) + ",\n      \"units\": {\"length\": " +
               jsonString(u.length) + ", \"force\": " + jsonString(u.force) + ", \"moment\": " +
               jsonString(u.moment) + ", \"lineLoad\": " + jsonString(u.lineLoad) + "},\n      \"rows\": [";
        for (std::size_t k = 0; k < set.rows.size(); ++k) {
            const results::ResultRow& r = set.rows[k];
            out += (k ? ",\n        " : "\n        ");
            out += "{\"depth\": " + number(r.depth) + ", \"deflection\": " + number(r.deflection) +
                   ", \"moment\": " + number(r.moment) + ", \"shear\": " + number(r.shear) +
                   ", \"soilReaction\": " + number(r.reaction) + "}";
        }
        out += "],\n      \"earthPressure\": [";
        for (std::size_t k = 0; k < set.pressure.size(); ++k) {
            const results::PressureRow& e = set.pressure[k];
            out += (k ? ",\n        " : "\n        ");
            out += pressureJson(e.depth, e.total, e.fromSoils, e.fromSurcharge);
        }
        out += "],\n      \"pyCurves\": [";
        for (std::size_t k = 0; k < set.curves.size(); ++k) {
            const results::PyCurve& c = set.curves[k];
            out += (k ? ",\n        " : "\n        ");
            out += "{\"depth\": " + number(c.depth) + ", \"points\": " + pointsJson(c.y, c.p) + "}";
        }
        out += "]\n    }";
    }
    return out + "\n  ]\n}\n";
}

} // namespace

int exportCommand(const std::vector<std::string_view>& args) {
    std::string plotFile, csvDir, jsonFile;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--csv" || args[i] == "--json") && i + 1 < args.size()) {
            std::string& target = args[i] == "--csv" ? csvDir : jsonFile;
            target = std::string(args[i + 1]);
            ++i;
        } else if (!args[i].empty() && args[i][0] != '-' && plotFile.empty()) {
            plotFile = args[i];
        } else {
            std::cerr << "Usage: kelda export FILE.kl4p [--csv DIR] [--json FILE]\n";
            return kExitUsage;
        }
    }
    if (plotFile.empty() || (csvDir.empty() && jsonFile.empty())) {
        std::cerr << "Usage: kelda export FILE.kl4p [--csv DIR] [--json FILE]\n";
        return kExitUsage;
    }
    std::ifstream in(plotFile, std::ios::binary);
    std::error_code ec;
    if (!in || !fs::is_regular_file(plotFile, ec)) {
        std::cerr << "kelda: cannot open the plot file " << plotFile << "\n";
        return kExitCannotOpen;
    }
    results::PlotData plot;
    std::string error;
    if (!results::readPlotData(in, plot, error)) {
        std::cerr << "kelda: " << plotFile << ": " << error << "\n";
        return kExitDataError;
    }
    const auto names = plotSetNames(plotFile, plot.sets.size());
    if (!csvDir.empty()) {
        fs::create_directories(csvDir, ec);
        if (ec || !writePlotCsv(csvDir, fs::path(plotFile).stem().string(), plot, names, error)) {
            std::cerr << "kelda: " << (ec ? "cannot create the directory " + csvDir : error) << "\n";
            return kExitCannotOpen;
        }
    }
    if (!jsonFile.empty() && !writeFileAtomically(jsonFile, plotJson(plotFile, plot, names), error)) {
        std::cerr << "kelda: " << error << "\n";
        return kExitCannotOpen;
    }
    return 0;
}

} // namespace kelda::cli
