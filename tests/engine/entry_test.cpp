// The exported entry point, called through the real shared library as the
// desktop program calls it: bound by name, with the names file in the
// current directory.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <thread>

#include "engine_test_support.h"
#include "kelda/engine.h"

namespace kelda {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

using EntryPoint = std::int32_t (*)(std::int32_t);

const std::string kData = "Entry test\n3 0 1 0 0 0 0 1 0\n10 1 10 0.001 0\n0 10 1 100\n0\n0\n0\n";

class Library {
public:
    Library() : handle_(dlopen(KELDA_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library() {
        if (handle_) dlclose(handle_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    EntryPoint entry(const char* name) const {
        return handle_ ? reinterpret_cast<EntryPoint>(dlsym(handle_, name)) : nullptr;
    }

private:
    void* handle_;
};

// Runs `body` with `dir` as the current directory.
template <class F>
void inDirectory(const fs::path& dir, F body) {
    const fs::path previous = fs::current_path();
    fs::current_path(dir);
    body();
    fs::current_path(previous);
}

std::string namesFile(const fs::path& dir, const std::string& stem) {
    const std::string base = (dir / stem).string();
    return base + ".kl4d\n" + base + ".kl4o\n" + base + ".kl4p\n" + base + ".kl4r\n";
}

TEST(EntryPoint, BothNamesAreExported) {
    Library lib;
    EXPECT_NE(lib.entry("IKELDA"), nullptr);
    EXPECT_NE(lib.entry("_IKELDA"), nullptr);
    // Nothing of the engine's inside leaks out as a C symbol.
    EXPECT_EQ(lib.entry("runProblems"), nullptr);
}

TEST(EntryPoint, WrongInterfaceNumberTouchesNoFile) {
    Library lib;
    const EntryPoint entry = lib.entry("_IKELDA");
    ASSERT_NE(entry, nullptr);
    TempDir dir;
    writeFile(dir / "case.kl4d", kData);
    writeFile(dir / "NAMES.dat", namesFile(dir.path(), "case"));
    for (std::int32_t number : {7, 9, 0, -8}) {
        inDirectory(dir.path(), [&] { EXPECT_EQ(entry(number), 1) << number; });
    }
    EXPECT_FALSE(fs::exists(dir / "case.kl4o"));
    EXPECT_FALSE(fs::exists(dir / "case.kl4p"));
    EXPECT_FALSE(fs::exists(dir / "case.kl4r"));
}

TEST(EntryPoint, RunsTheFilesOfTheNamesFile) {
    Library lib;
    TempDir dir;
    writeFile(dir / "case.kl4d", kData);
    writeFile(dir / "NAMES.dat", namesFile(dir.path(), "case"));
    inDirectory(dir.path(), [&] { EXPECT_EQ(lib.entry("IKELDA")(8), 0); });
    EXPECT_NE(readFile(dir / "case.kl4o").find("END OF ANALYSIS"), std::string::npos);
    EXPECT_EQ(readFile(dir / "case.kl4p").substr(0, 16), " 0\n 3 0\n 1 12 3\n");
    EXPECT_TRUE(fs::exists(dir / "case.kl4r"));
    // The working files pass through memory.
    EXPECT_FALSE(fs::exists(dir / "debug.dat"));
    EXPECT_FALSE(fs::exists(dir / "EPRTAB.001"));
    EXPECT_FALSE(fs::exists(dir / "SOILDATA"));
}

TEST(EntryPoint, ShortNamesFileGivesTheMessageAndNoReport) {
    Library lib;
    TempDir dir;
    writeFile(dir / "case.kl4d", kData);
    const std::string names = namesFile(dir.path(), "case");
    writeFile(dir / "NAMES.dat", names.substr(0, names.rfind('\n', names.size() - 2) + 1)); // three lines
    testing::internal::CaptureStderr();
    inDirectory(dir.path(), [&] { EXPECT_EQ(lib.entry("_IKELDA")(8), 0); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              " PLEASE CREATE AN INPUT DATA FILE AND SAVE IT\n BEFORE COMPUTATION.  TRY IT AGAIN!\n");
    EXPECT_FALSE(fs::exists(dir / "case.kl4o"));
}

TEST(EntryPoint, MissingNamesFileGivesTheMessage) {
    Library lib;
    TempDir dir;
    testing::internal::CaptureStderr();
    inDirectory(dir.path(), [&] { EXPECT_EQ(lib.entry("_IKELDA")(8), 0); });
    EXPECT_NE(testing::internal::GetCapturedStderr().find("PLEASE CREATE AN INPUT DATA FILE"), std::string::npos);
}

TEST(NamesFile, PathsAreCutAt255CharactersWithoutTrailingBlanks) {
    TempDir dir;
    // A relative path of exactly 255 characters is used whole...
    const std::string exact = "./" + std::string(248, 'a') + ".kl4d";
    ASSERT_EQ(exact.size(), 255U);
    // ...and whatever stands beyond character 255 is not part of the path.
    const std::string longer = "./" + std::string(248, 'b') + ".kl4oEXTRA";
    writeFile(dir / "NAMES.dat", exact + "\n" + longer + "\nplot.kl4p   \r\nnotes.kl4r\t \n");
    RunPaths paths;
    ASSERT_TRUE(readNamesFile((dir / "NAMES.dat").string(), paths));
    EXPECT_EQ(paths.data, exact);
    EXPECT_EQ(paths.report, "./" + std::string(248, 'b') + ".kl4o");
    EXPECT_EQ(paths.plot, "plot.kl4p");
    EXPECT_EQ(paths.notes, "notes.kl4r");
}

TEST(NamesFile, AFullLength255CharacterPathRunsThroughTheEntryPoint) {
    Library lib;
    TempDir dir;
    // A sub-folder whose name brings the relative data path to 255 characters.
    const std::string sub = std::string(240, 'd');
    fs::create_directories(dir / sub);
    const std::string dataPath = sub + "/" + std::string(255 - sub.size() - 1 - 5, 'w') + ".kl4d";
    ASSERT_EQ(dataPath.size(), 255U);
    writeFile(dir / dataPath, kData);
    writeFile(dir / "NAMES.dat", dataPath + "\nout.kl4o\nout.kl4p\nout.kl4r\n");
    inDirectory(dir.path(), [&] { EXPECT_EQ(lib.entry("_IKELDA")(8), 0); });
    EXPECT_NE(readFile(dir / "out.kl4o").find("Entry test"), std::string::npos);
}

TEST(RunAnalysis, MissingDataFileIsReportedAndNothingIsAnalysed) {
    TempDir dir;
    const RunPaths paths{(dir / "absent.kl4d").string(), (dir / "a.kl4o").string(), (dir / "a.kl4p").string(),
                         (dir / "a.kl4r").string()};
    const RunSummary summary = runAnalysis(paths);
    EXPECT_EQ(summary.ending, RunEnding::DataFileNotOpened);
    EXPECT_FALSE(summary.performed());
    const std::string report = readFile(dir / "a.kl4o");
    EXPECT_NE(report.find("     ERROR -- THE DATA FILE CANNOT BE OPENED: " + paths.data), std::string::npos);
    EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos);
}

TEST(RunAnalysis, UnwritableOutputIsNotPerformed) {
    TempDir dir;
    writeFile(dir / "case.kl4d", kData);
    const RunPaths paths{(dir / "case.kl4d").string(), (dir / "no-such-dir/a.kl4o").string(),
                         (dir / "a.kl4p").string(), (dir / "a.kl4r").string()};
    const RunSummary summary = runAnalysis(paths);
    EXPECT_EQ(summary.ending, RunEnding::OutputNotOpened);
    EXPECT_FALSE(summary.performed());
}

TEST(RunAnalysis, TwoThreadsTwoRunsSameResultsAsOneAtATime) {
    TempDir dir;
    const std::string example = readFile(fs::path(KELDA_SOURCE_DIR) / "examples/cantilever.kl4d");
    std::vector<RunPaths> paths;
    for (const char* name : {"one", "two", "serial"}) {
        writeFile(dir / (std::string(name) + ".kl4d"), example);
        const std::string base = (dir / name).string();
        paths.push_back({base + ".kl4d", base + ".kl4o", base + ".kl4p", base + ".kl4r"});
    }
    runAnalysis(paths[2]);
    std::vector<std::thread> threads;
    for (int i = 0; i < 2; ++i) {
        threads.emplace_back([&paths, i] {
            for (int repeat = 0; repeat < 20; ++repeat) runAnalysis(paths[static_cast<std::size_t>(i)]);
        });
    }
    for (auto& t : threads) t.join();
    for (int i = 0; i < 2; ++i) {
        const auto& p = paths[static_cast<std::size_t>(i)];
        EXPECT_EQ(readFile(p.report), readFile(paths[2].report));
        EXPECT_EQ(readFile(p.plot), readFile(paths[2].plot));
        EXPECT_EQ(readFile(p.notes), readFile(paths[2].notes));
    }
}

} // namespace
} // namespace kelda
