#include "convert.h"

#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "kelda/data/program_data.h"

namespace {

namespace fs = std::filesystem;
using kelda::data::DataFormat;
using kelda::data::FileResult;
using kelda::data::TProgramData;

constexpr int kExitConverted = 0;
constexpr int kExitDataError = 1;
constexpr int kExitFileError = 2;
constexpr int kExitUsage = 64;

int usage(std::string_view problem) {
    std::cerr << "kelda convert: " << problem << "\n"
              << "Usage: kelda convert IN OUT [--format 2013|3.0|2.0]\n";
    return kExitUsage;
}

std::optional<DataFormat> formatNamed(std::string_view name) {
    if (name == "2013") return DataFormat::Format2013;
    if (name == "3.0") return DataFormat::Format30;
    if (name == "2.0") return DataFormat::Format20;
    return std::nullopt;
}

// The reader's messages break their lines with CR, as in a message box.
std::string printable(std::string message) {
    for (char& c : message)
        if (c == '\r') c = '\n';
    return message;
}

// A folder of its own for the stage files of a staged input, so that neither
// the input's nor the output's folder gets any.
class WorkFolder {
public:
    WorkFolder() {
        static int counter = 0;
        path_ = fs::temp_directory_path() /
                ("kelda-convert-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::create_directories(path_);
    }
    ~WorkFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Each stage read with the program's reader and written with its writer
// (Open has already converted a format 3.0 project), then assembled.
FileResult convertStaged(const std::string& in, DataFormat format, const std::string& out, bool& dataError) {
    WorkFolder work;
    const std::string copy = (work.path() / ("project" + fs::path(in).extension().string())).string();
    std::error_code ec;
    fs::copy_file(in, copy, ec);
    if (ec) return FileResult::failure(in + ": " + ec.message());
    TProgramData project;
    if (FileResult r = project.Open(copy, format); !r) {
        dataError = true;
        return r;
    }
    const int stages = project.StageCount;
    for (int k = 1; k <= stages; ++k) {
        project.CurrentStage = k;
        project.StageFileName = kelda::data::StageFileOf(copy, k);
        if (fs::exists(project.StageFileName)) {
            if (FileResult r = project.ReadStageBlock(project.StageFileName); !r) {
                dataError = true;
                return r;
            }
        }
        project.StageCount = stages;
        if (FileResult r = project.WriteStageBlock(); !r) return r;
    }
    return project.WriteAssembledFile(out, copy);
}

} // namespace

int convertCommand(const std::vector<std::string_view>& args) {
    std::vector<std::string> files;
    std::optional<DataFormat> format;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--format") {
            if (i + 1 >= args.size()) return usage("--format needs 2013, 3.0 or 2.0");
            format = formatNamed(args[++i]);
            if (!format) return usage("unknown format " + std::string(args[i]));
        } else if (args[i].starts_with("-") && args[i].size() > 1) {
            return usage("unknown option " + std::string(args[i]));
        } else {
            files.emplace_back(args[i]);
        }
    }
    if (files.size() != 2) return usage("give one input and one output file");
    const std::string& in = files[0];
    const std::string& out = files[1];
    if (!format) format = kelda::data::FormatFromFileName(in);

    std::error_code ec;
    if (!fs::is_regular_file(in, ec)) {
        std::cerr << "kelda convert: " << in << ": cannot be read\n";
        return kExitFileError;
    }
    TProgramData project;
    if (FileResult r = project.ReadDataFile(in, *format); !r) {
        std::cerr << "kelda convert: " << in << ":\n" << printable(r.message) << "\n";
        return kExitDataError;
    }
    FileResult written;
    bool dataError = false;
    if (project.StageCount > 1) {
        written = convertStaged(in, *format, out, dataError);
    } else {
        project.FileName = out;
        written = project.WriteDataFile();
    }
    if (!written) {
        std::cerr << "kelda convert: " << printable(written.message) << "\n";
        return dataError ? kExitDataError : kExitFileError;
    }
    return kExitConverted;
}
