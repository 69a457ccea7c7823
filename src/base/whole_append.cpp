#include "base/whole_append.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tessaly {

bool appendWhole(int fd, const std::string& folder, const std::function<std::string(off_t sizeBefore)>& textFor,
                 WholeAppend& done, std::string& error) {
    const auto failed = [&](const char* what) {
        error = std::string(what) + ": " + std::strerror(errno);
        return false;
    };
    while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR) return failed("cannot lock the file");
    struct stat info {};
    if (::fstat(fd, &info) != 0) return failed("cannot see the file's size");
    const off_t before = info.st_size;
    done.sizeBefore = before;

    std::string text;
    if (before > 0) {
        // A last line cut off (a write stopped by a power loss) is ended first.
        char last = '\n';
        if (::pread(fd, &last, 1, before - 1) != 1) return failed("cannot read the file's end");
        if (last != '\n') text = "\r\n";
    }
    text += textFor(before);

    // One write of the whole text, or nothing of it.
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written != static_cast<ssize_t>(text.size())) {
        const int cause = written < 0 ? errno : ENOSPC;
        const bool cutBack = ::ftruncate(fd, before) == 0;
        error = std::string("could not be written: ") + std::strerror(cause) +
                (cutBack ? "" : std::string("; the part written could not be taken back: ") + std::strerror(errno));
        return false;
    }
    if (::fdatasync(fd) != 0) {
        const int cause = errno;
        const bool cutBack = ::ftruncate(fd, before) == 0;
        error = std::string("could not be saved to the disk: ") + std::strerror(cause) +
                (cutBack ? "" : "; it may be there in part");
        return false;
    }
    if (before == 0) {
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
    done.sizeAfter = before + static_cast<off_t>(text.size());
    return true;
}

}  // namespace tessaly
