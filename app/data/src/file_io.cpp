#include "kelda/data/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kelda::data {

namespace {

std::string systemMessage(const std::string& path, int error) {
    return path + ": " + std::system_category().message(error);
}

// A name beside the target that no other save of this process or of another
// one uses at the same moment.
std::string temporaryNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path target(path);
    std::string name = ".";
    name += target.filename().string();
    name += ".tmp";
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(counter.fetch_add(1));
    return (target.parent_path() / name).string();
}

bool writeAll(int fd, std::string_view contents) {
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

FileResult ReadWholeFile(const std::string& path, std::string& contents) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return FileResult::failure(systemMessage(path, EISDIR));
    std::ifstream in(path, std::ios::binary);
    if (!in) return FileResult::failure(systemMessage(path, errno != 0 ? errno : ENOENT));
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return FileResult::failure(systemMessage(path, EIO));
    return {};
}

FileResult WriteFileAtomically(const std::string& path, std::string_view contents, bool syncToDisk) {
    const std::string temp = temporaryNameFor(path);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return FileResult::failure(systemMessage(path, errno));

    const auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temp.c_str());
        return FileResult::failure(systemMessage(path, error));
    };
    // A file that is replaced keeps its permissions.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);
    if (!writeAll(fd, contents)) return abandon(errno);
    if (syncToDisk && ::fsync(fd) != 0) return abandon(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return FileResult::failure(systemMessage(path, error));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        return FileResult::failure(systemMessage(path, error));
    }
    return {};
}

} // namespace kelda::data
