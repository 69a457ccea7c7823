#include "learning/learning_settings.h"

#include "base/paths.h"

#include "base/file_kind.h"
#include "base/output_file.h"
#include "base/xdg_places.h"

#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tessaly {
namespace {

using json = nlohmann::ordered_json;

constexpr std::size_t kMostBytes = 64u << 10;  // a settings file is a few hundred bytes

}  // namespace

std::string learningSettingsPath(std::string& error) {
    const std::string folder = configFolder(error);
    return folder.empty() ? "" : folder + "/" + kSettingsFileName;
}

std::string learningSettingsJson(const LearningSettings& settings) {
    json out = json::object();
    out["record"] = settings.record;
    if (settings.lastPractice) {
        json practice = json::object();
        for (const auto& [name, value] : settingsFields(*settings.lastPractice)) practice[name] = value;
        out["practice"] = std::move(practice);
    }
    out["drill"] = settings.drill;
    return out.dump(2) + "\n";
}

bool parseLearningSettings(const std::string& text, LearningSettings& settings, std::string& error) {
    const json in = json::parse(text, nullptr, false);
    if (in.is_discarded()) {
        error = "not JSON";
        return false;
    }
    if (!in.is_object()) {
        error = "not a JSON object";
        return false;
    }
    LearningSettings read;
    for (const char* name : {"record", "drill"}) {
        if (!in.contains(name)) continue;
        if (!in[name].is_boolean()) {
            error = std::string("\"") + name + "\" must be true or false";
            return false;
        }
        (std::string_view(name) == "record" ? read.record : read.drill) = in[name].get<bool>();
    }
    if (in.contains("practice")) {
        const json& fields = in["practice"];
        if (!fields.is_object()) {
            error = "\"practice\" must be an object";
            return false;
        }
        PracticeSettings practice;
        for (const auto& [name, value] : fields.items()) {
            if (!value.is_string()) {
                error = "practice setting \"" + name + "\" must be a text";
                return false;
            }
            std::string problem;
            if (!setSettingsField(practice, name, value.get<std::string>(), problem)) {
                if (problem.starts_with("unknown setting")) continue;  // a later version's
                error = "practice setting " + problem;
                return false;
            }
        }
        read.lastPractice = practice;
    }
    settings = read;
    return true;
}

LoadedSettings readLearningSettings(const std::string& path) {
    LoadedSettings out;
    if (path.empty()) return out;
    const auto fail = [&](const std::string& why) {
        out.settings = {};
        out.warning = path + ": " + why + "; the defaults are used";
        return out;
    };
    // Not through a link, and never waiting on a FIFO for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        const int cause = errno;
        struct stat link {};
        if (cause == ENOENT) return out;
        if (cause == ELOOP && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
            return fail("it is a symbolic link: refused, nothing is read through it");
        return fail(std::strerror(cause));
    }
    struct stat info {};
    std::string text;
    std::string problem;
    if (::fstat(fd, &info) != 0) problem = std::strerror(errno);
    else if (const char* kind = fileKind(info.st_mode); *kind != '\0') problem = std::string("it is ") + kind + ", not a file";
    else if (static_cast<std::size_t>(info.st_size) > kMostBytes) problem = "larger than a settings file can be";
    else {
        char block[4096];
        for (ssize_t n; (n = ::read(fd, block, sizeof block)) != 0;) {
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 || text.size() + static_cast<std::size_t>(n) > kMostBytes) {
                problem = n < 0 ? std::strerror(errno) : "larger than a settings file can be";
                break;
            }
            text.append(block, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    if (!problem.empty()) return fail(problem);
    std::string error;
    if (!parseLearningSettings(text, out.settings, error)) return fail(error);
    return out;
}

bool writeLearningSettings(const std::string& path, const LearningSettings& settings, std::string& error) {
    if (path.empty()) {
        error = "no place for the settings";
        return false;
    }
    if (!makeUserFolder(folderOf(path), error)) return false;
    // The program's own file: a link in its place is refused, not written through.
    auto file = OutputFile::create(path, error, OutputFile::Links::refuse);
    return file && file->write(learningSettingsJson(settings), error) && file->commit(error);
}

bool removeLearningSettings(const std::string& path, std::string& error) {
    if (path.empty() || ::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    error = std::strerror(errno);
    return false;
}

}  // namespace tessaly
