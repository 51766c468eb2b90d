#include "kelda/data/curve_table.h"

#include "kelda/data/evaluator.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace kelda::data {

std::string_view AxisNumberFormat(double axisMinimum, double axisMaximum) {
    const double lo = std::fabs(axisMinimum);
    const double hi = std::fabs(axisMaximum);
    if (lo > 100000.0 || hi > 100000.0) return kAxisFormatScientific;
    if (lo < 0.001 && hi < 0.001 && !(lo == 0.0 && hi == 0.0)) return kAxisFormatScientific;
    return kAxisFormatPlain;
}

std::vector<ChartPoint> ChartPoints(const GridTable& table) {
    const ChartProperties& chart = table.chart();
    std::vector<ChartPoint> points;
    points.reserve(static_cast<std::size_t>(table.rowCount()));
    for (int row = 0; row < table.rowCount(); ++row)
        points.push_back({table.asFloat(chart.xColumn, row), table.asFloat(chart.yColumn, row)});
    std::stable_sort(points.begin(), points.end(),
                     [](const ChartPoint& a, const ChartPoint& b) { return a.x < b.x; });
    return points;
}

namespace {

ChartAxis axisOf(const GridTable& table, int column, bool inverted, double ChartPoint::*coordinate) {
    ChartAxis axis;
    const std::vector<std::string>& headings = table.column(column).headings;
    axis.title = headings.empty() ? std::string() : headings.front();
    axis.inverted = inverted;
    const std::vector<ChartPoint> points = ChartPoints(table);
    if (!points.empty()) {
        axis.minimum = axis.maximum = points.front().*coordinate;
        for (const ChartPoint& p : points) {
            axis.minimum = std::min(axis.minimum, p.*coordinate);
            axis.maximum = std::max(axis.maximum, p.*coordinate);
        }
    }
    axis.numberFormat = AxisNumberFormat(axis.minimum, axis.maximum);
    return axis;
}

} // namespace

ChartAxis ChartXAxis(const GridTable& table) {
    return axisOf(table, table.chart().xColumn, table.chart().invertedXAxis, &ChartPoint::x);
}

ChartAxis ChartYAxis(const GridTable& table) {
    return axisOf(table, table.chart().yColumn, table.chart().invertedYAxis, &ChartPoint::y);
}

int InitialVisibleRowLimit(const GridTable& table) {
    return table.isChart() && table.chart().showChart ? 5 : 10;
}

std::vector<double> ReadNumbersFromLine(std::string_view line) {
    std::vector<double> numbers;
    std::size_t pos = 0;
    while (numbers.size() < static_cast<std::size_t>(kMaxNumbersPerLine)) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        if (pos >= line.size()) break;
        const std::size_t end = line.find_first_of(" \t,\r", pos);
        const std::string_view piece =
            line.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        double value = 0.0;
        if (!ParseDecimal(piece, '.', true, value)) break;
        numbers.push_back(value);
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return numbers;
}

std::vector<std::string_view> SplitLines(std::string_view text, bool keepUnterminatedLast) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (keepUnterminatedLast && start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

namespace {

// A line fits when every value can be held by its column: item numbers must name
// an item. Real and integer columns take any number (integers are rounded).
bool fits(const GridTable& table, const std::vector<double>& values) {
    for (int c = 0; c < table.columnCount(); ++c) {
        const ColumnDefinition& d = table.column(c);
        if (d.kind != ColumnKind::Enum) continue;
        const double item = std::round(values[static_cast<std::size_t>(c)]);
        if (item < 1 || item > static_cast<double>(d.items.size())) return false;
    }
    return true;
}

} // namespace

int FillRowsFromLines(GridTable& table, const std::vector<std::string_view>& lines) {
    const auto columns = static_cast<std::size_t>(table.columnCount());
    int filled = 0;
    for (const std::string_view line : lines) {
        if (table.maxRows() > 0 && filled >= table.maxRows()) break;
        const std::vector<double> values = ReadNumbersFromLine(line);
        if (columns == 0 || values.size() != columns || !fits(table, values)) continue;
        while (filled >= table.rowCount()) table.addRows();
        for (int c = 0; c < table.columnCount(); ++c) {
            const ColumnKind kind = table.column(c).kind;
            // Text and sub-table columns hold no number of a line: left as they are.
            if (kind == ColumnKind::Float || kind == ColumnKind::Int || kind == ColumnKind::Enum)
                table.setFloat(c, filled, values[static_cast<std::size_t>(c)]);
        }
        ++filled;
    }
    if (filled > 0)
        while (table.rowCount() > filled) table.deleteRows(filled);
    return filled;
}

FillResult ReadValuesFromFile(GridTable& table, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        const int error = errno;
        return {false, 0, "Cannot open file \"" + path + "\". " + std::strerror(error != 0 ? error : ENOENT)};
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return {false, 0, "Cannot read file \"" + path + "\"."};
    return {true, FillRowsFromLines(table, SplitLines(text, true)), {}};
}

FillResult PasteValuesFromClipboard(GridTable& table, const std::optional<std::string>& clipboardText) {
    if (!clipboardText) return {false, 0, std::string(kMsgNoClipboardText)};
    return {true, FillRowsFromLines(table, SplitLines(*clipboardText, false)), {}};
}

bool CurveFileControlsEnabled(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

} // namespace kelda::data
