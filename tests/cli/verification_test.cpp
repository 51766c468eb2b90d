// The closed-form suite of `kelda verify`, as tests: every case passes, and
// the suite covers the problems it promises.

#include "verification.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace {

TEST(Verification, EveryClosedFormCasePasses) {
    const auto rows = kelda::verification::run();
    std::set<std::string> cases;
    for (const auto& r : rows) {
        cases.insert(r.caseName);
        EXPECT_TRUE(r.pass()) << r.caseName << " / " << r.quantity << ": computed " << r.computed << ", theory "
                              << r.theory << ", relative error " << r.relativeError() << ", tolerance "
                              << r.tolerance << " " << r.problem;
    }
    for (const char* expected :
         {"Cantilever, tip load", "Simply supported, uniform load", "Slope-restrained cantilever",
          "Axial load, compression P = Pe/2", "Axial load, tension P = -Pe/2", "Elastic foundation, head shear",
          "Elastic foundation, head moment", "Rankine active pressure, dry sand"}) {
        EXPECT_EQ(cases.count(expected), 1U) << expected;
    }
}

TEST(Verification, AFailingRowFailsTheTable) {
    std::vector<kelda::verification::Row> rows(2);
    rows[0] = {"A", "q", 1.0, 1.0, 1e-6, {}};
    rows[1] = {"B", "q", 1.1, 1.0, 1e-6, {}};
    std::ostringstream out;
    EXPECT_FALSE(kelda::verification::print(rows, out));
    EXPECT_NE(out.str().find("FAIL"), std::string::npos);
    rows.pop_back();
    EXPECT_TRUE(kelda::verification::print(rows, out));
}

} // namespace
