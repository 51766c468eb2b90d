#include "kelda/data/grid_table.h"
#include "kelda/data/project_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelda::data {
namespace {

// ---------------------------------------------------------------------------
// Cell entries, through the column rules

struct EntryCase {
    const char* name;
    ColumnDefinition column;
    const char* typed;
    std::string message; // empty: accepted
    double stored;       // the value held afterwards (the old value when rejected)
};

void PrintTo(const EntryCase& c, std::ostream* os) {
    *os << c.name;
}

class CellEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(CellEntryTest, ChecksAndStores) {
    const EntryCase& c = GetParam();
    TableRegistry registry;
    TableDefinition d;
    d.columns = {c.column};
    GridTable table(d, registry);
    table.setRowCount(1);
    table.setFloat(0, 0, c.column.kind == ColumnKind::Enum ? 2 : 7); // the old value
    const EntryResult r = table.setString(0, 0, c.typed, '.');
    EXPECT_EQ(r.ok, c.message.empty());
    EXPECT_EQ(r.message, c.message);
    EXPECT_DOUBLE_EQ(table.asFloat(0, 0), c.stored);
}

const ColumnDefinition kNodeColumn = IntColumn({"To Node No. (End)"}, 1, 0, 2147483647);
const ColumnDefinition kAnyInt = IntColumn({"Node # "}, 0);
const ColumnDefinition kCaseColumn = EnumColumn({"Case"}, {"Specify Deflection", "Specify Slope"});
const ColumnDefinition kRealColumn = FloatColumn({"Depth"}, "L2");

INSTANTIATE_TEST_SUITE_P(
    Rules, CellEntryTest,
    ::testing::Values(
        EntryCase{"IntFormula", kNodeColumn, "2*12", "", 24},
        EntryCase{"IntFraction", kNodeColumn, "2.5", "Entry must be an integer.", 7},
        EntryCase{"IntAboveRange", kNodeColumn, "5E9", "Entry must be between 0 and 2147483647.", 7},
        EntryCase{"IntBelowRange", kNodeColumn, "-1", "Entry must be between 0 and 2147483647.", 7},
        EntryCase{"IntTinyFraction", kNodeColumn, "1E-11", "", 0},
        EntryCase{"IntNegativeFraction", kAnyInt, "-2.5", "Entry must be an integer.", 7},
        EntryCase{"IntOutsideIntegerRange", kAnyInt, "-3E9",
                  "Entry must be between -2147483648 and 2147483647.", 7},
        EntryCase{"IntNearWhole", kAnyInt, "0.57*100", "", 57},
        EntryCase{"Blank", kAnyInt, "", "Entry cannot be blank.", 7},
        EntryCase{"BlankSpaces", kRealColumn, "  ", "Entry cannot be blank.", 7},
        EntryCase{"NotANumber", kRealColumn, "12a", "12a is not a valid number.", 7},
        EntryCase{"Overflow", kRealColumn, "1E400", "1E400 is not a valid number.", 7},
        EntryCase{"RealFormula", kRealColumn, "sqrt(2)", "", 1.4142135623730951},
        EntryCase{"EnumItem", kCaseColumn, "3-2", "", 1},
        EntryCase{"EnumFraction", kCaseColumn, "1.5", "Value must be an integer.", 2},
        EntryCase{"EnumNoSuchItem", kCaseColumn, "3", "Entry must be between 1 and 2.", 2}));

TEST(CellEntryTest, CommaSeparatorAndTextForms) {
    TableRegistry registry;
    TableDefinition d;
    d.columns = {FloatColumn({"Depth"}, "L2"), StringColumn({"Name"}, "none")};
    GridTable table(d, registry);
    table.setRowCount(1);
    EXPECT_TRUE(table.cell(0, 0).setString("1,25*2", ','));
    EXPECT_EQ(table.cell(0, 0).asString(','), "2,5");
    table.setFloat(0, 0, 1.0 / 3.0);
    EXPECT_EQ(table.asString(0, 0, '.'), "0.33333333"); // 8 significant digits
    EXPECT_EQ(table.asString(1, 0, '.'), "none");
    EXPECT_TRUE(table.setString(1, 0, "  sand, loose ", '.'));
    EXPECT_EQ(table.asString(1, 0, '.'), "  sand, loose ");
}

TEST(CellAccessTest, WrongKindAndIndexAreProgrammingErrors) {
    ProjectTables project;
    project.reset();
    auto expectError = [](auto&& call, std::string_view message) {
        try {
            call();
            ADD_FAILURE() << "no TableError";
        } catch (const TableError& e) {
            EXPECT_EQ(e.what(), message);
        }
    };
    expectError([&] { project.pileSect.asTable(0, 0); }, kMsgWrongType);
    expectError([&] { project.newSoil.asInteger(2, 0); }, kMsgWrongType);
    expectError([&] { project.newSoil.setFloat(2, 0, 1); }, kMsgWrongType);
    expectError([&] { project.newSoil.setString(2, 0, "1", '.'); }, kMsgWrongType);
    expectError([&] { project.pileSect.asFloat(4, 0); }, kMsgIndexOutOfBounds);
    expectError([&] { project.pileSect.asFloat(0, 1); }, kMsgIndexOutOfBounds);
    expectError([&] { project.pileSect.setInteger(2, 0, 3); }, kMsgIndexOutOfBounds); // no third item
    expectError([&] { project.pileSect.setMinRows(0); }, kMsgMinRowsPositive);
    expectError([&] { project.pileSect.deleteRows(1); }, kMsgRowNotInRange);
    expectError([&] { project.pileSect.chart(); }, kMsgWrongType);
}

// ---------------------------------------------------------------------------
// Rows

TEST(RowsTest, ButtonsFollowMinAndMaxRows) {
    ProjectTables project;
    project.reset();
    GridTable& sections = project.pileSect; // 1..10 rows
    EXPECT_TRUE(sections.hasRowButtons());
    EXPECT_TRUE(sections.canAddRows());
    EXPECT_FALSE(sections.canDeleteRows());
    while (sections.canAddRows()) sections.addRows();
    EXPECT_EQ(sections.rowCount(), 10);
    EXPECT_TRUE(sections.canDeleteRows());
    sections.deleteRows(3);
    EXPECT_TRUE(sections.canAddRows());

    GridTable* clay = project.newSoil.asTable(2, 0); // exactly 2 rows
    ASSERT_NE(clay, nullptr);
    EXPECT_FALSE(clay->hasRowButtons());
    EXPECT_FALSE(clay->canAddRows());
    EXPECT_FALSE(clay->canDeleteRows());

    project.longDist.setRowCount(500); // no maximum
    EXPECT_TRUE(project.longDist.canAddRows());
}

TEST(RowsTest, SetRowCountAppendsDefaultsAndCutsFromTheEnd) {
    ProjectTables project;
    project.reset();
    GridTable& t = project.pyMod;
    t.setFloat(0, 1, 5.0);
    t.setRowCount(4);
    EXPECT_EQ(t.rowCount(), 4);
    EXPECT_DOUBLE_EQ(t.asFloat(0, 1), 5.0);
    EXPECT_DOUBLE_EQ(t.asFloat(1, 3), 1.0); // p-Multiplier default
    t.setRowCount(-3);
    EXPECT_EQ(t.rowCount(), 0);
}

TEST(RowsTest, RowGroupsAndGroupColumns) {
    TableRegistry registry;
    TableDefinition d;
    d.rowGroup = 2;
    d.columns = {FloatColumn({"Shared"}), FloatColumn({"Own"})};
    d.columns[0].group = true;
    GridTable t(d, registry);
    t.addRows();
    t.addRows();
    EXPECT_EQ(t.rowCount(), 4);
    EXPECT_EQ(t.rowLabel(3), 2);
    ASSERT_TRUE(t.setString(0, 3, "9", '.'));
    ASSERT_TRUE(t.setString(1, 3, "4", '.'));
    EXPECT_DOUBLE_EQ(t.asFloat(0, 2), 9.0); // the whole group
    EXPECT_DOUBLE_EQ(t.asFloat(1, 2), 0.0);
    t.insertRows(3); // before the group holding row 3, i.e. at row 2
    EXPECT_EQ(t.rowCount(), 6);
    EXPECT_DOUBLE_EQ(t.asFloat(0, 2), 0.0);
    EXPECT_DOUBLE_EQ(t.asFloat(0, 4), 9.0);
    t.deleteRows(5);
    EXPECT_EQ(t.rowCount(), 4);
    EXPECT_DOUBLE_EQ(t.asFloat(0, 3), 0.0);
}

TEST(RowsTest, TopDepthPairsDescribeConsecutiveIntervals) {
    TableRegistry registry;
    TableDefinition d;
    d.columns = {FloatColumn({"Top"}, "L2"), FloatColumn({"Bottom"}, "L2")};
    d.columns[0].topDepth = true;
    GridTable t(d, registry);
    t.setRowCount(2);
    t.setFloat(1, 0, 5.0); // bottom of row 0 is the top of row 1
    EXPECT_DOUBLE_EQ(t.asFloat(0, 1), 5.0);
    t.setFloat(0, 1, 6.0); // top of row 1 is the bottom of row 0
    EXPECT_DOUBLE_EQ(t.asFloat(1, 0), 6.0);
    t.setFloat(1, 1, 9.0);
    t.insertRows(1); // the new interval spans 6 .. 6 between its neighbours
    EXPECT_DOUBLE_EQ(t.asFloat(0, 1), 6.0);
    EXPECT_DOUBLE_EQ(t.asFloat(1, 1), 6.0);
    t.addRows(); // appended: starts at the last bottom
    EXPECT_DOUBLE_EQ(t.asFloat(0, 3), 9.0);

    TableDefinition bad;
    bad.columns = {FloatColumn({"Top"}), IntColumn({"Count"}, 0)};
    bad.columns[0].topDepth = true;
    GridTable broken(bad, registry);
    try {
        broken.addRows();
        ADD_FAILURE() << "no TableError";
    } catch (const TableError& e) {
        EXPECT_EQ(e.what(), kMsgTopDepthPair);
    }
}

// ---------------------------------------------------------------------------
// Sub-tables

TEST(SubTableTest, SoilTypeChoosesAndReplacesTheParameterTable) {
    ProjectTables project;
    project.reset();
    GridTable& layers = project.newSoil;
    layers.setRowCount(3);
    const int sand = 4;
    const int silt = 5;
    layers.setInteger(0, 2, sand);
    GridTable* parameters = layers.asTable(2, 2);
    ASSERT_NE(parameters, nullptr);
    EXPECT_EQ(parameters->caption(), "Sand");
    parameters->setFloat(0, 0, 110.0);
    layers.setInteger(0, 2, sand); // the same type again keeps the values typed
    EXPECT_DOUBLE_EQ(layers.asTable(2, 2)->asFloat(0, 0), 110.0);

    ASSERT_TRUE(layers.setString(0, 2, "5", '.')); // to "Silt (c-phi soil)"
    GridTable* fresh = layers.asTable(2, 2);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(layers.asInteger(0, 2), silt);
    EXPECT_EQ(fresh->caption(), "Silt");
    EXPECT_EQ(fresh->rowCount(), 2);
    EXPECT_EQ(fresh->columnCount(), 5);
    EXPECT_DOUBLE_EQ(fresh->asFloat(0, 0), 0.0);
    EXPECT_EQ(fresh->number(), 3);
    EXPECT_EQ(fresh->title(), "Silt  3");
    EXPECT_EQ(layers.asString(2, 2, '.'), "3: Silt");
    EXPECT_EQ(layers.title(), "Soil Layers ");
    EXPECT_EQ(layers.asTable(2, 0)->caption(), "Clay"); // item 1, soft clay
}

TEST(SubTableTest, InsertAndDeleteRenumberTheFollowingSubTables) {
    ProjectTables project;
    project.reset();
    GridTable& layers = project.newSoil;
    layers.setRowCount(3);
    layers.setInteger(0, 1, 7); // weak rock in row 2
    layers.insertRows(0);
    ASSERT_EQ(layers.rowCount(), 4);
    EXPECT_EQ(layers.asTable(2, 2)->caption(), "Weak Rock");
    for (int r = 0; r < 4; ++r) EXPECT_EQ(layers.asTable(2, r)->number(), r + 1);
    layers.deleteRows(0);
    EXPECT_EQ(layers.asTable(2, 1)->title(), "Weak Rock  2");
}

TEST(SubTableTest, CurveSetsCopyChartTemplatesFromTheChartRegistry) {
    ProjectTables project;
    project.reset();
    EXPECT_EQ(project.pyCurves2.rowCount(), 0);
    project.pyCurves2.ensureMinRows();
    project.meiCurves2.ensureMinRows();
    GridTable* curve = project.pyCurves2.asTable(1, 1);
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(curve->title(), "External p-y Curve  2");
    EXPECT_TRUE(curve->isChart());
    EXPECT_EQ(curve->rowCount(), 2);
    EXPECT_EQ(curve->topLeft(), "Point");
    // Identifier 0 is the moment–EI template among chart tables, the deflection
    // table among plain ones.
    ASSERT_NE(project.meiCurves2.asTable(2, 0), nullptr);
    EXPECT_EQ(project.meiCurves2.asTable(2, 0)->caption(), "Moment and EI data");
    EXPECT_EQ(project.soillayer.identifier(), 0);
}

TEST(SubTableTest, TemplateListIsPaddedToTheItems) {
    TableRegistry registry;
    TableDefinition templateDef;
    templateDef.identifier = 50;
    templateDef.caption = "Only";
    templateDef.columns = {FloatColumn({"x"})};
    GridTable only(templateDef, registry);
    TableDefinition d;
    d.columns = {EnumColumn({"Kind"}, {"A", "B"}), TableColumn({"Data"}, {TemplateRef::identifier(50)})};
    GridTable t(d, registry);
    t.setRowCount(1);
    EXPECT_EQ(t.asString(1, 0, '.'), "1: Only");
    t.setInteger(0, 0, 2);
    EXPECT_EQ(t.asTable(1, 0), nullptr);
    EXPECT_EQ(t.asString(1, 0, '.'), "1: ");
}

TEST(SubTableTest, SelfContainingTemplateIsRefused) {
    TableRegistry registry;
    TableDefinition d;
    d.identifier = 7;
    d.columns = {TableColumn({"Again"}, {TemplateRef::identifier(7)})};
    GridTable loop(d, registry);
    EXPECT_THROW(loop.setRowCount(1), TableError);
}

// ---------------------------------------------------------------------------
// Registry and identifiers

TEST(RegistryTest, IdentifiersStayUnique) {
    TableRegistry registry;
    GridTable a(registry);
    GridTable b(registry);
    EXPECT_EQ(a.identifier(), 0);
    EXPECT_EQ(b.identifier(), 1);
    b.setIdentifier(0); // a takes b's old value
    EXPECT_EQ(b.identifier(), 0);
    EXPECT_EQ(a.identifier(), 1);
    b.setIdentifier(-5);
    EXPECT_EQ(b.identifier(), 0);
    a.setIdentifier(3);
    GridTable c(registry); // the running number skips values in use
    GridTable d(registry);
    EXPECT_EQ(c.identifier(), 2);
    EXPECT_EQ(d.identifier(), 4);
    EXPECT_EQ(registry.findByIdentifier(3), &a);
    EXPECT_EQ(registry.at(1), &b);
    EXPECT_EQ(registry.size(), 4);
}

// ---------------------------------------------------------------------------
// Units

TEST(UnitsTest, SwitchingConvertsRealsByTheirUnitsString) {
    ProjectTables project;
    project.reset();
    GridTable& layers = project.newSoil;
    layers.setFloat(1, 0, 10.0);                 // 10 ft
    layers.asTable(2, 0)->setFloat(0, 0, 120.0); // 120 lbs/ft^3
    project.pileSect.setInteger(0, 0, 12);
    project.surchargeTable.setFloat(1, 0, 3.5); // "SEE NOTES": no conversion
    EXPECT_EQ(layers.displayHeadings(1),
              (std::vector<std::string>{"Depth at Bottom", "of the Layer, (ft)  "}));

    project.setUnits(2);
    EXPECT_NEAR(layers.asFloat(1, 0), 3.048, 1e-9);
    EXPECT_NEAR(layers.asTable(2, 0)->asFloat(0, 0),
                120.0 * 3.280839895 * 3.280839895 * 3.280839895 / 224.8089237, 1e-9);
    EXPECT_EQ(layers.asTable(2, 0)->units(), 2);
    EXPECT_EQ(project.pileSect.asInteger(0, 0), 12);
    EXPECT_EQ(layers.asInteger(0, 0), 1);
    EXPECT_DOUBLE_EQ(project.surchargeTable.asFloat(1, 0), 3.5);
    EXPECT_EQ(layers.displayHeadings(1).back(), "of the Layer, (m)  ");
    EXPECT_EQ(project.surchargeTable.displayHeadings(1).back(), "Load Magnitude (SEE NOTES)  ");

    // A layer added now takes the table's system.
    layers.addRows();
    EXPECT_EQ(layers.asTable(2, 1)->units(), 2);

    project.setUnits(3); // other units: nothing converts
    EXPECT_NEAR(layers.asFloat(1, 0), 3.048, 1e-9);
    EXPECT_EQ(layers.displayHeadings(1).back(), "of the Layer, (L)  ");
    project.setUnits(1);
    EXPECT_NEAR(layers.asFloat(1, 0), 3.048, 1e-9);
}

// ---------------------------------------------------------------------------
// Change notifications and the changed flag

class Recorder : public TableObserver {
public:
    void cellsChanged(const GridTable&, int c0, int r0, int c1, int r1) override {
        log.push_back("cells " + std::to_string(c0) + "," + std::to_string(r0) + ".." + std::to_string(c1) +
                      "," + std::to_string(r1));
    }
    void rowsAboutToBeInserted(const GridTable& t, int first, int count) override {
        log.push_back("insert? " + std::to_string(first) + "+" + std::to_string(count) + " of " +
                      std::to_string(t.rowCount()));
    }
    void rowsInserted(const GridTable& t, int first, int count) override {
        log.push_back("inserted " + std::to_string(first) + "+" + std::to_string(count) + " of " +
                      std::to_string(t.rowCount()));
    }
    void rowsAboutToBeRemoved(const GridTable&, int first, int count) override {
        log.push_back("remove? " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowsRemoved(const GridTable&, int first, int count) override {
        log.push_back("removed " + std::to_string(first) + "+" + std::to_string(count));
    }
    void headingsChanged(const GridTable&) override { log.push_back("headings"); }
    void titleChanged(const GridTable& t) override { log.push_back("title " + t.title()); }
    void tableDestroyed(const GridTable& t) override { log.push_back("destroyed " + t.caption()); }
    std::vector<std::string> log;
};

TEST(ObserverTest, EveryCellAndRowChangeIsReported) {
    ProjectTables project;
    project.reset();
    Recorder table;
    Recorder subTable;
    project.newSoil.addObserver(&table);
    project.newSoil.asTable(2, 0)->addObserver(&subTable);
    project.newSoil.addRows();
    project.newSoil.setString(1, 1, "12", '.');
    project.newSoil.setInteger(0, 0, 4); // replaces the clay table of row 1
    project.newSoil.deleteRows(0);
    project.newSoil.setUnits(2);
    EXPECT_EQ(table.log, (std::vector<std::string>{"insert? 1+1 of 1", "inserted 1+1 of 2", "cells 1,1..1,1",
                                                   "cells 0,0..2,0", "remove? 0+1", "removed 0+1",
                                                   "cells 0,0..2,0", "headings"}));
    EXPECT_EQ(subTable.log, (std::vector<std::string>{"destroyed Clay"}));
    project.newSoil.removeObserver(&table);
}

TEST(ChangedFlagTest, EditsMarkAndResetClearsTablesAndSubTables) {
    ProjectTables project;
    project.reset();
    EXPECT_FALSE(project.isChanged());
    project.newSoil.asTable(2, 0)->setFloat(1, 1, 500.0);
    EXPECT_TRUE(project.newSoil.isChanged());
    EXPECT_TRUE(project.isChanged());
    project.resetChanged();
    EXPECT_FALSE(project.isChanged());
    project.pyCurves2.ensureMinRows(); // showing a table is not an edit
    EXPECT_FALSE(project.isChanged());
    project.pyCurves2.deleteRows(0);
    EXPECT_TRUE(project.isChanged());
}

} // namespace
} // namespace kelda::data
