#include "kelda/data/program_data.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "kelda/data/units.h"

namespace kelda::data {

DataFormat FormatFromFilterIndex(int filterIndex) {
    switch (filterIndex) {
    case 1:
        return DataFormat::Format2013;
    case 2:
        return DataFormat::Format30;
    default:
        return DataFormat::Format20;
    }
}

DataFormat FormatFromFileName(const std::string& fileName) {
    std::string extension = std::filesystem::path(fileName).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".kld" ? DataFormat::Format30 : DataFormat::Format2013;
}

std::string StageFileOf(const std::string& dataFile, int stage) {
    std::filesystem::path path(dataFile);
    path.replace_extension(".st" + std::to_string(stage));
    return path.string();
}

TProgramData::TProgramData() : tables_(std::make_unique<ProjectTables>()) {
    NewProject();
}

void TProgramData::NewProject() {
    FileName = kNewFileName;
    StageFileName.clear();
    PreviousFileName.clear();
    Title = kNewTitle;
    Increments = 0;
    IncrementLength = 0.0;
    MaxDeflection = 100.0;
    Tolerance = 0.00001;
    FreeHeight = 0.0;
    ActiveWidth = 0.0;
    PYWidth = 0.0;
    WaterDepthBackfill = 0.0;
    WaterDepthExcavation = 0.0;
    PressureFactor = 1.0;
    BackfillSlope = 0.0;
    UniformSurcharge = 0.0;
    SurchargeDistance = 0.0;
    PointSurcharge = 0.0;
    LineSurcharge = 0.0;
    StripSurcharge = 0.0;
    StripWidth = 0.0;
    ExtraOption = 1;
    EarthPressureChoice = 0;
    UserPressure = false;
    GeneratedPressure = false;
    GeneratePY = true;
    UseExternalPY = false;
    UsePYMod = false;
    UseRestraints = false;
    UseConcentratedLoads = false;
    UseSprings = false;
    UseSurcharge = false;
    UseEICurves = false;
    LongTerm = false;
    StageCount = 1;
    CurrentStage = 1;
    CurrentFormat = true;
    EarthPressureOption = 0;
    PYOption = 0;
    // The defaults above are English values: the tables are emptied first, so
    // that switching them back to English converts no rows.
    for (GridTable* t : tables_->plainTables()) t->setRowCount(0);
    for (GridTable* t : tables_->chartTables()) t->setRowCount(0);
    Units = 1;
    tables_->setUnits(1);
    tables_->reset();
    SetModified(false);
}

void TProgramData::SetTitle(std::string_view title) {
    // The title is the first line of a block: a line break would split it and
    // shift every record after it.
    const std::size_t lineEnd = title.find_first_of("\r\n");
    if (lineEnd != std::string_view::npos) title = title.substr(0, lineEnd);
    Title = std::string(title.substr(0, std::min(title.size(), kMaxTitleLength)));
}

void TProgramData::SetUnits(int newUnits) {
    newUnits = ClampUnitSystem(newUnits);
    // Fixed factors of the scalars: inches to metres and back, pounds to
    // kilonewtons and back. The two length factors are not exact reciprocals
    // (39.3701 against 1/0.0254 = 39.37007874...), so a switch there and back
    // moves lengths in their sixth significant digit, as it always has.
    double a = 0.0;
    double b = 0.0;
    if (Units == kEnglish && newUnits == kSI) {
        a = 0.0254;
        b = 1.0 / 224.8089;
    } else if (Units == kSI && newUnits == kEnglish) {
        a = 39.3701;
        b = 224.8089;
    }
    if (a != 0.0) {
        for (double* length : {&IncrementLength, &MaxDeflection, &Tolerance, &FreeHeight, &WaterDepthBackfill,
                               &WaterDepthExcavation, &ActiveWidth, &PYWidth, &SurchargeDistance, &StripWidth})
            *length *= a;
        UniformSurcharge *= b / (a * a);
        StripSurcharge *= b / (a * a);
        LineSurcharge *= b / a;
        PointSurcharge *= b;
    }
    Units = newUnits;
    tables_->setUnits(newUnits);
}

bool TProgramData::IsModified() const {
    return modified_ || tables_->isChanged();
}

void TProgramData::SetModified(bool modified) {
    modified_ = modified;
    if (!modified) tables_->resetChanged();
}

void TProgramData::fillToMinimumRows() {
    // The curve-set tables keep the counts read: their window gives them
    // their minimum rows when it is shown.
    for (GridTable* t : tables_->plainTables())
        if (t->rowCount() < t->minRows()) t->setRowCount(t->minRows());
}

std::string TProgramData::StageStatusText() const {
    return StageCount > 1 ? std::string(kStageStatus) + std::to_string(CurrentStage) : std::string();
}

std::string TProgramData::CopyPreviousStageQuestion() const {
    return std::string(kCopyStageFrom) + std::to_string(CurrentStage - 1) + std::string(kCopyStageTo) +
           std::to_string(CurrentStage);
}

} // namespace kelda::data
