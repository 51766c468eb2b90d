#include "line_layout.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

// The notation is that of Fortran formatted output, and the formatter follows
// the Fortran rules exactly (checked line by line against gfortran by
// tests/format). One deliberate difference: Fortran ignores blanks inside a
// format, so "I2 2X" would read as I22 and X; here a blank ends an item, as
// the report layouts are written with blanks between items.
//
//
//  * Numbers go through std::to_chars, which rounds the exact binary value to
//    nearest with ties to even, as the Fortran runtime does, and which never
//    depends on the process locale (a GUI host may set a decimal comma).
//  * The sign of a negative value that rounds to zero, and of a negative
//    zero, is kept: F7.3 writes " -0.000", E10.3 writes "-0.000E+00".
//  * Fw.d writes the "0" before the decimal point only when the field has
//    room for it (F4.3 of 0.5 is ".500"); with d = 0 the "0" is never
//    dropped (F2.0 of -0.4 does not fit).
//  * Ew.d likewise drops the leading "0" of "0.ddd" only when needed; an
//    exponent of three digits replaces the letter ("0.123+100"), and one of
//    four or more digits does not fit at all.
//  * Inf and NaN are written as "Infinity", "-Infinity", "Inf", "-Inf" or
//    "NaN", whichever fits, right-aligned.
//  * nX only moves the position: the blanks are written when something
//    follows on the same line, so blanks skipped at the end of a line are not
//    written (a literal keeps its own trailing blanks).
//  * Control stops at the first data item that has no value left (literals,
//    X and / before it are processed). When values remain at the end of the
//    layout the line ends and control reverts to the last top-level group,
//    with its repeat count, or to the beginning when there is no group.

namespace kelda::layout {
namespace {

// The text of one write: in place up to a size that holds the lines of any
// report block, on the heap only beyond it, so that writing a line does not
// allocate. It offers the few string operations the edit descriptors use
// (std::string offers the same, for format() and the single edits).
class LineBuffer {
public:
    void push_back(char c) {
        if (more_.empty() && size_ < kRoom) {
            room_[size_++] = c;
        } else {
            spill().push_back(c);
        }
    }
    void append(std::size_t n, char c) {
        if (more_.empty() && n <= kRoom - size_) {
            std::fill_n(room_ + size_, n, c);
            size_ += n;
        } else {
            spill().append(n, c);
        }
    }
    void append(std::string_view text) {
        if (more_.empty() && text.size() <= kRoom - size_) {
            std::copy(text.begin(), text.end(), room_ + size_);
            size_ += text.size();
        } else {
            spill().append(text);
        }
    }
    [[nodiscard]] bool empty() const { return view().empty(); }
    [[nodiscard]] char back() const { return view().back(); }
    [[nodiscard]] std::string_view view() const {
        return more_.empty() ? std::string_view(room_, size_) : std::string_view(more_);
    }

private:
    static constexpr std::size_t kRoom = 2048;

    std::string& spill() {
        if (more_.empty()) more_.assign(room_, size_);
        return more_;
    }

