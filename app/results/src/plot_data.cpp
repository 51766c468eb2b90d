#include "kelda/results/plot_data.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

namespace kelda::results {

namespace {

// The words of the file in order.
class Words {
public:
    explicit Words(std::istream& in) : text_(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) {}

    bool integer(long long& value, const char* what) {
        std::string_view w;
        if (!next(w, what)) return false;
        const auto [end, ec] = std::from_chars(w.data() + (w.front() == '+' ? 1 : 0), w.data() + w.size(), value);
        if (ec != std::errc() || end != w.data() + w.size()) return fail("an integer for " + std::string(what), w);
        return true;
    }

    bool real(double& value, const char* what) {
        std::string_view w;
        if (!next(w, what)) return false;
        const auto [end, ec] = std::from_chars(w.data() + (w.front() == '+' ? 1 : 0), w.data() + w.size(), value);
        if (ec != std::errc() || end != w.data() + w.size() || !std::isfinite(value)) {
            return fail("a number for " + std::string(what), w);
        }
        return true;
    }

    // A count of items of `wordsEach` words: it cannot exceed the words left.
    bool count(long long& n, const char* what, std::size_t wordsEach) {
        if (!integer(n, what)) return false;
        if (n < 0 || static_cast<unsigned long long>(n) * wordsEach > text_.size() - pos_) {
            error_ = "word " + std::to_string(word_) + ": " + std::string(what) + " " + std::to_string(n) +
                     " does not fit the rest of the file";
            return false;
        }
        return true;
    }

    [[nodiscard]] const std::string& error() const { return error_; }

private:
    bool next(std::string_view& w, const char* what) {
        const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; };
        while (pos_ < text_.size() && blank(text_[pos_])) ++pos_;
        if (pos_ >= text_.size()) {
            error_ = "the file ends where " + std::string(what) + " was expected";
            return false;
        }
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !blank(text_[pos_])) ++pos_;
        w = std::string_view(text_).substr(start, pos_ - start);
        ++word_;
        return true;
    }

    bool fail(const std::string& expected, std::string_view w) {
        error_ = "word " + std::to_string(word_) + ": " + expected + " was expected, found '" +
                 std::string(w.substr(0, 24)) + "'";
        return false;
    }

    std::string text_;
    std::size_t pos_ = 0;
    long long word_ = 0;
    std::string error_;
};

// One set's block: pressure, units, p-y curves, results. The results count
// line carries the number of sets (kept from the first block).
bool readSet(Words& w, PlotSet& set, long long& setCount) {
    long long n = 0;
    if (!w.count(n, "the earth-pressure point count", 4)) return false;
    set.pressure.resize(static_cast<std::size_t>(n));
    for (PressureRow& r : set.pressure) {
        if (!w.real(r.depth, "a pressure depth") || !w.real(r.total, "a total pressure") ||
            !w.real(r.fromSoils, "a pressure from soils") || !w.real(r.fromSurcharge, "a pressure from surcharge")) {
            return false;
        }
    }
    long long units = 0;
    if (!w.integer(units, "the units flag")) return false;
    set.units = static_cast<int>(units);
    long long curves = 0;
    if (!w.count(curves, "the p-y curve count", 2)) return false;
    set.curves.resize(static_cast<std::size_t>(curves));
    for (PyCurve& c : set.curves) {
        long long m = 0;
        if (!w.real(c.depth, "a curve depth") || !w.count(m, "a curve's point count", 2)) return false;
        c.y.resize(static_cast<std::size_t>(m));
        c.p.resize(static_cast<std::size_t>(m));
        for (std::size_t i = 0; i < c.y.size(); ++i) {
            if (!w.real(c.y[i], "a deflection") || !w.real(c.p[i], "a soil resistance")) return false;
        }
    }
    long long sets = 0, rows = 0, skipped = 0;
    if (!w.integer(sets, "the number of result sets") || !w.count(rows, "the result row count", 5) ||
        !w.integer(skipped, "the units flag of the results")) {
        return false;
    }
    if (setCount < 0) setCount = sets;
    set.rows.resize(static_cast<std::size_t>(rows));
    for (ResultRow& r : set.rows) {
        if (!w.real(r.depth, "a result depth") || !w.real(r.deflection, "a deflection") ||
            !w.real(r.moment, "a bending moment") || !w.real(r.shear, "a shear") ||
            !w.real(r.reaction, "a soil reaction")) {
            return false;
        }
    }
    return true;
}

} // namespace

bool readPlotData(std::istream& in, PlotData& data, std::string& error) {
    Words words(in);
    data.sets.clear();
    long long setCount = -1;
    do {
        data.sets.emplace_back();
        if (!readSet(words, data.sets.back(), setCount)) {
            data.sets.pop_back();
            error = words.error();
            return false;
        }
        if (setCount < 1 || setCount > 1000) {
            error = "the number of result sets must be 1 to 1000, found " + std::to_string(setCount);
            return false;
        }
    } while (static_cast<long long>(data.sets.size()) < setCount);
    return true;
}

} // namespace kelda::results
