#include "base/output_room.h"

#include "base/paths.h"

#include <sys/resource.h>
#include <sys/statvfs.h>

#include <optional>
#include <cstdio>
#include <filesystem>

namespace tessaly {
namespace {

std::optional<std::uint64_t> fileSizeLimit() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
    return static_cast<std::uint64_t>(limit.rlim_cur);
}

std::optional<std::uint64_t> freeSpace(const std::string& target) {
    struct statvfs fs {};
    if (::statvfs(folderOf(target).c_str(), &fs) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
}

}  // namespace

std::string roomProblem(const std::string& target, std::uint64_t bytes, bool atLeast) {
    const std::string needs = std::string("it needs ") + (atLeast ? "at least " : "") + byteSize(bytes);
    if (const auto limit = fileSizeLimit(); limit && bytes > *limit)
        return needs + ", more than this process may write to one file (ulimit -f: " +
               byteSize(*limit) + ")";
    if (const auto space = freeSpace(target); space && bytes > *space)
        return needs + " and its file system has " + byteSize(*space) + " free";
    return "";
}

std::string byteSize(std::uint64_t bytes) {
    if (bytes < 1000) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    const char* units[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
    double value = static_cast<double>(bytes) / 1000;
    std::size_t unit = 0;
    while (value >= 999.95 && unit + 1 < std::size(units)) {
        value /= 1000;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, value < 9.995 ? "%.2f %s" : value < 99.95 ? "%.1f %s" : "%.0f %s", value, units[unit]);
    return text;
}

}  // namespace tessaly
