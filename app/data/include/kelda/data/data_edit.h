// The numeric entry field of the dialogs, without its widget: what the field knows
// (limits, integer-only, units, hexadecimal display) and the check it runs when the
// user leaves it. A toolkit line edit forwards its text, focus and keys here and
// shows what the model reports back through DataEditObserver.
#pragma once

#include <limits>
#include <string>
#include <string_view>

#include "kelda/data/evaluator.h"

namespace kelda::data {

inline constexpr std::string_view kMsgEntryMustBeInteger = "Entry must be an integer.";
inline constexpr std::string_view kMsgEntryMustBeValidInteger = "Entry must be a valid integer.";
inline constexpr std::string_view kMsgEntryAtLeast = "Entry must be greater than or equal to ";
inline constexpr std::string_view kMsgEntryAtMost = "Entry must be less than or equal to ";

// Told about every change a widget has to show. The model calls only these; it
// never owns the observer, which must outlive it or detach itself.
class DataEditObserver {
public:
    virtual ~DataEditObserver() = default;
    virtual void textChanged(const std::string& text) = 0;
    virtual void labelChanged(const std::string& label, bool enabled) = 0;
};

// How a field is declared: the properties are taken as they stand, without the
// setters' corrections, as when a form definition is loaded.
struct DataEditDefinition {
    std::string caption;
    std::string unitsString;
    int units = 1;
    bool integerOnly = false;
    double minVal = std::numeric_limits<double>::lowest();
    double maxVal = std::numeric_limits<double>::max();
    bool hex = false;
};

// The outcome of the exit check. `message` is empty when the entry passed;
// otherwise it is shown in an information box and, when `refocus` is set, the
// field takes the focus back.
struct CheckResult {
    bool valid = false;
    std::string message;
    bool refocus = false;
};

class DataEditModel {
public:
    // `decimalSeparator` is the separator of the numbers typed and shown; by
    // default the user's locale's (DecimalSeparator()).
    explicit DataEditModel(const DataEditDefinition& definition = {}, char decimalSeparator = 0);

    void setObserver(DataEditObserver* observer) { observer_ = observer; }

    // The text as typed; setting it does not check it (the exit check does).
    const std::string& text() const { return text_; }
    void setText(std::string text);

    // Evaluates the current text; the evaluator's message on failure.
    EvalResult number() const;
    // Clips `value` into [minVal, maxVal] and shows it.
    void setNumber(double value);

    // Runs the exit check (focus lost, Enter pressed, or a dialog's Check()):
    // corrects the text where the rules say so and sets the valid flag.
    CheckResult check();
    bool isValid() const { return valid_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const std::string& unitsString() const { return unitsString_; }
    void setUnitsString(std::string unitsString);
    int units() const { return units_; }
    void setUnits(int units);
    // Caption, and the units label in parentheses when there is a units string.
    std::string labelText() const;

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    bool integerOnly() const { return integerOnly_; }
    void setIntegerOnly(bool integerOnly);
    double minVal() const { return minVal_; }
    void setMinVal(double value);
    double maxVal() const { return maxVal_; }
    void setMaxVal(double value);
    bool hex() const { return hex_; }
    void setHex(bool hex);

    // The text a value is shown as: FormatExact, or "$" and at least four
    // hexadecimal digits of the rounded value for a hexadecimal field.
    std::string formatValue(double value) const;

    // When the whole text is selected and the user types one of + - / * ^ = % !,
    // the caret first moves to the end, so the operator extends the value shown
    // instead of replacing it.
    static bool movesCaretToEndBeforeTyping(char typed, bool wholeTextSelected);

private:
    void showText(std::string text);
    void notifyLabel();
    double clipToIntegerRange(double value) const;
    void moveValueInsideLimits();

    DataEditObserver* observer_ = nullptr;
    char separator_;
    std::string text_ = "0";
    std::string caption_;
    std::string unitsString_;
    int units_ = 1;
    bool integerOnly_ = false;
    double minVal_;
    double maxVal_;
    bool hex_ = false;
    bool enabled_ = true;
    bool valid_ = false;
};

} // namespace kelda::data
