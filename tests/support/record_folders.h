#pragma once
// The learning record's folders for one test: XDG_DATA_HOME, XDG_CONFIG_HOME and
// HOME pointed into a scratch folder, and put back as they were at the end, so that
// nothing a test keeps reaches the user's own folders.
#include "support/scratch_folder.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tessaly::testing {

class RecordFolders {
public:
    RecordFolders() {
        for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "HOME"}) {
            const char* was = std::getenv(name);
            saved_.emplace_back(name, was ? std::optional<std::string>(was) : std::nullopt);
        }
        std::filesystem::create_directories(scratch_ / "home");
        ::setenv("XDG_DATA_HOME", (scratch_ / "data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (scratch_ / "config").c_str(), 1);
        ::setenv("HOME", (scratch_ / "home").c_str(), 1);
    }
    ~RecordFolders() {
        for (const auto& [name, value] : saved_) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
    }
    RecordFolders(const RecordFolders&) = delete;
    RecordFolders& operator=(const RecordFolders&) = delete;

    std::string record() const { return scratch_ / "data/tessaly/record.csv"; }
    std::string settings() const { return scratch_ / "config/tessaly/settings.json"; }
    std::string data() const { return scratch_ / "data"; }
    std::string config() const { return scratch_ / "config"; }
    std::string home() const { return scratch_ / "home"; }
    // A place for other files of the test (exports), outside the three.
    std::string other(const std::string& name) const { return scratch_ / name; }
    // Everything under the data, settings and home folders (empty when untouched).
    std::vector<std::string> kept() const {
        std::vector<std::string> found;
        for (const std::string& folder : {data(), config(), home()}) {
            std::error_code ec;
            if (!std::filesystem::exists(folder, ec)) continue;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec))
                found.push_back(entry.path().string());
        }
        return found;
    }

private:
    ScratchFolder scratch_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace tessaly::testing
