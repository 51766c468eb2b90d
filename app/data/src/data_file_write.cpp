// Writing the wall data file (format 2013) and the stage files.
//
// The file is read by the engine's free-format reader and by the program's
// own token reader, so every line holds exactly what both expect: one record
// per line, CR LF line ends, a TAB or a blank between values exactly where
// the layout has it, reals in the 8-significant-digit general format.

#include <filesystem>
#include <string>

#include "kelda/data/number_format.h"
#include "kelda/data/program_data.h"
#include "kelda/data/units.h"

namespace kelda::data {

namespace {

constexpr char kTab = '\t';
constexpr char kBlank = ' ';
constexpr const char* kLineEnd = "\r\n";
// Soil parameter lines hold six positions; the ones a soil type does not use
// hold this filler in place of a value and its blank.
constexpr const char* kFiller = "0.0  ";

// English projects hold depths in feet, distributed line loads in lb/ft, unit
// weights in lb/ft^3 and cohesions in lb/ft^2; the file has inches and pounds.
constexpr double kInchesPerFoot = 12.0;
constexpr double kSquareInchesPerSquareFoot = 144.0;
constexpr double kCubicInchesPerCubicFoot = 1728.0;

// Surcharge distances and strip widths are shown in millimetres in SI
// projects, while the engine reads every length of the file in metres.
constexpr double kMillimetresPerMetre = 1000.0;

class LineWriter {
public:
    explicit LineWriter(std::string& out) : out_(out) {}

