#include "base/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// The temporary files now open, for the signal handler: fixed slots of plain
// characters, since a handler may not allocate or lock.
constexpr std::size_t kSlots = 8;
constexpr std::size_t kPathBytes = 4096;
enum Slot : int { kFree, kClaimed, kReady };  // the handler removes only kReady paths
std::array<std::atomic<int>, kSlots> slotState{};
std::array<std::array<char, kPathBytes>, kSlots> slotPath{};

void remember(const std::string& path) {
    if (path.size() >= kPathBytes) return;
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (slotState[i].compare_exchange_strong(expected, kClaimed)) {
            std::memcpy(slotPath[i].data(), path.c_str(), path.size() + 1);
            slotState[i].store(kReady);
            return;
        }
    }
    // No slot free: not removed on an interrupt, still removed by the destructor.
}

void forget(const std::string& path) {
    for (std::size_t i = 0; i < kSlots; ++i)
        if (slotState[i].load() == kReady && path == slotPath[i].data()) slotState[i].store(kFree);
}

extern "C" void onInterrupt(int signal) {
    for (std::size_t i = 0; i < kSlots; ++i)
        if (slotState[i].load() == kReady) ::unlink(slotPath[i].data());
    ::_exit(128 + signal);
}

mode_t creationMode() {
    // What a plain open() would give: 0666 less the user's umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

std::unique_ptr<OutputFile> OutputFile::create(const std::string& target, std::string& error) {
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        error = "it is a directory";
        return nullptr;
    }
    const fs::path path(target);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    ::fchmod(fd, creationMode());
    ::close(fd);
    remember(pattern);
    return std::unique_ptr<OutputFile>(new OutputFile(target, pattern));
}

OutputFile::~OutputFile() {
    if (committed_) return;
    ::unlink(temporary_.c_str());
    forget(temporary_);
}

bool OutputFile::write(const std::string& bytes, std::string& error) {
    const int fd = ::open(temporary_.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = std::strerror(errno);
            ::close(fd);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

bool OutputFile::commit(std::string& error) {
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    committed_ = true;
    forget(temporary_);
    return true;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec)) return true;
    const fs::path ca = fs::weakly_canonical(fs::absolute(a, ec), ec);
    const fs::path cb = fs::weakly_canonical(fs::absolute(b, ec), ec);
    return ca == cb;
}

void removeTemporaryFilesOnInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(s, &action, nullptr);
}

}  // namespace tessaly
