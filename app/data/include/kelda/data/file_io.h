// Whole-file reading and atomic writing for the project's files (the wall data
// file and the stage files). A save never destroys the previous file: the new
// contents go to a temporary file in the target's folder, are flushed to the
// disk and only then renamed over the target, so that a full disk, a missing
// permission or a killed process leaves either the old file or the new one,
// never a mixture.
#pragma once

#include <string>
#include <string_view>

namespace kelda::data {

// The outcome of a file operation: on failure `message` holds the text shown
// to the user (the reader's message, or the operating system's error with the
// file's path).
struct FileResult {
    bool ok = true;
    std::string message;
    explicit operator bool() const { return ok; }

    static FileResult failure(std::string text) { return {false, std::move(text)}; }
};

// Reads the whole file into `contents`.
FileResult ReadWholeFile(const std::string& path, std::string& contents);

// Replaces `path` by `contents` atomically (temporary file in the same folder,
// written, flushed, renamed over the target). An existing target keeps its
// permission bits. On failure the temporary file is removed and the target is
// untouched. With `syncToDisk` the contents reach the disk (fsync) before the
// rename, so that even a power failure leaves the old file or the new one;
// the stage files, working copies that opening the data file rebuilds, are
// written without it: a save stays within a few milliseconds.
FileResult WriteFileAtomically(const std::string& path, std::string_view contents, bool syncToDisk = true);

} // namespace kelda::data
