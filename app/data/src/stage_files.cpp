// The stage files of a staged project and the project operations on them:
// opening, saving, Save As, the staged-construction dialog's OK, changing the
// current stage and copying the previous one.
//
// While a staged project is open the stage files are the working copies of
// the stages; the data file is assembled from them on saving. Only the
// current stage is held in memory.

#include <filesystem>
#include <string>
#include <vector>

#include "kelda/data/program_data.h"

namespace kelda::data {

namespace {

namespace fs = std::filesystem;

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = begin;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        lines.push_back(text.substr(begin, end - begin));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        begin = end + 1;
    }
    return lines;
}

void appendLine(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

bool exists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool samePath(const std::string& a, const std::string& b) {
    std::error_code ec;
    const fs::path pa = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path pb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return pa == pb;
}

// A rename, or a copy and a removal where the two names lie on different file
// systems (Save As into another folder).
FileResult moveFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec) return {};
    std::error_code copyError;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, copyError);
    if (copyError) return FileResult::failure(to + ": " + copyError.message());
    fs::remove(from, copyError);
    return {};
}

// Keeps the first failure of a sequence of operations that go on after one.
void keepFirst(FileResult& first, const FileResult& next) {
    if (first.ok && !next.ok) first = next;
}

} // namespace

FileResult TProgramData::deleteStageFiles(const std::string& dataFile, int first, int last) {
    FileResult result;
    for (int k = first; k <= last; ++k) {
        const std::string name = StageFileOf(dataFile, k);
        std::error_code ec;
        fs::remove(name, ec);
        if (ec) keepFirst(result, FileResult::failure(name + ": " + ec.message()));
    }
    return result;
}

FileResult TProgramData::SplitIntoStageFiles(const std::string& dataFile) {
    std::string text;
    if (FileResult r = ReadWholeFile(dataFile, text); !r) return r;
    const std::vector<std::string_view> lines = splitLines(text);
    // Stage 1 starts at the first line; every later line holding the stage
    // heading starts the next stage. The last line is the end line of the
    // last stage and is not examined.
    std::vector<std::size_t> starts{0};
    const std::string_view heading = kStageTitle.substr(0, kStageTitle.size() - 1);
    for (std::size_t i = 1; i + 1 < lines.size(); ++i)
        if (lines[i].find(heading) != std::string_view::npos) starts.push_back(i);
    if (FileResult r = deleteStageFiles(dataFile, 1, kMaxStages); !r) return r;
    // A stage the file does not hold gets no stage file: changing to it then
    // starts it as a copy of the stage before, instead of failing on an empty
    // file.
    for (int k = 1; k <= StageCount && static_cast<std::size_t>(k) <= starts.size(); ++k) {
        const std::size_t first = starts[static_cast<std::size_t>(k - 1)];
        const std::size_t end = static_cast<std::size_t>(k) < starts.size() ? starts[static_cast<std::size_t>(k)]
                                                                           : lines.size();
        std::string block;
        for (std::size_t i = first; i < end; ++i) appendLine(block, lines[i]);
        if (FileResult r = WriteFileAtomically(StageFileOf(dataFile, k), block, false); !r) return r;
    }
    return {};
}

FileResult TProgramData::WriteAssembledFile(const std::string& target, const std::string& source) {
    std::string out;
    for (int k = 1; k <= StageCount; ++k) {
        std::string text;
        if (FileResult r = ReadWholeFile(StageFileOf(source, k), text); !r) return r;
        for (const std::string_view line : splitLines(text)) appendLine(out, line);
    }
    return WriteFileAtomically(target, out);
}

FileResult TProgramData::AssembleFromStageFiles(const std::string& target, const std::string& source) {
    if (FileResult r = WriteAssembledFile(target, source); !r) return r;
    if (samePath(target, source)) return {};
    FileResult result;
    for (int k = 1; k <= StageCount; ++k) keepFirst(result, moveFile(StageFileOf(source, k), StageFileOf(target, k)));
    // Stage files of an earlier, longer project of the new name do not belong
    // to this one.
    keepFirst(result, deleteStageFiles(target, StageCount + 1, kMaxStages));
    return result;
}

FileResult TProgramData::ConvertStagedFormat30(const std::function<void(int)>& progress) {
    FileResult result;
    const int stages = StageCount;
    for (int k = 1; k <= stages; ++k) {
        CurrentStage = k;
        CurrentFormat = false;
        StageFileName = StageFileOf(FileName, k);
        if (exists(StageFileName)) keepFirst(result, ReadStageBlock(StageFileName));
        StageCount = stages;
        if (FileResult r = WriteStageBlock(); !r) {
            CurrentFormat = true;
            return r;
        }
        if (progress) progress(k);
    }
    CurrentFormat = true;
    CurrentStage = 1;
    StageFileName = StageFileOf(FileName, 1);
    if (exists(StageFileName)) keepFirst(result, ReadStageBlock(StageFileName));
    StageCount = stages;
    SetModified(false);
    return result;
}

