#include "kelda/data/project_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelda::data {
namespace {

struct Declared {
    GridTable ProjectTables::*table;
    int identifier;
    const char* caption;
    int minRows;
    int maxRows;
    int newProjectRows;
    int columns;
};

TEST(ProjectTablesTest, NewProjectTables) {
    ProjectTables project;
    project.reset();
    const std::vector<Declared> expected{
        {&ProjectTables::pileSect, 15, "Wall Stiffness", 1, 10, 1, 4},
        {&ProjectTables::soillayer, 0, "Specify Deflection and Slope on Wall", 1, 10, 1, 4},
        {&ProjectTables::boundCond, 123, "Concentrated Loads on Wall", 1, 20, 1, 6},
        {&ProjectTables::soilStrength, 4, "Lateral Spring and Rotation Spring", 1, 20, 1, 5},
        {&ProjectTables::pyMod, 16, "p-y Modification Factors", 2, 30, 2, 3},
        {&ProjectTables::distLoad, 22, "Distributed Loads", 2, 100, 2, 2},
        {&ProjectTables::longDist, 104, "Distributed Load (Long-Term)", 1, 0, 1, 2},
        {&ProjectTables::surchargeTable, 23, "Surcharge Loads", 1, 20, 1, 4},
        {&ProjectTables::newSoil, 19, "Soil Layers", 1, 10, 1, 3},
        {&ProjectTables::longSoil, 44, "Soil Layers (Long-Term)", 1, 10, 1, 3},
        {&ProjectTables::pyCurves2, 37, "Sets of Ext. p-y Curves", 2, 30, 0, 4},
        {&ProjectTables::meiCurves2, 36, "Nonlinear Moment vs EI Curves", 1, 20, 0, 3},
        {&ProjectTables::tblClay1, 18, "Clay", 2, 2, 0, 4},
        {&ProjectTables::tblSand1, 17, "Sand", 2, 2, 0, 3},
        {&ProjectTables::tblSilt1, 29, "Silt", 2, 2, 0, 5},
        {&ProjectTables::tblRock1, 30, "Strong Rock", 2, 2, 0, 2},
        {&ProjectTables::tblRock2, 31, "Weak Rock", 2, 2, 0, 5},
        {&ProjectTables::pyCurve2, 38, "External p-y Curve", 2, 17, 0, 2},
        {&ProjectTables::rows2, 0, "Moment and EI data", 1, 100, 0, 2},
    };
    for (const Declared& d : expected) {
        const GridTable& t = project.*d.table;
        SCOPED_TRACE(d.caption);
        EXPECT_EQ(t.identifier(), d.identifier);
        EXPECT_EQ(t.caption(), d.caption);
        EXPECT_EQ(t.minRows(), d.minRows);
        EXPECT_EQ(t.maxRows(), d.maxRows);
        EXPECT_EQ(t.rowCount(), d.newProjectRows);
        EXPECT_EQ(t.columnCount(), d.columns);
    }
    // Wall section default row: from node 0, to node 1, constant, EI 0.
    EXPECT_EQ(project.pileSect.asInteger(0, 0), 0);
    EXPECT_EQ(project.pileSect.asInteger(1, 0), 1);
    EXPECT_EQ(project.pileSect.asInteger(2, 0), 1);
    EXPECT_DOUBLE_EQ(project.pileSect.asFloat(3, 0), 0.0);
    EXPECT_DOUBLE_EQ(project.pyMod.asFloat(2, 1), 1.0);
}

TEST(ProjectTablesTest, NewProjectLeavesNoCurveSetsBehind) {
    ProjectTables project;
    project.reset();
    project.pyCurves2.setRowCount(5);
    project.newSoil.setRowCount(4);
    project.reset();
    EXPECT_EQ(project.pyCurves2.rowCount(), 0);
    EXPECT_EQ(project.newSoil.rowCount(), 1);
    EXPECT_FALSE(project.isChanged());
}

// Texts whose blanks and spelling matter: widths of columns come from trailing
// blanks, and files and manuals quote the item texts.
TEST(ProjectTablesTest, TextsKeepTheirBlanksAndSpelling) {
    const TableDefinition pileSect = PileSectDefinition();
    EXPECT_EQ(pileSect.columns[2].headings[0], "Constant or Interpolate?" + std::string(34, ' '));
    EXPECT_EQ(pileSect.columns[0].intMax, 2147483600);
    EXPECT_EQ(SoillayerDefinition().columns[0].headings[0], "Case" + std::string(43, ' '));
    const TableDefinition springs = SoilStrengthDefinition();
    EXPECT_EQ(springs.columns[0].headings[0], "Constant or Interpolate?" + std::string(38, ' '));
    EXPECT_EQ(springs.columns[0].items[0], "Use Constant Values for all Nodes on this Line  ");
    EXPECT_EQ(springs.columns[1].headings, (std::vector<std::string>{"From Node No.", "     (Start)"}));
    EXPECT_EQ(springs.helpPicture, kTieBackPicture);
    EXPECT_EQ(NewSoilDefinition().columns[0].items[1], "Stiff Clay with Free Water");
    EXPECT_EQ(LongSoilDefinition().columns[0].items[1], "Stiff Clay with Free water");
    EXPECT_EQ(NewSoilDefinition().columns[0].headings[0], "Soil ");
    EXPECT_EQ(SurchargeTableDefinition().comments,
              "The unit for point load is lbs or kN \nThe unit for line load is lbs/in. or kN/m \n"
              "The unit for strip load is lbs/in^2 or kN/m^2 ");
    EXPECT_EQ(TblRock2Definition().comments,
              "* krm is a strain constant that seve to establish the overall stiffness of the curves");
    EXPECT_EQ(
        PileSectDefinition().comments,
        "The nodal number at the top of the wall is set to be 0.\nValues of Flexural Stiffness (EI) must be "
        "specified for all nodes of the wall.\nLinear interpolation (when selected) is performed from START "
        "node of previous line to END node of the following line.");
}

TEST(ProjectTablesTest, ColumnHeadingsShowTheProjectUnits) {
    ProjectTables project;
    project.reset();
    struct Heading {
        const GridTable* table;
        int column;
        const char* english;
        const char* si;
    };
    const std::vector<Heading> headings{
        {&project.pileSect, 3, "Flexural Stiffness (EI) (lbs-in^2)  ", "Flexural Stiffness (EI) (kN-m^2)  "},
        {&project.soilStrength, 4, "Stiff. (lbs-in/RAD.)  ", "Stiff. (kN-m/RAD.)  "},
        {&project.distLoad, 1, "Lateral distributed line load,  (lbs/ft)  ",
         "Lateral distributed line load,  (kN/m)  "},
        {&project.surchargeTable, 2, "Distance, X (in)  ", "Distance, X (mm)  "},
        {&project.tblClay1, 0, "Weight, (lbs/ft^3)  ", "Weight, (kN/m^3)  "},
        {&project.tblClay1, 3, "k(py) (lbs/in^3)  ", "k(py) (kN/m^3)  "},
        {&project.tblRock2, 4, "%", "%"},
    };
    for (const Heading& h : headings) EXPECT_EQ(h.table->displayHeadings(h.column).back(), h.english);
    project.setUnits(2);
    project.tblClay1.setUnits(2);
    project.tblRock2.setUnits(2);
    for (const Heading& h : headings) EXPECT_EQ(h.table->displayHeadings(h.column).back(), h.si);
}

} // namespace
} // namespace kelda::data
