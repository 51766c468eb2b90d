// Reading the wall data file in its three formats and the stage files.
//
// Format 2013 is the layout the program writes. Format 3.0 (".kld") has no
// moment-EI count on the control line, no surcharge table (the surcharge line
// stands for it) and no multipliers with the external p-y curves. Format 2.0
// has neither the number of stages nor the end line, and describes each soil
// layer by its thickness and one line of five parameters.

#include <string>

#include "kelda/data/program_data.h"
#include "kelda/data/units.h"
#include "kelda/data/word_reader.h"

namespace kelda::data {

namespace {

constexpr double kInchesPerFoot = 12.0;
constexpr double kSquareInchesPerSquareFoot = 144.0;
constexpr double kCubicInchesPerCubicFoot = 1728.0;
constexpr double kMillimetresPerMetre = 1000.0;
// Old files carry 0.036 as the modification factor for active earth pressure
// where they meant "no modification".
constexpr double kOldNoModificationFactor = 0.036;

enum class Context { DataFile, LongTermBlock, StageBlock };

// Parameter-table columns of the six positions of a format 2013 or 3.0 soil
// parameter line (-1: a filler, read and discarded), by soil type.
const int* soilLineColumns(int soilType) {
    static constexpr int clay[6] = {0, 1, -1, 2, 3, -1};
    static constexpr int sand[6] = {0, -1, 1, -1, 2, -1};
    static constexpr int silt[6] = {0, 2, 1, 3, 4, -1};
    static constexpr int strongRock[6] = {0, 1, -1, -1, -1, -1};
    static constexpr int weakRock[6] = {0, 1, -1, 2, 3, 4};
    switch (soilType) {
    case 4:
        return sand;
    case 5:
        return silt;
    case 6:
        return strongRock;
    case 7:
        return weakRock;
    default:
        return clay;
    }
}

// The five values of a format 2.0 parameter line, by soil type (-1: discarded).
const int* oldSoilLineColumns(int soilType) {
    static constexpr int clay[5] = {0, 1, -1, 2, 3};
    static constexpr int sand[5] = {0, -1, 1, -1, 2};
    static constexpr int silt[5] = {0, 2, 1, 3, 4};
    static constexpr int strongRock[5] = {0, 1, -1, -1, -1};
    switch (soilType) {
    case 4:
        return sand;
    case 5:
        return silt;
    case 6:
        return strongRock;
    default:
        return clay;
    }
}

class BlockReader {
public:
    BlockReader(TProgramData& project, TWordReader& in, DataFormat format, Context context)
        : p_(project), t_(project.Tables()), in_(in), format_(format), context_(context) {}

    void read() {
        readControlLine();
        readSolutionLine();
        readRestraints();
        readWallStiffness();
        readConcentratedLoads();
        readSprings();
        readPYModifications();
        if (earthPressure_ == 1) readDistributedLoad();
        if (earthPressure_ > 1 || py_ > 1) {
            readWallConfiguration();
            readSurcharges();
            readSoilLayers();
        }
        readExternalPYCurves();
        readMomentEICurves();
    }

private:
    bool hasStageCount() const { return format_ != DataFormat::Format20; }
    bool hasMomentEICount() const { return format_ == DataFormat::Format2013; }
    bool hasSurchargeTable() const { return format_ == DataFormat::Format2013; }
    bool hasMultipliers() const { return format_ == DataFormat::Format2013; }

