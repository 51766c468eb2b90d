// Feeds arbitrary text to everything that parses what a person types or pastes:
// the expression evaluator (with both decimal separators), cell entries of item,
// integer and real columns, and the curve-table filling from pasted lines. Each
// must answer with a value or one of its messages: never crash, hang or recurse
// without bound, and never store a non-finite value.
#include "kelda/data/curve_table.h"
#include "kelda/data/evaluator.h"
#include "kelda/data/grid_table.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using namespace kelda::data;

void require(bool condition) {
    if (!condition) std::abort();
}

bool isEvaluatorMessage(std::string_view m) {
    for (const std::string_view known :
         {kMsgBlank, kMsgParentheses, kMsgInvalidExpression, kMsgInvalidCharacters, kMsgFactorial, kMsgHex,
          kMsgOverflow, kMsgDivisionByZero, kMsgInvalidOperation})
        if (m == known) return true;
    return false;
}

void checkEvaluate(std::string_view text, char separator) {
    const EvalResult r = Evaluate(text, separator);
    if (r.ok)
        require(std::isfinite(r.value) && r.message.empty());
    else
        require(isEvaluatorMessage(r.message));
}

TableDefinition cellsDefinition() {
    TableDefinition d;
    d.columns = {EnumColumn({"Kind"}, {"A", "B", "C"}), IntColumn({"Node"}, 0, 0, 1000),
                 FloatColumn({"Depth"}, "L2")};
    return d;
}

TableDefinition curveDefinition() {
    TableDefinition d;
    d.minRows = 2;
    d.maxRows = 17;
    d.chart = ChartProperties{};
    d.columns = {FloatColumn({"y"}, "L"), FloatColumn({"p"}, "F/L")};
    return d;
}

struct Tables {
    TableRegistry registry;
    GridTable cells{cellsDefinition(), registry};
    GridTable curve{curveDefinition(), registry};
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkEvaluate(text, '.');
    checkEvaluate(text, ',');

    static Tables tables;
    tables.cells.setRowCount(1);
    for (int column = 0; column < tables.cells.columnCount(); ++column) {
        const EntryResult r = tables.cells.setString(column, 0, text, '.');
        require(r.ok == r.message.empty());
    }
    require(tables.cells.asInteger(0, 0) >= 1 && tables.cells.asInteger(0, 0) <= 3);
    require(tables.cells.asInteger(1, 0) >= 0 && tables.cells.asInteger(1, 0) <= 1000);
    require(std::isfinite(tables.cells.asFloat(2, 0)));

    tables.curve.setRowCount(2);
    const FillResult filled = PasteValuesFromClipboard(tables.curve, std::string(text));
    require(filled.ok && filled.rowsFilled <= 17 && tables.curve.rowCount() <= 17);
    for (int row = 0; row < tables.curve.rowCount(); ++row)
        require(std::isfinite(tables.curve.asFloat(0, row)) && std::isfinite(tables.curve.asFloat(1, row)));
    return 0;
}
