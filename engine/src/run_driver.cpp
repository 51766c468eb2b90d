#include "run_driver.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <new>

#include "line_layout.h"
#include "plot_file.h"
#include "read_problem.h"
#include "report_blocks.h"
#include "run_errors.h"
#include "solver.h"

namespace kelda {

namespace {

void readTitle(Run& run) {
    ProblemRecord& rec = run.rec;
    std::string title;
    if (!run.reader.readTextLine(title, 70, 80)) {
        throw InputError::badData(
            dataFileLineMessage(run.reader.lineNumber() + 1, "THE FILE ENDS WHERE THE TITLE LINE WAS EXPECTED"));
    }
    ++rec.problemCounter;
    rec.title = title;
    if (rec.problemCounter == 1) rec.runTitle = title;
}

// The earth-pressure points of the problem as the plot file shows them (the
// table's pressures are forces per station by now: divided by h again).
std::vector<PressurePoint> pressurePoints(const ProblemRecord& rec) {
    std::vector<PressurePoint> points;
    const EarthPressureTable& t = rec.earthPressure;
    if (rec.control.stiffnessRowCount <= 0 || (rec.control.earthPressureOption == 0 && rec.control.pyOption != 2)) {
        return points;
    }
    for (int i = 0; i < t.count; i += std::max(1, t.step)) {
        const auto k = static_cast<std::size_t>(i);
        points.push_back({t.depth[k], t.pressure[k] / rec.solution.h, t.withoutSurcharge[k], t.surcharge[k]});
    }
    return points;
}

// One problem: title, control line, headings, input, solution, end line.
// Returns the continuation value (0 ends the run).
int analyseProblem(Run& run) {
    ProblemRecord& rec = run.rec;
    readTitle(run);
    rec.continuationValue = 0;
    rec.pyMultiplierP = 1.0;
    rec.pyMultiplierY = 1.0;
    rec.maxIterations = 100;

    readControlLine(run);
    rec.stageCount = rec.control.stageCount;
    if (rec.problemCounter >= 2) run.report << "\n\n";
    report::programHeader(run);
    report::problemHeading(run);

    readProblem(run);
    std::vector<PressurePoint> pressure = pressurePoints(rec);
    run.step(RunStep::BeforeSolution);
    ProblemSummary solved = solveBeamColumn(run);
    solved.stageCount = rec.stageCount;
    solved.earthPressure = std::move(pressure);
    run.summary.problems.push_back(std::move(solved));
    ++run.summary.problemsAnalysed;

    run.reader.beginRecord();
    int continuation = run.reader.readInt("THE END LINE");
    if (continuation == rec.stageCount) continuation = 0;
    rec.continuationValue = continuation;
    return continuation;
}

// The run in a record that is zero-filled as it stands.
RunSummary runInRecord(ProblemRecord& record, std::istream& data, std::ostream& report, std::ostream& plot,
                       std::ostream& notes, std::ostream& console, const RunHooks* hooks) {
    Run run(record, data, report, plot, notes, console, hooks);
    ProblemRecord& rec = record;
    rec.resultSetCount = 1;
    rec.problemCounter = 0;

    const auto endOfRun = [&run] {
        report::endOfAnalysis(run);
        plot::resultsSection(run);
    };
    try {
        for (;;) {
            const int continuation = analyseProblem(run);
            if (continuation == 0) break;
            rec.resultSetCount = continuation == 9 ? 2 : rec.stageCount;
            plot::resultsSection(run);
        }
        endOfRun();
    } catch (const InputError& error) {
        run.summary.ending = RunEnding::InputError;
        run.summary.message = error.message;
        if (!error.detail.empty()) run.summary.message += "; " + error.detail;
        try {
            report::inputError(run, error);
            endOfRun();
        } catch (...) {
            run.summary.outputWritten = false;
        }
    } catch (const EngineStop& stop) {
        // A stop leaves the files as they stand: no "END OF ANALYSIS" and no
        // results section for the problem.
        run.summary.ending = RunEnding::Stopped;
        run.summary.stopCode = stop.stopCode;
        if (!stop.stopCode.empty()) console << "STOP " << stop.stopCode << '\n';
    } catch (const std::exception& fault) {
        run.summary.ending = RunEnding::InternalError;
        run.summary.message = std::string("INTERNAL ERROR IN THE ENGINE: ") + fault.what();
        try {
            layout::write(report, "( / / 5X A )", {"ERROR -- " + run.summary.message});
            endOfRun();
        } catch (...) {
            run.summary.outputWritten = false;
        }
    } catch (...) {
        run.summary.ending = RunEnding::InternalError;
        run.summary.message = "INTERNAL ERROR IN THE ENGINE";
    }
    report.flush();
    plot.flush();
    notes.flush();
    if (!report.good() || !plot.good() || !notes.good()) run.summary.outputWritten = false;
    return std::move(run.summary);
}

} // namespace

RunSummary runProblems(std::istream& data, std::ostream& report, std::ostream& plot, std::ostream& notes,
                       std::ostream& console, const RunHooks* hooks) {
    std::unique_ptr<ProblemRecord> record;
    try {
        record = std::make_unique<ProblemRecord>();
    } catch (const std::bad_alloc&) {
        RunSummary summary;
        summary.ending = RunEnding::InternalError;
        summary.message = "NOT ENOUGH MEMORY FOR THE PROBLEM RECORD";
        return summary;
    }
    return runInRecord(*record, data, report, plot, notes, console, hooks);
}

RunSummary runProblems(ProblemRecord& record, std::istream& data, std::ostream& report, std::ostream& plot,
                       std::ostream& notes, std::ostream& console, const RunHooks* hooks) {
    // Value-initialised in place, exactly as a new record: every number zero,
    // strings and tables empty. Constructing an empty record cannot throw.
    std::destroy_at(&record);
    std::construct_at(&record);
    return runInRecord(record, data, report, plot, notes, console, hooks);
}

} // namespace kelda