    LineWriter& real(double value) {
        out_ += FormatGeneral(value, 8, '.');
        return *this;
    }
    LineWriter& integer(int value) {
        out_ += std::to_string(value);
        return *this;
    }
    LineWriter& text(std::string_view s) {
        out_ += s;
        return *this;
    }
    LineWriter& tab() {
        out_ += kTab;
        return *this;
    }
    LineWriter& blank() {
        out_ += kBlank;
        return *this;
    }
    void end() { out_ += kLineEnd; }
    void countLine(int count) { integer(count).end(); }

private:
    std::string& out_;
};

// The six positions of a soil parameter line, by soil type; -1 is a filler,
// other values are columns of the layer's parameter table.
struct SoilPositions {
    int column[6];
};

SoilPositions soilPositions(int soilType) {
    switch (soilType) {
    case 1:
    case 2:
    case 3: // clay: unit weight, cohesion, -, E50, k, -
        return {{0, 1, -1, 2, 3, -1}};
    case 4: // sand: unit weight, -, friction angle, -, k, -
        return {{0, -1, 1, -1, 2, -1}};
    case 5: // silt: unit weight, cohesion, friction angle, E50, k, - (the table holds the angle before the cohesion)
        return {{0, 2, 1, 3, 4, -1}};
    case 6: // strong rock: unit weight, uniaxial strength
        return {{0, 1, -1, -1, -1, -1}};
    default: // weak rock: unit weight, uniaxial strength, -, krm, modulus, RQD
        return {{0, 1, -1, 2, 3, 4}};
    }
}

// Which parameter-table column is a unit weight or a cohesion, by soil type.
bool isUnitWeight(int column) {
    return column == 0;
}
bool isCohesion(int soilType, int column) {
    return (soilType <= 3 && column == 1) || (soilType == 5 && column == 2);
}

} // namespace

int TProgramData::deriveEarthPressureOption(BlockKind kind) {
    int option = 0;
    if (UserPressure) {
        option = 1;
        GeneratedPressure = false;
    } else if (GeneratePY || GeneratedPressure) {
        // Stage blocks and the long-term block always carry the triangular
        // distribution: the trapezoidal one belongs to the anchored wall of a
        // single short-term analysis.
        option = kind == BlockKind::ShortTerm ? EarthPressureChoice : 2;
    }
    return option;
}

int TProgramData::derivePYOption() const {
    if (GeneratePY) return 2;
    return UseExternalPY ? 1 : 0;
}

void TProgramData::prepareForWriting() {
    ProjectTables& t = *tables_;
    // The tables of options that are off are emptied, so that their counts are
    // written as 0 and their rows are gone from the project too.
    if (!UseRestraints) t.soillayer.setRowCount(0);
    if (!UseConcentratedLoads) t.boundCond.setRowCount(0);
    if (!UseSprings) t.soilStrength.setRowCount(0);
    if (!UsePYMod) t.pyMod.setRowCount(0);
    if (!UseExternalPY) t.pyCurves2.setRowCount(0);
    if (!UseSurcharge) t.surchargeTable.setRowCount(0);
    // A block without a wall stiffness row would make the engine skip the
    // load, spring and earth-pressure records that follow it.
    if (t.pileSect.rowCount() < 1) t.pileSect.setRowCount(1);
    // Interpolation runs to the next row: the last row has none.
    t.pileSect.setInteger(2, t.pileSect.rowCount() - 1, 1);
}

void TProgramData::appendBlock(std::string& out, BlockKind kind) {
    ProjectTables& t = *tables_;
    LineWriter w(out);
    const bool english = Units == kEnglish;

    // 1 title line
    if (kind == BlockKind::Stage && CurrentStage >= 2)
        w.text(kStageTitle).integer(CurrentStage).end();
    else
        w.text(std::string_view(Title).substr(0, Title.find_first_of("\r\n"))).end();

    // 2 control line
    const int earthPressure = deriveEarthPressureOption(kind);
    const int py = derivePYOption();
    if (kind != BlockKind::LongTerm) {
        EarthPressureOption = earthPressure;
        PYOption = py;
    }
    const int momentEISets = UseEICurves ? t.meiCurves2.rowCount() : 0;
    w.integer(Units).blank().integer(t.soillayer.rowCount()).tab().integer(t.pileSect.rowCount()).tab();
    w.integer(t.pyMod.rowCount()).tab().integer(earthPressure).tab().integer(py).blank();
    w.integer(t.pyCurves2.rowCount()).blank().integer(StageCount).blank().integer(momentEISets).end();

    // 3 solution line
    w.integer(Increments).blank().real(IncrementLength).tab().real(MaxDeflection).tab().real(Tolerance).tab();
    w.real(FreeHeight).end();

    // 4 restraints
    for (int r = 0; r < t.soillayer.rowCount(); ++r) {
        w.integer(t.soillayer.asInteger(0, r)).tab().integer(t.soillayer.asInteger(1, r)).tab();
        w.real(t.soillayer.asFloat(2, r)).tab().real(t.soillayer.asFloat(3, r)).end();
    }
    // 5 wall stiffness
    for (int r = 0; r < t.pileSect.rowCount(); ++r) {
        w.integer(t.pileSect.asInteger(0, r)).tab().integer(t.pileSect.asInteger(1, r)).tab();
        w.integer(t.pileSect.asInteger(2, r)).tab().real(t.pileSect.asFloat(3, r)).end();
    }
    // 6 concentrated loads: the mode stands first
    w.countLine(t.boundCond.rowCount());
    for (int r = 0; r < t.boundCond.rowCount(); ++r) {
        w.integer(t.boundCond.asInteger(0, r)).tab().integer(t.boundCond.asInteger(1, r)).tab();
        w.integer(t.boundCond.asInteger(2, r)).tab().real(t.boundCond.asFloat(3, r)).tab();
        w.real(t.boundCond.asFloat(4, r)).tab().real(t.boundCond.asFloat(5, r)).end();
    }
    // 7 springs: the mode, first in the table, stands third
    w.countLine(t.soilStrength.rowCount());
    for (int r = 0; r < t.soilStrength.rowCount(); ++r) {
        w.integer(t.soilStrength.asInteger(1, r)).tab().integer(t.soilStrength.asInteger(2, r)).tab();
        w.integer(t.soilStrength.asInteger(0, r)).tab().real(t.soilStrength.asFloat(3, r)).tab();
        w.real(t.soilStrength.asFloat(4, r)).end();
    }
    // 8 p-y modification factors
    const double pyModDepth = t.pyMod.units() == kEnglish ? kInchesPerFoot : 1.0;
    for (int r = 0; r < t.pyMod.rowCount(); ++r) {
        w.real(t.pyMod.asFloat(0, r) * pyModDepth).tab().real(t.pyMod.asFloat(1, r)).tab();
        w.real(t.pyMod.asFloat(2, r)).end();
    }
    // 9 user-specified distributed load
    if (earthPressure == 1) {
        GridTable& dist = kind == BlockKind::LongTerm ? t.longDist : t.distLoad;
        const double perFoot = dist.units() == kEnglish ? kInchesPerFoot : 1.0;
        w.countLine(dist.rowCount());
        for (int r = 0; r < dist.rowCount(); ++r)
            w.real(dist.asFloat(0, r) * perFoot).tab().real(dist.asFloat(1, r) / perFoot).end();
    }
    // 10 to 13: the soil, when pressure or p-y curves are generated from it
    if (earthPressure > 1 || py == 2) {
        w.real(FreeHeight).tab().real(ActiveWidth).tab().real(PYWidth).tab().real(WaterDepthBackfill).tab();
        w.real(WaterDepthExcavation).tab().real(PressureFactor).tab().integer(ExtraOption).tab();
        w.real(BackfillSlope).end();

        w.real(UniformSurcharge).tab().real(SurchargeDistance).tab().real(PointSurcharge).tab();
        w.real(LineSurcharge).tab().real(StripSurcharge).tab().real(StripWidth).end();

        const double mm = t.surchargeTable.units() == kSI ? kMillimetresPerMetre : 1.0;
        w.countLine(t.surchargeTable.rowCount());
        for (int r = 0; r < t.surchargeTable.rowCount(); ++r) {
            w.integer(t.surchargeTable.asInteger(0, r)).tab().real(t.surchargeTable.asFloat(1, r)).tab();
            w.real(t.surchargeTable.asFloat(2, r) / mm).tab().real(t.surchargeTable.asFloat(3, r) / mm).end();
        }

        GridTable& soil = kind == BlockKind::LongTerm ? t.longSoil : t.newSoil;
        w.countLine(soil.rowCount());
        for (int r = 0; r < soil.rowCount(); ++r) {
            const int type = soil.asInteger(0, r);
            w.integer(type).blank().real(soil.asFloat(1, r) * (english ? kInchesPerFoot : 1.0)).blank().end();
            const GridTable* parameters = soil.asTable(2, r);
            const SoilPositions positions = soilPositions(type);
            for (int row = 0; row < 2; ++row) {
                for (const int column : positions.column) {
                    if (column < 0) {
                        w.text(kFiller);
                        continue;
                    }
                    double value = 0.0;
                    if (parameters != nullptr && row < parameters->rowCount() && column < parameters->columnCount())
                        value = parameters->asFloat(column, row);
                    if (english && isUnitWeight(column)) value /= kCubicInchesPerCubicFoot;
                    if (english && isCohesion(type, column)) value /= kSquareInchesPerSquareFoot;
                    w.real(value).blank();
                }
                w.end();
            }
        }
    }
    // 14 external p-y curves
    for (int r = 0; r < t.pyCurves2.rowCount(); ++r) {
        const GridTable* curve = t.pyCurves2.asTable(1, r);
        const int points = curve != nullptr ? curve->rowCount() : 0;
        w.integer(t.pyCurves2.asInteger(0, r)).tab().integer(points).tab().real(t.pyCurves2.asFloat(2, r)).tab();
        w.real(t.pyCurves2.asFloat(3, r)).end();
        for (int p = 0; p < points; ++p) w.real(curve->asFloat(0, p)).tab().real(curve->asFloat(1, p)).end();
    }
    // 15 moment-EI curves
    for (int r = 0; r < momentEISets; ++r) {
        const GridTable* set = t.meiCurves2.asTable(2, r);
        const int points = set != nullptr ? set->rowCount() : 0;
        w.integer(t.meiCurves2.asInteger(0, r)).tab().integer(t.meiCurves2.asInteger(1, r)).tab();
        w.integer(points).end();
        for (int p = 0; p < points; ++p) w.real(set->asFloat(0, p)).tab().real(set->asFloat(1, p)).end();
    }
}

std::string TProgramData::DataFileText() {
    const bool wasModified = modified_;
    prepareForWriting();
    std::string out;
    out.reserve(64 * 1024);
    appendBlock(out, BlockKind::ShortTerm);
    LineWriter w(out);
    if (LongTerm) {
        w.countLine(9);
        appendBlock(out, BlockKind::LongTerm);
    }
    w.countLine(0);
    modified_ = wasModified;
    return out;
}

std::string TProgramData::stageBlockText() {
    prepareForWriting();
    std::string out;
    out.reserve(64 * 1024);
    appendBlock(out, BlockKind::Stage);
    LineWriter(out).countLine(CurrentStage);
    return out;
}

std::string TProgramData::StageBlockText() {
    return stageBlockText();
}

FileResult TProgramData::WriteDataFile() {
    const std::string text = DataFileText();
    FileResult result = WriteFileAtomically(FileName, text);
    if (!result) {
        // The rows deleted for options that are off are gone either way; the
        // project stays modified because the file does not hold it.
        modified_ = true;
        return result;
    }
    SetModified(false);
    CurrentFormat = true;
    return result;
}

FileResult TProgramData::WriteStageBlock() {
    const std::string text = stageBlockText();
    FileResult result = WriteFileAtomically(StageFileName, text, false);
    if (!result) {
        modified_ = true;
        return result;
    }
    SetModified(false);
    CurrentFormat = true;
    return result;
}

} // namespace kelda::data
