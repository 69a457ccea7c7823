#include "base/xdg_places.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tessaly {
namespace {

constexpr const char* kProgramFolder = "tessaly";

bool absolute(const std::optional<std::string>& path) { return path && !path->empty() && path->front() == '/'; }

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string programFolder(const char* variable, const char* underHome, std::string& error, const EnvironmentLookup& env) {
    if (const auto base = env(variable); absolute(base)) return withoutTrailingSlashes(*base) + "/" + kProgramFolder;
    const auto home = env("HOME");
    if (!absolute(home)) {
        error = std::string("neither ") + variable + " nor HOME names a folder";
        return "";
    }
    return withoutTrailingSlashes(*home) + "/" + underHome + "/" + kProgramFolder;
}

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
    if (const char* value = std::getenv(name)) {
        if (std::strcmp(name, "HOME") != 0 || value[0] == '/') return std::string(value);
    }
    if (std::strcmp(name, "HOME") != 0) return std::nullopt;
    // No usable HOME (a service, a stripped environment): the password entry's.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return std::string(found->pw_dir);
    return std::nullopt;
}

std::string dataFolder(std::string& error, const EnvironmentLookup& env) {
    return programFolder("XDG_DATA_HOME", ".local/share", error, env);
}

std::string configFolder(std::string& error, const EnvironmentLookup& env) {
    return programFolder("XDG_CONFIG_HOME", ".config", error, env);
}

std::string stateFolder(std::string& error, const EnvironmentLookup& env) {
    return programFolder("XDG_STATE_HOME", ".local/state", error, env);
}

bool makeUserFolder(const std::string& path, std::string& error) {
    if (path.empty()) {
        error = "no folder named";
        return false;
    }
    // Each folder from the top down; mkdir of one already there is no change.
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        if (!folder.empty() && folder.back() != '/' && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            error = folder + ": " + std::strerror(errno);
            return false;
        }
        if (end == std::string::npos) break;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = path + ": not a folder";
        return false;
    }
    return true;
}

}  // namespace tessaly
