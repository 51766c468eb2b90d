// Grid tables: every list-shaped input of a project (wall sections, loads,
// springs, soil layers, curves) is a GridTable of typed columns. This is the
// model only; an editing window (a toolkit table model) reads it through the
// accessors below and follows it through TableObserver.
//
// Rows and columns are 0-based here; row labels and sub-table numbers shown to
// the user are 1-based.
#pragma once

#include <climits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kelda::data {

class GridTable;

// A misuse of the table interface (a programming error, not a user's entry):
// wrong cell type, index out of range, an impossible definition.
class TableError : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

inline constexpr std::string_view kMsgWrongType = "Data of wrong type";
inline constexpr std::string_view kMsgIndexOutOfBounds = "Index out of bounds";
inline constexpr std::string_view kMsgRowNotInRange = "Grid.Row not in valid range";
inline constexpr std::string_view kMsgMinRowsPositive = "Value must be greater than 0";
inline constexpr std::string_view kMsgTopDepthPair =
    "If column if a topdepth then the next column must be a float column";

// Messages of a rejected cell entry.
inline constexpr std::string_view kMsgEntryBlank = "Entry cannot be blank.";
inline constexpr std::string_view kMsgNotAValidNumber = " is not a valid number."; // after the text typed
inline constexpr std::string_view kMsgCellMustBeInteger = "Entry must be an integer.";
inline constexpr std::string_view kMsgItemMustBeInteger = "Value must be an integer.";
// "Entry must be between %d and %d." with the two limits.
std::string EntryMustBeBetween(long long minimum, long long maximum);

// Column kinds; the numbers are the class keys under which table definitions
// store them.
enum class ColumnKind : int { Enum = 0, Int = 1, Float = 2, Table = 3, String = 4 };

// Which table a sub-table is copied from: an Identifier looked up in the owning
// table's registry when a sub-table is made, a position in that registry, or
// nothing (rows choosing it get no sub-table).
struct TemplateRef {
    enum class Kind { Empty, Identifier, Position };
    Kind kind = Kind::Empty;
    int value = -1;

    static TemplateRef identifier(int id) { return {Kind::Identifier, id}; }
    static TemplateRef position(int index) { return {Kind::Position, index}; }
    static TemplateRef empty() { return {}; }
};

// One column as declared. Only the members of its kind matter.
struct ColumnDefinition {
    ColumnKind kind = ColumnKind::Float;
    std::vector<std::string> headings; // one grid header row each
    bool visible = true;
    bool group = false; // a value written into a row goes into every row of its row group
    // Enum: the item texts; cells hold the 1-based item number (new rows: 1).
    std::vector<std::string> items;
    // Int: new rows take the default; user entries must lie within the range.
    int intDefault = 0;
    int intMin = INT_MIN;
    int intMax = INT_MAX;
    // Float: units string (see units.h), default, and the top-depth flag (this
    // column and the next hold the top and bottom of consecutive intervals).
    std::string unitsString;
    double floatDefault = 0.0;
    bool topDepth = false;
    // Table: template per item of the table's first column when that is an
    // enumeration, else the first one.
    std::vector<TemplateRef> templates;
    // String: the default text and the column width in inches.
    std::string stringDefault;
    double widthInches = 1.0;
};

ColumnDefinition EnumColumn(std::vector<std::string> headings, std::vector<std::string> items);
ColumnDefinition IntColumn(std::vector<std::string> headings, int defaultValue, int minimum = INT_MIN,
                           int maximum = INT_MAX);
ColumnDefinition FloatColumn(std::vector<std::string> headings, std::string unitsString = "",
                             double defaultValue = 0.0);
ColumnDefinition TableColumn(std::vector<std::string> headings, std::vector<TemplateRef> templates);
ColumnDefinition StringColumn(std::vector<std::string> headings, std::string defaultText = "",
                              double widthInches = 1.0);

// The extra properties of a curve table, whose window shows a chart of one
// column against another and can take its rows from a text file or the clipboard.
struct ChartProperties {
    bool getDataFromFile = false; // file and clipboard controls shown
    bool okCancelButtons = false;
    bool invertedXAxis = false;
    bool invertedYAxis = false;
    bool showChart = false;
    bool drawing = false; // a plain line drawing instead of the chart (unused)
    int xColumn = 0;
    int yColumn = 1;
    int x2Column = 0;
    int y2Column = 0;
};

// A table as declared.
struct TableDefinition {
    int identifier = -1; // below 0: the registry's next running number
    std::string caption;
    std::string comments; // lines separated by '\n'
    std::string topLeft;
    int minRows = 1; // 0 or less is read as 1
    int maxRows = 0; // 0: no maximum
    int rowGroup = 1;
    bool hardwiredButton = false;
    std::string helpPicture; // name of the picture shown under the comments
    std::vector<ColumnDefinition> columns;
    std::optional<ChartProperties> chart; // set for curve tables
};

