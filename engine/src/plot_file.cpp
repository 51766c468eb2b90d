#include "plot_file.h"

#include <array>
#include <charconv>

#include "line_layout.h"

namespace kelda::plot {

void integerLine(Run& run, std::initializer_list<long long> values) {
    std::string line;
    for (long long v : values) {
        line += ' ';
        line += std::to_string(v);
    }
    line += '\n';
    run.plot << line;
}

namespace {

// The shortest text that reads back as the same double, with a period and an
// "e" exponent whatever the locale.
void appendReal(std::string& line, double v) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v);
    line += ' ';
    line.append(buffer.data(), result.ptr);
}

} // namespace

void realLine(Run& run, std::initializer_list<double> values) {
    std::string line;
    for (double v : values) appendReal(line, v);
    line += '\n';
    run.plot << line;
}

void realIntegerLine(Run& run, double real, long long integer) {
    std::string line;
    appendReal(line, real);
    line += ' ';
    line += std::to_string(integer);
    line += '\n';
    run.plot << line;
}

void noEarthPressureSection(Run& run) { integerLine(run, {0}); }

void resultsSection(Run& run) {
    const ProblemRecord& rec = run.rec;
    integerLine(run, {rec.resultSetCount, rec.resultRowCount, rec.control.units});
    for (int i = 0; i < rec.resultRowCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        layout::write(run.plot, "( 5( 1X E13.4 ) )",
                      {rec.resultDepth[k], rec.resultDeflection[k], rec.resultMoment[k], rec.resultShear[k],
                       rec.resultReaction[k]});
    }
}

} // namespace kelda::plot
