// The folder of broken data files (tests/data/bad/), each with the message it
// must produce and the exit status of `kelda run`; a few inputs made at run
// time (a 1 MB line, binary garbage, a folder, a missing file); and the rule
// that no report or plot file ever holds a NaN or an infinity.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <random>
#include <regex>

#include "engine_test_support.h"
#include "run_kelda.h"

namespace {

namespace fs = std::filesystem;
using kelda::test::lines;
using kelda::test::readFile;
using kelda::test::TempDir;
using kelda::test::writeFile;

using Result = kelda::test::ToolResult;
using kelda::test::kelda;

// A NaN or an infinity as the formatter or the plot writer would print it,
// outside the quoted token of a reader's message.
bool holdsNonFinite(const std::string& text) {
    static const std::regex quoted("FOUND '[^']*'");
    static const std::regex nonFinite(R"((^|[^A-Za-z])(NaN|nan|Inf|inf|Infinity|infinity)([^A-Za-z]|$))");
    return std::regex_search(std::regex_replace(text, quoted, "FOUND ''"), nonFinite);
}

struct BadCase {
    std::string file;
    int status = 0;
    std::string message;
};

std::vector<BadCase> manifest() {
    std::vector<BadCase> cases;
    for (const std::string& line : lines(readFile(fs::path(KELDA_TEST_DATA_DIR) / "bad/expected.tsv"))) {
        if (line.empty() || line[0] == '#') continue;
        const auto tab1 = line.find('\t');
        const auto tab2 = line.find('\t', tab1 + 1);
        cases.push_back({line.substr(0, tab1), std::stoi(line.substr(tab1 + 1, tab2 - tab1 - 1)), line.substr(tab2 + 1)});
    }
    return cases;
}

TEST(BadInput, EveryFileOfTheCorpusGivesItsMessage) {
    const auto cases = manifest();
    ASSERT_GE(cases.size(), 30U);
    TempDir out;
    for (const BadCase& c : cases) {
        const fs::path data = fs::path(KELDA_TEST_DATA_DIR) / "bad" / c.file;
        const Result r = kelda("run -q -o '" + out.path().string() + "' '" + data.string() + "'");
        EXPECT_EQ(r.status, c.status) << c.file << "\n" << r.output;
        const std::string stem = fs::path(c.file).stem().string();
        const std::string report = readFile(out / (stem + ".kl4o"));
        const std::string plot = readFile(out / (stem + ".kl4p"));
        EXPECT_NE((report + r.output).find(c.message), std::string::npos) << c.file << "\n" << report;
        EXPECT_NE(report.find("END OF ANALYSIS"), std::string::npos) << c.file;
        EXPECT_FALSE(holdsNonFinite(report)) << c.file;
        EXPECT_FALSE(holdsNonFinite(plot)) << c.file;
    }
}

TEST(BadInput, InputsMadeAtRunTime) {
    TempDir dir;
    // A title line of a megabyte, then a control line as long.
    writeFile(dir / "long-line.kl4d", std::string(1 << 20, 'x') + "\n" + std::string(1 << 20, '7') + "\n");
    Result r = kelda("run -q '" + (dir / "long-line.kl4d").string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(readFile(dir / "long-line.kl4o").find("THE INTEGER FOR THE UNIT SYSTEM IS OUT OF RANGE"), std::string::npos);

    std::mt19937 random(12345);
    std::string garbage(4096, '\0');
    for (char& c : garbage) c = static_cast<char>(random() & 0xff);
    writeFile(dir / "garbage.kl4d", garbage);
    r = kelda("run -q '" + (dir / "garbage.kl4d").string() + "'");
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(readFile(dir / "garbage.kl4o").find("END OF ANALYSIS"), std::string::npos);

    fs::create_directories(dir / "folder.kl4d");
    r = kelda("run '" + (dir / "folder.kl4d").string() + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.output.find("cannot open the data file"), std::string::npos);

    r = kelda("run '" + (dir / "missing.kl4d").string() + "'");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1) << r.output;
}

TEST(BadInput, NoExampleReportOrPlotHoldsANonFiniteNumber) {
    TempDir out;
    int examples = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(KELDA_SOURCE_DIR) / "examples")) {
        if (entry.path().extension() != ".kl4d") continue;
        ++examples;
        const Result r = kelda("run -q -o '" + out.path().string() + "' '" + entry.path().string() + "'");
        EXPECT_EQ(r.status, 0) << entry.path() << "\n" << r.output;
        const std::string stem = entry.path().stem().string();
        EXPECT_FALSE(holdsNonFinite(readFile(out / (stem + ".kl4o")))) << stem;
        EXPECT_FALSE(holdsNonFinite(readFile(out / (stem + ".kl4p")))) << stem;
        EXPECT_FALSE(holdsNonFinite(readFile(out / (stem + ".kl4r")))) << stem;
    }
    EXPECT_GT(examples, 0);
}

TEST(BadInput, TheNonFiniteCheckSeesWhatTheWritersWouldPrint) {
    EXPECT_TRUE(holdsNonFinite("   0.100E+01       NaN"));
    EXPECT_TRUE(holdsNonFinite(" 1 inf\n"));
    EXPECT_TRUE(holdsNonFinite("  Infinity"));
    EXPECT_FALSE(holdsNonFinite("ERROR -- DATA FILE LINE 4: A NUMBER WAS EXPECTED, FOUND 'NaN'"));
    EXPECT_FALSE(holdsNonFinite("THE SOIL INFORMATION"));
}

} // namespace
