#pragma once

// List-directed reading of the wall data file. Every read statement starts at
// the beginning of the next line; values are separated by blanks, TABs or
// commas (runs of separators count as one); when a line holds fewer values
// than the statement asks for, reading goes on over the following lines; the
// rest of a statement's last line is skipped. Lines may end with LF, CR LF or
// a lone CR.
//
// Reading is strict where a guess could hide a mistake: an integer item must
// be a plain decimal integer, a real item a decimal or exponent number (the
// exponent letter may be E or D); anything else — including a file that ends
// inside a record — throws an InputError whose message names the line and the
// item that was expected.

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <utility>

namespace kelda {

class FreeFormatReader {
public:
    // `source` names the text in messages ("DATA FILE", or a working file).
    explicit FreeFormatReader(std::istream& in, std::string source = "DATA FILE")
        : in_(in), source_(std::move(source)) {}

    // Starts a new read statement at the beginning of the next line.
    void beginRecord();
    // Next value of the current statement; `what` names the item for messages
    // ("THE INCREMENT LENGTH").
    int readInt(std::string_view what);
    double readReal(std::string_view what);

    // A whole line as text (the title line): its first `keep` characters,
    // padded with blanks to `width`. Returns false at the end of the file.
    bool readTextLine(std::string& text, std::size_t keep, std::size_t width);

    // Number of the line the reader is on (1-based; 0 before the first line).
    [[nodiscard]] long lineNumber() const { return lineNumber_; }
    // True when no line is left to start a record on.
    [[nodiscard]] bool atEnd();

private:
    bool nextLine();
    std::string_view nextToken(std::string_view what);

    [[nodiscard]] std::string lineMessage(long line, std::string_view text) const;

    std::istream& in_;
    std::string source_;
    std::string line_;
    std::string pending_;      // the rest of a physical line after a lone CR
    bool pendingValid_ = false;
    std::size_t pos_ = 0;
    long lineNumber_ = 0;
};

// "ERROR -- DATA FILE LINE 12: " + text
std::string dataFileLineMessage(long line, std::string_view text);

} // namespace kelda
