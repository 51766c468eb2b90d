#include "kelda/data/curve_table.h"
#include "kelda/data/project_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kelda::data {
namespace {

std::vector<std::pair<double, double>> rowsOf(const GridTable& t) {
    std::vector<std::pair<double, double>> rows;
    for (int r = 0; r < t.rowCount(); ++r) rows.emplace_back(t.asFloat(0, r), t.asFloat(1, r));
    return rows;
}

using Rows = std::vector<std::pair<double, double>>;

class CurveTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        project.reset();
        project.pyCurves2.ensureMinRows();
        curve = project.pyCurves2.asTable(1, 0); // a p-y curve: 2..17 rows, two real columns
        ASSERT_NE(curve, nullptr);
    }

    std::string writeFile(const std::string& contents) {
        const auto path =
            std::filesystem::temp_directory_path() /
            ("kelda_curve_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
        std::ofstream(path, std::ios::binary) << contents;
        files.push_back(path);
        return path.string();
    }

    void TearDown() override {
        for (const auto& f : files) std::filesystem::remove(f);
    }

    ProjectTables project;
    GridTable* curve = nullptr;
    std::vector<std::filesystem::path> files;
};

TEST_F(CurveTableTest, FileFillsMatchingLinesAndDeletesTheRest) {
    curve->setRowCount(4);
    const FillResult r = ReadValuesFromFile(*curve, writeFile("0 0\n0.5, 120\ntext\n1.0 200 7\n2 300"));
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.rowsFilled, 3);
    EXPECT_EQ(rowsOf(*curve), (Rows{{0, 0}, {0.5, 120}, {2, 300}}));
}

TEST_F(CurveTableTest, FileStopsAtMaxRowsAndMayLeaveFewerThanMinRows) {
    std::string twenty;
    for (int i = 0; i < 20; ++i) twenty += std::to_string(i) + "\t" + std::to_string(10 * i) + "\r\n";
    EXPECT_EQ(ReadValuesFromFile(*curve, writeFile(twenty)).rowsFilled, 17);
    EXPECT_EQ(curve->rowCount(), 17);
    EXPECT_EQ(rowsOf(*curve).back(), (std::pair<double, double>{16, 160}));

    EXPECT_EQ(ReadValuesFromFile(*curve, writeFile("-1.5 40\n")).rowsFilled, 1);
    EXPECT_EQ(rowsOf(*curve), (Rows{{-1.5, 40}}));
    EXPECT_TRUE(curve->isChanged());
}

TEST_F(CurveTableTest, FileWithoutUsableLinesChangesNothing) {
    curve->setFloat(1, 1, 9);
    EXPECT_EQ(ReadValuesFromFile(*curve, writeFile("p y\n1 2 3\n")).rowsFilled, 0);
    EXPECT_EQ(rowsOf(*curve), (Rows{{0, 0}, {0, 9}}));

    const FillResult missing = ReadValuesFromFile(*curve, "/nonexistent/curve.txt");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, "Cannot open file \"/nonexistent/curve.txt\". No such file or directory");
    EXPECT_EQ(curve->rowCount(), 2);
    EXPECT_FALSE(CurveFileControlsEnabled("/nonexistent/curve.txt"));
}

TEST_F(CurveTableTest, PasteUsesOnlyLinesEndedByABreak) {
    curve->setRowCount(3);
    EXPECT_EQ(PasteValuesFromClipboard(*curve, std::string("1 2\r\n3 4")).rowsFilled, 1);
    EXPECT_EQ(rowsOf(*curve), (Rows{{1, 2}}));
    // Text copied on this system ends its lines with LF alone.
    EXPECT_EQ(PasteValuesFromClipboard(*curve, std::string("5 6\n7 8\n")).rowsFilled, 2);
    EXPECT_EQ(rowsOf(*curve), (Rows{{5, 6}, {7, 8}}));
    const FillResult none = PasteValuesFromClipboard(*curve, std::nullopt);
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.message, kMsgNoClipboardText);
}

TEST(ReadNumbersTest, Lines) {
    struct Case {
        const char* line;
        std::vector<double> numbers;
    };
    const std::vector<Case> cases{
        {"  1\t2,3", {1, 2, 3}},
        {"0.5, 120", {0.5, 120}},
        {"1 2 x 3", {1, 2}},
        {"+1.5 -2E3 .5", {1.5, -2000, 0.5}},
        {"1,5", {1, 5}}, // the comma separates, whatever the locale
        {"1e999 2", {}}, // out of range: not a number
        {",1", {}},
        {"", {}},
        {"1 2\r3", {1, 2, 3}},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
    };
    for (const Case& c : cases) EXPECT_EQ(ReadNumbersFromLine(c.line), c.numbers) << '"' << c.line << '"';
}

TEST(AxisFormatTest, SwitchesToScientificForLargeAndTinyRanges) {
    EXPECT_EQ(AxisNumberFormat(0, 250000), kAxisFormatScientific);
    EXPECT_EQ(AxisNumberFormat(-100001, 0), kAxisFormatScientific);
    EXPECT_EQ(AxisNumberFormat(0, 100000), kAxisFormatPlain);
    EXPECT_EQ(AxisNumberFormat(0.0002, 0.0009), kAxisFormatScientific);
    EXPECT_EQ(AxisNumberFormat(0, 0.0009), kAxisFormatScientific);
    EXPECT_EQ(AxisNumberFormat(0, 0), kAxisFormatPlain);
    EXPECT_EQ(AxisNumberFormat(0.0002, 0.001), kAxisFormatPlain);
}

TEST_F(CurveTableTest, ChartDrawsRowsInIncreasingXWithColumnTitles) {
    curve->setRowCount(3);
    curve->setFloat(0, 0, 2);
    curve->setFloat(1, 0, -250000);
    curve->setFloat(0, 1, 1);
    curve->setFloat(1, 1, 0);
    curve->setFloat(0, 2, -1);
    curve->setFloat(1, 2, 250000);
    const std::vector<ChartPoint> points = ChartPoints(*curve);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].x, -1);
    EXPECT_EQ(points[2].x, 2);
    const ChartAxis x = ChartXAxis(*curve);
    const ChartAxis y = ChartYAxis(*curve);
    EXPECT_EQ(x.title, "Lateral Deflection, y (*)");
    EXPECT_EQ(x.numberFormat, kAxisFormatPlain);
    EXPECT_EQ(y.title, "Soil Resistance, p");
    EXPECT_EQ(y.numberFormat, kAxisFormatScientific);
    EXPECT_FALSE(y.inverted);
    EXPECT_EQ(InitialVisibleRowLimit(*curve), 5);
    EXPECT_EQ(InitialVisibleRowLimit(project.pyCurves2), 10);
}

} // namespace
} // namespace kelda::data