    void readControlLine() {
        p_.SetUnits(in_.ReadInteger());
        const int restraints = in_.CheckCount(in_.ReadInteger());
        t_.soillayer.setRowCount(restraints);
        t_.pileSect.setRowCount(in_.CheckCount(in_.ReadInteger()));
        const int modifications = in_.CheckCount(in_.ReadInteger());
        t_.pyMod.setRowCount(modifications);
        earthPressure_ = in_.ReadInteger();
        py_ = in_.ReadInteger();
        const int curveSets = in_.CheckCount(in_.ReadInteger());
        t_.pyCurves2.setRowCount(curveSets);
        if (hasStageCount()) {
            // A file with more stages than the program holds cannot be split
            // into its stage files; 0 or less means an unstaged project.
            const int stages = in_.ReadInteger();
            if (stages > kMaxStages)
                in_.Fail("An integer from 1 to " + std::to_string(kMaxStages) + " was expected but not found.");
            p_.StageCount = stages < 1 ? 1 : stages;
        }
        int momentEISets = 0;
        if (hasMomentEICount()) {
            momentEISets = in_.CheckCount(in_.ReadInteger());
            t_.meiCurves2.setRowCount(momentEISets);
        } else if (context_ != Context::StageBlock) {
            t_.meiCurves2.setRowCount(0);
        }

        p_.UseRestraints = restraints > 0;
        p_.UsePYMod = modifications > 0;
        p_.UseEICurves = momentEISets > 0;
        p_.UserPressure = earthPressure_ == 1;
        // A file that generates p-y curves is read back as generating them,
        // whatever its earth-pressure option: the writer writes p-y option 2
        // for a project without an earth-pressure choice yet.
        p_.GeneratePY = py_ == 2;
        switch (context_) {
        case Context::DataFile:
            p_.EarthPressureChoice = earthPressure_;
            p_.GeneratedPressure = earthPressure_ >= 2;
            p_.LongTerm = false;
            break;
        case Context::LongTermBlock:
            if (earthPressure_ == 2) p_.GeneratedPressure = true;
            break;
        case Context::StageBlock:
            p_.EarthPressureChoice = earthPressure_;
            if (earthPressure_ == 2) p_.GeneratedPressure = true;
            if (earthPressure_ == 0 || earthPressure_ == 1) p_.GeneratedPressure = false;
            p_.UseExternalPY = curveSets > 0;
            break;
        }
        if (context_ != Context::LongTermBlock) p_.EarthPressureOption = earthPressure_;
        if (context_ != Context::LongTermBlock) p_.PYOption = py_;
    }

    void readSolutionLine() {
        p_.Increments = in_.ReadInteger();
        p_.IncrementLength = in_.ReadReal();
        p_.MaxDeflection = in_.ReadReal();
        p_.Tolerance = in_.ReadReal();
        p_.FreeHeight = in_.ReadReal();
    }

    void readRestraints() {
        GridTable& t = t_.soillayer;
        for (int r = 0; r < t.rowCount(); ++r) {
            t.setInteger(0, r, in_.ReadInteger(1, 2));
            t.setInteger(1, r, in_.ReadInteger());
            t.setFloat(2, r, in_.ReadReal());
            t.setFloat(3, r, in_.ReadReal());
        }
    }

    void readWallStiffness() {
        GridTable& t = t_.pileSect;
        for (int r = 0; r < t.rowCount(); ++r) {
            t.setInteger(0, r, in_.ReadInteger());
            t.setInteger(1, r, in_.ReadInteger());
            t.setInteger(2, r, in_.ReadInteger(1, 2));
            t.setFloat(3, r, in_.ReadReal());
        }
    }

    void readConcentratedLoads() {
        GridTable& t = t_.boundCond;
        const int count = in_.ReadCount();
        t.setRowCount(count);
        for (int r = 0; r < count; ++r) {
            t.setInteger(0, r, in_.ReadInteger(1, 2));
            t.setInteger(1, r, in_.ReadInteger());
            t.setInteger(2, r, in_.ReadInteger());
            for (int c = 3; c <= 5; ++c) t.setFloat(c, r, in_.ReadReal());
        }
        p_.UseConcentratedLoads = count > 0;
    }

    void readSprings() {
        GridTable& t = t_.soilStrength;
        const int count = in_.ReadCount();
        t.setRowCount(count);
        for (int r = 0; r < count; ++r) {
            t.setInteger(1, r, in_.ReadInteger());
            t.setInteger(2, r, in_.ReadInteger());
            t.setInteger(0, r, in_.ReadInteger(1, 2));
            t.setFloat(3, r, in_.ReadReal());
            t.setFloat(4, r, in_.ReadReal());
        }
        if (context_ != Context::StageBlock || count > 0) p_.UseSprings = count > 0;
    }

    void readPYModifications() {
        GridTable& t = t_.pyMod;
        const double perFoot = t.units() == kEnglish ? kInchesPerFoot : 1.0;
        for (int r = 0; r < t.rowCount(); ++r) {
            t.setFloat(0, r, in_.ReadReal() / perFoot);
            t.setFloat(1, r, in_.ReadReal());
            t.setFloat(2, r, in_.ReadReal());
        }
    }

