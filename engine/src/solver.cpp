#include "solver.h"

#include "report_blocks.h"

namespace kelda {

void solveBeamColumn(Run& run) {
    // The solution starts by repeating the problem heading in the report.
    report::problemHeading(run);
    // The finite-difference iterations, the iteration log and the results
    // table are not built yet: a problem is read and echoed, nothing solved,
    // and the plot file's results section keeps its earlier rows (none).
}

} // namespace kelda
