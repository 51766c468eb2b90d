#include "kelda/data/data_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelda::data {
namespace {

struct CheckCase {
    const char* name;
    DataEditDefinition definition;
    const char* typed;
    bool valid;
    std::string message;
    const char* textAfter;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
    *os << c.name;
}

class DataEditCheckTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(DataEditCheckTest, ExitCheck) {
    const CheckCase& c = GetParam();
    DataEditModel field(c.definition, '.');
    field.setText(c.typed);
    const CheckResult r = field.check();
    EXPECT_EQ(r.valid, c.valid);
    EXPECT_EQ(field.isValid(), c.valid);
    EXPECT_EQ(r.message, c.message);
    EXPECT_EQ(r.refocus, !c.valid);
    EXPECT_EQ(field.text(), c.textAfter);
}

DataEditDefinition integerField(double minVal, double maxVal) {
    DataEditDefinition d;
    d.integerOnly = true;
    d.minVal = minVal;
    d.maxVal = maxVal;
    return d;
}

DataEditDefinition realField(double minVal, double maxVal) {
    DataEditDefinition d;
    d.minVal = minVal;
    d.maxVal = maxVal;
    return d;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataEditCheckTest,
    ::testing::Values(CheckCase{"FormulaIsReplacedByValue", {}, "12*3.5", true, "", "42"},
                      CheckCase{"AboveMaxCorrected", integerField(1, 300), "301", false,
                                "Entry must be less than or equal to 300", "300"},
                      CheckCase{"BelowMinCorrected", integerField(1, 300), "0", false,
                                "Entry must be greater than or equal to 1", "1"},
                      CheckCase{"RealBelowMin", realField(0.5, 10), "0.25", false,
                                "Entry must be greater than or equal to 0.5", "0.5"},
                      CheckCase{"IntegerOnlyFraction", integerField(1, 300), "2.5", false,
                                "Entry must be an integer.", "2.5"},
                      CheckCase{"IntegerOnlyNearWhole", integerField(1, 300), "0.57*100", true, "", "57"},
                      CheckCase{"IntegerOnlyEvaluationError", integerField(1, 300), "abc", false,
                                "Entry must be a valid integer.", "abc"},
                      CheckCase{
                          "RealEvaluationError", {}, "2*", false, std::string(kMsgInvalidExpression), "2*"},
                      CheckCase{"BlankReal", {}, "", false, std::string(kMsgBlank), ""}));

TEST(DataEditLimitsTest, SettersKeepTheInvariants) {
    DataEditModel field({}, '.');
    field.setNumber(50);
    field.setMaxVal(10); // excludes the value: the value moves to the limit
    EXPECT_EQ(field.text(), "10");
    field.setMinVal(20); // above the maximum: taken as the maximum
    EXPECT_EQ(field.minVal(), 10);
    field.setMaxVal(5); // below the minimum: taken as the minimum
    EXPECT_EQ(field.maxVal(), 10);

    DataEditModel wide({}, '.');
    wide.setMinVal(-1e12);
    wide.setMaxVal(1e12);
    wide.setIntegerOnly(true); // re-applies the limits
    EXPECT_EQ(wide.minVal(), -2147483648.0);
    EXPECT_EQ(wide.maxVal(), 2147483647.0);
    wide.setMaxVal(5e9);
    EXPECT_EQ(wide.maxVal(), 2147483647.0);

    DataEditModel clipped(realField(1, 300), '.');
    clipped.setNumber(1000);
    EXPECT_EQ(clipped.text(), "300");
}

TEST(DataEditDisplayTest, HexAndSeparator) {
    DataEditDefinition hex;
    hex.hex = true;
    DataEditModel field(hex, '.');
    field.setNumber(255.4);
    EXPECT_EQ(field.text(), "$00FF");
    field.setNumber(70000);
    EXPECT_EQ(field.text(), "$11170");
    field.setNumber(-16);
    EXPECT_EQ(field.text(), "-$0010");
    EXPECT_DOUBLE_EQ(field.number().value, -16); // reads back as shown

    DataEditModel comma({}, ',');
    comma.setText("1,5*3");
    EXPECT_TRUE(comma.check().valid);
    EXPECT_EQ(comma.text(), "4,5");
}

class RecordingObserver : public DataEditObserver {
public:
    void textChanged(const std::string& text) override { texts.push_back(text); }
    void labelChanged(const std::string& label, bool enabled) override {
        labels.push_back(label + (enabled ? "" : " [disabled]"));
    }
    std::vector<std::string> texts;
    std::vector<std::string> labels;
};

TEST(DataEditLabelTest, CaptionWithFieldUnitsLabel) {
    DataEditDefinition d;
    d.caption = "Unit weight";
    d.unitsString = "F/L2^3";
    DataEditModel field(d, '.');
    RecordingObserver observer;
    field.setObserver(&observer);
    EXPECT_EQ(field.labelText(), "Unit weight (lbs/ft^3)");
    field.setUnits(2);
    field.setUnits(3);
    field.setUnits(9); // above 3 is taken as 3
    field.setEnabled(false);
    field.setUnitsString("");
    EXPECT_EQ(observer.labels, (std::vector<std::string>{
                                   "Unit weight (kN/m^3)", "Unit weight (F/L2^3)", "Unit weight (F/L2^3)",
                                   "Unit weight (F/L2^3) [disabled]", "Unit weight [disabled]"}));
    field.setText("2*3");
    field.check();
    EXPECT_EQ(observer.texts, (std::vector<std::string>{"2*3", "6"}));
}

TEST(DataEditKeysTest, OperatorsExtendASelectedValue) {
    for (const char c : std::string("+-/*^=%!"))
        EXPECT_TRUE(DataEditModel::movesCaretToEndBeforeTyping(c, true)) << c;
    EXPECT_FALSE(DataEditModel::movesCaretToEndBeforeTyping('+', false));
    EXPECT_FALSE(DataEditModel::movesCaretToEndBeforeTyping('5', true));
}

} // namespace
} // namespace kelda::data
