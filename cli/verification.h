#pragma once

// Closed-form problems run through the real engine: each compares a computed
// quantity with its theoretical value (with the finite-difference correction
// where the method has one) within a stated tolerance.

#include <iosfwd>
#include <string>
#include <vector>

namespace kelda::verification {

struct Row {
    std::string caseName;
    std::string quantity;
    double computed = 0.0;
    double theory = 0.0;
    double tolerance = 0.0; // relative
    std::string problem;    // the engine's message when the run itself failed

    [[nodiscard]] double relativeError() const;
    [[nodiscard]] bool pass() const;
};

std::vector<Row> run();

// The table as `kelda verify` prints it; returns true when every row passes.
bool print(const std::vector<Row>& rows, std::ostream& out);

} // namespace kelda::verification
