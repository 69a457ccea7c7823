#include "base/output_file.h"

#include "base/file_kind.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/vfs.h>
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

// What each handled signal did before, to pass a crash on to (a sanitizer's report,
// or the core dump).
std::array<struct sigaction, NSIG> previousAction{};

bool dumpsCore(int signal) {
    switch (signal) {
        case SIGQUIT:
        case SIGILL:
        case SIGTRAP:
        case SIGABRT:
        case SIGBUS:
        case SIGFPE:
        case SIGSEGV:
        case SIGXCPU:
        case SIGSYS: return true;
        default: return false;
    }
}

extern "C" void onEndingSignal(int signal, siginfo_t* info, void*) {
    for (std::size_t i = 0; i < kSlots; ++i)
        if (slotState[i].load() == kReady) ::unlink(slotPath[i].data());
    if (!dumpsCore(signal)) ::_exit(128 + signal);
    ::sigaction(signal, &previousAction[static_cast<std::size_t>(signal)], nullptr);
    // A fault the kernel raised happens again on return, now to the previous
    // handler; one sent by someone is sent again, and arrives once this returns.
    if (info == nullptr || info->si_code <= 0) ::raise(signal);
}

constexpr const char* kRefusedLink = "it is a symbolic link: refused, nothing was written through it";

mode_t creationMode() {
    // What a plain open() would give: 0666 less the user's umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string notRegular(const char* kind, bool throughLink) {
    return std::string(throughLink ? "it is a symbolic link to " : "it is ") + kind +
           ", not a regular file: refused, nothing was written to it";
}

// Why no file can be made in `folder`, when the system's word would mislead.
std::string cannotMakeIn(const fs::path& folder, int cause) {
    struct statfs fsInfo {};
    if (::statfs(folder.c_str(), &fsInfo) == 0 &&
        (fsInfo.f_type == PROC_SUPER_MAGIC || fsInfo.f_type == SYSFS_MAGIC || fsInfo.f_type == DEBUGFS_MAGIC))
        return "it is on a file system of the kernel's (" + folder.string() + "), where no file can be made";
    std::error_code ec;
    if (cause == ENOENT && !fs::is_directory(folder, ec)) return "its folder " + folder.string() + " does not exist";
    return std::strerror(cause);
}

// Where the bytes for `target` go: the target itself, or the regular file that a
// symbolic link there leads to. "" with the reason when it may not be written.
std::string placeOf(const std::string& target, OutputFile::Links links, std::string& error) {
    struct stat link {};
    if (::lstat(target.c_str(), &link) != 0) {
        if (errno == ENOENT) return target;  // a new file
        error = std::strerror(errno);
        return "";
    }
    if (S_ISLNK(link.st_mode) && links == OutputFile::Links::refuse) {
        error = kRefusedLink;
        return "";
    }
    struct stat file {};
    if (::stat(target.c_str(), &file) != 0) {
        const int cause = errno;
        if (cause == ENOENT) error = "it is a symbolic link to nothing (" + fs::read_symlink(target).string() + ")";
        else if (cause == ELOOP) error = "it is a loop of symbolic links";
        else error = std::strerror(cause);
        return "";
    }
    const bool throughLink = S_ISLNK(link.st_mode);
    if (const char* kind = fileKind(file.st_mode); *kind != '\0') {
        error = notRegular(kind, throughLink);
        return "";
    }
    if (!throughLink) return target;
    std::error_code ec;
    const fs::path resolved = fs::canonical(target, ec);
    if (ec) {
        error = ec.message();
        return "";
    }
    return resolved.string();
}

// Blocks every signal while a temporary file is made and remembered, so that an
// interrupt cannot fall between the two.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t all;
        sigfillset(&all);
        ::pthread_sigmask(SIG_BLOCK, &all, &saved_);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

private:
    sigset_t saved_;
};

}  // namespace

std::unique_ptr<OutputFile> OutputFile::create(const std::string& target, std::string& error, Links links) {
    std::string place = placeOf(target, links, error);
    if (place.empty()) return nullptr;
    const fs::path path(place);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    // A short name of its own, so that a target whose name is as long as a name may
    // be still gets one.
    std::string pattern = (folder / ".tessaly-XXXXXX").string();
    SignalsHeld held;
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        error = cannotMakeIn(folder, errno);
        return nullptr;
    }
    ::fchmod(fd, creationMode());
    ::close(fd);
    remember(pattern);
    return std::unique_ptr<OutputFile>(new OutputFile(target, std::move(place), pattern, links));
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
    // Looked at again: the place may have changed while the file was made.
    struct stat link {};
    if (links_ == Links::refuse && ::lstat(place_.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        error = kRefusedLink;
        return false;
    }
    struct stat old {};
    if (::stat(place_.c_str(), &old) == 0) {
        if (const char* kind = fileKind(old.st_mode); *kind != '\0') {
            error = notRegular(kind, place_ != target_);
            return false;
        }
        // The owner first: changing it clears the set-user-ID bits the mode then restores.
        if (::chown(temporary_.c_str(), old.st_uid, old.st_gid) != 0) (void)::chown(temporary_.c_str(), -1, old.st_gid);
        ::chmod(temporary_.c_str(), old.st_mode & 07777);
    }
    if (::rename(temporary_.c_str(), place_.c_str()) != 0) {
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

const std::string* sameFileAmong(const std::string& path, const std::vector<std::string>& others) {
    for (const std::string& other : others)
        if (sameFile(path, other)) return &other;
    return nullptr;
}

bool isStandardInput(const std::string& path) {
    struct stat in {}, file {};
    return ::fstat(0, &in) == 0 && ::stat(path.c_str(), &file) == 0 && in.st_dev == file.st_dev &&
           in.st_ino == file.st_ino;
}

void removeTemporaryFilesOnInterrupt() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    struct sigaction action {};
    action.sa_sigaction = onEndingSignal;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    const auto handle = [&](int s) {
        struct sigaction& previous = previousAction[static_cast<std::size_t>(s)];
        if (::sigaction(s, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) return;
        ::sigaction(s, &action, nullptr);
    };
    for (int s : {SIGHUP, SIGINT, SIGQUIT, SIGILL, SIGTRAP, SIGABRT, SIGBUS, SIGFPE, SIGUSR1, SIGSEGV, SIGUSR2,
                  SIGPIPE, SIGALRM, SIGTERM, SIGSTKFLT, SIGXCPU, SIGVTALRM, SIGPROF, SIGIO, SIGPWR, SIGSYS})
        handle(s);
    for (int s = SIGRTMIN; s <= SIGRTMAX; ++s) handle(s);
    ::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace tessaly
