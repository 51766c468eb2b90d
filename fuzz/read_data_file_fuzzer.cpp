// Feeds arbitrary text to the reader of the wall data file in its three
// formats, as a hand-edited or damaged file would reach it. Each read must
// end with success or one of the reader's messages, leave a valid project
// (plain tables at their minimum rows, stages within 1 to 5, nothing
// modified), never crash, and never let a count read from the text make
// memory grow beyond the text's own size. What it read must then be
// writable, and the written file readable again.
#include "kelda/data/program_data.h"
#include "kelda/data/word_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using namespace kelda::data;

void require(bool condition) {
    if (!condition) std::abort();
}

bool isReaderMessage(const std::string& m) {
    return m == kMsgInvalidOrIncomplete || m.starts_with("Error on Line ");
}

void checkProject(TProgramData& p, const FileResult& r) {
    require(r.ok ? r.message.empty() : isReaderMessage(r.message));
    for (const GridTable* t : p.Tables().plainTables()) require(t->rowCount() >= t->minRows());
    require(p.StageCount >= 1 && p.StageCount <= kMaxStages);
    require(p.CurrentStage >= 1 && p.CurrentStage <= p.StageCount);
    require(p.Units >= 1 && p.Units <= 3);
    require(!p.IsModified());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    static TProgramData project;
    for (const DataFormat format : {DataFormat::Format2013, DataFormat::Format30, DataFormat::Format20}) {
        const FileResult r = project.ReadDataText(text, "fuzz.kl4d", format);
        checkProject(project, r);
        // Whatever was read is written in the current format and reads back.
        const std::string written = project.DataFileText();
        const FileResult again = project.ReadDataText(written, "fuzz.kl4d", DataFormat::Format2013);
        checkProject(project, again);
    }
    return 0;
}
