#include "kelda/data/grid_table.h"

#include "kelda/data/evaluator.h"
#include "kelda/data/number_format.h"
#include "kelda/data/units.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kelda::data {

namespace {

// Sub-tables of sub-tables are legitimate, but a template that (through its own
// table columns) contains itself would copy itself without end.
constexpr int kMaxSubTableDepth = 8;

int depthOf(const GridTable* table) {
    int depth = 0;
    for (; table != nullptr; table = table->owner()) ++depth;
    return depth;
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// The 1e-10 allowance keeps entries such as 0.57*100 (56.99999999999999 in
// binary) whole; values further from a whole number are rejected.
bool isWhole(double value, double& whole) {
    whole = std::round(value);
    return std::fabs(value - whole) <= 1e-10;
}

int roundToInt(double value) {
    const double r = std::round(value);
    if (!(r >= static_cast<double>(INT_MIN))) return INT_MIN;
    if (r > static_cast<double>(INT_MAX)) return INT_MAX;
    return static_cast<int>(r);
}

} // namespace

std::string EntryMustBeBetween(long long minimum, long long maximum) {
    return "Entry must be between " + std::to_string(minimum) + " and " + std::to_string(maximum) + ".";
}

// ---------------------------------------------------------------------------
// Column declarations

ColumnDefinition EnumColumn(std::vector<std::string> headings, std::vector<std::string> items) {
    ColumnDefinition c;
    c.kind = ColumnKind::Enum;
    c.headings = std::move(headings);
    c.items = std::move(items);
    return c;
}

ColumnDefinition IntColumn(std::vector<std::string> headings, int defaultValue, int minimum, int maximum) {
    ColumnDefinition c;
    c.kind = ColumnKind::Int;
    c.headings = std::move(headings);
    c.intDefault = defaultValue;
    c.intMin = minimum;
    c.intMax = maximum;
    return c;
}

ColumnDefinition FloatColumn(std::vector<std::string> headings, std::string unitsString,
                             double defaultValue) {
    ColumnDefinition c;
    c.kind = ColumnKind::Float;
    c.headings = std::move(headings);
    c.unitsString = std::move(unitsString);
    c.floatDefault = defaultValue;
    return c;
}

ColumnDefinition TableColumn(std::vector<std::string> headings, std::vector<TemplateRef> templates) {
    ColumnDefinition c;
    c.kind = ColumnKind::Table;
    c.headings = std::move(headings);
    c.templates = std::move(templates);
    return c;
}

ColumnDefinition StringColumn(std::vector<std::string> headings, std::string defaultText,
                              double widthInches) {
    ColumnDefinition c;
    c.kind = ColumnKind::String;
    c.headings = std::move(headings);
    c.stringDefault = std::move(defaultText);
    c.widthInches = widthInches;
    return c;
}

// ---------------------------------------------------------------------------
// Registry

TableRegistry::~TableRegistry() = default;

TableRegistry& TableRegistry::plain() {
    static TableRegistry registry;
    return registry;
}

TableRegistry& TableRegistry::chart() {
    static TableRegistry registry;
    return registry;
}

GridTable* TableRegistry::at(int position) const {
    if (position < 0 || position >= size()) return nullptr;
    return tables_[static_cast<std::size_t>(position)];
}

GridTable* TableRegistry::findByIdentifier(int identifier) const {
    for (GridTable* t : tables_)
        if (t->identifier() == identifier) return t;
    return nullptr;
}

GridTable* TableRegistry::resolve(const TemplateRef& ref) const {
    switch (ref.kind) {
    case TemplateRef::Kind::Identifier:
        return findByIdentifier(ref.value);
    case TemplateRef::Kind::Position:
        return at(ref.value);
    case TemplateRef::Kind::Empty:
        break;
    }
    return nullptr;
}

void TableRegistry::add(GridTable* table) {
    tables_.push_back(table);
}

void TableRegistry::remove(GridTable* table) {
    std::erase(tables_, table);
}

// A running number, skipping values that tables of this registry already hold:
// declared identifiers (15, 18, 37 ...) and running numbers share one range, and
// a template must never be found in place of another.
int TableRegistry::nextIdentifier() {
    while (findByIdentifier(counter_) != nullptr) ++counter_;
    return counter_++;
}

// ---------------------------------------------------------------------------
// Cells

int TableCell::asInteger() const {
    return table_->asInteger(column_, row_);
}
double TableCell::asFloat() const {
    return table_->asFloat(column_, row_);
}
std::string TableCell::asString() const {
    return table_->asString(column_, row_, DecimalSeparator());
}
std::string TableCell::asString(char separator) const {
    return table_->asString(column_, row_, separator);
}
GridTable* TableCell::asTable() const {
    return table_->asTable(column_, row_);
}
void TableCell::setInteger(int value) const {
    table_->setInteger(column_, row_, value);
}
void TableCell::setFloat(double value) const {
    table_->setFloat(column_, row_, value);
}
EntryResult TableCell::setString(std::string_view text) const {
    return table_->setString(column_, row_, text, DecimalSeparator());
}
EntryResult TableCell::setString(std::string_view text, char separator) const {
    return table_->setString(column_, row_, text, separator);
}

// ---------------------------------------------------------------------------
// Table

GridTable::GridTable(TableRegistry& registry) : registry_(&registry) {
    identifier_ = registry_->nextIdentifier();
    registry_->add(this);
}

GridTable::GridTable(const TableDefinition& definition, TableRegistry& registry) : GridTable(registry) {
    applyDefinition(definition);
}

GridTable::~GridTable() {
    notify([&](TableObserver* o) { o->tableDestroyed(*this); });
    registry_->remove(this);
}

void GridTable::applyDefinition(const TableDefinition& d) {
    if (d.identifier >= 0) setIdentifier(d.identifier);
    caption_ = d.caption;
    comments_ = d.comments;
    topLeft_ = d.topLeft;
    minRows_ = d.minRows < 1 ? 1 : d.minRows;
    setMaxRows(d.maxRows);
    setRowGroup(d.rowGroup);
    hardwiredButton_ = d.hardwiredButton;
    helpPicture_ = d.helpPicture;
    chart_ = d.chart;
    for (const ColumnDefinition& c : d.columns) addColumn(c);
}

void GridTable::setIdentifier(int identifier) {
    if (identifier < 0 || identifier == identifier_) return;
    if (GridTable* holder = registry_->findByIdentifier(identifier)) holder->identifier_ = identifier_;
    identifier_ = identifier;
}

void GridTable::setCaption(std::string caption) {
    caption_ = std::move(caption);
    notify([&](TableObserver* o) { o->titleChanged(*this); });
}

void GridTable::setMinRows(int rows) {
    if (rows <= 0) throw TableError(std::string(kMsgMinRowsPositive));
    minRows_ = rows;
}

const ChartProperties& GridTable::chart() const {
    if (!chart_) throw TableError(std::string(kMsgWrongType));
    return *chart_;
}

void GridTable::setNumber(int number) {
    number_ = number;
    notify([&](TableObserver* o) { o->titleChanged(*this); });
}

std::string GridTable::numberChain() const {
    std::string chain = owner_ != nullptr ? owner_->numberChain() : std::string();
    if (number_ != 0) {
        chain += ' ';
        chain += std::to_string(number_);
    }
    return chain;
}

std::string GridTable::title() const {
    return caption_ + " " + numberChain();
}

TableDefinition GridTable::definition() const {
    TableDefinition d;
    d.identifier = -1;
    d.caption = caption_;
    d.comments = comments_;
    d.topLeft = topLeft_;
    d.minRows = minRows_;
    d.maxRows = maxRows_;
    d.rowGroup = rowGroup_;
    d.hardwiredButton = hardwiredButton_;
    d.helpPicture = helpPicture_;
    d.chart = chart_;
    for (const Column& c : columns_) d.columns.push_back(c.definition);
    return d;
}

// ---- columns

GridTable::Column& GridTable::columnAt(int column) {
    if (column < 0 || column >= columnCount()) throw TableError(std::string(kMsgIndexOutOfBounds));
    return columns_[static_cast<std::size_t>(column)];
}

const GridTable::Column& GridTable::columnAt(int column) const {
    if (column < 0 || column >= columnCount()) throw TableError(std::string(kMsgIndexOutOfBounds));
    return columns_[static_cast<std::size_t>(column)];
}

const ColumnDefinition& GridTable::column(int column) const {
    return columnAt(column).definition;
}

void GridTable::addColumn(ColumnDefinition definition) {
    Column c;
    c.definition = std::move(definition);
    const auto rows = static_cast<std::size_t>(rowCount_);
    switch (c.definition.kind) {
    case ColumnKind::Enum:
        c.integers.assign(rows, 1);
        break;
    case ColumnKind::Int:
        c.integers.assign(rows, c.definition.intDefault);
        break;
    case ColumnKind::Float:
        c.reals.assign(rows, c.definition.floatDefault);
        break;
    case ColumnKind::String:
        c.texts.assign(rows, c.definition.stringDefault);
        break;
    case ColumnKind::Table:
        c.tables.resize(rows);
        break;
    }
    columns_.push_back(std::move(c));
    if (columns_.back().definition.kind == ColumnKind::Table)
        for (int row = 0; row < rowCount_; ++row)
            columns_.back().tables[static_cast<std::size_t>(row)] = makeSubTable(columnCount() - 1, row);
}

std::vector<int> GridTable::visibleColumns() const {
    std::vector<int> visible;
    for (int c = 0; c < columnCount(); ++c)
        if (columns_[static_cast<std::size_t>(c)].definition.visible) visible.push_back(c);
    return visible;
}

std::vector<std::string> GridTable::displayHeadings(int column) const {
    const ColumnDefinition& c = this->column(column);
    std::vector<std::string> lines = c.headings;
    if (c.kind == ColumnKind::Float && !c.unitsString.empty() && !lines.empty())
        lines.back() += " (" + UnitsLabel(c.unitsString, units_) + ")  ";
    return lines;
}

int GridTable::headerRowCount() const {
    std::size_t rows = 0;
    for (const int c : visibleColumns())
        rows = std::max(rows, columns_[static_cast<std::size_t>(c)].definition.headings.size());
    return static_cast<int>(rows);
}

void GridTable::checkTopDepthPairs() const {
    for (int c = 0; c < columnCount(); ++c) {
        const ColumnDefinition& d = columns_[static_cast<std::size_t>(c)].definition;
        if (d.kind != ColumnKind::Float || !d.topDepth) continue;
        if (c + 1 >= columnCount() ||
            columns_[static_cast<std::size_t>(c + 1)].definition.kind != ColumnKind::Float)
            throw TableError(std::string(kMsgTopDepthPair));
    }
}

// ---- rows

void GridTable::setRowCount(int rows) {
    if (rows < 0) rows = 0;
    if (rows < rowCount_)
        removeRowsAt(rows, rowCount_ - rows);
    else if (rows > rowCount_)
        insertRowsAt(rowCount_, rows - rowCount_);
}

void GridTable::addRows() {
    insertRowsAt(rowCount_, rowGroup_);
}

void GridTable::insertRows(int row) {
    if (row < 0 || row >= rowCount_) throw TableError(std::string(kMsgRowNotInRange));
    insertRowsAt(row / rowGroup_ * rowGroup_, rowGroup_);
}

void GridTable::deleteRows(int row) {
    if (row < 0 || row >= rowCount_) throw TableError(std::string(kMsgRowNotInRange));
    const int first = row / rowGroup_ * rowGroup_;
    removeRowsAt(first, std::min(rowGroup_, rowCount_ - first));
}

void GridTable::ensureMinRows() {
    // Showing a table is not an edit: the default rows it gets do not by
    // themselves make the project modified.
    const bool wasChanged = changed_;
    if (rowCount_ < minRows_) setRowCount(minRows_);
    changed_ = wasChanged;
}

void GridTable::insertRowsAt(int first, int count) {
    if (count <= 0) return;
    checkTopDepthPairs();
    notify([&](TableObserver* o) { o->rowsAboutToBeInserted(*this, first, count); });
    const auto at = static_cast<std::ptrdiff_t>(first);
    const auto n = static_cast<std::size_t>(count);
    for (Column& c : columns_) {
        switch (c.definition.kind) {
        case ColumnKind::Enum:
            c.integers.insert(c.integers.begin() + at, n, 1);
            break;
        case ColumnKind::Int:
            c.integers.insert(c.integers.begin() + at, n, c.definition.intDefault);
            break;
        case ColumnKind::Float:
            c.reals.insert(c.reals.begin() + at, n, c.definition.floatDefault);
            break;
        case ColumnKind::String:
            c.texts.insert(c.texts.begin() + at, n, c.definition.stringDefault);
            break;
        case ColumnKind::Table:
            for (std::size_t k = 0; k < n; ++k) c.tables.insert(c.tables.begin() + at, nullptr);
            break;
        }
    }
    rowCount_ += count;
    // A new interval starts where the one before it ends and ends where the one
    // after it starts.
    for (int c = 0; c + 1 < columnCount(); ++c) {
        Column& top = columns_[static_cast<std::size_t>(c)];
        if (top.definition.kind != ColumnKind::Float || !top.definition.topDepth) continue;
        Column& bottom = columns_[static_cast<std::size_t>(c + 1)];
        for (int r = first; r < first + count; ++r) {
            const auto i = static_cast<std::size_t>(r);
            if (r > 0) top.reals[i] = bottom.reals[i - 1];
            if (first + count < rowCount_)
                bottom.reals[i] = top.reals[static_cast<std::size_t>(first + count)];
        }
    }
    // Sub-tables last, so that each sees its row's first-column item.
    for (int c = 0; c < columnCount(); ++c) {
        if (columns_[static_cast<std::size_t>(c)].definition.kind != ColumnKind::Table) continue;
        for (int r = first; r < first + count; ++r)
            columns_[static_cast<std::size_t>(c)].tables[static_cast<std::size_t>(r)] = makeSubTable(c, r);
    }
    renumberSubTables();
    changed_ = true;
    notify([&](TableObserver* o) { o->rowsInserted(*this, first, count); });
}

void GridTable::removeRowsAt(int first, int count) {
    if (count <= 0) return;
    notify([&](TableObserver* o) { o->rowsAboutToBeRemoved(*this, first, count); });
    const auto begin = static_cast<std::ptrdiff_t>(first);
    const auto end = static_cast<std::ptrdiff_t>(first + count);
    for (Column& c : columns_) {
        switch (c.definition.kind) {
        case ColumnKind::Enum:
        case ColumnKind::Int:
            c.integers.erase(c.integers.begin() + begin, c.integers.begin() + end);
            break;
        case ColumnKind::Float:
            c.reals.erase(c.reals.begin() + begin, c.reals.begin() + end);
            break;
        case ColumnKind::String:
            c.texts.erase(c.texts.begin() + begin, c.texts.begin() + end);
            break;
        case ColumnKind::Table:
            c.tables.erase(c.tables.begin() + begin, c.tables.begin() + end);
            break;
        }
    }
    rowCount_ -= count;
    renumberSubTables();
    changed_ = true;
    notify([&](TableObserver* o) { o->rowsRemoved(*this, first, count); });
}

void GridTable::renumberSubTables() {
    for (Column& c : columns_)
        for (std::size_t r = 0; r < c.tables.size(); ++r)
            if (c.tables[r] && c.tables[r]->number() != static_cast<int>(r) + 1)
                c.tables[r]->setNumber(static_cast<int>(r) + 1);
}

// ---- sub-tables

std::unique_ptr<GridTable> GridTable::makeSubTable(int column, int row) {
    const ColumnDefinition& d = columnAt(column).definition;
    TemplateRef ref;
    if (!columns_.empty() && columns_.front().definition.kind == ColumnKind::Enum) {
        // One template per item of the first column; missing ones are empty.
        const int item = columns_.front().integers[static_cast<std::size_t>(row)];
        if (item >= 1 && static_cast<std::size_t>(item) <= d.templates.size() &&
            static_cast<std::size_t>(item) <= columns_.front().definition.items.size())
            ref = d.templates[static_cast<std::size_t>(item - 1)];
    } else if (!d.templates.empty()) {
        ref = d.templates.front();
    }
    const GridTable* source = registry_->resolve(ref);
    if (source == nullptr) return nullptr;
    if (depthOf(this) >= kMaxSubTableDepth) throw TableError("Sub-tables nested too deeply");
    auto table = std::make_unique<GridTable>(*registry_);
    table->owner_ = this;
    table->units_ = units_;
    table->number_ = row + 1;
    table->applyDefinition(source->definition());
    table->setRowCount(table->minRows());
    table->changed_ = false;
    return table;
}

void GridTable::replaceSubTable(int column, int row) {
    auto& slot = columnAt(column).tables[static_cast<std::size_t>(row)];
    slot.reset(); // the old table and its values go first: they belong to the old choice
    slot = makeSubTable(column, row);
}

// ---- cells

void GridTable::checkCell(int column, int row) const {
    if (column < 0 || column >= columnCount() || row < 0 || row >= rowCount_)
        throw TableError(std::string(kMsgIndexOutOfBounds));
}

int GridTable::asInteger(int column, int row) const {
    checkCell(column, row);
    const Column& c = columnAt(column);
    switch (c.definition.kind) {
    case ColumnKind::Enum:
    case ColumnKind::Int:
        return c.integers[static_cast<std::size_t>(row)];
    case ColumnKind::Float:
        return roundToInt(c.reals[static_cast<std::size_t>(row)]);
    default:
        throw TableError(std::string(kMsgWrongType));
    }
}

double GridTable::asFloat(int column, int row) const {
    checkCell(column, row);
    const Column& c = columnAt(column);
    switch (c.definition.kind) {
    case ColumnKind::Enum:
    case ColumnKind::Int:
        return c.integers[static_cast<std::size_t>(row)];
    case ColumnKind::Float:
        return c.reals[static_cast<std::size_t>(row)];
    default:
        throw TableError(std::string(kMsgWrongType));
    }
}

std::string GridTable::asString(int column, int row, char separator) const {
    checkCell(column, row);
    const Column& c = columnAt(column);
    const auto r = static_cast<std::size_t>(row);
    switch (c.definition.kind) {
    case ColumnKind::Enum:
    case ColumnKind::Int:
        return std::to_string(c.integers[r]);
    case ColumnKind::Float:
        return FormatGeneral(c.reals[r], 8, separator);
    case ColumnKind::String:
        return c.texts[r];
    case ColumnKind::Table:
        return std::to_string(row + 1) + ": " + (c.tables[r] ? c.tables[r]->caption() : std::string());
    }
    return {};
}

GridTable* GridTable::asTable(int column, int row) const {
    checkCell(column, row);
    const Column& c = columnAt(column);
    if (c.definition.kind != ColumnKind::Table) throw TableError(std::string(kMsgWrongType));
    return c.tables[static_cast<std::size_t>(row)].get();
}

std::pair<int, int> GridTable::groupOf(int column, int row) const {
    if (!columnAt(column).definition.group) return {row, row};
    const int first = row / rowGroup_ * rowGroup_;
    return {first, std::min(first + rowGroup_, rowCount_) - 1};
}

void GridTable::storeInteger(int column, int row, int value) {
    const auto [first, last] = groupOf(column, row);
    Column& c = columnAt(column);
    const bool choosesTemplates = column == 0 && c.definition.kind == ColumnKind::Enum;
    for (int r = first; r <= last; ++r) {
        int& cellValue = c.integers[static_cast<std::size_t>(r)];
        const bool itemChanged = cellValue != value;
        cellValue = value;
        // A new first-column item means a different kind of row (a soil type):
        // its sub-tables are replaced by fresh copies of the new templates. The
        // same item written again keeps the values typed into them.
        if (choosesTemplates && itemChanged)
            for (int t = 0; t < columnCount(); ++t)
                if (columns_[static_cast<std::size_t>(t)].definition.kind == ColumnKind::Table)
                    replaceSubTable(t, r);
    }
    // The buttons of the row's sub-tables show their captions: refresh the row.
    changed(column, first, choosesTemplates ? columnCount() - 1 : column, last);
}

void GridTable::storeReal(int column, int row, double value) {
    const auto [first, last] = groupOf(column, row);
    Column& c = columnAt(column);
    int changedFirst = first;
    int changedLast = last;
    int changedLastColumn = column;
    int changedFirstColumn = column;
    for (int r = first; r <= last; ++r) {
        c.reals[static_cast<std::size_t>(r)] = value;
        // Top-depth pairs describe consecutive intervals: a top is the bottom of
        // the interval above, a bottom the top of the interval below.
        if (c.definition.topDepth && column + 1 < columnCount() && r > 0) {
            columns_[static_cast<std::size_t>(column + 1)].reals[static_cast<std::size_t>(r - 1)] = value;
            changedFirst = std::min(changedFirst, r - 1);
            changedLastColumn = column + 1;
        }
        if (column > 0 && columns_[static_cast<std::size_t>(column - 1)].definition.topDepth &&
            columns_[static_cast<std::size_t>(column - 1)].definition.kind == ColumnKind::Float &&
            r + 1 < rowCount_) {
            columns_[static_cast<std::size_t>(column - 1)].reals[static_cast<std::size_t>(r + 1)] = value;
            changedLast = std::max(changedLast, r + 1);
            changedFirstColumn = column - 1;
        }
    }
    changed(changedFirstColumn, changedFirst, changedLastColumn, changedLast);
}

void GridTable::setInteger(int column, int row, int value) {
    checkCell(column, row);
    const ColumnDefinition& d = columnAt(column).definition;
    switch (d.kind) {
    case ColumnKind::Enum:
        if (value < 1 || static_cast<std::size_t>(value) > d.items.size())
            throw TableError(std::string(kMsgIndexOutOfBounds));
        storeInteger(column, row, value);
        break;
    case ColumnKind::Int:
        storeInteger(column, row, value);
        break;
    case ColumnKind::Float:
        storeReal(column, row, value);
        break;
    default:
        throw TableError(std::string(kMsgWrongType));
    }
}

void GridTable::setFloat(int column, int row, double value) {
    checkCell(column, row);
    switch (columnAt(column).definition.kind) {
    case ColumnKind::Enum:
    case ColumnKind::Int:
        setInteger(column, row, roundToInt(value));
        break;
    case ColumnKind::Float:
        storeReal(column, row, value);
        break;
    default:
        throw TableError(std::string(kMsgWrongType));
    }
}

EntryResult GridTable::setString(int column, int row, std::string_view text, char separator) {
    checkCell(column, row);
    const ColumnDefinition& d = columnAt(column).definition;
    if (d.kind == ColumnKind::Table) throw TableError(std::string(kMsgWrongType));
    if (d.kind == ColumnKind::String) {
        const auto [first, last] = groupOf(column, row);
        for (int r = first; r <= last; ++r)
            columnAt(column).texts[static_cast<std::size_t>(r)] = std::string(text);
        changed(column, first, column, last);
        return {};
    }
    if (isBlank(text)) return {false, std::string(kMsgEntryBlank)};
    const EvalResult value = Evaluate(text, separator);
    if (!value.ok) return {false, std::string(text) + std::string(kMsgNotAValidNumber)};
    double whole = 0.0;
    switch (d.kind) {
    case ColumnKind::Int:
        if (!isWhole(value.value, whole)) return {false, std::string(kMsgCellMustBeInteger)};
        if (whole < d.intMin || whole > d.intMax) return {false, EntryMustBeBetween(d.intMin, d.intMax)};
        storeInteger(column, row, static_cast<int>(whole));
        return {};
    case ColumnKind::Enum: {
        if (!isWhole(value.value, whole)) return {false, std::string(kMsgItemMustBeInteger)};
        // An item number that names no item would leave the row without a
        // meaning (and without a template): refused like an out-of-range integer.
        const auto items = static_cast<long long>(d.items.size());
        if (whole < 1 || whole > static_cast<double>(items)) return {false, EntryMustBeBetween(1, items)};
        storeInteger(column, row, static_cast<int>(whole));
        return {};
    }
    case ColumnKind::Float:
        storeReal(column, row, value.value);
        return {};
    default:
        break;
    }
    return {};
}

// ---- units

void GridTable::setUnits(int units) {
    units = ClampUnitSystem(units);
    if (units == units_) return;
    for (Column& c : columns_) {
        if (c.definition.kind == ColumnKind::Float) {
            const double factor = UnitsFactor(units_, units, c.definition.unitsString);
            if (factor != 1.0)
                for (double& v : c.reals) v *= factor;
        } else if (c.definition.kind == ColumnKind::Table) {
            for (auto& t : c.tables)
                if (t) t->setUnits(units);
        }
    }
    units_ = units;
    if (rowCount_ > 0 && columnCount() > 0)
        notify([&](TableObserver* o) { o->cellsChanged(*this, 0, 0, columnCount() - 1, rowCount_ - 1); });
    notify([&](TableObserver* o) { o->headingsChanged(*this); });
}

// ---- changed flag and observers

bool GridTable::isChanged() const {
    if (changed_) return true;
    for (const Column& c : columns_)
        for (const auto& t : c.tables)
            if (t && t->isChanged()) return true;
    return false;
}

void GridTable::resetChanged() {
    changed_ = false;
    for (Column& c : columns_)
        for (auto& t : c.tables)
            if (t) t->resetChanged();
}

void GridTable::changed(int firstColumn, int firstRow, int lastColumn, int lastRow) {
    changed_ = true;
    notify([&](TableObserver* o) { o->cellsChanged(*this, firstColumn, firstRow, lastColumn, lastRow); });
}

void GridTable::addObserver(TableObserver* observer) {
    if (observer != nullptr && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void GridTable::removeObserver(TableObserver* observer) {
    std::erase(observers_, observer);
}

template <typename F> void GridTable::notify(F&& call) const {
    // A copy, so that an observer may detach itself while being told.
    const std::vector<TableObserver*> observers = observers_;
    for (TableObserver* o : observers)
        if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) call(o);
}

} // namespace kelda::data
