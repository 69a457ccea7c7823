#include "base/crash_report.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>

#if defined(__SANITIZE_ADDRESS__)
#define TESSALY_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSALY_UNDER_ASAN 1
#endif
#endif

namespace tessaly {
namespace {

constexpr std::size_t kPathRoom = 2048;
constexpr const char* kNoteName = "/last-crash";
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

// Prepared at installation: the handler reads them and writes nowhere else.
char folder_[kPathRoom];
char version_[64];
alignas(16) char altStack_[64 * 1024];

// A line built in a fixed buffer, cut short rather than overflowing.
struct Text {
    char chars[kPathRoom + 256];
    std::size_t size = 0;
    Text& add(const char* s) {
        while (*s && size + 1 < sizeof chars) chars[size++] = *s++;
        chars[size] = '\0';
        return *this;
    }
    Text& add(long value, int width = 1) {
        char digits[24];
        int n = 0;
        const bool negative = value < 0;
        unsigned long v = negative ? 0ul - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
        do {
            digits[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v > 0 && n < 20);
        while (n < width) digits[n++] = '0';
        if (negative) digits[n++] = '-';
        while (n > 0 && size + 1 < sizeof chars) chars[size++] = digits[--n];
        chars[size] = '\0';
        return *this;
    }
};

void writeAll(int fd, const char* s, std::size_t n) {
    while (n > 0) {
        const ssize_t written = ::write(fd, s, n);
        if (written <= 0) {
            if (written < 0 && errno == EINTR) continue;
            return;
        }
        s += written;
        n -= static_cast<std::size_t>(written);
    }
}

const char* signalName(int signal) {
    switch (signal) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    case SIGABRT: return "SIGABRT";
    default: return "?";
    }
}

// "20261208-224508": the UTC time, by arithmetic alone (gmtime is not safe here).
void addStamp(Text& text, std::time_t now) {
    const long days = static_cast<long>(now / 86400);
    const long seconds = static_cast<long>(now % 86400);
    // Civil date from days since 1970-01-01 (the proleptic Gregorian calendar).
    const long z = days + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long day = doy - (153 * mp + 2) / 5 + 1;
    const long month = mp < 10 ? mp + 3 : mp - 9;
    const long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    text.add(year, 4).add(month, 2).add(day, 2).add("-");
    text.add(seconds / 3600, 2).add(seconds / 60 % 60, 2).add(seconds % 60, 2);
}

// Makes the folder and those above it (0700), as far as they are missing.
void makeFolders() {
    char path[kPathRoom];
    std::size_t n = 0;
    for (; folder_[n] && n + 1 < sizeof path; ++n) {
        path[n] = folder_[n];
        if (n > 0 && folder_[n] == '/') {
            path[n] = '\0';
            ::mkdir(path, 0700);
            path[n] = '/';
        }
    }
    path[n] = '\0';
    ::mkdir(path, 0700);
}

void onFatalSignal(int signal) {
    void* frames[64];
    const int depth = ::backtrace(frames, 64);

    Text report;
    report.add(folder_).add("/crash-");
    addStamp(report, std::time(nullptr));
    report.add(".txt");
    makeFolders();
    const int file = ::open(report.chars, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);

    Text head;
    head.add("tessaly ").add(version_).add(" ended by signal ").add(signal).add(" (").add(signalName(signal));
    head.add(")\nbacktrace:\n");
    for (const int fd : {file, STDERR_FILENO}) {
        if (fd < 0) continue;
        writeAll(fd, head.chars, head.size);
        ::backtrace_symbols_fd(frames, depth, fd);
    }
    if (file >= 0) {
        ::close(file);
        Text said;
        said.add("tessaly: crash report in ").add(report.chars).add("\n");
        writeAll(STDERR_FILENO, said.chars, said.size);
        Text notePath;
        notePath.add(folder_).add(kNoteName);
        const int note = ::open(notePath.chars, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (note >= 0) {
            writeAll(note, report.chars, report.size);
            ::close(note);
        }
    }
    // The handler was reset on entry and the signal is not blocked: this ends the
    // program by the signal, with its usual status (and core file, if enabled).
    ::raise(signal);
}

}  // namespace

void installCrashReport(const std::string& folder, const std::string& version) {
#ifdef TESSALY_UNDER_ASAN
    (void)folder;
    (void)version;
#else
    if (folder.empty() || folder.size() >= kPathRoom || version.size() >= sizeof version_) return;
    folder.copy(folder_, folder.size());
    folder_[folder.size()] = '\0';
    version.copy(version_, version.size());
    version_[version.size()] = '\0';
    // The first backtrace loads the unwinder, which allocates: done here, not in the handler.
    void* frame[1];
    ::backtrace(frame, 1);

    stack_t stack{};
    stack.ss_sp = altStack_;
    stack.ss_size = sizeof altStack_;
    ::sigaltstack(&stack, nullptr);
    struct sigaction action {};
    action.sa_handler = onFatalSignal;
    action.sa_flags = SA_ONSTACK | SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (const int signal : kFatalSignals) ::sigaction(signal, &action, nullptr);
#endif
}

std::string takeCrashNotice(const std::string& folder) {
    if (folder.empty()) return "";
    const std::string note = folder + kNoteName;
    std::ifstream in(note, std::ios::binary);
    if (!in) return "";
    const std::string report{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    std::remove(note.c_str());
    return report;
}

}  // namespace tessaly
