// The model half of the curve tables (external p-y curves, moment–EI curves):
// the chart drawn above the grid, and the filling of rows from a text file or
// from text on the clipboard. The window, the chart widget and the clipboard
// belong to the desktop program; everything here works on tables and text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kelda/data/grid_table.h"

namespace kelda::data {

// Texts of the curve-table window.
inline constexpr std::string_view kFileNameLabel = "File Name:";
inline constexpr std::string_view kBrowseButton = "Browse";
inline constexpr std::string_view kViewEditFileButton = "View/Edit File";
inline constexpr std::string_view kReadFromFileButton = "Read values from File";
inline constexpr std::string_view kPasteButton = "Paste values from  Clipboard (text)";
inline constexpr std::string_view kOKButton = "OK";
inline constexpr std::string_view kCancelButton = "Cancel";
inline constexpr std::string_view kCurveFileFilter =
    "Text Files (*.txt)|*.txt|Data Files (*.dat)|*.dat|All Files (*.*)|*.*";
inline constexpr std::string_view kMsgEditorFailed = "An error occurred in running the Word Processor";
inline constexpr std::string_view kMsgNoClipboardText = "There is no text on the Clipboard";

// Axis number formats of the chart.
inline constexpr std::string_view kAxisFormatPlain = "#,##0.###";
inline constexpr std::string_view kAxisFormatScientific = "#.0##E-0";

// The scientific format when the axis minimum or maximum exceeds 100000 in
// magnitude, or when both are below 0.001 in magnitude and not both 0; the plain
// format otherwise.
std::string_view AxisNumberFormat(double axisMinimum, double axisMaximum);

struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
};

struct ChartAxis {
    std::string title; // first heading line of the column
    double minimum = 0.0;
    double maximum = 0.0;
    std::string_view numberFormat = kAxisFormatPlain;
    bool inverted = false;
};

// One point per row (x column, y column), in increasing x order: rows typed in
// any order still draw as a curve.
std::vector<ChartPoint> ChartPoints(const GridTable& table);
// The two axes of a chart table, ranged over its points.
ChartAxis ChartXAxis(const GridTable& table);
ChartAxis ChartYAxis(const GridTable& table);

// How many rows the grid shows at first: 5 under a chart, otherwise 10.
int InitialVisibleRowLimit(const GridTable& table);

// Reads the numbers of one line of a file or of pasted text: leading blanks and
// tabs skipped, each number ending at a blank, tab, comma or carriage return,
// '.' as the decimal point whatever the locale. Reading stops at the first piece
// that is not a number, at the end of the line, or after 15 numbers.
inline constexpr int kMaxNumbersPerLine = 15;
std::vector<double> ReadNumbersFromLine(std::string_view line);

// Cuts text into lines at CR, CR LF or LF. With `keepUnterminatedLast` a last
// line without a line break is kept (file contents); without it, it is dropped
// (clipboard text, where a partly copied last line is not trusted).
std::vector<std::string_view> SplitLines(std::string_view text, bool keepUnterminatedLast);

// Fills the table's rows from lines of text: each line holding exactly as many
// numbers as the table has columns fills the next row (existing rows are
// overwritten, further rows added); other lines are skipped. Stops when MaxRows
// rows are filled. When a row was filled, the rows after the last filled one
// are deleted. Returns the number of rows filled.
int FillRowsFromLines(GridTable& table, const std::vector<std::string_view>& lines);

struct FillResult {
    bool ok = true;
    int rowsFilled = 0;
    std::string message; // why nothing could be read; the table is unchanged
};

// "Read values from File": the whole file, its last line too.
FillResult ReadValuesFromFile(GridTable& table, const std::string& path);
// "Paste values from  Clipboard (text)": `clipboardText` is empty when the
// clipboard holds no text.
FillResult PasteValuesFromClipboard(GridTable& table, const std::optional<std::string>& clipboardText);

// "View/Edit File" and "Read values from File" are enabled exactly when the
// file named in the edit exists.
bool CurveFileControlsEnabled(const std::string& path);

} // namespace kelda::data
