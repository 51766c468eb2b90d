// The whole engine run over an in-memory data file, outputs to memory. Any
// input must end in a completed run, an input error or a stop — never a
// crash, a hang, a leak or a non-finite number in the report or plot file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "run_driver.h"

namespace {

bool hasNonFinite(const std::string& text) {
    return text.find("NaN") != std::string::npos || text.find("nan") != std::string::npos ||
           text.find("Inf") != std::string::npos || text.find("inf") != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One problem record for the whole process, reset by the engine for each
    // input. A new 200 KB record per input is mapped and faulted in afresh by
    // the sanitizer's allocator, which cost more than most runs themselves.
    static const std::unique_ptr<kelda::ProblemRecord> record = std::make_unique<kelda::ProblemRecord>();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream report, plot, notes, console;
    const kelda::RunSummary summary = kelda::runProblems(*record, in, report, plot, notes, console);
    if (summary.ending == kelda::RunEnding::InternalError) std::abort();
    if (hasNonFinite(plot.str()) || hasNonFinite(notes.str())) std::abort();
    return 0;
}