// The tables of one kind (plain or chart), in creation order. Sub-table
// templates are found here by Identifier or position. Identifiers are unique
// within a registry.
class TableRegistry {
public:
    TableRegistry() = default;
    TableRegistry(const TableRegistry&) = delete;
    TableRegistry& operator=(const TableRegistry&) = delete;
    ~TableRegistry();

    // The process-wide registries of plain and of chart tables.
    static TableRegistry& plain();
    static TableRegistry& chart();

    int size() const { return static_cast<int>(tables_.size()); }
    GridTable* at(int position) const;
    GridTable* findByIdentifier(int identifier) const;
    GridTable* resolve(const TemplateRef& ref) const;

private:
    friend class GridTable;
    void add(GridTable* table);
    void remove(GridTable* table);
    int nextIdentifier();

    std::vector<GridTable*> tables_;
    int counter_ = 0;
};

// Told about every change of a table, so that a window can follow it. The
// "about to" calls come before the rows change, the others after.
class TableObserver {
public:
    virtual ~TableObserver() = default;
    virtual void cellsChanged(const GridTable&, int /*firstColumn*/, int /*firstRow*/, int /*lastColumn*/,
                              int /*lastRow*/) {}
    virtual void rowsAboutToBeInserted(const GridTable&, int /*first*/, int /*count*/) {}
    virtual void rowsInserted(const GridTable&, int /*first*/, int /*count*/) {}
    virtual void rowsAboutToBeRemoved(const GridTable&, int /*first*/, int /*count*/) {}
    virtual void rowsRemoved(const GridTable&, int /*first*/, int /*count*/) {}
    // Heading texts changed (the units labels, after a units switch).
    virtual void headingsChanged(const GridTable&) {}
    // The window title changed (caption or number).
    virtual void titleChanged(const GridTable&) {}
    // The table is being destroyed (a sub-table replaced or deleted with its row).
    virtual void tableDestroyed(const GridTable&) {}
};

// The result of committing text to a cell: rejected entries carry the message to
// show, and the stored value is unchanged.
struct EntryResult {
    bool ok = true;
    std::string message;
    explicit operator bool() const { return ok; }
};

class GridTable;

// A handle of one cell, with the typed accessors.
class TableCell {
public:
    TableCell(GridTable& table, int column, int row) : table_(&table), column_(column), row_(row) {}
    int asInteger() const;
    double asFloat() const;
    std::string asString() const;
    std::string asString(char decimalSeparator) const;
    GridTable* asTable() const;
    void setInteger(int value) const;
    void setFloat(double value) const;
    EntryResult setString(std::string_view text) const;
    EntryResult setString(std::string_view text, char decimalSeparator) const;

private:
    GridTable* table_;
    int column_;
    int row_;
};

class GridTable {
public:
    explicit GridTable(TableRegistry& registry = TableRegistry::plain());
    explicit GridTable(const TableDefinition& definition, TableRegistry& registry = TableRegistry::plain());
    GridTable(const GridTable&) = delete;
    GridTable& operator=(const GridTable&) = delete;
    ~GridTable();

    // ---- properties
    int identifier() const { return identifier_; }
    // Negative values are ignored; a value another table of the registry holds
    // passes that table this table's old value.
    void setIdentifier(int identifier);
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    const std::string& comments() const { return comments_; }
    void setComments(std::string comments) { comments_ = std::move(comments); }
    const std::string& topLeft() const { return topLeft_; }
    void setTopLeft(std::string text) { topLeft_ = std::move(text); }
    int minRows() const { return minRows_; }
    void setMinRows(int rows); // throws TableError for 0 or less
    int maxRows() const { return maxRows_; }
    void setMaxRows(int rows) { maxRows_ = rows < 0 ? 0 : rows; }
    int rowGroup() const { return rowGroup_; }
    void setRowGroup(int rows) { rowGroup_ = rows < 1 ? 1 : rows; }
    bool hardwiredButton() const { return hardwiredButton_; }
    void setHardwiredButton(bool on) { hardwiredButton_ = on; }
    const std::string& helpPicture() const { return helpPicture_; }
    void setHelpPicture(std::string name) { helpPicture_ = std::move(name); }
    bool isChart() const { return chart_.has_value(); }
    const ChartProperties& chart() const; // throws TableError for a plain table
    void setChart(const ChartProperties& properties) { chart_ = properties; }
    TableRegistry& registry() const { return *registry_; }

