#include "free_format_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <variant>

#include "run_errors.h"

namespace kelda {
namespace {

// Reads records from `text`: each inner list is one read statement, 'i' an
// integer item and 'r' a real item. Returns the values read, or the message.
struct ReadCase {
    const char* name;
    const char* text;
    std::vector<std::string> statements;
    std::string expected; // values joined by '|', or the error message
};

std::string readAll(const ReadCase& c) {
    std::istringstream in(c.text);
    FreeFormatReader reader(in);
    std::ostringstream out;
    try {
        for (const std::string& statement : c.statements) {
            reader.beginRecord();
            for (char kind : statement) {
                if (kind == 'i') out << reader.readInt("THE ITEM") << '|';
                else out << reader.readReal("THE ITEM") << '|';
            }
        }
    } catch (const InputError& e) {
        return e.message;
    }
    return out.str();
}

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class ReaderCases : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReaderCases, ReadsAsListDirectedInput) { EXPECT_EQ(readAll(GetParam()), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    FreeFormat, ReaderCases,
    ::testing::Values(
        ReadCase{"BlanksTabsCommas", "1 2\t3,4 ,, 5\n", {"iiiii"}, "1|2|3|4|5|"},
        ReadCase{"CarriageReturnsAreBlanks", "1\t2\r\n3\r\n", {"ii", "i"}, "1|2|3|"},
        ReadCase{"LoneCarriageReturnsEndLines", "1 9\r2\r\r3\r", {"i", "i", "i"}, "1|2|3|"},
        ReadCase{"RecordContinuesOverLines", "1\n\n2 3\n", {"iii"}, "1|2|3|"},
        ReadCase{"RestOfLastLineSkipped", "1 2 3 junk\n4\n", {"i", "i"}, "1|4|"},
        ReadCase{"RealForms", "1E-5 1.5D2 .5 5. +3 -0.25e+1 7\n", {"rrrrrrr"}, "1e-05|150|0.5|5|3|-2.5|7|"},
        ReadCase{"UnderflowIsZero", "1e-999\n", {"r"}, "0|"},
        ReadCase{"PlusSignedInteger", "+12 -7\n", {"ii"}, "12|-7|"},
        ReadCase{"TextForReal", "1\n2 abc\n", {"i", "rr"},
                 "ERROR -- DATA FILE LINE 2: A NUMBER WAS EXPECTED FOR THE ITEM, FOUND 'abc'"},
        ReadCase{"RealForInteger", "2.5\n", {"i"},
                 "ERROR -- DATA FILE LINE 1: AN INTEGER WAS EXPECTED FOR THE ITEM, FOUND '2.5'"},
        ReadCase{"IntegerOutOfRange", "3000000000\n", {"i"},
                 "ERROR -- DATA FILE LINE 1: THE INTEGER FOR THE ITEM IS OUT OF RANGE, FOUND '3000000000'"},
        ReadCase{"RealOverflow", "1e999\n", {"r"},
                 "ERROR -- DATA FILE LINE 1: THE NUMBER FOR THE ITEM IS OUT OF RANGE, FOUND '1e999'"},
        ReadCase{"NoNaNOrInfinity", "nan\n", {"r"},
                 "ERROR -- DATA FILE LINE 1: A NUMBER WAS EXPECTED FOR THE ITEM, FOUND 'nan'"},
        ReadCase{"RepeatCountsAreNotNumbers", "3*1.5\n", {"r"},
                 "ERROR -- DATA FILE LINE 1: A NUMBER WAS EXPECTED FOR THE ITEM, FOUND '3*1.5'"},
        ReadCase{"BinaryAndLongTokensShownSafely", "\x01\x02xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\n", {"r"},
                 "ERROR -- DATA FILE LINE 1: A NUMBER WAS EXPECTED FOR THE ITEM, FOUND "
                 "'??xxxxxxxxxxxxxxxxxxxxxx...'"},
        ReadCase{"EndOfFileInsideRecord", "1 2\n3\n", {"ii", "ii"},
                 "ERROR -- DATA FILE LINE 3: THE FILE ENDS WHERE THE ITEM WAS EXPECTED"},
        ReadCase{"EndOfFileAtRecordStart", "1\n", {"i", "i"},
                 "ERROR -- DATA FILE LINE 2: THE FILE ENDS WHERE THE ITEM WAS EXPECTED"}),
    [](const auto& caseInfo) { return std::string(caseInfo.param.name); });

TEST(FreeFormatReader, TitleLineKeeps70CharactersPaddedTo80) {
    const std::string longTitle(75, 'x');
    std::istringstream in("short title\r\n" + longTitle + "\n");
    FreeFormatReader reader(in);
    std::string title;
    ASSERT_TRUE(reader.readTextLine(title, 70, 80));
    EXPECT_EQ(title, "short title" + std::string(69, ' '));
    ASSERT_TRUE(reader.readTextLine(title, 70, 80));
    EXPECT_EQ(title, std::string(70, 'x') + std::string(10, ' '));
    EXPECT_FALSE(reader.readTextLine(title, 70, 80));
}

TEST(FreeFormatReader, TitleIsAStatementOfItsOwn) {
    std::istringstream in("12 title\n3\n");
    FreeFormatReader reader(in);
    std::string title;
    ASSERT_TRUE(reader.readTextLine(title, 70, 80));
    reader.beginRecord();
    EXPECT_EQ(reader.readInt("THE ITEM"), 3);
    EXPECT_EQ(reader.lineNumber(), 2);
}

} // namespace
} // namespace kelda
