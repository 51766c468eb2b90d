// The grid tables of a project: every list-shaped input of one wall problem, and
// the templates of the sub-tables that the soil-layer and curve tables own per
// row. The declarations (captions, headings, items, units, defaults, ranges and
// comments) are the program's own texts, laid out in the table-definition
// functions below one table at a time.
#pragma once

#include <vector>

#include "kelda/data/grid_table.h"

namespace kelda::data {

// Main tables.
TableDefinition PileSectDefinition();       // "Wall Stiffness"
TableDefinition SoillayerDefinition();      // "Specify Deflection and Slope on Wall"
TableDefinition BoundCondDefinition();      // "Concentrated Loads on Wall"
TableDefinition SoilStrengthDefinition();   // "Lateral Spring and Rotation Spring"
TableDefinition PYModDefinition();          // "p-y Modification Factors"
TableDefinition DistLoadDefinition();       // "Distributed Loads"
TableDefinition LongDistDefinition();       // "Distributed Load (Long-Term)"
TableDefinition SurchargeTableDefinition(); // "Surcharge Loads"
TableDefinition NewSoilDefinition();        // "Soil Layers"
TableDefinition LongSoilDefinition();       // "Soil Layers (Long-Term)"
TableDefinition PYCurves2Definition();      // "Sets of Ext. p-y Curves" (chart table)
TableDefinition MEICurves2Definition();     // "Nonlinear Moment vs EI Curves" (chart table)

// Sub-table templates.
TableDefinition TblClay1Definition(); // "Clay"
TableDefinition TblSand1Definition(); // "Sand"
TableDefinition TblSilt1Definition(); // "Silt"
TableDefinition TblRock1Definition(); // "Strong Rock"
TableDefinition TblRock2Definition(); // "Weak Rock"
TableDefinition PYCurve2Definition(); // "External p-y Curve" (chart table)
TableDefinition Rows2Definition();    // "Moment and EI data" (chart table)

// Names of the help pictures shown under some tables.
inline constexpr const char* kPressurePicture = "pressure";
inline constexpr const char* kTieBackPicture = "tieback";

// One project's tables, with registries of their own so that the sub-table
// templates of one project are never confused with another's. The templates are
// created first; the main tables start empty.
class ProjectTables {
public:
    ProjectTables();
    ProjectTables(const ProjectTables&) = delete;
    ProjectTables& operator=(const ProjectTables&) = delete;

    // The state of a new project: every main table emptied, each plain table
    // given its minimum number of default rows (the two curve-set tables stay
    // empty), and nothing changed.
    void reset();

    // Switches every main table, curve-set tables included, to a unit system.
    void setUnits(int units);

    // A change in any main table, plain or chart, or in any of their sub-tables.
    bool isChanged() const;
    void resetChanged();

    std::vector<GridTable*> plainTables();
    std::vector<GridTable*> chartTables();

private:
    TableRegistry plainRegistry_;
    TableRegistry chartRegistry_;

public:
    // Templates.
    GridTable tblClay1;
    GridTable tblSand1;
    GridTable tblSilt1;
    GridTable tblRock1;
    GridTable tblRock2;
    GridTable pyCurve2;
    GridTable rows2;
    // Main tables.
    GridTable pileSect;
    GridTable soillayer;
    GridTable boundCond;
    GridTable soilStrength;
    GridTable pyMod;
    GridTable distLoad;
    GridTable longDist;
    GridTable surchargeTable;
    GridTable newSoil;
    GridTable longSoil;
    GridTable pyCurves2;
    GridTable meiCurves2;
};

} // namespace kelda::data