    // Sub-table numbering: a sub-table is numbered with its row (1-based). The
    // number chain is the owner's chain followed by " " and Number when Number
    // is not 0; the window title is Caption, " " and the chain ("Clay  3" for the
    // parameter table of layer 3, "Soil Layers " for a main table).
    int number() const { return number_; }
    void setNumber(int number);
    std::string numberChain() const;
    std::string title() const;
    const GridTable* owner() const { return owner_; }

    // The definition of this table as it stands, for copying it as a template.
    TableDefinition definition() const;

    // ---- columns
    int columnCount() const { return static_cast<int>(columns_.size()); }
    const ColumnDefinition& column(int column) const;
    // Adds a column; existing rows get its default.
    void addColumn(ColumnDefinition definition);
    // Columns that the editing window shows, in order.
    std::vector<int> visibleColumns() const;
    bool isEditable() const { return !visibleColumns().empty(); }
    // Heading lines as the window shows them: a real column with a units string
    // has its last line followed by " (", the units label, ")" and two blanks.
    std::vector<std::string> displayHeadings(int column) const;
    int headerRowCount() const; // the most heading lines among the visible columns

    // ---- rows
    int rowCount() const { return rowCount_; }
    // n below 0 counts as 0; surplus rows go from the end, missing rows are
    // appended with defaults. MinRows and MaxRows are the callers' business.
    void setRowCount(int rows);
    void addRows();           // appends one row group
    void insertRows(int row); // inserts one row group before the group holding `row`
    void deleteRows(int row); // deletes the group holding `row`
    int rowLabel(int row) const { return row / rowGroup_ + 1; }
    // Gives a table with fewer rows than MinRows its minimum, as when its
    // editing window is shown; the changed flag stays as it was.
    void ensureMinRows();
    // Row buttons: present unless MinRows equals MaxRows; "&Add Row" and
    // "&Insert Row" enabled below MaxRows (or with no maximum), "&Delete Row"
    // above MinRows.
    bool hasRowButtons() const { return minRows_ != maxRows_; }
    bool canAddRows() const { return hasRowButtons() && (maxRows_ == 0 || rowCount_ < maxRows_); }
    bool canDeleteRows() const { return hasRowButtons() && rowCount_ > minRows_; }

    // ---- cells
    TableCell cell(int column, int row) { return TableCell(*this, column, row); }
    int asInteger(int column, int row) const;
    double asFloat(int column, int row) const;
    std::string asString(int column, int row, char decimalSeparator) const;
    GridTable* asTable(int column, int row) const;
    // Programmatic writes (file readers, curve filling): no entry checks, but
    // an item number outside the enumeration is refused (TableError).
    void setInteger(int column, int row, int value);
    void setFloat(int column, int row, double value);
    // A user's entry: evaluated and checked by the column's rules; a rejected
    // entry leaves the stored value unchanged and returns the message.
    EntryResult setString(int column, int row, std::string_view text, char decimalSeparator);

    // ---- units: real columns convert their values by their units string's
    // factor; sub-tables follow.
    int units() const { return units_; }
    void setUnits(int units);

    // ---- changed flag: set by every change made through this interface;
    // loaders clear it when they are done.
    bool isChanged() const;
    void resetChanged();

    void addObserver(TableObserver* observer);
    void removeObserver(TableObserver* observer);

private:
    struct Column {
        ColumnDefinition definition;
        std::vector<int> integers;                      // Enum, Int
        std::vector<double> reals;                      // Float
        std::vector<std::string> texts;                 // String
        std::vector<std::unique_ptr<GridTable>> tables; // Table
    };

    void applyDefinition(const TableDefinition& definition);
    Column& columnAt(int column);
    const Column& columnAt(int column) const;
    void checkCell(int column, int row) const;
    void checkTopDepthPairs() const;
    void insertRowsAt(int first, int count);
    void removeRowsAt(int first, int count);
    std::pair<int, int> groupOf(int column, int row) const;
    void storeInteger(int column, int row, int value);
    void storeReal(int column, int row, double value);
    std::unique_ptr<GridTable> makeSubTable(int column, int row);
    void replaceSubTable(int column, int row);
    void renumberSubTables();
    void changed(int firstColumn, int firstRow, int lastColumn, int lastRow);
    template <typename F> void notify(F&& call) const;

    TableRegistry* registry_;
    int identifier_ = 0;
    std::string caption_;
    std::string comments_;
    std::string topLeft_;
    int minRows_ = 1;
    int maxRows_ = 0;
    int rowGroup_ = 1;
    bool hardwiredButton_ = false;
    std::string helpPicture_;
    std::optional<ChartProperties> chart_;
    int units_ = 1;
    int number_ = 0;
    GridTable* owner_ = nullptr;
    int rowCount_ = 0;
    bool changed_ = false;
    std::vector<Column> columns_;
    std::vector<TableObserver*> observers_;
};

} // namespace kelda::data
