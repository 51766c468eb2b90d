#pragma once

// Fixed-layout text output: the line layout notation in which every line of
// the report, the notes file and the formatted lines of the plot file are
// written. A layout is a list of items read left to right, e.g.
//
//     ( / 6X 'Stage No :' I2 2X A70 )
//     "   STA I", 3X, I4, 2X, 5E10.3
//
// Items: nX, 'text' or "text" (a quote inside is doubled), Iw, Fw.d, Ew.d,
// Dw.d, Aw and A, Lw, "/", k-fold repeats (kIw, kEw.d, k( ... )). Items are
// separated by blanks and/or commas; the outer parentheses are optional.
// The output follows a Fortran formatted WRITE byte for byte (checked against
// gfortran): a number that does not fit its field is w asterisks, values are
// rounded to nearest, an exponent of three digits drops its letter
// (0.123+100). One call writes whole lines: every line ends with '\n'.
// Unlike Fortran, a blank ends an item ("I2 2X" is I2 then 2X).
//
// A layout with a syntax error, or a value of the wrong kind for its item, is
// a programming error: it asserts in a debug build; a release build writes a
// line "**** invalid layout: ..." or asterisks across the field instead.

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace kelda::layout {

// One value handed to a layout: an integer, a real, a text or a logical.
class Arg {
public:
    enum class Kind { Integer, Real, Text, Logical };

    Arg(int v) : kind_(Kind::Integer), i_(v) {}
    Arg(long v) : kind_(Kind::Integer), i_(v) {}
    Arg(long long v) : kind_(Kind::Integer), i_(v) {}
    Arg(double v) : kind_(Kind::Real), d_(v) {}
    Arg(bool v) : kind_(Kind::Logical), b_(v) {}
    Arg(const char* v) : kind_(Kind::Text), s_(v) {}
    Arg(std::string_view v) : kind_(Kind::Text), s_(v) {}
    Arg(const std::string& v) : kind_(Kind::Text), s_(v) {}

    [[nodiscard]] Kind kind() const { return kind_; }
    [[nodiscard]] long long integer() const { return i_; }
    [[nodiscard]] double real() const { return d_; }
    [[nodiscard]] std::string_view text() const { return s_; }
    [[nodiscard]] bool logical() const { return b_; }

private:
    Kind kind_;
    long long i_ = 0;
    double d_ = 0.0;
    bool b_ = false;
    std::string_view s_;
};

// The lines that `layout` produces with `args`.
std::string format(std::string_view layout, std::span<const Arg> args);
inline std::string format(std::string_view layout, std::initializer_list<Arg> args = {}) {
    return format(layout, std::span<const Arg>(args.begin(), args.size()));
}

// Appends those lines to `out` (no allocation when `out` has room: for
// writing lines in a loop into one reused buffer).
void appendTo(std::string& out, std::string_view layout, std::span<const Arg> args);

// Writes those lines to `out`.
void write(std::ostream& out, std::string_view layout, std::span<const Arg> args);
inline void write(std::ostream& out, std::string_view layout, std::initializer_list<Arg> args = {}) {
    write(out, layout, std::span<const Arg>(args.begin(), args.size()));
}

// Single edit descriptors, each giving exactly w characters (A with w = 0:
// the whole text).
std::string editI(long long value, int w);
std::string editF(double value, int w, int d);
std::string editE(double value, int w, int d, char letter = 'E');
std::string editA(std::string_view text, int w);
std::string editL(bool value, int w);

} // namespace kelda::layout
