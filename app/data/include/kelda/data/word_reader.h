// The token reader of the program's own files (the wall data file in its three
// formats, the stage files and the plot data file). The whole text is held in
// memory; each line is kept as raw text and as its words, cut at blanks and
// TABs (several separators count as one).
//
// Unlike the engine's free-format reader, words are taken in order across
// line ends: nothing left over on a line is skipped unless a line is read as a
// line. Lines without words are passed over where a word is expected.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelda::data {

inline constexpr std::string_view kMsgInvalidOrIncomplete = "This file either invalid or incomplete.";
inline constexpr std::string_view kMsgRealExpected = "A floating point number was expected but not found.";
inline constexpr std::string_view kMsgIntegerExpected = "An integer was expected but not found.";

// A read that failed: the message is the one shown to the user.
class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Error on Line n Item k", a CR, and the reason.
std::string ReadErrorMessage(long line, long item, std::string_view reason);

class TWordReader {
public:
    explicit TWordReader(std::string text);

    // The next word; fails with kMsgInvalidOrIncomplete at the end of the text.
    std::string_view ReadWord();
    // A word read as a real, '.' as the decimal separator whatever the locale.
    double ReadReal();
    // A word read as a real that has no fractional part and fits a 32-bit
    // integer (so "3.0" reads as 3 and "2.5" fails).
    int ReadInteger();
    // An integer from `first` to `last`: item numbers of an enumeration, soil
    // types, the number of stages. Anything else fails with a message naming
    // the line, the item and the range.
    int ReadInteger(int first, int last);
    // A count of rows that follow: negative counts read as 0. A count larger
    // than the characters left in the text cannot be satisfied (every row
    // holds a word at least), so it fails at once as an incomplete file: no
    // count read from a file makes memory grow beyond the file's own size.
    int ReadCount();
    // The raw text of the current line (the line of the last word read, or
    // the next unread line at the start); the following line becomes current.
    std::string ReadLine();

    // Checks a count already read (for the counts of the control line, whose
    // rows come later) against the text left.
    int CheckCount(int count) const;

    // Fails with a message naming the line and the item of the last word read.
    [[noreturn]] void Fail(std::string_view reason) const;

    // 1-based number of the current line.
    long LineNumber() const { return line_ + 1; }

private:
    // Lines are cut into words only when they become current: a reader that
    // stops after the first block of a long file does not pay for the rest.
    void enterLine(std::size_t begin);
    void nextLine();
    bool hasLine() const { return begin_ < text_.size(); }

    std::string text_;
    std::size_t begin_ = 0;   // current line: first character
    std::size_t end_ = 0;     // current line: its end (before CR or LF)
    long line_ = 0;           // current line: 0-based number
    std::vector<std::string_view> words_; // of the current line
    std::size_t next_ = 0;     // next word of the current line
    std::size_t lastWord_ = 0; // last word read, for messages
};

// '.'-separated real as the program writes and reads it: an optional sign,
// digits with an optional point, an optional exponent. Non-finite values and
// any other text fail.
bool ParseFileReal(std::string_view word, double& value);

} // namespace kelda::data
