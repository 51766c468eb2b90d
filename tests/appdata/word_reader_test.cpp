// The token reader of the program's files and its messages.

#include "kelda/data/word_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace kelda::data {
namespace {

std::string failure(const std::function<void()>& read) {
    try {
        read();
    } catch (const EReadError& e) {
        return e.what();
    }
    return "no failure";
}

TEST(WordReader, IntegersAreRealsWithoutFraction) {
    TWordReader in("title\r\n3.0 2.5\r\n");
    EXPECT_EQ(in.ReadLine(), "title");
    EXPECT_EQ(in.ReadInteger(), 3);
    EXPECT_EQ(failure([&] { in.ReadInteger(); }), "Error on Line 2 Item 2\rAn integer was expected but not found.");
}

TEST(WordReader, Messages) {
    TWordReader reals("1 2\t\t x\n");
    reals.ReadReal();
    reals.ReadReal();
    EXPECT_EQ(failure([&] { reals.ReadReal(); }),
              "Error on Line 1 Item 3\rA floating point number was expected but not found.");
    EXPECT_EQ(failure([&] { reals.ReadWord(); }), "This file either invalid or incomplete.");

    TWordReader big("3000000000 -2147483648");
    EXPECT_EQ(failure([&] { big.ReadInteger(); }), "Error on Line 1 Item 1\rAn integer was expected but not found.");
    EXPECT_EQ(big.ReadInteger(), -2147483648);

    TWordReader item("8");
    EXPECT_EQ(failure([&] { item.ReadInteger(1, 7); }),
              "Error on Line 1 Item 1\rAn integer from 1 to 7 was expected but not found.");
}

TEST(WordReader, RealsAreReadWithAPointWhateverTheLocale) {
    TWordReader in("1E-5 -0.25 +4 1,5 inf nan 0x10 1e999");
    EXPECT_EQ(in.ReadReal(), 1e-5);
    EXPECT_EQ(in.ReadReal(), -0.25);
    EXPECT_EQ(in.ReadReal(), 4.0);
    for (int i = 0; i < 5; ++i) EXPECT_NE(failure([&] { in.ReadReal(); }), "no failure");
}

// Words are taken across line ends; empty lines and lines of blanks are
// passed over; a line read as a line skips what is left of the current one.
TEST(WordReader, WordsAndLines) {
    TWordReader in("a b\r\n\r\n \t \rc\nrest of line\nnext\n");
    EXPECT_EQ(in.ReadWord(), "a");
    EXPECT_EQ(in.ReadWord(), "b");
    EXPECT_EQ(in.ReadWord(), "c");
    EXPECT_EQ(in.LineNumber(), 4);
    EXPECT_EQ(in.ReadWord(), "rest");
    EXPECT_EQ(in.ReadLine(), "rest of line");
    EXPECT_EQ(in.ReadLine(), "next");
    EXPECT_EQ(failure([&] { in.ReadLine(); }), "This file either invalid or incomplete.");
}

// A count that the words left cannot satisfy fails at once, before anything
// is made for it; negative counts read as 0.
TEST(WordReader, CountsAreBoundedByTheText) {
    TWordReader in("-5 3 a b c 20 x");
    EXPECT_EQ(in.ReadCount(), 0);
    EXPECT_EQ(in.ReadCount(), 3);
    in.ReadWord();
    in.ReadWord();
    in.ReadWord();
    EXPECT_EQ(failure([&] { in.ReadCount(); }), "This file either invalid or incomplete.");
}

} // namespace
} // namespace kelda::data
