#pragma once

// The context of one run: the problem record, the data-file reader, the three
// output streams and the console, handed to every step of the method.

#include <functional>
#include <ostream>
#include <sstream>

#include "free_format_reader.h"
#include "kelda/engine.h"
#include "problem_record.h"

namespace kelda {

// Points in a problem where a test can step in (for example to raise a stop
// as a soil routine would). Empty in every real run.
enum class RunStep { ProblemRead, BeforeSolution };
struct RunHooks {
    std::function<void(struct Run&, RunStep)> at;
};

struct Run {
    Run(ProblemRecord& record, std::istream& data, std::ostream& reportStream, std::ostream& plotStream,
        std::ostream& notesStream, std::ostream& consoleStream, const RunHooks* runHooks = nullptr)
        : rec(record), reader(data), report(reportStream), plot(plotStream), notes(notesStream),
          console(consoleStream), hooks(runHooks) {}

    ProblemRecord& rec;
    FreeFormatReader reader;
    std::ostream& report;
    std::ostream& plot;
    std::ostream& notes;
    std::ostream& console;

    // The soil routines hand the earth-pressure table ("EPRTAB.001") and the
    // p-y curves ("SOILDATA") to the run driver as text. They pass through
    // memory instead of files in the working directory, so that runs never
    // share a file; the text is exactly what would have been written, so the
    // values read back carry the written precision (three significant
    // digits) and the results are those of the file round trip. Each problem
    // that generates data rewrites its stream. No "debug.dat" is made.
    std::stringstream earthPressureTableFile;
    std::stringstream pyCurveFile;

    const RunHooks* hooks = nullptr;
    RunSummary summary;
    long controlLine = 0; // data-file line of the current control line, for messages on its counts

    void step(RunStep s) {
        if (hooks && hooks->at) hooks->at(*this, s);
    }
};

} // namespace kelda