    char room_[kRoom];
    std::size_t size_ = 0;
    std::string more_;
};

// ---------------------------------------------------------------------------
// Edit descriptors appended to a line under construction.

// Buffer for one number as std::to_chars writes it. Wider fields fall back to
// a heap buffer (a report never uses them; the public edit functions accept
// any width).
constexpr std::size_t kNumberBuffer = 128;

template <class Out> void appendStars(Out& out, int w) {
    if (w > 0) out.append(static_cast<std::size_t>(w), '*');
}

template <class Out> void appendRight(Out& out, int w, std::string_view text) {
    const auto len = static_cast<int>(text.size());
    if (len > w) {
        appendStars(out, w);
        return;
    }
    out.append(static_cast<std::size_t>(w - len), ' ');
    out.append(text);
}

template <class Out> void appendNonFinite(Out& out, double v, int w) {
    if (std::isnan(v)) {
        appendRight(out, w, "NaN");
        return;
    }
    const bool neg = std::signbit(v);
    if (neg) {
        appendRight(out, w, w >= 9 ? "-Infinity" : "-Inf");
    } else {
        appendRight(out, w, w >= 8 ? "Infinity" : "Inf");
    }
}

// Calls fn with std::to_chars' text of `a` (>= 0) in the given format:
// "12.345" or, with precision 0, "12" for fixed; "1.2345e+06" for scientific.
template <class Fn>
void withDigits(double a, std::chars_format fmt, int precision, std::size_t need, Fn&& fn) {
    std::array<char, kNumberBuffer> small{};
    if (need <= small.size()) {
        auto r = std::to_chars(small.data(), small.data() + small.size(), a, fmt, precision);
        fn(std::string_view(small.data(), static_cast<std::size_t>(r.ptr - small.data())));
        return;
    }
    std::vector<char> big(need);
    auto r = std::to_chars(big.data(), big.data() + big.size(), a, fmt, precision);
    fn(std::string_view(big.data(), static_cast<std::size_t>(r.ptr - big.data())));
}

template <class Out> void appendFixed(Out& out, double v, int w, int d) {
    if (!std::isfinite(v)) {
        appendNonFinite(out, v, w);
        return;
    }
    const bool neg = std::signbit(v);
    const double a = std::fabs(v);
    // 10^w or more has at least w + 1 integer digits and cannot fit: no
    // conversion (and no 300-digit buffer for F7.3 of 1E300). Near 10^w the
    // test may err towards asterisks, which are right there anyway.
    std::size_t intDigits = 18;
    if (a >= 1e17) {
        if (std::log10(a) >= static_cast<double>(w)) {
            appendStars(out, w);
            return;
        }
        intDigits = static_cast<std::size_t>(w) + 2;
    }
    const std::size_t need = intDigits + static_cast<std::size_t>(d) + 2;
    withDigits(a, std::chars_format::fixed, d, need, [&](std::string_view digits) {
        const std::size_t point = digits.find('.');
        const std::string_view ip = digits.substr(0, point);
        const std::string_view fp =
            point == std::string_view::npos ? std::string_view{} : digits.substr(point + 1);
        const int full = (neg ? 1 : 0) + static_cast<int>(ip.size()) + 1 + d;
        bool dropZero = false;
        if (full > w) {
            // "0.5" may lose its "0" to fit, "0." (d = 0) may not.
            if (ip == "0" && d > 0 && full - 1 <= w) {
                dropZero = true;
            } else {
                appendStars(out, w);
                return;
            }
        }
        out.append(static_cast<std::size_t>(w - (dropZero ? full - 1 : full)), ' ');
        if (neg) out.push_back('-');
        if (!dropZero) out.append(ip);
        out.push_back('.');
        out.append(fp);
    });
}

template <class Out> void appendExp(Out& out, double v, int w, int d, char letter) {
    if (!std::isfinite(v)) {
        appendNonFinite(out, v, w);
        return;
    }
    if (d < 1) {
        appendStars(out, w);
        return;
    }
    const bool neg = std::signbit(v);
    const double a = std::fabs(v);
    const int full = (neg ? 1 : 0) + 2 + d + 4; // [-]0.ddd E+dd
    if (full - 1 > w) {
        appendStars(out, w);
        return;
    }
    const bool dropZero = full > w;

    auto emit = [&](std::string_view lead, std::string_view rest, int exponent) {
        const int absExp = exponent < 0 ? -exponent : exponent;
        if (absExp > 999) {
            appendStars(out, w);
            return;
        }
        out.append(static_cast<std::size_t>(w - (dropZero ? full - 1 : full)), ' ');
        if (neg) out.push_back('-');
        if (!dropZero) out.push_back('0');
        out.push_back('.');
        out.append(lead);
        out.append(rest);
        if (absExp <= 99) {
            out.push_back(letter);
            out.push_back(exponent < 0 ? '-' : '+');
        } else {
            // No room for the letter: the sign takes its place.
            out.push_back(exponent < 0 ? '-' : '+');
            out.push_back(static_cast<char>('0' + absExp / 100));
        }
        out.push_back(static_cast<char>('0' + absExp / 10 % 10));
        out.push_back(static_cast<char>('0' + absExp % 10));
    };

    if (a == 0.0) {
        const std::string zeros(static_cast<std::size_t>(d), '0');
        emit(std::string_view{}, zeros, 0);
        return;
    }
    // "D.DDDe+XXX": d digits, the point, 'e', sign and up to 3 digits.
    const std::size_t need = static_cast<std::size_t>(d) + 8;
    withDigits(a, std::chars_format::scientific, d - 1, need, [&](std::string_view s) {
        const std::size_t e = s.find('e');
        int e10 = 0;
        std::from_chars(s.data() + e + 2, s.data() + s.size(), e10);
        if (s[e + 1] == '-') e10 = -e10;
        // D.DDD x 10^e10 = 0.DDDD x 10^(e10 + 1)
        emit(s.substr(0, 1), e > 2 ? s.substr(2, e - 2) : std::string_view{}, e10 + 1);
    });
}

template <class Out> void appendInteger(Out& out, long long v, int w) {
    std::array<char, 24> buf{};
    auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v);
    appendRight(out, w, std::string_view(buf.data(), static_cast<std::size_t>(r.ptr - buf.data())));
}

// w <= 0: the whole text.
template <class Out> void appendText(Out& out, std::string_view text, int w) {
    if (w <= 0) {
        out.append(text);
        return;
    }
    const auto width = static_cast<std::size_t>(w);
    if (text.size() >= width) {
        out.append(text.substr(0, width));
    } else {
        out.append(width - text.size(), ' ');
        out.append(text);
    }
}

template <class Out> void appendLogical(Out& out, bool v, int w) {
    if (w <= 0) return;
    out.append(static_cast<std::size_t>(w - 1), ' ');
    out.push_back(v ? 'T' : 'F');
}

// ---------------------------------------------------------------------------
// Parsed layout.

enum class Op : std::uint8_t { Literal, Skip, Slash, Integer, Fixed, Exp, Text, Logical, Open, Close };

struct Item {
    Op op = Op::Literal;
    char letter = 'E';   // Exp: 'E' or 'D'; Literal: the quote character
    bool doubled = false; // Literal: contains a doubled quote
    int repeat = 1;       // data items, Slash, Open
    int w = 0;            // field width, X count; Text: 0 = whole text
    int d = 0;
    std::uint32_t begin = 0; // Literal: text position in the layout
    std::uint32_t length = 0;
    int link = -1; // Close: index of its Open
};

// The items of one layout: held in place for the layouts the engine writes
// (a few dozen items), on the heap only for longer ones, so that writing a
// line does not allocate. The room in place is left unwritten until an item
// is stored: clearing all of it cost more than most lines take to format.
class ItemList {
public:
    void push_back(const Item& it) {
        if (size_ < kFixedItems) {
            std::construct_at(&room_.items[size_], it);
        } else {
            if (more_.empty()) more_.assign(room_.items, room_.items + kFixedItems);
            more_.push_back(it);
        }
        ++size_;
    }
    [[nodiscard]] std::size_t size() const { return size_; }
    [[nodiscard]] bool empty() const { return size_ == 0; }
    Item& operator[](std::size_t i) { return more_.empty() ? room_.items[i] : more_[i]; }
    const Item& operator[](std::size_t i) const { return more_.empty() ? room_.items[i] : more_[i]; }
    Item& back() { return (*this)[size_ - 1]; }
    [[nodiscard]] const Item& back() const { return (*this)[size_ - 1]; }

private:
    static constexpr std::size_t kFixedItems = 96;
    union Room {
        Room() {}
        Item items[kFixedItems];
    } room_;
    std::vector<Item> more_;
    std::size_t size_ = 0;
};

constexpr int kMaxDepth = 16;
constexpr int kMaxNumber = 100000;

bool isDataOp(Op op) {
    return op == Op::Integer || op == Op::Fixed || op == Op::Exp || op == Op::Text || op == Op::Logical;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

class Parser {
public:
    Parser(std::string_view text, ItemList& items) : s_(text), items_(items) {}

    // Fills the items; false on a syntax error. `reversion` is the item at
    // which control resumes when values remain at the end of the layout.
    bool parse(int& reversion) {
        std::size_t begin = 0;
        std::size_t end = s_.size();
        trimOuter(begin, end);
        pos_ = begin;
        end_ = end;
        std::array<int, kMaxDepth> open{};
        int depth = 0;
        reversion = 0;
        while (true) {
            // Separators: blanks, and at most one comma between two items.
            bool comma = false;
            while (pos_ < end_ && (isBlank(s_[pos_]) || s_[pos_] == ',')) {
                if (s_[pos_] == ',') {
                    if (comma || items_.empty() || afterOpen()) return false;
                    comma = true;
                }
                ++pos_;
            }
            if (pos_ >= end_) {
                if (comma) return false;
                break;
            }
            const char c = s_[pos_];
            if (c == ')') {
                if (depth == 0 || comma) return false;
                ++pos_;
                Item it;
                it.op = Op::Close;
                it.link = open[static_cast<std::size_t>(--depth)];
                if (it.link == static_cast<int>(items_.size()) - 1) return false; // "()"
                if (depth == 0) reversion = it.link;
                items_.push_back(it);
                continue;
            }
            if (c == '\'' || c == '"') {
                if (!literal()) return false;
                continue;
            }
            int repeat = 1;
            bool counted = false;
            if (isDigit(c)) {
                if (!number(repeat) || repeat < 1) return false;
                counted = true;
            }
            if (pos_ >= end_) return false;
            const char k = upper(s_[pos_]);
            if (k == '(') {
                ++pos_;
                if (depth == kMaxDepth) return false;
                Item it;
                it.op = Op::Open;
                it.repeat = repeat;
                open[static_cast<std::size_t>(depth++)] = static_cast<int>(items_.size());
                items_.push_back(it);
                continue;
            }
            if (k == '/') {
                ++pos_;
                Item it;
                it.op = Op::Slash;
                it.repeat = repeat;
                items_.push_back(it);
                continue;
            }
            if (k == 'X') {
                if (!counted) return false;
                ++pos_;
                Item it;
                it.op = Op::Skip;
                it.w = repeat;
                items_.push_back(it);
                continue;
            }
            if (!descriptor(k, repeat)) return false;
        }
        if (depth != 0) return false;
        return true;
    }

private:
    // Strips "( ... )" when the first parenthesis encloses the whole layout.
    void trimOuter(std::size_t& begin, std::size_t& end) const {
        while (begin < end && isBlank(s_[begin])) ++begin;
        while (end > begin && isBlank(s_[end - 1])) --end;
        if (begin >= end || s_[begin] != '(' || s_[end - 1] != ')') return;
        int depth = 0;
        for (std::size_t i = begin; i < end; ++i) {
            const char c = s_[i];
            if (c == '\'' || c == '"') {
                // Skip the literal, doubled quotes included.
                for (++i; i < end; ++i) {
                    if (s_[i] == c) {
                        if (i + 1 < end && s_[i + 1] == c) {
                            ++i;
                        } else {
                            break;
                        }
                    }
                }
                continue;
            }
            if (c == '(') ++depth;
            if (c == ')' && --depth == 0) {
                if (i == end - 1) {
                    ++begin;
                    --end;
                }
                return;
            }
        }
    }

    bool afterOpen() const { return !items_.empty() && items_.back().op == Op::Open; }

    bool number(int& value) {
        if (pos_ >= end_ || !isDigit(s_[pos_])) return false;
        long v = 0;
        while (pos_ < end_ && isDigit(s_[pos_])) {
            v = v * 10 + (s_[pos_] - '0');
            if (v > kMaxNumber) return false;
            ++pos_;
        }
        value = static_cast<int>(v);
        return true;
    }

    bool literal() {
        const char q = s_[pos_++];
        Item it;
        it.op = Op::Literal;
        it.letter = q;
        it.begin = static_cast<std::uint32_t>(pos_);
        while (true) {
            if (pos_ >= end_) return false; // unterminated
            if (s_[pos_] == q) {
                if (pos_ + 1 < end_ && s_[pos_ + 1] == q) {
                    it.doubled = true;
                    pos_ += 2;
                    continue;
                }
                break;
            }
            ++pos_;
        }
        it.length = static_cast<std::uint32_t>(pos_) - it.begin;
        ++pos_;
        items_.push_back(it);
        return true;
    }

    bool descriptor(char k, int repeat) {
        Item it;
        it.repeat = repeat;
        ++pos_;
        switch (k) {
        case 'I':
            it.op = Op::Integer;
            if (!number(it.w) || it.w < 1) return false;
            break;
        case 'L':
            it.op = Op::Logical;
            if (!number(it.w) || it.w < 1) return false;
            break;
        case 'A':
            it.op = Op::Text;
            if (pos_ < end_ && isDigit(s_[pos_]) && (!number(it.w) || it.w < 1)) return false;
            break;
        case 'F':
        case 'E':
        case 'D':
            it.op = k == 'F' ? Op::Fixed : Op::Exp;
            it.letter = k;
            if (!number(it.w) || it.w < 1) return false;
            if (pos_ >= end_ || s_[pos_] != '.') return false;
            ++pos_;
            if (!number(it.d)) return false;
            if (k != 'F' && it.d < 1) return false;
            break;
        default:
            return false;
        }
        items_.push_back(it);
        return true;
    }

    std::string_view s_;
    ItemList& items_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
};

template <class Out> void appendLayoutError(Out& out, std::string_view layout, std::string_view what) {
    if (!out.empty() && out.back() != '\n') out.push_back('\n');
    out.append("**** ");
    out.append(what);
    out.append(": ");
    out.append(layout);
    out.push_back('\n');
}

template <class Out> void appendLiteral(Out& out, std::string_view layout, const Item& it) {
    const std::string_view text = layout.substr(it.begin, it.length);
    if (!it.doubled) {
        out.append(text);
        return;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == it.letter) ++i; // the second of a doubled quote
    }
}

// Writes one value with one data item; a value of the wrong kind is a
// programming error and shows as asterisks across the field.
template <class Out> void appendValue(Out& out, const Item& it, const Arg& arg) {
    using K = Arg::Kind;
    switch (it.op) {
    case Op::Integer:
        if (arg.kind() == K::Integer) return appendInteger(out, arg.integer(), it.w);
        break;
    case Op::Fixed:
        if (arg.kind() == K::Real) return appendFixed(out, arg.real(), it.w, it.d);
        break;
    case Op::Exp:
        if (arg.kind() == K::Real) return appendExp(out, arg.real(), it.w, it.d, it.letter);
        break;
    case Op::Text:
        if (arg.kind() == K::Text) return appendText(out, arg.text(), it.w);
        break;
    case Op::Logical:
        if (arg.kind() == K::Logical) return appendLogical(out, arg.logical(), it.w);
        break;
    default:
        break;
    }
    assert(!"line layout: value of the wrong kind for its item");
    appendStars(out, it.w > 0 ? it.w : 1);
}

template <class Out> void run(Out& out, std::string_view layout, std::span<const Arg> args) {
    ItemList items;
    int reversion = 0;
    if (!Parser(layout, items).parse(reversion)) {
        assert(!"line layout: syntax error");
        appendLayoutError(out, layout, "invalid layout");
        return;
    }

    bool reversionHasData = false;
    for (std::size_t i = static_cast<std::size_t>(reversion); i < items.size(); ++i) {
        if (isDataOp(items[i].op)) {
            reversionHasData = true;
            break;
        }
    }

    struct Frame {
        int open;
        int left;
    };
    std::array<Frame, kMaxDepth> stack{};
    int depth = 0;
    std::size_t next = 0;    // next value
    std::size_t pending = 0; // blanks skipped by X, written before the next text
    const auto count = static_cast<int>(items.size());
    int idx = 0;

    auto flush = [&] {
        if (pending != 0) {
            out.append(pending, ' ');
            pending = 0;
        }
    };

    while (true) {
        if (idx == count) {
            if (next >= args.size()) break;
            if (!reversionHasData) {
                assert(!"line layout: values left over and no data item to take them");
                out.push_back('\n');
                appendLayoutError(out, layout, "values left over for layout");
                return;
            }
            out.push_back('\n');
            pending = 0;
            idx = reversion;
            depth = 0;
            continue;
        }
        const Item& it = items[static_cast<std::size_t>(idx)];
        switch (it.op) {
        case Op::Open:
            stack[static_cast<std::size_t>(depth++)] = Frame{idx, it.repeat};
            ++idx;
            break;
        case Op::Close: {
            Frame& f = stack[static_cast<std::size_t>(depth - 1)];
            if (--f.left > 0) {
                idx = f.open + 1;
            } else {
                --depth;
                ++idx;
            }
            break;
        }
        case Op::Skip:
            pending += static_cast<std::size_t>(it.w);
            ++idx;
            break;
        case Op::Slash:
            pending = 0;
            out.append(static_cast<std::size_t>(it.repeat), '\n');
            ++idx;
            break;
        case Op::Literal:
            flush();
            appendLiteral(out, layout, it);
            ++idx;
            break;
        default:
            for (int r = 0; r < it.repeat; ++r) {
                if (next >= args.size()) {
                    out.push_back('\n');
                    return;
                }
                flush();
                appendValue(out, it, args[next++]);
            }
            ++idx;
            break;
        }
    }
    out.push_back('\n');
}

} // namespace

void appendTo(std::string& out, std::string_view layout, std::span<const Arg> args) { run(out, layout, args); }

std::string format(std::string_view layout, std::span<const Arg> args) {
    std::string out;
    out.reserve(layout.size() + 16 * args.size() + 1);
    run(out, layout, args);
    return out;
}

void write(std::ostream& out, std::string_view layout, std::span<const Arg> args) {
    LineBuffer text;
    run(text, layout, args);
    const std::string_view lines = text.view();
    out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
}

std::string editI(long long value, int w) {
    std::string out;
    appendInteger(out, value, w);
    return out;
}

std::string editF(double value, int w, int d) {
    std::string out;
    appendFixed(out, value, w, d < 0 ? 0 : d);
    return out;
}

std::string editE(double value, int w, int d, char letter) {
    std::string out;
    appendExp(out, value, w, d, letter);
    return out;
}

std::string editA(std::string_view text, int w) {
    std::string out;
    appendText(out, text, w);
    return out;
}

std::string editL(bool value, int w) {
    std::string out;
    appendLogical(out, value, w);
    return out;
}

} // namespace kelda::layout
