// Projects used by the data-file tests: each fills a TProgramData the way
// the dialogs and tables would. The same fixtures are written, read back and
// handed to the engine's reader, so every file the writer produces in the
// tests is also checked against the engine.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "kelda/data/program_data.h"

namespace kelda::data::testing {

// A folder of its own under the system's temporary folder, removed with its
// contents at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& contents);

// Sets a row of a table from a list of values (integers for integer and
// enumeration columns, reals for real columns; table columns are skipped).
void SetRow(GridTable& table, int row, const std::vector<double>& values);

// A 10-increment wall with one stiffness row and every option off: the block
// with no optional data.
void BuildMinimal(TProgramData& p);
// An English tied-back wall that writes every record of a block: restraints,
// two stiffness rows (the last one interpolating), loads, springs, p-y
// modification factors, a user-specified pressure, the wall configuration,
// surcharges, sand over clay, an external p-y curve set and a moment-EI set.
void BuildEveryRecord(TProgramData& p);
// The same wall in SI units, with silt, strong and weak rock layers.
void BuildSI(TProgramData& p);
// Other units, generated trapezoidal pressure, no p-y generation.
void BuildOtherUnits(TProgramData& p);
// p-y curves generated from the soil without an earth-pressure choice yet,
// as a new project does it.
void BuildGeneratedCurvesOnly(TProgramData& p);
// A short-term and a long-term analysis with their own soil and pressure.
void BuildLongTerm(TProgramData& p);

struct Fixture {
    const char* name;
    std::function<void(TProgramData&)> build;
};
std::vector<Fixture> SingleStageFixtures();

} // namespace kelda::data::testing