    void readDistributedLoad() {
        GridTable& t = context_ == Context::LongTermBlock ? t_.longDist : t_.distLoad;
        const double perFoot = t.units() == kEnglish ? kInchesPerFoot : 1.0;
        const int count = in_.ReadCount();
        t.setRowCount(count);
        for (int r = 0; r < count; ++r) {
            t.setFloat(0, r, in_.ReadReal() / perFoot);
            t.setFloat(1, r, in_.ReadReal() * perFoot);
        }
        if (context_ == Context::DataFile) {
            p_.EarthPressureChoice = 1;
            p_.UserPressure = count >= 1;
        }
    }

    void readWallConfiguration() {
        p_.FreeHeight = in_.ReadReal();
        p_.ActiveWidth = in_.ReadReal();
        p_.PYWidth = in_.ReadReal();
        p_.WaterDepthBackfill = in_.ReadReal();
        p_.WaterDepthExcavation = in_.ReadReal();
        const double factor = in_.ReadReal();
        p_.PressureFactor = factor == kOldNoModificationFactor ? 1.0 : factor;
        p_.ExtraOption = in_.ReadInteger();
        p_.BackfillSlope = in_.ReadReal();
    }

    void readSurcharges() {
        p_.UniformSurcharge = in_.ReadReal();
        p_.SurchargeDistance = in_.ReadReal();
        p_.PointSurcharge = in_.ReadReal();
        p_.LineSurcharge = in_.ReadReal();
        p_.StripSurcharge = in_.ReadReal();
        p_.StripWidth = in_.ReadReal();

        GridTable& t = t_.surchargeTable;
        // The table shows distances in millimetres in SI; the file has metres.
        const double mm = t.units() == kSI ? kMillimetresPerMetre : 1.0;
        if (hasSurchargeTable()) {
            const int count = in_.ReadCount();
            t.setRowCount(count);
            for (int r = 0; r < count; ++r) {
                t.setInteger(0, r, in_.ReadInteger(1, 3));
                t.setFloat(1, r, in_.ReadReal());
                t.setFloat(2, r, in_.ReadReal() * mm);
                t.setFloat(3, r, in_.ReadReal() * mm);
            }
            if (context_ != Context::StageBlock || count > 0) p_.UseSurcharge = count > 0;
            return;
        }
        // Older formats hold one point, one line and one strip load at the
        // same distance, on the surcharge line.
        if (p_.SurchargeDistance > 0.0) {
            t.setRowCount(3);
            const double magnitudes[3] = {p_.PointSurcharge, p_.LineSurcharge, p_.StripSurcharge};
            for (int r = 0; r < 3; ++r) {
                t.setInteger(0, r, r + 1);
                t.setFloat(1, r, magnitudes[r]);
                t.setFloat(2, r, p_.SurchargeDistance * mm);
                t.setFloat(3, r, p_.StripWidth * mm);
            }
            p_.UseSurcharge = true;
        } else if (context_ == Context::StageBlock) {
            // A converted stage without surcharges must not keep the rows of
            // the stage converted before it.
            t.setRowCount(0);
        }
    }

    void readSoilLayers() {
        GridTable& soil = context_ == Context::LongTermBlock ? t_.longSoil : t_.newSoil;
        const bool english = (context_ == Context::StageBlock ? soil.units() : p_.Units) == kEnglish;
        const int count = in_.ReadCount();
        soil.setRowCount(count);
        double bottom = 0.0;
        for (int r = 0; r < count; ++r) {
            const int type = in_.ReadInteger(1, 7);
            soil.setInteger(0, r, type);
            GridTable* parameters = soil.asTable(2, r);
            if (format_ == DataFormat::Format20) {
                // Thicknesses, and one line of values for the top and the bottom.
                bottom += in_.ReadReal();
                soil.setFloat(1, r, bottom);
                if (type == 7) continue; // no weak rock in format 2.0
                const int* columns = oldSoilLineColumns(type);
                for (int k = 0; k < 5; ++k) {
                    const double value = in_.ReadReal();
                    if (columns[k] < 0 || parameters == nullptr) continue;
                    for (int row = 0; row < 2 && row < parameters->rowCount(); ++row)
                        parameters->setFloat(columns[k], row, value);
                }
                continue;
            }
            soil.setFloat(1, r, in_.ReadReal() / (english ? kInchesPerFoot : 1.0));
            const int* columns = soilLineColumns(type);
            for (int row = 0; row < 2; ++row) {
                for (int k = 0; k < 6; ++k) {
                    double value = in_.ReadReal();
                    const int column = columns[k];
                    if (column < 0 || parameters == nullptr || row >= parameters->rowCount()) continue;
                    if (english && column == 0) value *= kCubicInchesPerCubicFoot;
                    if (english && ((type <= 3 && column == 1) || (type == 5 && column == 2)))
                        value *= kSquareInchesPerSquareFoot;
                    parameters->setFloat(column, row, value);
                }
            }
        }
    }

