#include "kelda/data/data_edit.h"

#include "kelda/data/number_format.h"
#include "kelda/data/units.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace kelda::data {

namespace {

constexpr double kIntMin = -2147483648.0;
constexpr double kIntMax = 2147483647.0;

// Entries within 1e-10 of a whole number count as whole: arithmetic such as
// 0.57*100 lands a few units of the last binary place off the integer it means.
bool isWhole(double value, double& whole) {
    whole = std::round(value);
    return std::fabs(value - whole) <= 1e-10;
}

} // namespace

DataEditModel::DataEditModel(const DataEditDefinition& definition, char decimalSeparator)
    : separator_(decimalSeparator != 0 ? decimalSeparator : DecimalSeparator()), caption_(definition.caption),
      unitsString_(definition.unitsString), units_(ClampUnitSystem(definition.units)),
      integerOnly_(definition.integerOnly), minVal_(definition.minVal), maxVal_(definition.maxVal),
      hex_(definition.hex) {
    text_ = formatValue(0.0);
}

void DataEditModel::setText(std::string text) {
    showText(std::move(text));
}

EvalResult DataEditModel::number() const {
    return Evaluate(text_, separator_);
}

void DataEditModel::setNumber(double value) {
    if (value < minVal_) value = minVal_;
    if (value > maxVal_) value = maxVal_;
    showText(formatValue(value));
}

CheckResult DataEditModel::check() {
    valid_ = false;
    CheckResult result;
    const EvalResult entry = number();
    if (!entry.ok) {
        result.message = integerOnly_ ? std::string(kMsgEntryMustBeValidInteger) : entry.message;
        result.refocus = true;
        return result;
    }
    double value = entry.value;
    if (integerOnly_) {
        double whole = 0.0;
        if (!isWhole(value, whole)) {
            result.message = kMsgEntryMustBeInteger;
            result.refocus = true;
            return result;
        }
        value = whole;
    }
    if (value < minVal_) {
        setNumber(minVal_);
        result.message = std::string(kMsgEntryAtLeast) + formatValue(minVal_);
        result.refocus = true;
        return result;
    }
    if (value > maxVal_) {
        setNumber(maxVal_);
        result.message = std::string(kMsgEntryAtMost) + formatValue(maxVal_);
        result.refocus = true;
        return result;
    }
    showText(formatValue(value));
    valid_ = true;
    result.valid = true;
    return result;
}

void DataEditModel::setCaption(std::string caption) {
    caption_ = std::move(caption);
    notifyLabel();
}

void DataEditModel::setUnitsString(std::string unitsString) {
    unitsString_ = std::move(unitsString);
    notifyLabel();
}

void DataEditModel::setUnits(int units) {
    units_ = ClampUnitSystem(units);
    notifyLabel();
}

std::string DataEditModel::labelText() const {
    if (unitsString_.empty()) return caption_;
    return caption_ + " (" + FieldUnitsLabel(unitsString_, units_) + ")";
}

void DataEditModel::setEnabled(bool enabled) {
    enabled_ = enabled;
    notifyLabel();
}

void DataEditModel::setIntegerOnly(bool integerOnly) {
    integerOnly_ = integerOnly;
    if (integerOnly_) {
        minVal_ = clipToIntegerRange(minVal_);
        maxVal_ = clipToIntegerRange(maxVal_);
        moveValueInsideLimits();
    }
}

void DataEditModel::setMinVal(double value) {
    value = clipToIntegerRange(value);
    minVal_ = value > maxVal_ ? maxVal_ : value;
    moveValueInsideLimits();
}

void DataEditModel::setMaxVal(double value) {
    value = clipToIntegerRange(value);
    maxVal_ = value < minVal_ ? minVal_ : value;
    moveValueInsideLimits();
}

void DataEditModel::setHex(bool hex) {
    hex_ = hex;
    if (const EvalResult current = number(); current.ok) showText(formatValue(current.value));
}

std::string DataEditModel::formatValue(double value) const {
    // Hexadecimal needs a whole number that fits 64 bits; anything else is shown
    // in decimal rather than wrapped. Negative values keep their sign ("-$0010"),
    // which the evaluator reads back as the same value.
    if (hex_ && std::isfinite(value) && std::fabs(value) < 9.2e18) {
        const auto whole = static_cast<std::int64_t>(std::llround(value));
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%s$%04llX", whole < 0 ? "-" : "",
                      static_cast<unsigned long long>(whole < 0 ? -whole : whole));
        return buffer;
    }
    return FormatExact(value, separator_);
}

bool DataEditModel::movesCaretToEndBeforeTyping(char typed, bool wholeTextSelected) {
    return wholeTextSelected && std::string_view("+-/*^=%!").find(typed) != std::string_view::npos;
}

void DataEditModel::showText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    if (observer_ != nullptr) observer_->textChanged(text_);
}

void DataEditModel::notifyLabel() {
    if (observer_ != nullptr) observer_->labelChanged(labelText(), enabled_);
}

double DataEditModel::clipToIntegerRange(double value) const {
    if (!integerOnly_) return value;
    return value < kIntMin ? kIntMin : (value > kIntMax ? kIntMax : value);
}

void DataEditModel::moveValueInsideLimits() {
    const EvalResult current = number();
    if (!current.ok) return;
    if (current.value < minVal_)
        setNumber(minVal_);
    else if (current.value > maxVal_)
        setNumber(maxVal_);
}

} // namespace kelda::data
