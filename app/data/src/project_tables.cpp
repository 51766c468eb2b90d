#include "kelda/data/project_tables.h"

#include <string>

namespace kelda::data {

namespace {

// Some headings carry trailing blanks: the editing window sizes a column by its
// widest heading line, and these blanks make the item texts of the drop-down fit.
const std::string kConstantOrInterpolate34 = "Constant or Interpolate?" + std::string(34, ' ');
const std::string kConstantOrInterpolate38 = "Constant or Interpolate?" + std::string(38, ' ');
const std::string kCase43 = "Case" + std::string(43, ' ');

constexpr int kNoMax = INT_MAX;
constexpr int kNodeMax = 2147483600; // "From" node numbers stop a little short of the integer range

const char* const kSpanComment =
    "Linear interpolation (when selected) is performed from START node of previous line to END node of the "
    "following line.";

TableDefinition table(int identifier, std::string caption, int minRows, int maxRows,
                      std::vector<ColumnDefinition> columns) {
    TableDefinition d;
    d.identifier = identifier;
    d.caption = std::move(caption);
    d.minRows = minRows;
    d.maxRows = maxRows;
    d.columns = std::move(columns);
    return d;
}

std::vector<std::string> soilTypes(const char* stiffClayWithFreeWater) {
    return {"Soft Clay", stiffClayWithFreeWater, "Stiff Clay w/o Free Water",
            "Sand",      "Silt (c-phi soil)",    "Strong Rock",
            "Weak Rock"};
}

// The parameter table of a layer follows its soil type: the three clays share
// TblClay1 (18), then sand 17, silt 29, strong rock 30, weak rock 31.
std::vector<TemplateRef> soilParameterTemplates() {
    return {TemplateRef::identifier(18), TemplateRef::identifier(18), TemplateRef::identifier(18),
            TemplateRef::identifier(17), TemplateRef::identifier(29), TemplateRef::identifier(30),
            TemplateRef::identifier(31)};
}

TableDefinition soilLayers(int identifier, const char* caption, const char* stiffClayWithFreeWater) {
    return table(identifier, caption, 1, 10,
                 {EnumColumn({"Soil ", "Type"}, soilTypes(stiffClayWithFreeWater)),
                  FloatColumn({"Depth at Bottom", "of the Layer,"}, "L2"),
                  TableColumn({"Edit Soil", "Parameters"}, soilParameterTemplates())});
}

std::vector<ColumnDefinition> distributedLoadColumns() {
    return {FloatColumn({"Depth measured from the top of the wall,"}, "L2"),
            FloatColumn({"Lateral distributed line load, "}, "F/L2")};
}

ColumnDefinition unitWeight() {
    return FloatColumn({"Total Unit", "Weight,"}, "F/L2^3");
}
ColumnDefinition cohesion() {
    return FloatColumn({"Cohesive", "Strength,"}, "F/L2^2");
}
ColumnDefinition frictionAngle() {
    return FloatColumn({"Friction", "Angle, deg."});
}
ColumnDefinition uniaxialStrength() {
    return FloatColumn({"Uniaxial Compressive", "Strength,"}, "F/L^2");
}

ChartProperties curveChart() {
    ChartProperties c;
    c.getDataFromFile = true;
    c.showChart = true;
    c.xColumn = 0;
    c.yColumn = 1;
    return c;
}

} // namespace

TableDefinition PileSectDefinition() {
    TableDefinition d = table(
        15, "Wall Stiffness", 1, 10,
        {IntColumn({"From Node No. (Start)"}, 0, 0, kNodeMax), IntColumn({"To Node No. (End)"}, 1, 0, kNoMax),
         EnumColumn({kConstantOrInterpolate34}, {"Use Constant Value for all Nodes on this Line",
                                                 "Linear Interpolate to End Node of Next Line"}),
         FloatColumn({"Flexural Stiffness (EI)"}, "F-L^2")});
    d.comments =
        std::string("The nodal number at the top of the wall is set to be 0.\n"
                    "Values of Flexural Stiffness (EI) must be specified for all nodes of the wall.\n") +
        kSpanComment;
    return d;
}

TableDefinition SoillayerDefinition() {
    return table(0, "Specify Deflection and Slope on Wall", 1, 10,
                 {EnumColumn({kCase43}, {"Specify Deflection", "Specify Slope"}),
                  IntColumn({"Nodal No."}, 0, 0, kNodeMax), FloatColumn({"Deflection"}, "L"),
                  FloatColumn({"Slope"})});
}

TableDefinition BoundCondDefinition() {
    TableDefinition d =
        table(123, "Concentrated Loads on Wall", 1, 20,
              {EnumColumn({kConstantOrInterpolate34}, {"Use Constant Values for all Nodes on this Line",
                                                       "Linear Interpolate to End Node of Next Line"}),
               IntColumn({"From Node No.", "(Start)"}, 0, 0, kNodeMax),
               IntColumn({"To Node No.", "(End)"}, 1, 0, kNoMax), FloatColumn({"Lateral Load"}, "F"),
               FloatColumn({"Moment"}, "F-L"), FloatColumn({"Axial Load"}, "F")});
    d.comments =
        std::string("The concentrated loads are applied at nodal points only (including the specified "
                    "START and END nodes).\n") +
        kSpanComment;
    return d;
}

TableDefinition SoilStrengthDefinition() {
    TableDefinition d =
        table(4, "Lateral Spring and Rotation Spring", 1, 20,
              {EnumColumn({kConstantOrInterpolate38}, {"Use Constant Values for all Nodes on this Line  ",
                                                       "Linear Interpolate to End Node of Next Line"}),
               IntColumn({"From Node No.", "     (Start)"}, 0, 0, kNoMax),
               IntColumn({"To Node No.", "   (End)"}, 0), FloatColumn({"Lateral Spring", "Stiffness"}, "F/L"),
               FloatColumn({"Rotational Spr.", "Stiff."}, "F-L/RAD.")});
    d.comments =
        std::string("The spring stiffnesses are applied at nodal points only (including the specified "
                    "START and END nodes).\n") +
        kSpanComment;
    d.helpPicture = kTieBackPicture;
    return d;
}

TableDefinition PYModDefinition() {
    return table(16, "p-y Modification Factors", 2, 30,
                 {FloatColumn({"Depth"}, "L2"), FloatColumn({"p-Multiplier"}, "", 1.0),
                  FloatColumn({"y-Multiplier"}, "", 1.0)});
}

TableDefinition DistLoadDefinition() {
    TableDefinition d = table(22, "Distributed Loads", 2, 100, distributedLoadColumns());
    d.helpPicture = kPressurePicture;
    return d;
}

TableDefinition LongDistDefinition() {
    TableDefinition d = table(104, "Distributed Load (Long-Term)", 1, 0, distributedLoadColumns());
    d.helpPicture = kPressurePicture;
    return d;
}

TableDefinition SurchargeTableDefinition() {
    TableDefinition d =
        table(23, "Surcharge Loads", 1, 20,
              {EnumColumn({"Load Types"}, {"Point Load", "Line Load", "Strip Load"}),
               FloatColumn({"Load Magnitude"}, "SEE NOTES"), FloatColumn({"Distance, X"}, "L1"),
               FloatColumn({"Width of Strip Load, W"}, "L1")});
    d.comments = "The unit for point load is lbs or kN \nThe unit for line load is lbs/in. or kN/m \n"
                 "The unit for strip load is lbs/in^2 or kN/m^2 ";
    return d;
}

TableDefinition NewSoilDefinition() {
    return soilLayers(19, "Soil Layers", "Stiff Clay with Free Water");
}

TableDefinition LongSoilDefinition() {
    return soilLayers(44, "Soil Layers (Long-Term)", "Stiff Clay with Free water");
}

TableDefinition PYCurves2Definition() {
    TableDefinition d = table(
        37, "Sets of Ext. p-y Curves", 2, 30,
        {IntColumn({"Node # "}, 0), TableColumn({"Curve Sets"}, {TemplateRef::identifier(38)}),
         FloatColumn({"Multiplier for p-value"}, "", 1.0), FloatColumn({"Multiplier for y-value"}, "", 1.0)});
    d.chart = ChartProperties{};
    return d;
}

TableDefinition MEICurves2Definition() {
    TableDefinition d =
        table(36, "Nonlinear Moment vs EI Curves", 1, 20,
              {IntColumn({"From Node No. (Start)"}, 0, 0, 1000), IntColumn({"To Node No. (End)"}, 0, 0, 1000),
               TableColumn({}, {TemplateRef::identifier(0)})});
    d.topLeft = "Section";
    d.chart = ChartProperties{};
    return d;
}

TableDefinition TblClay1Definition() {
    return table(18, "Clay", 2, 2,
                 {unitWeight(), cohesion(), FloatColumn({"E50"}), FloatColumn({"k(py)"}, "F/L^3")});
}

TableDefinition TblSand1Definition() {
    return table(17, "Sand", 2, 2, {unitWeight(), frictionAngle(), FloatColumn({"k(py)"}, "F/L^3")});
}

TableDefinition TblSilt1Definition() {
    return table(
        29, "Silt", 2, 2,
        {unitWeight(), frictionAngle(), cohesion(), FloatColumn({"E50"}), FloatColumn({"K(py)"}, "F/L^3")});
}

TableDefinition TblRock1Definition() {
    return table(30, "Strong Rock", 2, 2, {unitWeight(), uniaxialStrength()});
}

TableDefinition TblRock2Definition() {
    TableDefinition d = table(31, "Weak Rock", 2, 2,
                              {unitWeight(), uniaxialStrength(), FloatColumn({"krm *"}),
                               FloatColumn({"Elastic", "Modulus,"}, "F/L^2"), FloatColumn({"RQD", "%"})});
    d.comments = "* krm is a strain constant that seve to establish the overall stiffness of the curves";
    return d;
}

TableDefinition PYCurve2Definition() {
    TableDefinition d =
        table(38, "External p-y Curve", 2, 17,
              {FloatColumn({"Lateral Deflection, y (*)"}, "L"), FloatColumn({"Soil Resistance, p"}, "F/L")});
    d.topLeft = "Point";
    d.comments = "* Use negative (-) values for deflections to the left (to backfill)\n"
                 "     and positive (+) to the right (to excavation).\n"
                 "Lateral movement (y) should start from negative deflection\n"
                 "     (towards backfill) and gradually increase to positive\n"
                 "     deflection (towards excavation) for the range of the response.\n"
                 "Positive soil resistance (p) should correspond to the negative\n"
                 "     soil movement (-y) and negative soil resistance (-p) should\n"
                 "     correspond to the positive soil movement (y).";
    d.chart = curveChart();
    return d;
}

TableDefinition Rows2Definition() {
    TableDefinition d =
        table(0, "Moment and EI data", 1, 100,
              {FloatColumn({"Bending moment"}, "F-L"), FloatColumn({"Flexural rigidity"}, "F-L^2")});
    d.topLeft = "Point";
    d.chart = curveChart();
    return d;
}

ProjectTables::ProjectTables()
    : tblClay1(TblClay1Definition(), plainRegistry_), tblSand1(TblSand1Definition(), plainRegistry_),
      tblSilt1(TblSilt1Definition(), plainRegistry_), tblRock1(TblRock1Definition(), plainRegistry_),
      tblRock2(TblRock2Definition(), plainRegistry_), pyCurve2(PYCurve2Definition(), chartRegistry_),
      rows2(Rows2Definition(), chartRegistry_), pileSect(PileSectDefinition(), plainRegistry_),
      soillayer(SoillayerDefinition(), plainRegistry_), boundCond(BoundCondDefinition(), plainRegistry_),
      soilStrength(SoilStrengthDefinition(), plainRegistry_), pyMod(PYModDefinition(), plainRegistry_),
      distLoad(DistLoadDefinition(), plainRegistry_), longDist(LongDistDefinition(), plainRegistry_),
      surchargeTable(SurchargeTableDefinition(), plainRegistry_),
      newSoil(NewSoilDefinition(), plainRegistry_), longSoil(LongSoilDefinition(), plainRegistry_),
      pyCurves2(PYCurves2Definition(), chartRegistry_), meiCurves2(MEICurves2Definition(), chartRegistry_) {}

std::vector<GridTable*> ProjectTables::plainTables() {
    return {&pileSect, &soillayer, &boundCond,      &soilStrength, &pyMod,
            &distLoad, &longDist,  &surchargeTable, &newSoil,      &longSoil};
}

std::vector<GridTable*> ProjectTables::chartTables() {
    return {&pyCurves2, &meiCurves2};
}

void ProjectTables::reset() {
    for (GridTable* t : chartTables()) t->setRowCount(0);
    for (GridTable* t : plainTables()) {
        t->setRowCount(0);
        t->setRowCount(t->minRows());
    }
    resetChanged();
}

void ProjectTables::setUnits(int units) {
    for (GridTable* t : plainTables()) t->setUnits(units);
    for (GridTable* t : chartTables()) t->setUnits(units);
}

bool ProjectTables::isChanged() const {
    for (const GridTable* t : {&pileSect, &soillayer, &boundCond, &soilStrength, &pyMod, &distLoad, &longDist,
                               &surchargeTable, &newSoil, &longSoil, &pyCurves2, &meiCurves2})
        if (t->isChanged()) return true;
    return false;
}

void ProjectTables::resetChanged() {
    for (GridTable* t : plainTables()) t->resetChanged();
    for (GridTable* t : chartTables()) t->resetChanged();
}

} // namespace kelda::data