FileResult TProgramData::Open(const std::string& fileName, DataFormat format) {
    FileResult result = ReadDataFile(fileName, format);
    if (StageCount > 1) {
        CurrentStage = 1;
        StageFileName = StageFileOf(FileName, 1);
        keepFirst(result, SplitIntoStageFiles(FileName));
        // The stages of an old staged file are brought to the current format
        // when it was read as format 3.0.
        if (format == DataFormat::Format30) keepFirst(result, ConvertStagedFormat30());
    }
    return result;
}

FileResult TProgramData::Save() {
    if (StageCount <= 1) return WriteDataFile();
    StageFileName = StageFileOf(FileName, CurrentStage);
    if (FileResult r = WriteStageBlock(); !r) return r;
    FileResult result = AssembleFromStageFiles(FileName, FileName);
    if (!result) modified_ = true;
    return result;
}

FileResult TProgramData::SaveAs(const std::string& newName) {
    const std::string oldName = FileName;
    if (StageCount <= 1) {
        FileName = newName;
        FileResult result = WriteDataFile();
        // A project that is not on disk under the new name keeps its old one.
        if (!result) FileName = oldName;
        return result;
    }
    PreviousFileName = oldName;
    StageFileName = StageFileOf(oldName, CurrentStage);
    if (FileResult r = WriteStageBlock(); !r) return r;
    FileName = newName;
    FileResult result = AssembleFromStageFiles(FileName, PreviousFileName);
    if (!result) {
        // The stage files are still under the old name: so is the project.
        modified_ = true;
        if (!exists(StageFileOf(newName, 1))) FileName = oldName;
        return result;
    }
    StageFileName = StageFileOf(FileName, CurrentStage);
    return result;
}

FileResult TProgramData::ApplyStageCount(int stages) {
    stages = stages < 1 ? 1 : (stages > kMaxStages ? kMaxStages : stages);
    const int old = StageCount;
    // Rebuilding reads every stage file back: the current stage's edits go to
    // its file first, or they would be lost.
    if (old > 1 && stages > 1 && stages != old) {
        StageFileName = StageFileOf(FileName, CurrentStage);
        if (FileResult r = WriteStageBlock(); !r) return r;
    }
    StageCount = stages;
    if (stages == 1 || old == 1 || stages < old) CurrentStage = 1;
    if (stages == 1) return deleteStageFiles(FileName, 1, kMaxStages);

    FileResult result;
    if (stages != old) {
        // A project made staged starts with every stage a copy of itself, not
        // with stage files some earlier project of the same name left behind.
        if (old == 1) keepFirst(result, deleteStageFiles(FileName, 1, kMaxStages));
        const int current = CurrentStage;
        for (int k = 1; k <= stages; ++k) {
            CurrentStage = k;
            StageFileName = StageFileOf(FileName, k);
            // A stage without a file is written from the data in memory: a
            // copy of the stage before it.
            if (exists(StageFileName)) keepFirst(result, ReadStageBlock(StageFileName));
            StageCount = stages;
            if (FileResult r = WriteStageBlock(); !r) return r;
        }
        CurrentStage = current;
        StageFileName = StageFileOf(FileName, current);
        keepFirst(result, ReadStageBlock(StageFileName));
        StageCount = stages;
        SetModified(true);
    }
    keepFirst(result, deleteStageFiles(FileName, stages + 1, kMaxStages));
    return result;
}

FileResult TProgramData::ChangeStage(int stage) {
    if (stage == CurrentStage || stage < 1 || stage > StageCount) return {};
    const bool wasModified = IsModified();
    StageFileName = StageFileOf(FileName, CurrentStage);
    if (FileResult r = WriteStageBlock(); !r) return r;
    CurrentStage = stage;
    StageFileName = StageFileOf(FileName, stage);
    FileResult result;
    // A stage without a file starts as a copy of the data in memory.
    if (exists(StageFileName)) result = ReadStageBlock(StageFileName);
    SetModified(wasModified);
    return result;
}

FileResult TProgramData::CopyPreviousStage() {
    if (!CanCopyPreviousStage()) return {};
    const int current = CurrentStage;
    const int stages = StageCount;
    FileResult result;
    CurrentStage = current - 1;
    if (const std::string previous = StageFileOf(FileName, current - 1); exists(previous))
        result = ReadStageBlock(previous);
    CurrentStage = current;
    StageCount = stages;
    StageFileName = StageFileOf(FileName, current);
    keepFirst(result, WriteStageBlock());
    return result;
}

} // namespace kelda::data
