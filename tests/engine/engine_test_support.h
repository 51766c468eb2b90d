#pragma once

// Helpers for engine tests: in-memory runs and temporary folders.

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "run_driver.h"

namespace kelda::test {

struct MemoryRun {
    RunSummary summary;
    std::string report, plot, notes, console;
};

inline MemoryRun runText(const std::string& data, const RunHooks* hooks = nullptr) {
    std::istringstream in(data);
    std::ostringstream report, plot, notes, console;
    MemoryRun out;
    out.summary = runProblems(in, report, plot, notes, console, hooks);
    out.report = report.str();
    out.plot = plot.str();
    out.notes = notes.str();
    out.console = console.str();
    return out;
}

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("kelda-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    [[nodiscard]] const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// A line-by-line comparison that shows where two texts part.
inline std::string firstDifference(const std::string& expected, const std::string& actual) {
    const auto e = lines(expected);
    const auto a = lines(actual);
    for (std::size_t i = 0; i < std::max(e.size(), a.size()); ++i) {
        const std::string el = i < e.size() ? e[i] : "<no line>";
        const std::string al = i < a.size() ? a[i] : "<no line>";
        if (el != al) {
            std::ostringstream msg;
            msg << "first difference at line " << (i + 1) << ":\n  expected: [" << el << "]\n  actual:   [" << al
                << "]\n";
            for (std::size_t k = i + 1; k < std::min(i + 4, a.size()); ++k) msg << "  actual " << (k + 1) << ": [" << a[k] << "]\n";
            return msg.str();
        }
    }
    return {};
}

} // namespace kelda::test