    void readExternalPYCurves() {
        GridTable& sets = t_.pyCurves2;
        for (int r = 0; r < sets.rowCount(); ++r) {
            sets.setInteger(0, r, in_.ReadInteger());
            const int points = in_.ReadCount();
            sets.setFloat(2, r, 1.0);
            sets.setFloat(3, r, 1.0);
            if (hasMultipliers()) {
                sets.setFloat(2, r, in_.ReadReal());
                sets.setFloat(3, r, in_.ReadReal());
            }
            GridTable* curve = sets.asTable(1, r);
            curve->setRowCount(points);
            for (int k = 0; k < points; ++k) {
                curve->setFloat(0, k, in_.ReadReal());
                curve->setFloat(1, k, in_.ReadReal());
            }
        }
        p_.UseExternalPY = sets.rowCount() > 0;
    }

    void readMomentEICurves() {
        if (!p_.UseEICurves) return;
        GridTable& sets = t_.meiCurves2;
        for (int r = 0; r < sets.rowCount(); ++r) {
            sets.setInteger(0, r, in_.ReadInteger());
            sets.setInteger(1, r, in_.ReadInteger());
            const int points = in_.ReadCount();
            GridTable* set = sets.asTable(2, r);
            set->setRowCount(points);
            for (int k = 0; k < points; ++k) {
                set->setFloat(0, k, in_.ReadReal());
                set->setFloat(1, k, in_.ReadReal());
            }
        }
    }

    TProgramData& p_;
    ProjectTables& t_;
    TWordReader& in_;
    DataFormat format_;
    Context context_;
    int earthPressure_ = 0;
    int py_ = 0;
};

} // namespace

FileResult TProgramData::ReadDataFile(const std::string& fileName, DataFormat format) {
    std::string text;
    FileResult result = ReadWholeFile(fileName, text);
    if (!result) {
        // The project is fresh and valid even when the file cannot be read.
        ReadDataText(std::string(), fileName, format);
        return result;
    }
    return ReadDataText(std::move(text), fileName, format);
}

FileResult TProgramData::ReadDataText(std::string text, const std::string& fileName, DataFormat format) {
    NewProject();
    FileName = fileName;
    for (GridTable* t : tables_->plainTables()) t->setRowCount(0);

    FileResult result;
    try {
        TWordReader in(std::move(text));
        Title = in.ReadLine();
        BlockReader(*this, in, format, Context::DataFile).read();
        if (format != DataFormat::Format20) {
            const int end = in.ReadInteger();
            if (end == 9) {
                LongTerm = true;
                in.ReadLine(); // the rest of the end line
                Title = in.ReadLine();
                BlockReader(*this, in, format, Context::LongTermBlock).read();
                in.ReadInteger(); // the final end line
            }
        }
    } catch (const EReadError& e) {
        result = FileResult::failure(e.what());
    }
    // Short-term and long-term analyses and construction stages exclude each
    // other; a long-term block makes the project a single-stage one.
    if (LongTerm) StageCount = 1;
    CurrentStage = 1;
    fillToMinimumRows();
    SetModified(false);
    CurrentFormat = true;
    return result;
}

FileResult TProgramData::ReadStageBlock(const std::string& fileName) {
    FileResult result;
    std::string text;
    result = ReadWholeFile(fileName, text);
    if (result) {
        try {
            TWordReader in(std::move(text));
            // Blocks of stages 2 to 5 carry a stage heading in place of the
            // title: the project keeps its title.
            std::string title = in.ReadLine();
            if (title.find(kStageTitle.substr(0, kStageTitle.size() - 1)) == std::string::npos)
                Title = std::move(title);
            BlockReader(*this, in, CurrentFormat ? DataFormat::Format2013 : DataFormat::Format30,
                        Context::StageBlock)
                .read();
            LongTerm = in.ReadInteger() == 9;
        } catch (const EReadError& e) {
            result = FileResult::failure(e.what());
        }
    }
    fillToMinimumRows();
    SetModified(false);
    return result;
}

} // namespace kelda::data
