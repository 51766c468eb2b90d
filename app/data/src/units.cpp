#include "kelda/data/units.h"

#include <array>
#include <cmath>

namespace kelda::data {

namespace {

struct UnitSymbol {
    std::string_view symbol;
    std::string_view label[3]; // English, SI, other
    double factor;             // English units in one SI unit
};

// The factors are as the program has always used them (kips, tons and slugs
// derived from 224.8089237 lbs per kN), so converted values match earlier files.
constexpr std::array<UnitSymbol, 10> kSymbols{{
    {"F", {"lbs", "kN", "F"}, 224.8089237},
    {"F1", {"kips", "kN", "F"}, 0.2248089237},
    {"F2", {"tons", "kN", "F"}, 0.1124044745},
    {"F4", {"lb-sec2/in", "Mg", "M"}, 5.7101483},
    {"F5", {"sec", "sec", "T"}, 1.0},
    {"F6", {"slug", "Mg", "F"}, 68.364249},
    {"L", {"in", "m", "L"}, 39.37007874},
    {"L1", {"in", "mm", "L"}, 0.03937007874},
    {"L2", {"ft", "m", "L"}, 3.280839895},
    {"L3", {"rad", "rad", "L"}, 1.0},
}};

const UnitSymbol& symbolOf(std::string_view name) {
    for (const UnitSymbol& s : kSymbols)
        if (s.symbol == name) return s;
    return kSymbols[0];
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the optional "^digit" after a symbol; a missing exponent is 1.
int readExponent(std::string_view term, std::size_t& i) {
    if (i < term.size() && term[i] == '^') {
        ++i;
        if (i < term.size() && isDigit(term[i])) return term[i++] - '0';
    }
    return 1;
}

double termFactor(std::string_view term) {
    double factor = 1.0;
    std::size_t i = 0;
    if (i < term.size() && term[i] == 'F') {
        ++i;
        std::string name = "F";
        if (i < term.size() && std::string_view("012456").find(term[i]) != std::string_view::npos) {
            if (term[i] != '0') name += term[i];
            ++i;
        }
        factor *= std::pow(symbolOf(name).factor, readExponent(term, i));
        ++i; // the separator between force and length, as the "-" of "F-L"
    }
    if (i < term.size() && term[i] == 'L') {
        ++i;
        std::string name = "L";
        if (i < term.size() && term[i] >= '0' && term[i] <= '3') {
            if (term[i] != '0') name += term[i];
            ++i;
        }
        factor *= std::pow(symbolOf(name).factor, readExponent(term, i));
    }
    return factor;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string_view labelOf(std::string_view symbol, int system) {
    return symbolOf(symbol).label[ClampUnitSystem(system) - 1];
}

} // namespace

int ClampUnitSystem(int system) {
    return system < kEnglish ? kEnglish : (system > kOtherUnits ? kOtherUnits : system);
}

double UnitsFactor(int fromSystem, int toSystem, std::string_view unitsString) {
    const std::size_t slash = unitsString.find('/');
    const std::string_view numerator = unitsString.substr(0, slash);
    const std::string_view denominator =
        slash == std::string_view::npos ? std::string_view() : unitsString.substr(slash + 1);
    const double q = termFactor(numerator) / termFactor(denominator);
    if (fromSystem == kEnglish && toSystem == kSI) return 1.0 / q;
    if (fromSystem == kSI && toSystem == kEnglish) return q;
    return 1.0;
}

std::string UnitsLabel(std::string_view unitsString, int system) {
    std::string label(unitsString);
    for (const std::string_view symbol : {"F2", "F1", "F4", "F5", "F6", "F", "L3", "L2", "L1", "L"})
        replaceAll(label, symbol, labelOf(symbol, system));
    return label;
}

std::string FieldUnitsLabel(std::string_view unitsString, int system) {
    std::string label(unitsString);
    if (ClampUnitSystem(system) == kOtherUnits) return label;
    const auto replaceFirstKind = [&](std::initializer_list<std::string_view> kinds, std::string_view plain) {
        for (const std::string_view symbol : kinds) {
            if (label.find(symbol) != std::string::npos) {
                replaceAll(label, symbol, labelOf(symbol, system));
                return;
            }
        }
        replaceAll(label, plain, labelOf(plain, system));
    };
    replaceFirstKind({"F6", "F5", "F4", "F2", "F1"}, "F");
    replaceFirstKind({"L2", "L1", "L3"}, "L");
    return label;
}

} // namespace kelda::data
