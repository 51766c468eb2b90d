#include "free_format_reader.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "run_errors.h"

namespace kelda {

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The token as it may be shown in a message: printable ASCII only, at most 24
// characters, so that a binary or very long token cannot spoil the report.
std::string shown(std::string_view token) {
    std::string out;
    const std::size_t limit = 24;
    for (std::size_t i = 0; i < token.size() && i < limit; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        out += (c >= 0x20 && c < 0x7f) ? static_cast<char>(c) : '?';
    }
    if (token.size() > limit) out += "...";
    return out;
}

// Decimal or exponent form: [sign] (digits [. [digits]] | . digits) [(E|D) [sign] digits]
bool isRealSyntax(std::string_view t) {
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t mantissaDigits = 0;
    while (i < t.size() && isDigit(t[i])) ++i, ++mantissaDigits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (i == t.size()) return true;
    if (t[i] != 'e' && t[i] != 'E' && t[i] != 'd' && t[i] != 'D') return false;
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < t.size() && isDigit(t[i])) ++i, ++exponentDigits;
    return exponentDigits > 0 && i == t.size();
}

} // namespace

std::string dataFileLineMessage(long line, std::string_view text) {
    return "ERROR -- DATA FILE LINE " + std::to_string(line) + ": " + std::string(text);
}

std::string FreeFormatReader::lineMessage(long line, std::string_view text) const {
    return "ERROR -- " + source_ + " LINE " + std::to_string(line) + ": " + std::string(text);
}

// Lines end with LF, CR LF or a lone CR (files saved by old editors), so a
// physical line read up to LF may hold several lines separated by CR.
bool FreeFormatReader::nextLine() {
    if (!pendingValid_) {
        if (!std::getline(in_, pending_)) {
            line_.clear();
            pos_ = 0;
            return false;
        }
        pendingValid_ = true;
    }
    const std::size_t cr = pending_.find('\r');
    if (cr != std::string::npos && cr + 1 < pending_.size()) {
        line_.assign(pending_, 0, cr);
        pending_.erase(0, cr + 1);
    } else {
        line_.swap(pending_);
        if (!line_.empty() && line_.back() == '\r') line_.pop_back();
        pendingValid_ = false;
    }
    ++lineNumber_;
    pos_ = 0;
    return true;
}

bool FreeFormatReader::atEnd() { return !pendingValid_ && in_.peek() == std::char_traits<char>::eof(); }

void FreeFormatReader::beginRecord() {
    // The next statement starts on a fresh line; reading it is deferred to the
    // first value so that the line number of an end-of-file message is right.
    pos_ = std::string::npos;
}

std::string_view FreeFormatReader::nextToken(std::string_view what) {
    for (;;) {
        if (pos_ != std::string::npos) {
            while (pos_ < line_.size() && isSeparator(line_[pos_])) ++pos_;
            if (pos_ < line_.size()) {
                const std::size_t start = pos_;
                while (pos_ < line_.size() && !isSeparator(line_[pos_])) ++pos_;
                return std::string_view(line_).substr(start, pos_ - start);
            }
        }
        if (!nextLine()) {
            throw InputError::badData(lineMessage(
                lineNumber_ + 1, "THE FILE ENDS WHERE " + std::string(what) + " WAS EXPECTED"));
        }
    }
}

int FreeFormatReader::readInt(std::string_view what) {
    const std::string_view token = nextToken(what);
    std::string_view digits = token;
    if (digits.size() > 1 && digits.front() == '+' && isDigit(digits[1])) digits.remove_prefix(1);
    long long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    const bool whole = end == digits.data() + digits.size();
    if (ec == std::errc::result_out_of_range ||
        (ec == std::errc() && whole &&
         (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min()))) {
        throw InputError::badData(lineMessage(
            lineNumber_, "THE INTEGER FOR " + std::string(what) + " IS OUT OF RANGE, FOUND '" + shown(token) + "'"));
    }
    if (ec != std::errc() || !whole) {
        throw InputError::badData(lineMessage(
            lineNumber_, "AN INTEGER WAS EXPECTED FOR " + std::string(what) + ", FOUND '" + shown(token) + "'"));
    }
    return static_cast<int>(value);
}

double FreeFormatReader::readReal(std::string_view what) {
    const std::string_view token = nextToken(what);
    if (!isRealSyntax(token)) {
        throw InputError::badData(lineMessage(
            lineNumber_, "A NUMBER WAS EXPECTED FOR " + std::string(what) + ", FOUND '" + shown(token) + "'"));
    }
    std::string text(token);
    for (char& c : text) {
        if (c == 'd' || c == 'D') c = 'e';
    }
    const char* first = text.data();
    if (*first == '+') ++first;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Underflow to zero is harmless; overflow is not a usable value.
        bool tiny = false;
        const auto epos = text.find('e');
        if (epos != std::string::npos && epos + 1 < text.size() && text[epos + 1] == '-') tiny = true;
        if (tiny) return 0.0;
    }
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        throw InputError::badData(lineMessage(
            lineNumber_, "THE NUMBER FOR " + std::string(what) + " IS OUT OF RANGE, FOUND '" + shown(token) + "'"));
    }
    return value;
}

bool FreeFormatReader::readTextLine(std::string& text, std::size_t keep, std::size_t width) {
    if (!nextLine()) return false;
    text.assign(std::string_view(line_).substr(0, keep));
    if (text.size() < width) text.append(width - text.size(), ' ');
    pos_ = std::string::npos; // the title line is a statement of its own
    return true;
}

} // namespace kelda
