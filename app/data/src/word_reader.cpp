#include "kelda/data/word_reader.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <system_error>

namespace kelda::data {

std::string ReadErrorMessage(long line, long item, std::string_view reason) {
    return "Error on Line " + std::to_string(line) + " Item " + std::to_string(item) + "\r" + std::string(reason);
}

bool ParseFileReal(std::string_view word, double& value) {
    if (word.empty()) return false;
    // from_chars takes no leading '+'; a sign must still be followed by a number.
    if (word.front() == '+') {
        word.remove_prefix(1);
        if (word.empty() || word.front() == '-' || word.front() == '+') return false;
    }
    const char* first = word.data();
    const char* last = word.data() + word.size();
    // Only digits, point, sign and exponent: no "inf", "nan" or hexadecimal.
    for (const char c : word)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
    double parsed = 0.0;
    const std::from_chars_result r = std::from_chars(first, last, parsed, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != last || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

TWordReader::TWordReader(std::string text) : text_(std::move(text)) {
    words_.reserve(16);
    enterLine(0);
}

void TWordReader::enterLine(std::size_t begin) {
    begin_ = begin;
    words_.clear();
    next_ = 0;
    const std::size_t size = text_.size();
    std::size_t end = begin;
    while (end < size && text_[end] != '\n' && text_[end] != '\r') ++end;
    end_ = end;
    std::size_t p = begin;
    for (;;) {
        while (p < end && (text_[p] == ' ' || text_[p] == '\t')) ++p;
        if (p >= end) break;
        const std::size_t w = p;
        while (p < end && text_[p] != ' ' && text_[p] != '\t') ++p;
        words_.emplace_back(text_.data() + w, p - w);
    }
}

// Lines end at LF, CR LF or a lone CR.
void TWordReader::nextLine() {
    std::size_t after = end_;
    if (after < text_.size()) {
        if (text_[after] == '\r' && after + 1 < text_.size() && text_[after + 1] == '\n') ++after;
        ++after;
    }
    ++line_;
    enterLine(after);
}

void TWordReader::Fail(std::string_view reason) const {
    throw EReadError(ReadErrorMessage(LineNumber(), static_cast<long>(lastWord_) + 1, reason));
}

std::string_view TWordReader::ReadWord() {
    while (next_ >= words_.size()) {
        if (!hasLine()) throw EReadError(std::string(kMsgInvalidOrIncomplete));
        nextLine();
    }
    lastWord_ = next_;
    return words_[next_++];
}

double TWordReader::ReadReal() {
    const std::string_view word = ReadWord();
    double value = 0.0;
    if (!ParseFileReal(word, value)) Fail(kMsgRealExpected);
    return value;
}

int TWordReader::ReadInteger() {
    const std::string_view word = ReadWord();
    double value = 0.0;
    if (!ParseFileReal(word, value) || value != std::trunc(value) || value < static_cast<double>(INT_MIN) ||
        value > static_cast<double>(INT_MAX))
        Fail(kMsgIntegerExpected);
    return static_cast<int>(value);
}

int TWordReader::ReadInteger(int first, int last) {
    const int value = ReadInteger();
    if (value < first || value > last)
        Fail("An integer from " + std::to_string(first) + " to " + std::to_string(last) +
             " was expected but not found.");
    return value;
}

int TWordReader::CheckCount(int count) const {
    if (count < 0) return 0;
    const std::size_t position =
        next_ < words_.size() ? static_cast<std::size_t>(words_[next_].data() - text_.data()) : end_;
    if (static_cast<std::size_t>(count) > text_.size() - position)
        throw EReadError(std::string(kMsgInvalidOrIncomplete));
    return count;
}

int TWordReader::ReadCount() {
    return CheckCount(ReadInteger());
}

std::string TWordReader::ReadLine() {
    if (!hasLine()) throw EReadError(std::string(kMsgInvalidOrIncomplete));
    std::string raw = text_.substr(begin_, end_ - begin_);
    nextLine();
    return raw;
}

} // namespace kelda::data
