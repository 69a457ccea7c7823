#include "learning/learning_settings.h"

#include "base/output_file.h"
#include "base/xdg_places.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaly {
namespace {

using json = nlohmann::ordered_json;

constexpr std::size_t kMostBytes = 64u << 10;  // a settings file is a few hundred bytes

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

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
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) out.warning = path + ": " + std::strerror(errno) + "; the defaults are used";
        return out;
    }
    const auto fail = [&](const std::string& why) {
        out.settings = {};
        out.warning = path + ": " + why + "; the defaults are used";
        return out;
    };
    if (!S_ISREG(info.st_mode)) return fail("not a file");
    if (static_cast<std::size_t>(info.st_size) > kMostBytes) return fail("larger than a settings file can be");
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail("cannot be read");
    const std::string text((std::istreambuf_iterator<char>(in)), {});
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
    auto file = OutputFile::create(path, error);
    return file && file->write(learningSettingsJson(settings), error) && file->commit(error);
}

bool removeLearningSettings(const std::string& path, std::string& error) {
    if (path.empty() || ::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    error = std::strerror(errno);
    return false;
}

}  // namespace tessaly
